#!/usr/bin/python3
"""Prints what assistive technology sees of a running application.

    atspi_tree.py <application name>

One line per showing accessible object, tab-separated: role, name, value.
The value is the object's text for text fields, its current value for value
objects, and empty otherwise. Exits 1 when the application is not (yet) on
the accessibility bus.
"""
import sys

import pyatspi


def value_of(accessible):
    try:
        text = accessible.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    try:
        return str(accessible.queryValue().currentValue)
    except NotImplementedError:
        return ""


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def walk(accessible, depth=0):
    if depth > 40:
        return
    for child in accessible:
        if child is None or not showing(child):
            continue
        fields = (child.getRoleName(), child.name or "", value_of(child))
        print("\t".join(f.replace("\n", "\\n").replace("\t", " ") for f in fields))
        walk(child, depth + 1)


def main():
    wanted = sys.argv[1]
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == wanted:
            walk(app)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
