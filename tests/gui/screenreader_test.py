#!/usr/bin/python3
"""What a screen reader receives from the running program, read out of process over AT-SPI.

Run as `screenreader_test.py CASE PROGRAM_FOLDER` on a display of its own with a session bus of its
own (xvfb-run and dbus-run-session); it starts a window manager, copies the program into a program
folder of its own, drives it with real key presses and listens to the accessibility bus as a
screen reader does. Each case is a list of checks; every failing check is printed, and any makes
the exit code 1.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WINDOW_ROLES = ("frame", "dialog", "window", "alert")
NAMED_ROLES = (Atspi.Role.IMAGE, Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.TEXT,
               Atspi.Role.PROGRESS_BAR, Atspi.Role.PAGE_TAB)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def pump(seconds):
    """Lets the bus deliver what it has for this long."""
    context = GLib.MainContext.default()
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def wait_for(condition, seconds=15):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        pump(0.05)
        if condition():
            return True
    return False


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


class Heard:
    """What a screen reader is told: each focus change, and each check state change."""

    def __init__(self):
        self.focus = []
        self.states = []
        self._listeners = []
        self._listen("object:state-changed:focused", self._on_focus)
        self._listen("object:state-changed:checked", self._on_state)

    def _listen(self, kind, handler):
        listener = Atspi.EventListener.new(handler)
        listener.register(kind)
        self._listeners.append(listener)

    def _on_focus(self, event):
        if event.detail1 == 1:
            self.focus.append(Spoken(event.source))

    def _on_state(self, event):
        self.states.append((Spoken(event.source), event.type, event.detail1))

    def next_focus(self, after, seconds=5):
        """The first focus event after the `after`-th one, waiting for it."""
        wait_for(lambda: len(self.focus) > after, seconds)
        pump(0.2)  # the window settles: the last focus event counts
        return self.focus[-1] if len(self.focus) > after else None


class Spoken:
    """An accessible object as it was when its event came: what a reader would say of it."""

    def __init__(self, source):
        self.source = source
        self.name = source.get_name() or ""
        self.role = source.get_role_name()
        self.description = source.get_description() or ""
        states = source.get_state_set()
        self.checked = states.contains(Atspi.StateType.CHECKED)
        self.checkable = states.contains(Atspi.StateType.CHECKABLE)
        top = source
        self.inner_windows = []  # containers on the way up that say they are a window
        while top.get_parent() is not None and top.get_parent().get_role() != Atspi.Role.APPLICATION:
            if top is not source and top.get_role_name() in WINDOW_ROLES:
                self.inner_windows.append(top.get_name() or top.get_role_name())
            top = top.get_parent()
        self.window_role = top.get_role_name()
        self.window_name = top.get_name() or ""
        self.window_active = top.get_state_set().contains(Atspi.StateType.ACTIVE)
        # What a reader may say in place of the name: the labels that name the object.
        self.labels = [relation.get_target(i).get_name() or ""
                       for relation in source.get_relation_set() or []
                       if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY
                       for i in range(relation.get_n_targets())]
        self.top = top

    def focused_tabs(self):
        """The tabs of the window that say they have the focus."""
        return [node.get_name() for node in descendants(self.top)
                if node.get_role() == Atspi.Role.PAGE_TAB and node.get_state_set().contains(Atspi.StateType.FOCUSED)]

    def actions(self):
        # Its replacement, the localised name, is one the toolkit's bridge does not answer.
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", DeprecationWarning)
            return [self.source.get_action_name(i) for i in range(self.source.get_n_actions())]

    def __str__(self):
        return f"'{self.name}' {self.role} in {self.window_role} '{self.window_name}'"


class Program:
    """The program in a program folder of its own, with its own private runtime folder."""

    def __init__(self, built):
        self.folder = tempfile.mkdtemp(prefix="doorsel-screenreader-")
        for name in ("doorsel", "libdoorsel-gui.so", "libdoorsel-about.so"):
            shutil.copy2(os.path.join(built, name), self.folder)
        shutil.copytree(os.path.join(built, "Resources"), os.path.join(self.folder, "Resources"))
        self.runtime = os.path.join(self.folder, "run")
        os.mkdir(self.runtime, 0o700)
        self.env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                        XDG_RUNTIME_DIR=self.runtime)
        self.processes = []

    def write(self, name, text):
        with open(os.path.join(self.folder, name), "w", newline="") as file:
            file.write(text.replace("\n", "\r\n"))

    def read(self, name):
        with open(os.path.join(self.folder, name), newline="") as file:
            return file.read()

    def logon_screen(self, sample):
        return os.path.join(self.folder, "Resources", sample)

    def set_logon_screen(self, path):
        self.write("registry.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                   f"\\Winlogon]\n\"UIHost\"=\"{path}\"\n")

    def start(self, *arguments):
        process = subprocess.Popen([os.path.join(self.folder, "doorsel"), *arguments], env=self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def application(self, seconds=20):
        """The program's accessible application, once its main window is on the bus."""
        found = []

        def look():
            desktop = Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                if app is not None and app.get_name().lower() == "doorsel" and app.get_child_count() > 0:
                    found.append(app)
                    return True
            return False

        wait_for(look, seconds)
        return found[0] if found else None

    def stop(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def start_window_manager():
    manager = subprocess.Popen(["icewm", "-c", "/dev/null"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in subprocess.run(
        ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True).stdout, 10)
    pump(0.5)
    return manager


def descendants(node):
    todo = [node]
    while todo:
        node = todo.pop()
        if node is not None:
            yield node
            todo.extend(node.get_child_at_index(i) for i in range(node.get_child_count()))


def children(node):
    node.clear_cache()
    return [child for child in (node.get_child_at_index(i) for i in range(node.get_child_count())) if child]


def spoken_name(name):
    """A name that says something: words, with no blank left at either end."""
    return name == name.strip() and any(c.isalnum() for c in name)


def unnamed_parts(window):
    """The pictures and controls of a window that have no name worth speaking."""
    return [f"{node.get_role_name()} '{node.get_name()}'" for node in descendants(window)
            if node.get_role() in NAMED_ROLES and not spoken_name(node.get_name() or "")]


def walk(heard, where, stops_at_most=30):
    """Tabs round the page with the focus, checking what each stop says; the stops' names."""
    start = heard.next_focus(0, 1) if heard.focus else None
    names = []
    for _ in range(stops_at_most):
        before = len(heard.focus)
        key("Tab")
        stop = heard.next_focus(before)
        if not check(stop is not None, f"{where}: a Tab press after {names} sent no focus event"):
            break
        print(f"{where}: {stop} '{stop.description}'")
        if stop.role != "page tab list":
            tabs = stop.focused_tabs()
            check(not tabs, f"{where}: tab {tabs} says it has the focus while {stop} has it")
        check(spoken_name(stop.name), f"{where}: focus on a {stop.role} named '{stop.name}' ({stop})")
        for label in stop.labels:
            check(spoken_name(label), f"{where}: {stop} is labelled '{label}'")
        check(stop.role != "filler", f"{where}: focus on a filler ({stop})")
        check(not stop.inner_windows, f"{where}: {stop} lies in {stop.inner_windows}, which say they are windows")
        check(stop.window_role in WINDOW_ROLES and stop.window_active,
              f"{where}: focus outside an active window ({stop}, active {stop.window_active})")
        if names and (stop.name, stop.role) == names[0]:
            return names
        names.append((stop.name, stop.role))
    check(start is None or names, f"{where}: the focus never came round")
    return names


def focus_named(heard, where, name, presses=20):
    """Tabs until the control whose name starts with `name` has the focus."""
    for _ in range(presses):
        if heard.focus and heard.focus[-1].name.startswith(name):
            return True
        before = len(heard.focus)
        key("Tab")
        heard.next_focus(before)
    return check(heard.focus and heard.focus[-1].name.startswith(name), f"{where}: no Tab stop is named '{name}'")


def press_named(heard, where, name, seconds=15):
    """Presses Enter on the control named `name`; the first focus event that follows, or None."""
    if not focus_named(heard, where, name):
        return None
    before = len(heard.focus)
    key("Return")
    return heard.next_focus(before, seconds)


def open_main(program, heard, *arguments):
    program.start(*arguments)
    app = program.application()
    if not check(app is not None, "the main window never showed on the accessibility bus"):
        return None
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Doorsel$", "windowactivate",
                    "--sync"], check=False, capture_output=True, timeout=20)
    if heard.next_focus(0, 10) is None:
        # A busy machine may let the window take the focus before the program has learnt that a
        # reader listens, and that event is lost; a reader that starts late asks where the focus is.
        focused = next((node for node in descendants(app)
                        if node.get_state_set().contains(Atspi.StateType.FOCUSED)), None)
        if focused is not None:
            heard.focus.append(Spoken(focused))
    if not check(heard.focus, "the main window took no focus"):
        return None
    return app


