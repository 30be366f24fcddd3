"""Drives the running program through the accessibility bus as a screen reader would: finds the
circle "High Voltage Level", presses it, finds the window that opened, presses its jumper drawing
and reads back that "3.3 Volts" is checked; walks the whole tree and checks that nothing visible
is nameless."""
import pyatspi

from atspi_common import STRUCTURAL, app, fail, find, press, wait_for, walk

root = wait_for("the program on the accessibility bus", app)
wait_for("the Setup window", lambda: find(root, "frame", "Setup"))
circle = wait_for("the circle High Voltage Level",
                  lambda: find(find(root, "frame", "Setup"), "push button", "High Voltage Level"))
if circle.description != "Setup circle":
    fail(f"the circle's description is {circle.description!r}")
press(circle)
window = wait_for("the window High Voltage Level", lambda: find(root, "frame", "High Voltage Level"))
circle = find(find(root, "frame", "Setup"), "push button", "High Voltage Level")
states = circle.getState()
if not (states.contains(pyatspi.STATE_CHECKED) and states.contains(pyatspi.STATE_EXPANDED)):
    fail("the pressed circle is not checked and expanded")
jumper = wait_for("the voltage jumper", lambda: find(window, "push button", "VCC I/O"))
if jumper.description != "Jumper on 5V":
    fail(f"the voltage jumper says {jumper.description!r}, not 'Jumper on 5V'")
press(jumper)
radio = wait_for("the radio button 3.3 Volts",
                 lambda: find(find(root, "frame", "High Voltage Level"), "radio button", "3.3 Volts"),
                 10)
wait_for("3.3 Volts to be checked",
         lambda: True if radio.getState().contains(pyatspi.STATE_CHECKED) else None, 10)
jumper = find(window, "push button", "VCC I/O")
if jumper.description != "Jumper on 3.3V":
    fail(f"after the press the jumper says {jumper.description!r}")

nameless = []
for node, depth in walk(root):
    role = node.getRoleName()
    if role in STRUCTURAL or not node.getState().contains(pyatspi.STATE_SHOWING):
        continue
    if not node.name:
        nameless.append(f"{role} at depth {depth}")
if nameless:
    fail("nameless visible nodes: " + ", ".join(nameless))
print("atspi: passed")
