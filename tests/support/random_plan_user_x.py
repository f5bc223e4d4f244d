#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""The seeded random user of random_user_x.py, working in the plan window.

    random_plan_user_x.py <pid> <plan window id> <seed> <seconds> <program log> <scratch folder>

Edits the table's cells with random text, storms undo and redo, sorts,
compares curves, walks the Budget, Field and Measurements pages, pastes random
clipboard text, opens dialogs and cancels them, and opens and saves plans in
the scratch folder. Fails as random_user_x.py does (a crash, a sanitizer
report, two message boxes at once), and on a program that leaves a question
unanswered for more than 5 s.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import random_user_x  # noqa: E402
from random_user_x import DESIGN_TITLE, MESSAGE_TITLE, xdotool  # noqa: E402

PLAN_PREFIX = "Survey Plan - "

KEYS = (list("0123456789") + [".", "-", "e", "x", "a", "z", "comma", "Tab", "shift+Tab", "Return", "Escape", "Left",
                              "Right", "Up", "Down", "Home", "End", "Prior", "Next", "space", "BackSpace", "Delete",
                              "F2", "ctrl+a", "ctrl+c", "ctrl+x", "ctrl+v", "alt+Up", "alt+Down", "ctrl+Delete",
                              "ctrl+d", "ctrl+n", "shift+Down", "ctrl+Home", "ctrl+End"])
TEXTS = ["0.05", "0.5", "1", "-1", "0", "1e400", "nan", "inf", "-inf", "1e-320", "abc", "", " ", "1,5", "0x10",
         "Sign", "WRS", "Scenario B", "Survey Unit 1", "\u0661", "\u00e9t\u00e9", "9" * 40, "0.4o", "#N/A", "'; --",
         "%s%n", "a\tb", "1.2.3", "100000", "99999999999999999999"]
# Menu paths by access keys: the pages, the curves, the plan order.
MENU_KEYS = [("alt+u", "b"), ("alt+u", "f"), ("alt+u", "m"), ("alt+u", "p"), ("alt+u", "i"), ("alt+u", "h"),
             ("alt+e", "p"), ("alt+u", "u"), ("alt+u", "w"), ("alt+u", "o"), ("alt+f", "p", "Return")]
# Menu paths that open a dialog (or a question), closed again with Escape.
DIALOG_KEYS = [("ctrl+o",), ("alt+f", "a"), ("alt+f", "e"), ("alt+f", "r"), ("alt+e", "c"), ("alt+u", "c"),
               ("F2",), ("alt+u", "s"), ("alt+u", "d"), ("alt+u", "m", "alt+i")]


