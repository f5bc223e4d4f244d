#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""A seeded random user of the real program on an X display with a window manager.

    random_user_x.py <pid> <design window id> <seed> <seconds> <program log>

Presses random keys, clicks and holds the mouse inside the design window and
types into its boxes, answering message boxes as they come. After every
action it checks, from outside, that the program still runs and answers, that
at most one message box is open, and that no shown figure is "nan", "inf", a
negative or zero size or the -1111 of an empty sample. On failure it prints the
seed and the action log, so that the run can be replayed, and exits 1; it
exits 3 when the program has ended (crashed, or its design window closed).
"""
import os
import random
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi_probe  # noqa: E402

DESIGN_TITLE = "VALDRIS Power 2000"
MESSAGE_TITLE = "VALDRIS Power"
ANSWER_TIMEOUT_S = 15

KEYS = (list("0123456789") + [".", "-", "e", "E"] + list("abcdfgkmnqrtuvwyz") +
        ["Tab", "shift+Tab", "Return", "Escape", "Left", "Right", "Up", "Down", "Home", "End",
         "Prior", "Next", "F1", "space", "BackSpace", "Delete"] +
        # The access keys of the inputs. Alt+X (Exit Program) and the File
        # menu would end the run; the About window of the Help menu carries
        # the title message boxes are counted by.
        ["alt+a", "alt+b", "alt+d", "alt+s", "alt+l"])
TYPED = ["0.05", "0.5", "0.25", "1", "10", "100", "1e30", "1e-30", "1E+31", "0", ".", "1.2.3", "-1", "2",
         "0.999", "4.99", "99999999999", "0.0000001", "abc", "1,5", "  7 ", "inf", "nan", "1e400", "0.087",
         "0.929685", "0.001", "1000000", "5e-45", "0.10"]
NUMBER_WORD = re.compile(r"(?i)\bnan\b|\binf")
SIZE = re.compile(r"^[1-9][0-9]*$")


class Failure(Exception):
    pass


class ProgramEnded(Exception):
    """The program ended: a crash, or the design window closed by the user
    (the wrapper tells the two apart by the exit status)."""


class Watchdog(Exception):
    pass


def on_alarm(signum, frame):
    raise Watchdog()


def xdotool(*args, timeout=10):
    """xdotool's output; nothing when it waits longer than the time-out (a
    --sync activation of a window behind a modal dialog never comes)."""
    try:
        return subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                              timeout=timeout).stdout
    except subprocess.TimeoutExpired:
        return ""


class RandomUser:
    # How long a read of the controls may take, and how long the program may
    # leave a single question unanswered (a hang), before the run fails.
    answer_timeout_s = ANSWER_TIMEOUT_S
    hang_s = ANSWER_TIMEOUT_S

    def __init__(self, pid, design, seed, log_path):
        self.pid, self.design, self.rng, self.log_path = pid, design, random.Random(seed), log_path
        self.seed = seed
        self.events = []
        self.figure_nodes = None
        self.nodes = None

    # --- What the program shows ---------------------------------------------

    def windows_named(self, title):
        out = xdotool("search", "--all", "--onlyvisible", "--pid", self.pid, "--name", "^%s$" % title)
        return [w for w in out.split() if w]

    def message_boxes(self):
        return len(self.windows_named(MESSAGE_TITLE))

    def alive(self):
        try:
            os.kill(self.pid, 0)
        except OSError:
            return False
        # A zombie has ended too.
        try:
            with open("/proc/%d/stat" % self.pid) as f:
                return f.read().split(") ")[1][0] != "Z"
        except OSError:
            return False

    def snapshot(self):
        signal.alarm(self.answer_timeout_s)
        try:
            nodes = atspi_probe.snapshot(self.pid)
        except Watchdog:
            raise Failure("the program did not answer within %d s" % self.answer_timeout_s)
        finally:
            signal.alarm(0)
        if nodes is None:
            raise Failure("the program is gone from the accessibility bus")
        return nodes

    def check(self, during=""):
        if not self.alive():
            self.check_log()
            raise ProgramEnded("the program ended%s" % during)
        self.check_answering()
        boxes = self.message_boxes()
        if boxes > 1:
            raise Failure("%d message boxes open at once%s" % (boxes, during))
        self.check_log()

    def check_answering(self):
        """The program answers the accessibility bus (from its event loop)
        within hang_s; a call to a program that does not answer
        fails after a short bus time-out, so it is retried until then."""
        frames = [n for n in self.figures() if n.role == "frame"]
        if not frames:
            return
        deadline = time.time() + self.hang_s
        while True:
            try:
                frames[0].acc.queryComponent().getExtents(atspi_probe.pyatspi.DESKTOP_COORDS)
                return
            except Exception:
                if time.time() > deadline:
                    raise Failure("the program did not answer for %g s" % self.hang_s)
                if not self.alive():
                    raise ProgramEnded("the program ended")
                time.sleep(0.2)

    def check_log(self):
        try:
            with open(self.log_path, errors="replace") as f:
                text = f.read()
        except OSError:
            return
        if re.search(r"ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer", text):
            raise Failure("sanitizer report:\n" + text[-4000:])

    def in_window(self, node):
        """Whether a node belongs to the window the user works in."""
        return node.window == DESIGN_TITLE

    def figures(self):
        """The design window's figures: its read-only fields and the labels
        showing a number, found once with the hidden ones (the reference-area
        box) and read afresh each time."""
        if self.figure_nodes is None:
            signal.alarm(self.answer_timeout_s)
            try:
                nodes = atspi_probe.snapshot(self.pid, include_hidden=True)
            finally:
                signal.alarm(0)
            self.figure_nodes = [
                n for n in nodes or [] if self.in_window(n) and not n.editable and
                (n.role in ("text", "frame") or
                 (n.role == "label" and re.search(r"[0-9=]", (n.text or n.name or ""))))]
        return self.figure_nodes

    def check_figures(self):
        signal.alarm(self.answer_timeout_s)
        try:
            shown_nodes = [n for n in self.figures() if n.refresh()]
        except Watchdog:
            raise Failure("the program did not answer within %d s" % self.answer_timeout_s)
        finally:
            signal.alarm(0)
        for n in shown_nodes:
            if n.role == "frame":
                continue
            shown = (n.text if n.text is not None else n.name) or ""
            if NUMBER_WORD.search(shown):
                raise Failure("%s shows %r" % (n.role, shown))
            if "-1111" in shown:
                raise Failure("%s shows the empty-sample critical value: %r" % (n.role, shown))
            if n.role == "text" and shown and not SIZE.match(shown):
                raise Failure("a sample size field shows %r" % shown)

    # --- Actions --------------------------------------------------------------

    def log(self, text):
        self.events.append(text)

    def client_area(self, nodes):
        frames = [n for n in nodes if n.role == "frame" and self.in_window(n)]
        if not frames:
            return None
        x, y, w, h = frames[0].extents
        menus = [n for n in nodes if n.role == "menu bar" and self.in_window(n)]
        top = max([m.extents[1] + m.extents[3] for m in menus] + [y])
        return x, top, w, y + h - top

    def forbidden(self, nodes):
        """Places a click must miss: the exit button ends the run."""
        return [n.extents for n in nodes if self.in_window(n) and n.role == "push button" and
                n.extents[2] * n.extents[3] > 1000]

    def random_point(self, nodes):
        area = self.client_area(nodes)
        if area is None:
            return None
        x, y, w, h = area
        controls = atspi_probe.design_controls(nodes)
        roll = self.rng.random()
        if roll < 0.35 and "bar" in controls:
            px, py = atspi_probe.bar_point(controls["bar"], self.rng.choice(["left", "right", "trough-right"]))
            if self.rng.random() < 0.3:  # anywhere along the bar
                bx, by, bw, bh = controls["bar"].extents
                px = bx + self.rng.randrange(max(bw, 1))
            return px, py
        if roll < 0.55 and "spin-up" in controls:
            return controls[self.rng.choice(["spin-up", "spin-down"])].centre()
        for _ in range(20):
            px, py = x + self.rng.randrange(max(w, 1)), y + self.rng.randrange(max(h, 1))
            if not any(fx <= px < fx + fw and fy <= py < fy + fh for fx, fy, fw, fh in self.forbidden(nodes)):
                return px, py
        return None

    def exit_button_focused(self, nodes):
        for n in nodes:
            if self.in_window(n) and n.role == "push button" and n.extents[2] * n.extents[3] > 1000:
                try:
                    return n.acc.getState().contains(atspi_probe.pyatspi.STATE_FOCUSED)
                except Exception:
                    return False
        return False

    def hold(self, point, seconds):
        self.log("hold %d,%d for %.2f s" % (point + (seconds,)))
        xdotool("mousemove", point[0], point[1], "mousedown", "1")
        end = time.time() + seconds
        while time.time() < end:
            self.check(" while the mouse was held")
            time.sleep(0.05)
        xdotool("mouseup", "1")

    def answer_boxes(self):
        for _ in range(50):
            boxes = self.windows_named(MESSAGE_TITLE)
            if not boxes:
                return
            self.log("answer a message box")
            xdotool("windowactivate", "--sync", boxes[0])
            if xdotool("getactivewindow").strip() == boxes[0]:
                xdotool("key", "Return")
            time.sleep(0.15)
            self.check(" while answering message boxes")
        raise Failure("message boxes kept coming: 50 answered")

    def keeps_open(self, name):
        """Windows the user leaves open: its own and the message boxes (answered instead)."""
        return name in (DESIGN_TITLE, MESSAGE_TITLE)

    def close_other_windows(self):
        """The help viewer, About and Getting Started: closed with Alt+F4, once in front."""
        out = xdotool("search", "--onlyvisible", "--pid", self.pid)
        for w in [w for w in out.split() if w]:
            name = xdotool("getwindowname", w).strip()
            if self.keeps_open(name) or self.rng.random() < 0.5:
                continue
            xdotool("windowactivate", "--sync", w)
            if xdotool("getactivewindow").strip() == w and w != self.design:
                self.log("close window %r" % name)
                xdotool("key", "alt+F4")
                time.sleep(0.2)

    def activate_design(self):
        if xdotool("getactivewindow").strip() != self.design:
            xdotool("windowactivate", "--sync", self.design)

    def act(self, nodes):
        roll = self.rng.random()
        if roll < 0.45:
            key = self.rng.choice(KEYS)
            if key in ("space", "Return") and self.exit_button_focused(nodes):
                key = "Tab"  # pressing Exit Program would end the run
            self.log("key %s" % key)
            xdotool("key", "--clearmodifiers", key)
        elif roll < 0.65:
            boxes = [n for n in nodes if n.window == DESIGN_TITLE and n.role == "text" and n.editable]
            if boxes:
                box = self.rng.choice(boxes)
                text = self.rng.choice(TYPED)
                self.log("type %r into the box at %d,%d" % ((text,) + box.centre()))
                xdotool("mousemove", box.centre()[0], box.centre()[1], "click", "1")
                xdotool("key", "ctrl+a")
                xdotool("type", "--delay", "15", text)
                if self.rng.random() < 0.7:
                    xdotool("key", self.rng.choice(["Tab", "shift+Tab", "Return"]))
        elif roll < 0.85:
            point = self.random_point(nodes)
            if point:
                self.log("click %d,%d" % point)
                xdotool("mousemove", point[0], point[1], "click", "1")
        else:
            point = self.random_point(nodes)
            if point:
                self.hold(point, self.rng.uniform(0.2, 1.6))

    def run(self, seconds):
        end = time.time() + seconds
        step = 0
        while time.time() < end:
            step += 1
            self.check()
            self.answer_boxes()
            self.close_other_windows()
            self.activate_design()
            # The controls stay where they are: the whole window is read
            # now and then, the figures every step.
            if self.nodes is None or step % 10 == 0:
                self.nodes = self.snapshot()
            self.check_figures()
            self.act(self.nodes)
            time.sleep(0.1)
            self.check(" after the last action")
        self.answer_boxes()
        self.check_figures()
        return step


def main(user_class=RandomUser):
    """Runs a user of user_class with the command line's arguments and reports as the module's text says."""
    pid, window, seed, seconds, log_path = (int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), float(sys.argv[4]),
                                            sys.argv[5])
    signal.signal(signal.SIGALRM, on_alarm)
    user = user_class(pid, window, seed, log_path)
    def print_log():
        print("Replay with seed %d; the actions were:" % seed, file=sys.stderr)
        for i, event in enumerate(user.events, 1):
            print("  %4d  %s" % (i, event), file=sys.stderr)

    try:
        steps = user.run(seconds)
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        print_log()
        return 1
    except ProgramEnded as ended:
        print("%s after %d actions" % (ended, len(user.events)), file=sys.stderr)
        print_log()
        return 3
    print("ok - %d random steps (seed %d), %d actions" % (steps, seed, len(user.events)))
    if os.environ.get("VALDRIS_RANDOM_LOG"):
        print_log()
    return 0


if __name__ == "__main__":
    sys.exit(main())