def case_tab_stops(program, heard):
    program.write("config.ini", "[Options]\nEnableRandom=1\n")
    if open_main(program, heard) is None:
        return
    check(not unnamed_parts(heard.focus[-1].top), f"main: unnamed parts {unnamed_parts(heard.focus[-1].top)}")
    walk(heard, "main, Logon Screen")
    key("ctrl+Tab")
    pump(0.5)
    walk(heard, "main, Options")
    key("ctrl+Tab")
    pump(0.5)
    if check(press_named(heard, "main", "Browse Your LogonUI Files") is not None, "the browse window took no focus"):
        walk(heard, "browse")
        key("Escape")
        pump(1)
    if check(press_named(heard, "main", "About") is not None, "the About window took no focus"):
        walk(heard, "About, About Doorsel")
        key("ctrl+Tab")
        pump(0.5)
        walk(heard, "About, Links")
        key("Escape")
        pump(1)
    # Opened the same way as the browse window, a message box is spoken too.
    box = press_named(heard, "main", "Reset LogonUI To Default...", 10)
    check(box is not None and box.window_role in WINDOW_ROLES and box.window_active,
          f"the message box is not spoken ({box})")
    key("Return")
    pump(0.5)


def case_preview(program, heard):
    screen = program.logon_screen("Aurora/aurora.exe")
    program.set_logon_screen(screen)
    if open_main(program, heard) is None:
        return
    folder = os.path.dirname(screen)
    if focus_named(heard, "main", "Current Logon Screen:"):
        preview = heard.focus[-1]
        check("aurora.exe" in preview.description and folder in preview.description,
              f"main preview: description '{preview.description}' names neither file nor folder")
        check(preview.role == "push button", f"main preview: role {preview.role}")
        check(preview.actions()[:1] == ["Press"], f"main preview: actions {preview.actions()}")
    if press_named(heard, "main", "Browse Your LogonUI Files") is not None:
        if focus_named(heard, "browse", "Logon screens"):
            key("Down")
            pump(0.5)
            row = heard.focus[-1]
            if focus_named(heard, "browse", "Preview"):
                preview = heard.focus[-1]
                check(row.name != "" and row.name in preview.description,
                      f"browse preview: description '{preview.description}' does not name row '{row.name}'")
                check(preview.role == "push button", f"browse preview: role {preview.role}")
        key("Escape")