class PlanUser(random_user_x.RandomUser):
    hang_s = 5

    def __init__(self, pid, window, seed, log_path, scratch):
        super().__init__(pid, window, seed, log_path)
        self.scratch = scratch
        self.saved = 0
        self.started = time.time()

    def log(self, text):
        # The time of each action, to tell a slow step from a hang.
        super().log("%6.1f s  %s" % (time.time() - self.started, text))

    def snapshot(self):
        began = time.time()
        nodes = super().snapshot()
        self.log("read %d controls in %.1f s" % (len(nodes), time.time() - began))
        return nodes

    # --- Where the user works -----------------------------------------------

    def in_window(self, node):
        return node.window.startswith(PLAN_PREFIX)

    def keeps_open(self, name):
        return name.startswith(PLAN_PREFIX) or name.startswith(DESIGN_TITLE) or name == MESSAGE_TITLE

    def figures(self):
        # The plan window's frame, to ask whether the program answers; the
        # table's cells hold free text, so no figure is judged by its look.
        return [n for n in self.nodes or [] if n.role == "frame" and self.in_window(n)]

    def check_figures(self):
        pass

    def check_answering(self):
        """As the design window's user checks it; a frame that no longer
        answers because its window was closed (and perhaps opened again) is
        looked up afresh once, which a program that hangs cannot answer either."""
        try:
            super().check_answering()
        except random_user_x.Failure:
            if not self.windows_named(PLAN_PREFIX + ".*"):
                self.nodes = None
                return
            self.nodes = self.snapshot()
            super().check_answering()

    def forbidden(self, nodes):
        return []

    def activate_design(self):
        """Brings the plan window to the front; a plan window closed by the
        user (its close question answered) is opened again from the design window."""
        windows = [w for w in xdotool("search", "--all", "--onlyvisible", "--pid", self.pid, "--name",
                                      "^%s" % PLAN_PREFIX).split() if w]
        if not windows:
            self.log("no plan window: Ctrl+D in the design window")
            design = self.windows_named(DESIGN_TITLE + ".*")
            if design:
                xdotool("windowactivate", "--sync", design[0])
                xdotool("key", "--clearmodifiers", "ctrl+d")
                time.sleep(0.5)
            self.nodes = None
            return
        self.design = windows[0]
        # Behind a dialog still open the plan window cannot come to the
        # front; the dialog is left to close_other_windows, since random
        # keys in a file dialog could write anywhere.
        if xdotool("getactivewindow").strip() != self.design:
            xdotool("windowactivate", "--sync", self.design, timeout=1)

    # --- Actions --------------------------------------------------------------

    def keys(self, *keys):
        self.log("keys %s" % " ".join(keys))
        for key in keys:
            xdotool("key", "--clearmodifiers", key)
            time.sleep(0.1)

    def type_text(self):
        text = self.rng.choice(TEXTS)
        then = self.rng.choice(["Return", "Tab", "Escape", "Down"])
        self.log("type %r then %s" % (text, then))
        # A key typed on a cell starts its editing (F2 renames the unit).
        xdotool("type", "--delay", "10", text)
        xdotool("key", "--clearmodifiers", then)

    def storm(self):
        keys = [self.rng.choice(["ctrl+z", "ctrl+shift+z"]) for _ in range(self.rng.randint(3, 25))]
        self.log("undo/redo storm: %s" % " ".join(k.replace("ctrl+", "") for k in keys))
        for key in keys:
            xdotool("key", "--clearmodifiers", key)

    def clipboard_text(self):
        roll = self.rng.random()
        if roll < 0.4:  # a column of measurements as a spreadsheet gives it
            values = ["%.3g" % self.rng.uniform(-1, 3) for _ in range(self.rng.randint(1, 300))]
            return "\r\n".join(values) + "\r\n"
        if roll < 0.6:  # cells of a table, some of them no numbers
            rows = ["\t".join(self.rng.choice(TEXTS) for _ in range(self.rng.randint(1, 12)))
                    for _ in range(self.rng.randint(1, 20))]
            return "\n".join(rows)
        if roll < 0.8:  # a long run of values with a header
            return "Cs-137 (Bq/kg)\n" + "\n".join(str(self.rng.randint(0, 9)) for _ in range(self.rng.randint(1, 5000)))
        return "".join(self.rng.choice("0123456789.,;\t\n -eE\u0661x\u00e9") for _ in range(self.rng.randint(0, 3000)))

    def paste(self):
        text = self.clipboard_text()
        where = self.rng.choice(["table", "measurements"])
        self.log("paste %d characters into the %s: %r" % (len(text), where, text[:60]))
        # xclip serves the clipboard from the background until the next one takes it over.
        subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if where == "measurements":
            xdotool("key", "--clearmodifiers", "alt+u")
            xdotool("key", "--clearmodifiers", "m")
            time.sleep(0.2)
            xdotool("key", "--clearmodifiers", self.rng.choice(["alt+p", "alt+t"]))
        else:
            xdotool("key", "--clearmodifiers", "ctrl+v")

    def sort(self, nodes):
        headers = [n for n in nodes if self.in_window(n) and n.role == "column header" and n.extents[2] > 4]
        if not headers or self.rng.random() < 0.2:
            self.keys("alt+e", "p")
            return
        header = self.rng.choice(headers)
        self.log("sort by %r" % header.name)
        x, y = header.centre()
        xdotool("mousemove", x, y, "click", "1")

    def cancelled_dialog(self):
        keys = self.rng.choice(DIALOG_KEYS)
        self.keys(*keys)
        time.sleep(self.rng.uniform(0.2, 0.8))
        self.keys("Escape")

    def file_dialog(self, keys, path):
        """Types a path into the file dialog the keys open, if it comes."""
        self.keys(*keys)
        for _ in range(30):
            if self.windows_named("(Open Plan|Save Plan As)"):
                break
            time.sleep(0.1)
        else:
            return
        dialog = self.windows_named("(Open Plan|Save Plan As)")[0]
        xdotool("windowactivate", "--sync", dialog)
        self.log("path %s" % path)
        xdotool("key", "--clearmodifiers", "ctrl+a")
        xdotool("type", "--delay", "5", path)
        xdotool("key", "--clearmodifiers", "Return")
        time.sleep(0.5)

    def plan_file(self):
        names = sorted(n for n in os.listdir(self.scratch) if not n.startswith("."))
        return os.path.join(self.scratch, self.rng.choice(names)) if names else self.scratch

    def act(self, nodes):
        active = xdotool("getactivewindow").strip()
        if active and active != self.design:
            # A dialog of the last action is cancelled rather than typed into.
            self.log("Escape in %r" % xdotool("getwindowname", active).strip())
            xdotool("key", "--clearmodifiers", "Escape")
            return
        roll = self.rng.random()
        if roll < 0.30:
            self.keys(self.rng.choice(KEYS))
        elif roll < 0.45:
            self.type_text()
        elif roll < 0.52:
            self.storm()
        elif roll < 0.56:
            self.sort(nodes)
        elif roll < 0.66:
            self.keys(*self.rng.choice(MENU_KEYS))
        elif roll < 0.73:
            self.paste()
        elif roll < 0.80:
            self.cancelled_dialog()
        elif roll < 0.83:
            self.file_dialog(("ctrl+o",), self.plan_file())
        elif roll < 0.87:
            if self.rng.random() < 0.5:
                self.keys("ctrl+s")
            else:
                self.saved += 1
                self.file_dialog(("alt+f", "a"), os.path.join(self.scratch, "plan%d" % (self.saved % 5)))
        else:
            point = self.random_point(nodes)
            if point:
                self.log("click %d,%d" % point)
                xdotool("mousemove", point[0], point[1], "click", "1")


class Runner:
    """Passes the scratch folder, the one argument the design window's user lacks."""

    def __init__(self, scratch):
        self.scratch = scratch

    def __call__(self, pid, window, seed, log_path):
        return PlanUser(pid, window, seed, log_path, self.scratch)


if __name__ == "__main__":
    scratch = sys.argv.pop(6)
    sys.exit(random_user_x.main(Runner(scratch)))
