"""Works the program by keys alone, as a person without a mouse would, and reads back through the
accessibility bus what happened: Esc in the help window starts the tour; in each tool window Tab
reaches a setting, Space or Down changes it, the drawing follows, and Esc closes the window; the
Settings menu's letters open the windows."""
import subprocess
import time

import pyatspi

from atspi_common import app, fail, find, wait_for, walk


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "100", *names], check=True)
    time.sleep(0.3)


def focused():
    for node, _ in walk(app()):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def shown(title):
    frame = find(app(), "frame", title)
    return frame if frame is not None and frame.getState().contains(pyatspi.STATE_SHOWING) else None


def expect_focus(role, name):
    node = wait_for(f"the focus on {role} {name!r}",
                    lambda: focused() if focused() is not None and focused().getRoleName() == role
                    and focused().name == name else None, 10)
    return node


def expect_description(window, jumper, text):
    wait_for(f"{jumper} to read {text!r}",
             lambda: True if find(shown(window), "push button", jumper).description == text
             else None, 10)


def closes(title):
    wait_for(f"Esc to close {title}", lambda: True if shown(title) is None else None, 10)


wait_for("the program on the accessibility bus", app)
wait_for("the help window", lambda: shown("Instructions for Settings utility"))
keys("Escape")
wait_for("the tour's window", lambda: shown("High Voltage Level"))

# The voltage window: Tab reaches 3.3 Volts, Space checks it, the jumper follows.
keys("Tab")
expect_focus("radio button", "3.3 Volts")
keys("space")
wait_for("3.3 Volts to be checked",
         lambda: True if find(shown("High Voltage Level"), "radio button", "3.3 Volts")
         .getState().contains(pyatspi.STATE_CHECKED) else None, 10)
expect_description("High Voltage Level", "VCC I/O", "Jumper on 3.3V")
keys("Escape")
closes("High Voltage Level")

# The digital and counter windows from the Settings menu: Tab reaches the first list, Down picks
# Pull Down, the drawing follows.
for letter, title, drawing in (("d", "Digital Pull Up/Down", "PORT A"),
                               ("c", "Counter Pull Up/Down", "Counter Pull Up/Down jumper")):
    keys("alt+s", letter)
    wait_for(f"the window {title}", lambda: shown(title))
    keys("Tab")
    expect_focus("combo box", "Pull Up")
    keys("Down")
    expect_description(title, drawing, "Jumper on DN")
    keys("Escape")
    closes(title)
print("keyboard: passed")