def main_window_states(app):
    for window in children(app):
        if window.get_name() == "Doorsel" and window.get_role_name() in WINDOW_ROLES:
            window.clear_cache()
            return [Atspi.StateType(state).value_nick for state in window.get_state_set().get_states()]
    return []


def tray_icons(app):
    return [child for child in children(app) if child.get_role_name() == "push button" and child.get_name() == "Doorsel"]


def visible_main_window(app):
    states = main_window_states(app)
    return "showing" in states and "active" in states


def case_second_start(program, heard):
    program.write("config.ini", "[Options]\nMinimizeToTray=1\nRotateEvery=1\nNextRotation=0\n")
    program.write("random.dat", program.logon_screen("Plain/plain.exe") + "\n")
    program.set_logon_screen("logonui.exe")
    program.start("-minimized")
    app = program.application()
    if not check(app is not None, "the window in the tray is not on the accessibility bus"):
        return
    check(wait_for(lambda: not visible_main_window(app), 5), "-minimized did not go to the tray")
    # The icon is there for a reader to find and press.
    check(tray_icons(app), "the tray icon is not in the accessibility tree")

    # The random run goes on beside the running window.
    random = program.start("-random")
    check(random.wait(10) == 0, "-random beside the window failed")
    check(program.logon_screen("Plain/plain.exe") in program.read("registry.reg"),
          "-random beside the window did not set the logon screen")

    second = program.start()
    try:
        code = second.wait(15)
    except subprocess.TimeoutExpired:
        code = None
    check(code == 0, f"the second start did not end (exit code {code})")
    check(wait_for(lambda: visible_main_window(app), 10),
          f"the second start did not bring the window forward ({main_window_states(app)})")
    check(len(program.processes) == 3 and program.processes[0].poll() is None, "the first window ended")

    # And the window, in the tray again, comes back by the icon's press action, as by a double-click.
    pump(1)
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Doorsel$", "windowminimize"],
                   capture_output=True)
    if check(wait_for(lambda: tray_icons(app), 5) and wait_for(lambda: not visible_main_window(app), 5),
             "the window did not go to the tray again"):
        pump(1)
        tray_icons(app)[0].do_action(0)
        check(wait_for(lambda: visible_main_window(app), 10), "the tray icon's press did not open the window")


