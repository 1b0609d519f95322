#!/usr/bin/env python3
"""The UI driver works under Wine and Xvfb: drives the test dialog through
the harness (buttons, texts, combo, tabs, check box, message boxes, tree and
list views, screenshots) and opens the program's own dialog templates.

    test_uidriver.py --driver tarvo-uidriver.exe --app uidriver-testapp.exe [--keep DIR]
"""
import argparse
import os
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import harness  # noqa: E402
from harness import DriverError  # noqa: E402

TITLE = "UI driver test"
ES_READONLY, ES_AUTOHSCROLL, BS_DEFPUSHBUTTON = 0x0800, 0x0080, 0x0001
WS_EX_DLGMODALFRAME = 0x0001

failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def controls_by_id(ui, title):
    return {c["id"]: c for c in ui.controls(title=title)}


def scenario_basic_controls(ui):
    ui.click(1001, title=TITLE)
    ui.click(1001, title=TITLE)
    ui.wait_text(1020, "pressed 2", title=TITLE)

    ui.command(1001, title=TITLE)
    ui.wait_text(1020, "pressed 3", title=TITLE)

    text = "Grüße \"quoted\" \\ back"
    ui.set_text(1002, text, title=TITLE)
    check("edit text round trip", ui.get_text(1002, title=TITLE), text)
    ui.set_text(1002, "", title=TITLE)
    ui.type_text("typed", id=1002, title=TITLE)
    check("typed text", ui.get_text(1002, title=TITLE), "typed")

    ui.combo_select(1003, text="beta", title=TITLE)
    check("combo after select", ui.combo(1003, title=TITLE),
          {"ok": True, "items": ["alpha", "beta", "gamma"], "selected": 1})
    check("CBN_SELENDOK reached the dialog", ui.get_text(1021, title=TITLE), "selendok: beta")

    tabs = ui.tabs(1004, title=TITLE)
    check("tab texts", tabs["items"], ["One", "Two", "Three"])
    check("first tab selected", tabs["selected"], 0)
    ui.tab_select(1004, index=2, title=TITLE)
    check("TCN_SELCHANGING then TCN_SELCHANGE", ui.get_text(1022, title=TITLE), "changing page 2")
    ui.tab_select(1004, text="Two", title=TITLE)
    check("tab by text", ui.tabs(1004, title=TITLE)["selected"], 1)

    check("unchecked at start", ui.state(1005, title=TITLE)["checked"], 0)
    ui.set_check(1005, True, title=TITLE)
    check("checked after set-check", ui.state(1005, title=TITLE)["checked"], 1)

    state = ui.state(1011, title=TITLE)
    check("disabled button state", (state["enabled"], state["visible"], state["text"]), (False, True, "Disabled"))
    for what, call in (("click on a disabled button", lambda: ui.click(1011, title=TITLE)),
                       ("click on a missing control", lambda: ui.click(4242, title=TITLE)),
                       ("unknown window", lambda: ui.get_text(title="No such window"))):
        try:
            call()
            failures.append(f"{what}: no error")
        except DriverError:
            pass


def scenario_message_boxes(ui):
    for answer, note in (("No", "answer: no"), (harness.IDYES, "answer: yes")):
        ui.click(1006, title=TITLE)
        box = ui.wait_msgbox()
        check("question box", (box["caption"], box["text"], box["icon"]),
              ("Tester", "Do you want to go on?", "question"))
        check("question buttons", [b["id"] for b in box["buttons"]], [harness.IDYES, harness.IDNO])
        ui.answer_msgbox(answer)
        ui.wait_gone(hwnd=box["hwnd"])
        ui.wait_text(1023, note, title=TITLE)

    for button, text, icon in ((1007, "Something went wrong.", "stop"), (1008, "Careful now.", "warning"),
                               (1009, "All done.", "info"), (1010, "Just text.", "none")):
        ui.click(button, title=TITLE)
        box = ui.wait_msgbox()
        check(f"box of button {button}", (box["caption"], box["text"], box["icon"]), ("Tester", text, icon))
        ui.answer_msgbox()
        ui.wait_gone(hwnd=box["hwnd"])


def scenario_tree_and_list(ui):
    ui.tree_expand(1012, path=["Root"], expand=False, title=TITLE)
    ui.wait_text(1025, "collapsed", title=TITLE)
    ui.tree_select(1012, path=["Root", "Child B", "Grandchild"], title=TITLE)
    ui.wait_text(1024, "tree: Grandchild", title=TITLE)
    check("expanding notified the dialog", ui.get_text(1025, title=TITLE), "expanded")
    items = [(i["depth"], i["text"], i["selected"]) for i in ui.tree(1012, title=TITLE)]
    check("tree items", items, [(0, "Root", False), (1, "Child A", False), (1, "Child B", False),
                                (2, "Grandchild", True)])

    view = ui.list_view(1013, title=TITLE)
    check("list view", (view["columns"], view["rows"], view["selected"]),
          (["Name", "Size"], [["readme.txt", "12"], ["setup.exe", "3400"]], -1))
    ui.list_select(1013, 1, title=TITLE)
    ui.wait_text(1026, "list: 1", title=TITLE)
    check("list selection", ui.list_view(1013, title=TITLE)["selected"], 1)


