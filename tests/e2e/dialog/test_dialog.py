#!/usr/bin/env python3
"""The main dialog end to end under Wine and Xvfb, driven like a user through
the UI driver: start-up and settings, the pages, the drive list, the disc
poll and the Start checks; with Wine's own ASPI manager, without any, and
with the virtual recorder.

    test_dialog.py --driver tarvo-uidriver.exe --tarvo Tarvo.exe --build BUILD_DIR
                   --scenario NAME [--artefacts DIR]
"""
import argparse
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dialog_env as env  # noqa: E402
from dialog_env import TITLE, TAB_LABELS  # noqa: E402
from page_table import check_page  # noqa: E402
import scenarios_erase  # noqa: E402
import scenarios_viewer  # noqa: E402
import scenarios_texts  # noqa: E402
import scenarios_vrec  # noqa: E402

ASPI_MESSAGE = ("Could not load: WNASPI32.DLL.\nYou must install ASPI drivers version 4.01 or later.\n"
                "You can search an Internet for install files: \"ASPI.exe and ASPI32.exe\".")
NOT_READY = ">>>  CD-R/W Disc NOT Ready  <<<"


def config_box(ui, folder, failures):
    box = env.next_msgbox(ui)
    failures.check("first run: config message", box["text"],
                   "Can't open config file: " + env.harness.windows_path(os.path.join(folder, "tarvo.cfg")))
    failures.check("first run: no caption of our own (the system's default)", box["caption"], "Error")
    env.answer(ui, box)
    return box


def scenario_foundation(args, prefix, failures):
    """First run in an empty folder: the config message, the dialog with its
    four tabs; Exit writes 21 bytes; the second run restores the check boxes."""
    prefix.set_drives({})
    folder = env.program_folder(args.tarvo)
    with env.driver(args, prefix) as ui:
        ui.start(os.path.join(folder, "Tarvo.exe"), cwd=folder)
        config_box(ui, folder, failures)
        dialog = env.main_dialog(ui)
        failures.check("caption", ui.get_text(hwnd=dialog), TITLE)
        tabs = ui.tabs(100, hwnd=dialog)
        failures.check("tab labels", tabs["items"], TAB_LABELS)
        failures.check("first page", tabs["selected"], 0)
        failures.check("multi-session checked by default", ui.state(302, hwnd=dialog)["checked"], 1)
        ui.set_check(302, False, hwnd=dialog)
        ui.tab_select(100, index=2, hwnd=dialog)
        failures.check("include file data unchecked by default", ui.state(302, hwnd=dialog)["checked"], 0)
        ui.set_check(302, True, hwnd=dialog)
        ui.click(2, hwnd=dialog)
        failures.check("exit code", ui.wait_exit(), 0)

    path = os.path.join(folder, "tarvo.cfg")
    data = open(path, "rb").read() if os.path.exists(path) else b""
    failures.check("tarvo.cfg size", len(data), 21)
    if len(data) == 21:
        failures.check("multiSession stored", data[4:8], b"\0\0\0\0")
        failures.check("includeFileData stored", data[8:12], b"\1\0\0\0")
        failures.check("eraseMode stored", data[20], 1)

    with env.driver(args, prefix) as ui:
        ui.start(os.path.join(folder, "Tarvo.exe"), cwd=folder)
        dialog = env.main_dialog(ui)
        box = env.no_msgbox_for(ui, 2.0)
        failures.check("second run: no message", box and box["text"], None)
        failures.check("second run: multi-session restored", ui.state(302, hwnd=dialog)["checked"], 0)
        ui.tab_select(100, index=2, hwnd=dialog)
        failures.check("second run: include file data restored", ui.state(302, hwnd=dialog)["checked"], 1)
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


