# The real-window tests' way onto the accessibility bus (Debian's pyatspi): the editor's process (the
# one with process id $KESTRIN_PID where that is set).
import os, subprocess, sys, pyatspi
from gi.repository import GLib
find = lambda root, test: pyatspi.findDescendant(root, test, True)
def app():
    for _ in range(50):
        found = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "kestrin4" and
                      a.get_process_id() == int(os.environ.get("KESTRIN_PID", a.get_process_id()))), None)
        if found: return found
        GLib.usleep(100000)
    sys.exit("kestrin4 is not on the accessibility bus")
