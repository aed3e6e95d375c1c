"""The main window as a screen reader sees it, through AT-SPI.

Started by at_spi_test.sh inside its own display and session bus:
at_spi_test.py TOLAN TREE STATE_DIR HOME_DIR. Exits 0 when every check
holds, 1 with what failed otherwise.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TOLAN, TREE, STATE, HOME = sys.argv[1:5]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what, flush=True)


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()


def wait_for(what, condition, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        pump(0.2)
    raise SystemExit(f"timed out waiting for {what}")


def find(root, role, name=None):
    def match(o):
        return o is not None and o.getRole() == role and (name is None or o.name == name)

    return pyatspi.findDescendant(root, match, breadth_first=True)


def controls(node):
    """Every control of the window but the rows of the lists and the menus."""
    for child in node:
        if child is None:
            continue
        yield child
        if child.getRole() not in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_MENU_BAR):
            yield from controls(child)


def press(obj):
    """Does an object's first action; one that opens a modal window answers
    only once the window is closed, so no answer is waited for."""
    try:
        obj.queryAction().doAction(0)
    except GLib.GError:
        pass
def work_file_lines():
    with open(os.path.join(STATE, "tolan", "DIR.TXT"), "rb") as f:
        text = f.read().decode("cp932", errors="replace")
    return text.split("\r\n")[:-1]


def started():
    """The program on the bus; started again should a display just made
    have refused it."""
    global app_process
    if app_process.poll() is not None:
        app_process = subprocess.Popen([TOLAN, TREE])
    return next((a for a in desktop if a is not None and a.name == "tolan"), None)


app_process = subprocess.Popen([TOLAN, TREE])
try:
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for("the program on the bus", started)
    window = wait_for("the main window", lambda: find(app, pyatspi.ROLE_FRAME))
    side_b = wait_for("Side B", lambda: find(window, pyatspi.ROLE_LIST, "Ｂ面"))
    side_a = find(window, pyatspi.ROLE_TABLE, "Ａ面 ファイル名")

    def all_named(form):
        """Every control the keyboard reaches says what it is."""
        for c in controls(form):
            state = c.getState()
            if state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SHOWING):
                check(c.name.strip() != "", f"{form.name}: a focusable {c.getRoleName()} without a name")

    all_named(window)

    # A scan: Side B's rows are the work file's lines.
    find(window, pyatspi.ROLE_PUSH_BUTTON, "ﾌｧｲﾙ表示１").queryAction().doAction(0)
    lines = wait_for("the work file", lambda: os.path.exists(os.path.join(STATE, "tolan", "DIR.TXT"))
                     and find(window, pyatspi.ROLE_PUSH_BUTTON, "終了")
                     and find(window, pyatspi.ROLE_PUSH_BUTTON, "ﾌｧｲﾙ表示１").getState().contains(
                         pyatspi.STATE_ENABLED) and work_file_lines())
    table = side_b.queryTable()
    wait_for("Side B's rows", lambda: table.nRows == len(lines))
    check(side_b.childCount == len(lines), "Side B has a child for each line")
    check(table.getAccessibleAt(0, 0).name == lines[0], "Side B's first row is the first line")
    check(table.getAccessibleAt(len(lines) - 1, 0).name == lines[-1],
          "Side B's last row is the last line")
    # Rows of names with control characters, emoji and bytes that are not
    # UTF-8 among them: each reads as a text.
    check(all(isinstance(table.getAccessibleAt(i, 0).name, str) for i in range(len(lines))),
          "every row of Side B can be read")

    # Side A is one table that reads name, size and date as one row, under
    # the captions as its column headers.
    tables_a = [c for c in controls(window) if c.getRole() == pyatspi.ROLE_TABLE and c.name.startswith("Ａ面")]
    check(len(tables_a) == 1, f"Side A is one table: {[t.name for t in tables_a]}")
    rows_a = side_a.queryTable()
    check(rows_a.nColumns == 3 and rows_a.nRows > 0, "Side A is a table of three columns")
    headers = [rows_a.getColumnHeader(c) for c in range(3)]
    check([h.name if h else None for h in headers] == ["ファイル名", "サイズ", "更新日時"],
          f"Side A's columns are headed by their captions: {[h.name if h else None for h in headers]}")
    first = [rows_a.getAccessibleAt(0, c).name for c in range(3)]
    check(first[0].startswith(TREE.rstrip("/").split("/")[-1]) or "\\" in first[0],
          f"Side A's first row starts with a path: {first}")
    check(first[1].strip() != "" and first[2].strip() != "", f"Side A's row has size and date: {first}")

    # The current row follows the keyboard.
    focused = []

    def on_focus(event):
        if event.detail1 and event.source is not None and event.source.getRole() == pyatspi.ROLE_LIST_ITEM:
            focused.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    side_b.queryComponent().grabFocus()
    wait_for("the focus on Side B", lambda: side_b.getState().contains(pyatspi.STATE_FOCUSED))
    for _ in range(3):
        pyatspi.Registry.generateKeyboardEvent(0xFF54, None, pyatspi.KEY_SYM)  # Down
        pump(0.3)
    wait_for("the third row under the keyboard", lambda: table.getSelectedRows() == [2])
    check(focused and focused[-1] == lines[2], f"the focus followed the rows: {focused[-3:]}")
    check(table.getAccessibleAt(2, 0).getState().contains(pyatspi.STATE_FOCUSED),
          "the row under the keyboard is focused")
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")

    # A listing file written is announced, once: the box shows "writing" and
    # then "written", two messages, each told once (the name is read when the
    # event is, so both read "written" by then).
    announced = []

    def on_showing(event):
        if event.detail1 and event.source is not None and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            announced.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    menu_item = find(window, pyatspi.ROLE_MENU_ITEM, "FileName+Size+Date")
    menu_item.queryAction().doAction(0)
    wait_for("the listing written", lambda: any("書込み終了" in a for a in announced))
    pump(1)
    check(len(announced) == 2 and "TOLAN.TXT" in announced[-1],
          f"the two listing messages were announced once each: {announced}")
    pyatspi.Registry.deregisterEventListener(on_showing, "object:state-changed:showing")

    # The dialogs too: the output settings from the menu, the save-as from
    # its button; each closed again with "戻る".
    for opener, caption in ((find(window, pyatspi.ROLE_MENU_ITEM, "ファイル出力ディレクトリ設定"), "保存設定"),
                            (find(window, pyatspi.ROLE_PUSH_BUTTON, "ﾌｧｲﾙ出力"), "ファイル保存"),
                            (find(window, pyatspi.ROLE_MENU_ITEM, "保存ファイルの管理"), "保存ファイルの管理"),
                            (find(window, pyatspi.ROLE_MENU_ITEM, "除外設定"), "除外設定"),
                            (find(window, pyatspi.ROLE_MENU_ITEM, "プリント出力"), "プリント出力")):
        press(opener)
        dialog = wait_for(caption, lambda: next((w for w in app if w is not None and w.name == caption
                                                 and w.getState().contains(pyatspi.STATE_SHOWING)), None))
        all_named(dialog)
        press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, "戻る"))
        wait_for(f"{caption} closed", lambda: not dialog.getState().contains(pyatspi.STATE_SHOWING))
    # The occupancy graph: every control named, the picture among them.
    find(window, pyatspi.ROLE_MENU_ITEM, "占有グラフ").queryAction().doAction(0)
    graph = wait_for("the graph window", lambda: next(
        (w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)
         and find(w, pyatspi.ROLE_PUSH_BUTTON, "上へ") is not None), None))
    all_named(graph)
    check(pyatspi.findDescendant(graph, lambda o: o is not None and o.name == "グラフ") is not None,
          "the graph's picture is named")
finally:
    app_process.terminate()
    app_process.wait(30)

print("\n".join(failures) if failures else "all checks passed")
sys.exit(1 if failures else 0)