def row_paths(cell):
    """What the cells and column headers of a list row say of a path, which the window never shows."""
    table = cell.get_parent()
    row = table.get_row_at_index(cell.get_index_in_parent())
    said = [table.get_column_description(column) or "" for column in range(table.get_n_columns())]
    said += [(table.get_accessible_at(row, column).get_name() or "") for column in range(table.get_n_columns())]
    return [text for text in said if text == "File Path" or os.sep in text]


def case_browse_rows(program, heard):
    """The browse list's rows: their check marks heard, a toggle announced, the path column hidden."""
    program.write("config.ini", "[Options]\nEnableRandom=1\n")
    program.write("random.dat", program.logon_screen("Aurora/aurora.exe") + "\n")
    if open_main(program, heard) is None or press_named(heard, "main", "Browse Your LogonUI Files") is None:
        return
    if not focus_named(heard, "browse", "Logon screens"):
        return
    rows = {}
    # From the last row to the first, then down until the list ends (there, Down sends nothing).
    for step in ["End", "Home"] + ["Down"] * 12:
        before = len(heard.focus)
        key(step)
        row = heard.next_focus(before, 2)
        if row is None:
            break
        rows[row.name] = row
        check(not row_paths(row.source), f"row {row.name} speaks its hidden path: {row_paths(row.source)}")
    # A reader speaks a cell's mark only when the cell is a check box or has a "toggle" action.
    check(all(row.role == "check box" or "toggle" in row.actions() for row in rows.values()),
          f"rows are not heard as check boxes: {[(row.role, row.actions()) for row in rows.values()]}")
    check(rows.get("aurora.exe") is not None and rows["aurora.exe"].checked, "the listed row is not heard checked")
    check(any(not row.checked for name, row in rows.items() if name != "aurora.exe"),
          "an unlisted row is heard checked")
    # A reader speaks a change of a mark only when it comes from the object it is on.
    row = heard.focus[-1]

    def toggle_action():
        if "toggle" in row.actions():
            row.source.do_action(row.actions().index("toggle"))

    # Space flips the mark, and the row's "toggle" action flips it back.
    for toggle, checked in [(lambda: key("space"), not row.checked), (toggle_action, row.checked)]:
        changes = len(heard.states)
        toggle()
        check(wait_for(lambda: any(spoken.source.path == row.source.path and detail == checked
                                   for spoken, _, detail in heard.states[changes:]), 3),
              f"toggling row {row.name} sends no state change of its own: {[str(s) for s, _, _ in heard.states]}")


CASES = {"tabStops": case_tab_stops, "preview": case_preview, "secondStart": case_second_start,
         "browseRows": case_browse_rows}


def main():
    case, built = sys.argv[1], sys.argv[2]
    Atspi.init()
    manager = start_window_manager()
    heard = Heard()
    program = Program(built)
    try:
        CASES[case](program, heard)
    finally:
        program.stop()
        manager.kill()
    for line in failures:
        print("FAILED:", line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
