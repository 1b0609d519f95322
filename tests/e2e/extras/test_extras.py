#!/usr/bin/env python3
"""Help and About in the real program: "Help" opens the help window on the
shipped tvohelp.txt beside Tarvo.exe, a changed file is refused, "About"
shows the product list and closes with OK.

    test_extras.py --driver tarvo-uidriver.exe --tarvo Tarvo.exe --build BUILD_DIR
"""
import argparse
import os
import struct
import sys
import traceback

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dialog"))
import dialog_env as env  # noqa: E402

MARKER = "NOTES: DO NOT CHANGE THIS FILE OR PROGRAM COULD BREAK DOWN"


def settings_file(folder):
    """tarvo.cfg with the defaults, so that start-up shows no message."""
    with open(os.path.join(folder, "tarvo.cfg"), "wb") as f:
        f.write(struct.pack("<5IB", 0, 1, 0, 0, 0, 1))


def run(args, prefix, failures):
    prefix.set_drives({})
    help_file = os.path.join(os.path.dirname(args.tarvo), "tvohelp.txt")
    failures.check("tvohelp.txt beside Tarvo.exe in the build", os.path.exists(help_file), True)
    folder = env.program_folder(args.tarvo, extra=[help_file] if os.path.exists(help_file) else [])
    settings_file(folder)
    with env.driver(args, prefix) as ui:
        ui.start(os.path.join(folder, "Tarvo.exe"), cwd=folder)
        dialog = env.main_dialog(ui)

        ui.click(9, hwnd=dialog)
        help_window = ui.wait_window(title="Tarvo Help")
        failures.check("help window class", help_window["class"], "HQHELP")
        failures.check("help window owner", help_window["owner"], dialog)
        body = env.wait_until("contents shown", lambda: ui.get_text(7013, hwnd=help_window["hwnd"])[:40],
                              "Welcome to Tarvo, a program that records")
        failures.check("topic 1090 shown", body, "Welcome to Tarvo, a program that records")
        text = ui.get_text(7013, hwnd=help_window["hwnd"])
        failures.check("line ends shown as CR LF", "data CDs.\r\n\r\nTarvo puts" in text, True)

        # The file changes under the open window: the next topic is refused.
        with open(os.path.join(folder, "tvohelp.txt"), "w") as f:
            f.write(MARKER + " \n{1090 Contents\nChanged.\n}\n")
        ui.click(9, hwnd=dialog)
        box = env.next_msgbox(ui)
        failures.check("changed file: text", box["text"], "Error - Help file changed")
        failures.check("changed file: caption", box["caption"], "Tarvo")
        failures.check("changed file: stop icon", box["icon"], "stop")
        env.answer(ui, box)
        failures.check("changed file: previous text kept", ui.get_text(7013, hwnd=help_window["hwnd"]), text)
        ui.close_window(hwnd=help_window["hwnd"])
        ui.wait_gone(hwnd=help_window["hwnd"])

        ui.click(405, hwnd=dialog)
        about = ui.wait_window(title="Tarvo - About")
        failures.check("About owner", about["owner"], dialog)
        products = ui.list_view(429, hwnd=about["hwnd"])
        failures.check("About column", products["columns"], ["Other Author softwares"])
        failures.check("About rows", len(products["rows"]), 8)
        ui.click(1, hwnd=about["hwnd"])
        ui.wait_gone(hwnd=about["hwnd"])

        ui.click(2, hwnd=dialog)
        failures.check("exit code", ui.wait_exit(), 0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--tarvo", required=True)
    parser.add_argument("--build", required=True)
    args = parser.parse_args()
    env.harness.ensure_display()
    prefix = env.WinePrefix(os.path.join(args.build, "wineprefix-e2e-dialog"))
    failures = env.Failures()
    try:
        run(args, prefix, failures)
    except Exception:  # noqa: BLE001 - reported as one failure
        failures.fail(traceback.format_exc())
    finally:
        prefix.stop_server()
    for item in failures.items:
        print(f"FAIL {item}")
    print("ok" if not failures.items else "FAIL")
    return 1 if failures.items else 0


if __name__ == "__main__":
    sys.exit(main())
