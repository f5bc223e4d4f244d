#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Reads a running program's windows through the accessibility bus (AT-SPI).

Used by the tests of the real program to find controls and read what they
show without any debug hook in the program. Controls are found by role and
place, not by name, so that renaming a control for screen readers breaks no
test. As a module: snapshot(pid), design_controls(nodes). From the shell:
    atspi_probe.py <pid>                 one line per showing node:
                                         role<TAB>name<TAB>x,y,w,h<TAB>text
    atspi_probe.py <pid> centre <what>   screen point of a control: "x y"
    atspi_probe.py <pid> text <what>     its text
    atspi_probe.py <pid> arrow <where>   a point of the LBGR bar: left, right
                                         (its arrows) or trough-right
    atspi_probe.py <pid> tree            one line per showing node, as a
                                         screen reader has it:
                                         role<TAB>name<TAB>value
    atspi_probe.py <pid> focus           what has the keyboard: a line
                                         "focused<TAB>role<TAB>name" for each
                                         object that says it is focused (the
                                         current item of a focused control,
                                         a page tab or a cell, left out)
    atspi_probe.py <pid> list <name>     the list of the combo box of that
                                         name, also while closed: "showing"
                                         or "hidden", then one line per item
<what> is one of: sigma, spin-up, spin-down, bar, lbgr.
Exits 1 when the program is not (yet) on the bus or the control is not found.
"""
import sys

import pyatspi

# Items whose focus is their control's when it has the focus itself.
ITEM_ROLES = ("page tab", "table cell", "list item")


class Node:
    hidden = False

    def __init__(self, role, name, extents, text, window, editable, acc=None):
        self.role, self.name, self.extents, self.text, self.window = role, name, extents, text, window
        self.editable, self.acc = editable, acc

    def refresh(self):
        """Reads the node's text again; False once it is no longer shown."""
        try:
            if not self.acc.getState().contains(pyatspi.STATE_SHOWING):
                return False
            self.name, self.text = self.acc.name or "", _text_of(self.acc)
            return True
        except Exception:
            return False

    def centre(self):
        x, y, w, h = self.extents
        return x + w // 2, y + h // 2

    def __repr__(self):
        return "%s %r %s %r" % (self.role, self.name, self.extents, self.text)


def _application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            continue
    return None


def _text_of(acc):
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return None


def _value_of(acc):
    """What a screen reader reads as the value: the text, or else the current
    value of a value object (a scroll bar's position)."""
    text = _text_of(acc)
    if text is not None:
        return text
    try:
        return str(acc.queryValue().currentValue)
    except NotImplementedError:
        return ""


def _walk(acc, window, out, depth=0):
    if acc is None or depth > 40:
        return
    try:
        state = acc.getState()
        if not state.contains(pyatspi.STATE_SHOWING):
            # Hidden, not closed (the reference-area box of the Sign test):
            # its children are hidden with it.
            out.append(Node(acc.getRoleName(), acc.name or "", (0, 0, 0, 0), _text_of(acc), window,
                            state.contains(pyatspi.STATE_EDITABLE), acc))
            out[-1].hidden = True
            return
        role = acc.getRoleName()
        ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        node = Node(role, acc.name or "", (ext.x, ext.y, ext.width, ext.height), _text_of(acc), window,
                    state.contains(pyatspi.STATE_EDITABLE), acc)
    except Exception:
        return
    out.append(node)
    for i in range(acc.childCount):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        _walk(child, window, out, depth + 1)


def _below(acc, depth=0):
    """Every node below acc, shown or not."""
    for i in range(acc.childCount if depth < 40 else 0):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from _below(child, depth + 1)


def list_of(pid, box_name):
    """(showing, item names) of the list of the named combo box, or None."""
    app = _application(pid)
    boxes = [n for n in _below(app) if n.getRoleName() == "combo box" and n.name == box_name] if app else []
    lists = [c for c in (boxes[0] if boxes else []) if c.getRoleName() == "list"]
    if not lists:
        return None
    items = [item.name for item in lists[0] if item.getRoleName() == "list item"]
    return lists[0].getState().contains(pyatspi.STATE_SHOWING), items


