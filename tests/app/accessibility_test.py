#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds in the main window, read through the accessibility bus.

Usage: accessibility_test.py PATH/TO/ketrano

Starts its own X server (Xvfb) and session bus (dbus-run-session), starts the program with a
saved profile, and checks: the window is named by its caption, the three lists by the labels
above them and with their column headers, every button by its caption (or its tooltip when it
shows a picture only), the progress bar, and the status panels' texts as a scan changes them;
after the scan, a result row read from its Name with its check box's state (checkable, checked
or not) and the state-changed event of a check changed; the manual as a named document.
No control may be announced by its design name. Exits 77 (skipped) when Xvfb,
dbus-run-session or pyatspi is missing.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
BUTTONS = ["New Profile", "Open Profile", "Save Profile", "Scan", "Synchronize", "Exit",
           "Show Icons ", " Copy  Source", " Copy  Target  ", " Show  Errors  !", "Help", "About",
           "Run Log",
           "New Profile Entry", "Edit Profile Entry", "Delete Profile Entry", "Create ShortCut"]
RESULT_HEADERS = ["Name", "Source", "Target", "Status", "Last Modified", "size(KB)"]
LISTS = {"Source Files": RESULT_HEADERS, "Target Files": RESULT_HEADERS,
         "Profile Entries": ["Source", "Target", "Include", "Exclude"]}
DESIGN_NAMES = ({"MainForm", "ListView1", "ListView2", "ProfileList", "Label3", "Label5",
                 "Label6", "ProgressBar1", "StatusBar1", "tbrMain", "tbrSecond", "TbrProfile"}
                | {f"StatusBar1_Panel{i}" for i in range(1, 6)}
                | {f"{bar}_{i}" for bar in ("tbrMain", "tbrSecond") for i in range(1, 7)}
                | {f"TbrProfile_{i}" for i in range(1, 5)})


def outside(ketrano):
    """Checks the tools, starts Xvfb and runs the checks inside a session bus of their own."""
    missing = [tool for tool in ("Xvfb", "dbus-run-session") if not shutil.which(tool)]
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append(f"pyatspi for {sys.executable}")
    if missing:
        print("SKIP: accessibility bus not checked, missing: " + ", ".join(missing))
        return SKIP
    read_end, write_end = os.pipe()
    # -noreset: the server must not restart when its first client (the bus launcher) leaves.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        if not display:
            print("SKIP: Xvfb did not start")
            return SKIP
        env = dict(os.environ, DISPLAY=":" + display)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, __file__, "--inside",
                               ketrano], env=env, timeout=150).returncode
    finally:
        if xvfb.pid > 0:
            xvfb.terminate()
            xvfb.wait()


def walk(node, cells=True):
    """A node and all below it; without cells, not the lists' cells (thousands after a scan)."""
    yield node
    if cells or node.getRoleName() not in ("tree", "table"):
        for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
            if child is not None:
                yield from walk(child, cells)


def windows(pid):
    """The program's windows on the accessibility bus."""
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
        if app is not None and app.get_process_id() == pid:
            yield from filter(None, (app.getChildAtIndex(i) for i in range(app.childCount)))