def scenario_templates(ui):
    ui.click(1030, title=TITLE)
    title = "Tarvo - Primary volume descriptor"
    window = ui.wait_window(title=title)
    controls = controls_by_id(ui, title)
    for edit in (1000, 1001, 1002):
        check(f"IDD_PVD {edit} is an edit", controls.get(edit, {}).get("class"), "Edit")
    check("IDD_PVD 1002 read-only", bool(controls[1002]["style"] & ES_READONLY), True)
    check("IDD_PVD 1000 takes long texts", bool(controls[1000]["style"] & ES_AUTOHSCROLL), True)
    check("IDD_PVD buttons", (controls[1]["title"], controls[2]["title"]), ("OK", "Cancel"))
    statics = sorted(c["title"] for c in ui.controls(title=title) if c["id"] in (-1, 65535))
    check("IDD_PVD labels", statics, sorted(["Primary volume informations",
                                             "Data preparied by: [ max: 127 charachters ]",
                                             "Copyright File Identifier [ max: 37 charachters ]",
                                             "Created with software:"]))
    check("IDD_PVD has no owner", window["owner"], "0x0")
    ui.click(2, title=title)
    ui.wait_gone(title=title)

    ui.click(1031, title=TITLE)
    title = "Tarvo - About"
    ui.wait_window(title=title)
    controls = controls_by_id(ui, title)
    check("About list view", controls.get(429, {}).get("class"), "SysListView32")
    check("About web buttons", [controls.get(i, {}).get("class") for i in (427, 428)], ["Button", "Button"])
    texts = {c["title"] for c in controls_by_id(ui, title).values()} | {
        c["title"] for c in ui.controls(title=title)}
    for text in ("Author", " Author info", "or", "OK"):
        check(f"About text {text!r}", text in texts, True)
    ui.key(harness.VK_ESCAPE, title=title)
    ui.wait_gone(title=title)

    ui.click(1032, title=TITLE)
    title = "Tarvo - New Directory"
    ui.wait_window(title=title)
    controls = controls_by_id(ui, title)
    check("IDD_MAKEDIR 2103 is an edit", controls.get(2103, {}).get("class"), "Edit")
    check("IDD_MAKEDIR 2103 does not scroll", bool(controls[2103]["style"] & ES_AUTOHSCROLL), False)
    check("IDD_MAKEDIR OK is the default", bool(controls[1]["style"] & BS_DEFPUSHBUTTON), True)
    frame = [c["title"] for c in ui.controls(title=title) if c["class"] == "Button" and c["id"] not in (1, 2)]
    check("IDD_MAKEDIR frame", frame, [" Type a New directory name"])
    ui.type_text("n" * 200, id=2103, title=title)
    typed = len(ui.get_text(2103, title=title))
    check("IDD_MAKEDIR takes no more than fits its width", 0 < typed < 200, True)
    ui.click(2, title=title)
    ui.wait_gone(title=title)


def scenario_screenshot(ui, folder):
    png = os.path.join(folder, "uidriver-testapp.png")
    window = ui.wait_window(title=TITLE)
    left, top, right, bottom = window["rect"]
    size = ui.screenshot(png, title=TITLE)
    check("screenshot size", size, (right - left, bottom - top))
    check("PNG size field", harness.png_size(png), size)
    with open(png, "rb") as f:
        check("PNG is not trivially small", len(f.read()) > 2000, True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--app", required=True)
    parser.add_argument("--keep", help="folder that keeps the screenshot")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    harness.ensure_display()

    with tempfile.TemporaryDirectory(prefix="uidriver-") as scratch:
        folder = args.keep or scratch
        os.makedirs(folder, exist_ok=True)
        with harness.UiDriver(args.driver, log=print if args.verbose else None) as ui:
            ui.start(args.app, cwd=folder)
            try:
                ui.wait_window(title=TITLE, timeout=30000)
                for step in (scenario_basic_controls, scenario_message_boxes, scenario_tree_and_list,
                             scenario_templates):
                    step(ui)
                scenario_screenshot(ui, folder)
                ui.click(2, title=TITLE)
                check("exit code after Quit", ui.wait_exit(), 7)
            except DriverError:
                failures.append(traceback.format_exc())
                ui.kill()

    for failure in failures:
        print("FAIL:", failure)
    print("uidriver smoke:", "passed" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