def snapshot(pid, include_hidden=False):
    """Every showing node of the program's windows, or None if it is not on the bus;
    with include_hidden, also the hidden controls (not their children)."""
    app = _application(pid)
    if app is None:
        return None
    nodes = []
    for i in range(app.childCount):
        try:
            window = app.getChildAtIndex(i)
            _walk(window, window.name or "", nodes)
        except Exception:
            continue
    return nodes if include_hidden else [n for n in nodes if not n.hidden]


def design_controls(nodes):
    """The design window's controls that tests drive, found by role and place."""
    design = [n for n in nodes if n.window == "VALDRIS Power 2000"]
    found = {}
    bars = [n for n in design if n.role == "scroll bar"]
    if bars:
        found["bar"] = bars[0]
    # The spin arrows: the two smallest push buttons, stacked in one column.
    buttons = sorted((n for n in design if n.role == "push button"), key=lambda n: n.extents[2] * n.extents[3])
    if len(buttons) >= 2 and buttons[0].extents[0] == buttons[1].extents[0]:
        up, down = sorted(buttons[:2], key=lambda n: n.extents[1])
        found["spin-up"], found["spin-down"] = up, down
        for n in design:
            x, y, w, h = n.extents
            if n.role == "text" and abs(x + w - up.extents[0]) <= 2 and abs(y - up.extents[1]) <= 2:
                found["sigma"] = n
    if "bar" in found:
        bx, by, bw, bh = found["bar"].extents
        below = [n for n in design if n.role == "text" and n.editable and n.extents[1] > by + bh
                 and bx <= n.extents[0] <= bx + bw]
        if below:
            found["lbgr"] = min(below, key=lambda n: n.extents[1])
    return found


def bar_point(bar, where):
    x, y, w, h = bar.extents
    arrow = h  # the arrows are square
    return {"left": (x + arrow // 2, y + h // 2), "right": (x + w - arrow // 2 - 1, y + h // 2),
            "trough-right": (x + w - arrow - 6, y + h // 2)}[where]


def _one_line(fields):
    return "\t".join(f.replace("\n", "\\n").replace("\t", " ") for f in fields)


if __name__ == "__main__":
    if sys.argv[2:3] == ["list"]:
        listed = list_of(int(sys.argv[1]), sys.argv[3])
        if listed is None:
            sys.exit(1)
        print("showing" if listed[0] else "hidden")
        for item in listed[1]:
            print(item)
        sys.exit(0)
    found = snapshot(int(sys.argv[1]))
    if found is None:
        sys.exit(1)
    if sys.argv[2:] == ["focus"]:
        for n in found:
            try:
                if not n.acc.getState().contains(pyatspi.STATE_FOCUSED):
                    continue
                # The current item of the focused control is part of its focus.
                parent = n.acc.parent
                if n.role in ITEM_ROLES and parent is not None and parent.getState().contains(pyatspi.STATE_FOCUSED):
                    continue
            except Exception:
                continue
            print("focused\t%s\t%s" % (n.role, n.name))
        sys.exit(0)
    if sys.argv[2:] == ["tree"]:
        for n in found:
            print(_one_line((n.role, n.name, _value_of(n.acc))))
        sys.exit(0)
    if len(sys.argv) > 3:
        controls = design_controls(found)
        command, what = sys.argv[2], sys.argv[3]
        if command == "arrow":
            if "bar" not in controls:
                sys.exit(1)
            print("%d %d" % bar_point(controls["bar"], what))
        elif what not in controls:
            sys.exit(1)
        elif command == "centre":
            print("%d %d" % controls[what].centre())
        else:
            print(controls[what].text or "")
        sys.exit(0)
    for n in found:
        print("%s\t%s\t%d,%d,%d,%d\t%s" % ((n.role, n.name) + tuple(n.extents) + ((n.text or "").replace("\n", "\\n"),)))
