"""What the screen-reader checks share: finding the program on the accessibility bus, walking its
tree, waiting, pressing."""
import sys
import time

import pyatspi

STRUCTURAL = {"filler", "scroll bar", "application", "popup menu"}


def fail(message):
    try:
        for node, depth in walk(app()):
            print("  " * depth + f"{node.getRoleName()}: {node.name!r} [{node.description}]",
                  file=sys.stderr)
    except Exception:
        pass
    print("atspi: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def app():
    desk = pyatspi.Registry.getDesktop(0)
    for i in range(desk.childCount):
        a = desk.getChildAtIndex(i)
        if a is not None and a.name == "Settings":
            return a
    return None


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def find(root, role, name):
    for node, _ in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def wait_for(what, fn, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        try:
            result = fn()
        except Exception:  # the tree changes under us while windows open
            result = None
        if result is not None:
            return result
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "Press"):
            action.doAction(i)
            return
    fail(f"{node.getRoleName()} {node.name!r} has no press action")