def find_window(pid, seconds):
    """The program's main window, or None when it does not appear."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        window = next(windows(pid), None)
        if window is not None:
            return window
        time.sleep(0.1)
    return None


def press(caption, pid):
    next(n for n in walk(find_window(pid, 10), cells=False)
         if n.getRoleName() == "push button" and n.name == caption).queryAction().doAction(0)
    return 0


def inside(ketrano):
    import pyatspi
    from gi.repository import GLib

    work = tempfile.mkdtemp(prefix="ketrano-a11y-")
    source, target = os.path.join(work, "home/Documents"), os.path.join(work, "backup")
    for i in range(300):
        os.makedirs(os.path.join(source, f"folder {i % 7}"), exist_ok=True)
        with open(os.path.join(source, f"folder {i % 7}", f"letter {i}.txt"), "wb") as f:
            f.write(b"x" * 3000)
    os.makedirs(target)
    profile = os.path.join(work, "daily.prf")
    entries = 150  # the same pair again and again: a scan long enough to be heard while it runs
    with open(profile, "wb") as f:  # records of four blank-padded 300-byte fields
        f.write(b"".join(text.encode().ljust(300) for text in (source, target, "*", "")) * entries)
    key = os.path.join(work, "config/ketrano/registry/HKEY_CURRENT_USER/Software/Quillmark/Ketrano")
    os.makedirs(key)
    with open(os.path.join(key, "Last Profile"), "w") as f:
        f.write(profile)

    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               XDG_CONFIG_HOME=os.path.join(work, "config"), LANG="C.UTF-8", LC_ALL="C.UTF-8")
    program = subprocess.Popen([ketrano], env=env)
    failures = []

    def check(what, got, want):
        if got != want:
            failures.append(f"{what}: got {got!r}, want {want!r}")

    try:
        frame = find_window(program.pid, 30)
        if frame is None:
            print("FAIL: the window did not appear on the accessibility bus; program status",
                  program.poll())
            return 1
        check("window", frame.name, f"Ketrano Backup [{profile}]")

        # A screen reader is told that a status panel's name changed and reads the new one. The
        # program learns of listeners on its own time: listen from the start.
        told = []

        def renamed(event):
            source = event.source
            if source.getRoleName() == "label" and source.parent.getRoleName() == "status bar":
                told.append((source.getIndexInParent(), source.name))

        pyatspi.Registry.registerEventListener(renamed, "object:property-change:accessible-name")

        nodes = list(walk(frame))
        role = {n: n.getRoleName() for n in nodes}
        check("controls named by design name", [n.name for n in nodes if n.name in DESIGN_NAMES],
              [])
        for name, headers in LISTS.items():
            lists = [n for n in nodes if role[n] in ("tree", "table") and n.name == name]
            check(f"lists named {name!r}", len(lists), 1)
            check(f"labels {name!r}", [n.name for n in nodes if role[n] == "label" and
                                       n.name == name], [name])
            if lists:
                check(f"headers of {name!r}", [c.name for c in walk(lists[0])
                                               if c.getRoleName() == "table column header"],
                      headers)
        shown = [n.name for n in nodes if role[n] in ("push button", "check box", "toggle button")
                 and n.getState().contains(pyatspi.STATE_SHOWING)]
        check("buttons", sorted(shown), sorted(BUTTONS))
        check("progress bar", [n.name for n in nodes if role[n] == "progress bar"], ["Progress"])
        bar = next((n for n in nodes if role[n] == "status bar"), frame)
        panels = [n for n in walk(bar) if n.getRoleName() == "label"]
        check("status panels at start", [p.name for p in panels], ["Ready", "", "", "", ""])

        # A scan. The press returns only when the scan has run: press from a process of its own.
        presser = subprocess.Popen([sys.executable, __file__, "--press", "Scan", str(program.pid)])
        deadline = time.monotonic() + 60

        def heard_all():
            if (presser.poll() is not None and (5, "Target Size: 0KB") in told or
                    time.monotonic() > deadline):
                pyatspi.Registry.stop()
                return False
            return True

        GLib.timeout_add(50, heard_all)
        pyatspi.Registry.start()
        files = 300 * entries
        check("panels told of", sorted({panel for panel, _ in told}), [1, 2, 3, 4, 5])
        check("panel 1 heard while the scan runs",
              bool({(1, "Scanning"), (1, "Comparing")} & set(told)), True)
        check("status panels after the scan", [p.name for p in panels],
              ["Ready  ", f"Source Files: {files}", f"Source Size: {files * 3:,}KB",
               "Target Files: 0", "Target Size: 0KB"])

        # A row: its Name cell first, with its check box's state, which every cell of the row
        # tells; a click on its check box unchecks it and is told as a state change. (Qt's cells
        # do not report "checkable"; the description names the state on every cell.)
        frame = find_window(program.pid, 10)
        sources = next(n for n in walk(frame) if role.get(n) in ("tree", "table")
                       and n.name == "Source Files")
        table = sources.queryTable()
        name = table.getAccessibleAt(0, 0)
        check("first cell of a row", name.name, "letter 0.txt")
        check("row checked", name.getState().contains(pyatspi.STATE_CHECKED), True)
        check("row's other cells tell the check", table.getAccessibleAt(0, 2).description,
              "checked")
        changed = []

        def toggled(event):
            changed.append((event.source.name, event.detail1))
            pyatspi.Registry.stop()

        pyatspi.Registry.registerEventListener(toggled, "object:state-changed:checked")
        # A click on the row's check box, through the X server.
        box = name.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        GLib.timeout_add(5000, lambda: pyatspi.Registry.stop() or False)
        GLib.timeout_add(300, lambda: pyatspi.Registry.generateMouseEvent(
            box.x + 11, box.y + box.height // 2, "b1c") and False)
        pyatspi.Registry.start()
        check("check change told", changed[:1], [("letter 0.txt", 0)])
        check("row not checked now", name.getState().contains(pyatspi.STATE_CHECKED), False)
        check("other cells tell it too", table.getAccessibleAt(0, 2).description, "not checked")

        # The manual: a document named Manual in the help window, its headings in its text.
        helper = subprocess.Popen([sys.executable, __file__, "--press", "Help", str(program.pid)])
        manual = None
        deadline = time.monotonic() + 20
        while manual is None and time.monotonic() < deadline:
            time.sleep(0.2)
            # The dialogs only: the main window's lists hold thousands of cells.
            dialog, manual = next(((w, n) for w in windows(program.pid)
                                   if w.getRoleName() == "dialog"
                                   for n in walk(w) if n.name == "Manual"), (None, None))
        check("manual found", manual is not None, True)
        if manual is not None:
            text = manual.queryText().getText(0, -1)
            check("manual holds its headings", all(h in text for h in ("Scan", "Synchronize")),
                  True)
            close = next((n for n in walk(dialog) if n.getRoleName() == "push button"
                          and n.name == "Close"), None)
            if close is not None:
                close.queryAction().doAction(0)
        helper.kill()  # its press waits for the dialog's end, which it need not see
        helper.wait()
    finally:
        if program.pid > 0:
            program.send_signal(signal.SIGTERM)
            program.wait(timeout=20)
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL: " + failure)
    print("all passed" if not failures else f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--press":
        sys.exit(press(sys.argv[2], int(sys.argv[3])))
    if len(sys.argv) == 3 and sys.argv[1] == "--inside":
        sys.exit(inside(os.path.abspath(sys.argv[2])))
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(outside(os.path.abspath(sys.argv[1])))