def scenario_no_aspi(args, prefix, failures):
    """No ASPI manager at all: the loading message, no poll, the dialog stays
    usable, page 2 still starts and the Start checks run."""
    cd = os.path.join(args.work, "cd-d")
    prefix.set_drives({"d": ("cdrom", cd)})
    folder = env.program_folder(args.tarvo)
    with env.driver(args, prefix, dll_overrides="mscoree,mshtml,wnaspi32=") as ui:
        ui.start(os.path.join(folder, "Tarvo.exe"), cwd=folder)
        previous = config_box(ui, folder, failures)
        box = env.next_msgbox(ui, previous["hwnd"])
        failures.check("ASPI message", box["text"], ASPI_MESSAGE)
        failures.check("ASPI message caption", box["caption"], TITLE)
        failures.check("ASPI message icon", box["icon"], "stop")
        env.answer(ui, box)
        dialog = env.main_dialog(ui)
        failures.check("drive list: the CD letter without identity", ui.combo(101, hwnd=dialog)["items"],
                       ["CD-ROM [D:\\] - "])
        failures.check("no speeds without a drive", ui.combo(290, hwnd=dialog)["items"], [])
        time.sleep(2.5)  # the first poll would come after one second
        failures.check("no poll: status text untouched", ui.get_text(502, hwnd=dialog), "")

        ui.tab_select(100, index=3, hwnd=dialog)
        ui.click(203, hwnd=dialog)  # "CD Capabilities" needs no disc and stays enabled
        ui.sync(hwnd=dialog)
        failures.check("report does nothing without a manager", ui.get_text(199, hwnd=dialog), "")

        ui.tab_select(100, index=2, hwnd=dialog)
        failures.check("page 2: Start enabled without a disc", ui.state(305, hwnd=dialog)["enabled"], True)
        cases = [("ABCDEFGHI", "CD Volume label name can not be more then 8 charachters !", 301),
                 ("ABCDEFGH", "You must type ISO file name where all data will be saved !", 306),
                 ("", "You must type ISO file name where all data will be saved !", 306)]
        for label, message, focus in cases:
            ui.set_text(301, label, hwnd=dialog)
            ui.click(305, hwnd=dialog)
            box = env.next_msgbox(ui)
            failures.check(f"label {label!r}: message", box["text"], message)
            failures.check(f"label {label!r}: icon", box["icon"], "stop")
            failures.check(f"label {label!r}: caption", box["caption"], TITLE)
            env.answer(ui, box)
        ui.click(2, hwnd=dialog)
        failures.check("exit code", ui.wait_exit(), 0)


def scenario_pages(args, prefix, failures):
    """Wine's own manager and no CD drive: an empty drive list, the poll says
    no disc, drive commands do nothing; every page shows exactly its controls."""
    prefix.set_drives({})
    folder = env.program_folder(args.tarvo)
    with env.driver(args, prefix) as ui:
        ui.start(os.path.join(folder, "Tarvo.exe"), cwd=folder)
        config_box(ui, folder, failures)
        dialog = env.main_dialog(ui)
        failures.check("no CD drive: empty drive list", ui.combo(101, hwnd=dialog)["items"], [])
        failures.check("poll without a drive", env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog),
                                                              NOT_READY), NOT_READY)
        failures.check("Start disabled without a disc", ui.state(305, hwnd=dialog)["enabled"], False)

        for page in (0, 1, 2, 3):
            ui.tab_select(100, index=page, hwnd=dialog)
            check_page(ui, dialog, page, failures)
            if args.artefacts:
                ui.screenshot(os.path.join(args.artefacts, f"page{page}.png"), hwnd=dialog, client=True)
        ui.tab_select(100, index=1, hwnd=dialog)  # straight from the information page
        check_page(ui, dialog, 1, failures, label="from the information page: ")

        ui.tab_select(100, index=3, hwnd=dialog)
        ui.click(203, hwnd=dialog)
        ui.sync(hwnd=dialog)
        failures.check("no CD drive: reports do nothing", ui.get_text(199, hwnd=dialog), "")
        ui.tab_select(100, index=2, hwnd=dialog)
        ui.click(305, hwnd=dialog)
        box = env.no_msgbox_for(ui, 1.5)
        failures.check("no CD drive: Start does nothing", box and box["text"], None)
        ui.click(2, hwnd=dialog)
        failures.check("exit code", ui.wait_exit(), 0)


SCENARIOS = {
    "foundation": scenario_foundation,
    "no-aspi": scenario_no_aspi,
    "pages": scenario_pages,
    **scenarios_vrec.SCENARIOS,
    **scenarios_erase.SCENARIOS,
    **scenarios_viewer.SCENARIOS,
    **scenarios_texts.SCENARIOS,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--tarvo", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--scenario", action="append", choices=sorted(SCENARIOS))
    parser.add_argument("--artefacts")
    args = parser.parse_args()
    env.harness.ensure_display()
    args.work = os.path.join(args.build, "e2e-dialog-work")
    os.makedirs(args.work, exist_ok=True)
    if args.artefacts:
        os.makedirs(args.artefacts, exist_ok=True)
    prefix = env.WinePrefix(os.path.join(args.build, "wineprefix-e2e-dialog"))
    failed = 0
    try:
        for name in args.scenario or sorted(SCENARIOS):
            failures = env.Failures()
            try:
                SCENARIOS[name](args, prefix, failures)
            except Exception:  # noqa: BLE001 - a broken scenario is one failure, the others still run
                failures.fail(traceback.format_exc())
            for item in failures.items:
                print(f"FAIL {name}: {item}")
            print(f"{'ok  ' if not failures.items else 'FAIL'} {name}")
            failed += bool(failures.items)
    finally:
        prefix.stop_server()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
