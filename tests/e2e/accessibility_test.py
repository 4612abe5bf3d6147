#!/usr/bin/python3
"""The real pellox as a screen reader meets it on Linux, through AT-SPI.

Each test starts pellox on a desktop of its own: an Xvfb display, a session
bus and the accessibility bus with its registry (at-spi2-core), all ended
with the test. It reads the program's accessible tree with pyatspi, the
library Orca uses, and drives the program as a screen-reader user does:
with the keyboard and through the accessible actions.

    accessibility_test.py PELLOX [unittest arguments]
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

PELLOX = None  # the program under test, from the command line

# Keysyms of the keys the tests press.
KEY_DOWN = 0xFF54
KEY_UP = 0xFF52
KEY_HOME = 0xFF50
KEY_END = 0xFF57
KEY_RETURN = 0xFF0D
KEY_TAB = 0xFF09
SHIFT_MASK = 1 << 0
ALT_MASK = 1 << 3  # Mod1

AT_SPI_BUS_LAUNCHERS = (
    "/usr/libexec/at-spi-bus-launcher",
    "/usr/lib/at-spi2-core/at-spi-bus-launcher",
)

HEADINGS = ["No.", "Delay", "ExeName", "Parameter"]

# A list file of three entries: delay, program, parameter each.
THREE_ENTRIES = [
    ["30", "/bin/true", "a b"],
    ["0", "/bin/echo", ""],
    ["10", "", "only a parameter"],
]


# Every process started for a desktop carries this variable in its
# environment, with the desktop's folder as its value: the accessibility
# bus and its registry too, which the bus launcher starts.
MARKER = "PELLOX_ACCESSIBILITY_DESKTOP"

# Displays are taken from here, away from those of the other tests.
DISPLAYS = range(300, 400)


def marked_processes(folder):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as environ:
                variables = environ.read().split(b"\0")
        except OSError:
            continue
        if f"{MARKER}={folder}".encode() in variables:
            found.append(int(entry))
    return found


def gone(pid):
    """Whether `pid` has ended: reaped when it is our child, else no longer
    there or a zombie of another parent."""
    try:
        return os.waitpid(pid, os.WNOHANG)[0] != 0
    except ChildProcessError:
        try:
            with open(f"/proc/{pid}/stat") as stat:
                return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
        except OSError:
            return True


def end_processes(pids):
    """Ends the processes by their ids: asked first, then killed."""
    for signal_number in (signal.SIGTERM, signal.SIGKILL):
        for pid in pids:
            try:
                os.kill(pid, signal_number)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 5
        while pids and time.monotonic() < deadline:
            pids = [pid for pid in pids if not gone(pid)]
            time.sleep(0.05)
        if not pids:
            return


class Desktop:
    """A display, a session bus and an accessibility bus, private to the
    tests of this file; close() ends every process started for them."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="pellox-a11y-")
        self.env = dict(os.environ, **{MARKER: self.folder})
        try:
            self._start_display()
            self._start_session_bus()
            self._start_accessibility_bus()
        except BaseException:
            self.close()
            raise

    def _start_display(self):
        for number in DISPLAYS:
            if os.path.exists(f"/tmp/.X11-unix/X{number}") or \
                    os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            server = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 "-noreset"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + 30
            while server.poll() is None and time.monotonic() < deadline:
                if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                    self.env["DISPLAY"] = f":{number}"
                    return
                time.sleep(0.05)
            # Taken by another server meanwhile: on to the next number.
            end_processes([server.pid])
        raise RuntimeError("no free X display for Xvfb")

    def _start_session_bus(self):
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=self.env)
        ready, _, _ = select.select([bus.stdout], [], [], 30)
        address = bus.stdout.readline().strip() if ready else ""
        bus.stdout.close()
        if not address:
            raise RuntimeError("the session bus did not start")
        runtime = os.path.join(self.folder, "runtime")
        os.mkdir(runtime, 0o700)
        self.env.update(DBUS_SESSION_BUS_ADDRESS=address, XDG_RUNTIME_DIR=runtime,
                        HOME=self.folder, XDG_CONFIG_HOME=os.path.join(self.folder, "config"))

    def _start_accessibility_bus(self):
        launcher = next((path for path in AT_SPI_BUS_LAUNCHERS if os.path.exists(path)), None)
        if not launcher:
            raise RuntimeError("at-spi-bus-launcher not found (at-spi2-core)")
        subprocess.Popen([launcher, "--launch-immediately", "--a11y=1"], env=self.env,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # pyatspi, in this process, finds the accessibility bus through the
        # session bus.
        os.environ.update(DISPLAY=self.env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"])
        from gi.repository import Gio
        connection = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        deadline = time.monotonic() + 30
        while True:
            try:
                connection.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                     "GetAddress", None, None, 0, 1000, None)
                return
            except Exception:  # not there yet
                if time.monotonic() > deadline:
                    raise RuntimeError("the accessibility bus did not start")
                time.sleep(0.1)

    def start_pellox(self):
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   # No printer list from the machine's scheduler: no answer, at once.
                   CUPS_SERVER=os.path.join(self.folder, "no-scheduler.sock"))
        return subprocess.Popen([PELLOX], env=env, cwd=self.folder,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        end_processes(marked_processes(self.folder))
        shutil.rmtree(self.folder, ignore_errors=True)


class AccessibilityTest(unittest.TestCase):
    """The cases share one desktop; each starts its own pellox."""

    desktop = None
    pyatspi = None
    events = []

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()
        import pyatspi
        cls.pyatspi = pyatspi
        for kind in ("focus:", "object:property-change:accessible-name"):
            pyatspi.Registry.registerEventListener(cls.events.append, kind)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.process = self.desktop.start_pellox()
        self.addCleanup(end_processes, [self.process.pid])
        self.app = self.wait_for(self.find_application, "pellox on the accessibility bus")
        self.frame = self.wait_for(lambda: self.child_with_role(self.app, "frame"),
                                   "the main window")
        self.table = self.wait_for(lambda: self.first(self.frame, "table"), "the run list")

    # Waiting, with the events delivered meanwhile.

    def pump(self, seconds=0.05):
        from gi.repository import GLib
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while True:
            while context.iteration(False):
                pass
            if time.monotonic() >= deadline:
                return
            time.sleep(0.01)

    def wait_for(self, value, what, seconds=30):
        deadline = time.monotonic() + seconds
        while True:
            found = value()
            if found:
                return found
            if time.monotonic() > deadline:
                self.fail(f"no {what} after {seconds} s")
            self.pump(0.1)

    # The accessible tree.

    def find_application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    @staticmethod
    def child_with_role(parent, role):
        for index in range(parent.childCount):
            child = parent.getChildAtIndex(index)
            if child is not None and child.getRoleName() == role:
                return child
        return None

    def all_of(self, root, keep, skip_inside=()):
        found = []

        def visit(node):
            if keep(node):
                found.append(node)
            if node.getRoleName() in skip_inside:
                return
            for index in range(node.childCount):
                visit(node.getChildAtIndex(index))

        visit(root)
        return found

    def first(self, root, role):
        found = self.all_of(root, lambda node: node.getRoleName() == role)
        return found[0] if found else None

    def has_state(self, node, state):
        return node.getState().contains(state)

    def cells(self):
        table = self.table.queryTable()
        return [[table.getAccessibleAt(row, column).name for column in range(table.nColumns)]
                for row in range(table.nRows)]

    def row_of(self, cell):
        return self.table.queryTable().getRowAtIndex(cell.getIndexInParent())

    def focused_row(self):
        table = self.table.queryTable()
        for row in range(table.nRows):
            if self.has_state(table.getAccessibleAt(row, 0), self.pyatspi.STATE_FOCUSED):
                return row
        return None

    # What a user does.

    def press(self, keysym):
        self.pyatspi.Registry.generateKeyboardEvent(keysym, None, self.pyatspi.KEY_SYM)
        self.pump(0.2)

    def press_with(self, modifiers, keysym):
        registry = self.pyatspi.Registry
        registry.generateKeyboardEvent(modifiers, None, self.pyatspi.KEY_LOCKMODIFIERS)
        registry.generateKeyboardEvent(keysym, None, self.pyatspi.KEY_SYM)
        registry.generateKeyboardEvent(modifiers, None, self.pyatspi.KEY_UNLOCKMODIFIERS)
        self.pump(0.2)

    def click(self, node):
        extents = node.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        self.pyatspi.Registry.generateMouseEvent(extents.x + 5, extents.y + extents.height // 2,
                                                 "b1c")
        self.pump(0.2)

    def click_cell(self, row, column):
        self.click(self.table.queryTable().getAccessibleAt(row, column))

    def write_list(self, entries):
        path = os.path.join(self.desktop.folder, "three.lst")
        lines = ["0", str(len(entries))] + [line for entry in entries for line in entry]
        with open(path, "wb") as out:
            out.write("".join(line + "\r\n" for line in lines).encode())
        return path

    def open_list(self, path):
        """File, Open: Alt+F, O, the file name typed into the dialog, Enter."""
        self.click_cell(0, 0)  # the window takes the keyboard
        self.press_with(ALT_MASK, ord("f"))
        self.press(ord("o"))
        dialog = self.wait_for(lambda: self.child_with_role(self.app, "dialog"), "open dialog")
        field = self.wait_for(
            lambda: next(iter(self.all_of(dialog, lambda node: node.getRoleName() == "text"
                                          and self.has_state(node, self.pyatspi.STATE_FOCUSED))),
                         None), "focused file name field")
        field.queryEditableText().setTextContents(path)
        self.press(KEY_RETURN)
        self.wait_for(lambda: self.frame.name == "Pellox | " + path, "the list's caption")
        # Without a window manager nobody gives the window the keyboard back
        # when the dialog closes: a click on a label does.
        self.click(next(iter(self.all_of(self.frame, lambda node: node.name == "Printer:"))))

    def status_panels(self):
        bar = self.first(self.frame, "status bar")
        self.assertIsNotNone(bar, "no status bar")
        return [panel.name for panel in self.all_of(bar, lambda node: node.getRoleName() == "label")]

    # The tests.

    def test_every_control_that_takes_the_focus_is_named_by_its_label(self):
        expected = [
            ("combo box", "Printer", "", "Printer:"),
            ("text", "DelayTime", "[s]", "DelayTime:"),
            ("text", "ExeName", "", "ExeName:"),
            ("push button", "Browse", "", None),
            ("text", "Parameter", "", "Parameter:"),
            ("table", "Run list", "", None),
            ("push button", "Add", "", None),
            ("push button", "Insert", "", None),
            ("push button", "Delete", "", None),
            ("push button", "Edit", "", None),
            ("push button", "Pick", "", None),
            ("push button", "Run", "", None),
        ]
        focusable = self.all_of(
            self.frame, lambda node: self.has_state(node, self.pyatspi.STATE_FOCUSABLE),
            skip_inside=("table", "combo box", "menu bar"))
        seen = []
        for node in focusable:
            labels = [relation.getTarget(0).name for relation in node.getRelationSet()
                      if relation.getRelationType() == self.pyatspi.RELATION_LABELLED_BY]
            seen.append((node.getRoleName(), node.name, node.description,
                         labels[0] if labels else None))
        self.assertEqual(expected, seen)

    def test_the_table_shows_the_headings_and_each_loaded_entry(self):
        table = self.table.queryTable()
        self.assertEqual(HEADINGS,
                         [table.getColumnHeader(column).name for column in range(table.nColumns)])
        # The empty list is one empty row.
        self.assertEqual([["", "", "", ""]], self.cells())

        self.open_list(self.write_list(THREE_ENTRIES))
        self.assertEqual([[str(number)] + entry
                          for number, entry in enumerate(THREE_ENTRIES, start=1)], self.cells())

    def focus_told(self, what, is_it):
        """Waits until the last focus told is what `is_it` accepts."""
        def last():
            focus = [event.source for event in self.events if event.type == "focus:"]
            return focus[-1] if focus and is_it(focus[-1]) else None
        return self.wait_for(last, what, 10)

    def is_cell_of_row(self, row):
        return lambda node: node.getRoleName() == "table cell" and self.row_of(node) == row

    def test_a_click_tab_and_the_keys_move_the_accessible_focus_along_the_current_row(self):
        self.open_list(self.write_list(THREE_ENTRIES))
        self.events.clear()
        self.click_cell(1, 2)
        self.focus_told("focus on row 1 after the click", self.is_cell_of_row(1))

        # Tab leaves the grid for "Add"; Shift+Tab comes back to the row
        # where the focus was, and a screen reader hears that row again.
        self.press(KEY_TAB)
        self.focus_told("focus on Add", lambda node: node.name == "Add")
        self.events.clear()
        self.press_with(SHIFT_MASK, KEY_TAB)
        self.focus_told("focus on row 1 after Shift+Tab", self.is_cell_of_row(1))

        steps = [("Down", KEY_DOWN, 2), ("Down on the last row", KEY_DOWN, 2), ("Up", KEY_UP, 1),
                 ("Home", KEY_HOME, 0), ("Up on the first row", KEY_UP, 0), ("End", KEY_END, 2)]
        for label, key, row in steps:
            with self.subTest(label):
                before = self.focused_row()
                self.pump(0.2)
                self.events.clear()
                self.press(key)
                if row == before:
                    self.pump(0.3)
                    self.assertEqual([], [event for event in self.events
                                          if event.type == "focus:"])
                    continue
                cell = self.focus_told(f"focus on row {row}", self.is_cell_of_row(row))
                self.assertEqual(row, self.focused_row())
                # Orca reads the whole row of the focused cell.
                self.assertTrue(self.has_state(cell, self.pyatspi.STATE_SELECTED))

    def test_the_status_panels_read_the_entry_a_run_waits_for(self):
        self.open_list(self.write_list(THREE_ENTRIES))
        self.assertEqual(["", "", ""], self.status_panels())
        self.events.clear()
        run = next(node for node in self.all_of(self.frame, lambda node: node.name == "Run"))
        run.queryAction().doAction(0)
        expected = ["1", "/bin/true", "a b"]  # the first entry waits 30 s
        self.wait_for(lambda: self.status_panels() == expected, "the waiting entry's panels")
        told = [event.source.name for event in self.events
                if event.type == "object:property-change:accessible-name"
                and event.source.getRoleName() == "label"]
        self.assertEqual(expected, told)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    PELLOX = os.path.abspath(sys.argv.pop(1))
    # pyatspi's own use of deprecated calls, and the processes that
    # end_processes reaps behind subprocess's back, are no findings here.
    warnings.filterwarnings("ignore", category=DeprecationWarning)
    warnings.filterwarnings("ignore", category=ResourceWarning)
    unittest.main(verbosity=2, warnings="ignore")
