"""The browser inside the real program: Tarvo.exe with the virtual recorder
(our WNASPI32.DLL beside it) under Wine and Xvfb. The recorder's mirror
folder is the CD-ROM letter D:, the prepared source folder the hard disk E:.

- tarvo-recording: a blank CD-R; the browser opens from the recording page
  with the poll timer stopped, the recorder's drive can't be expanded, a file
  of 3.5 MiB is added and >>SAVE<< writes defiso01.dat beside the program;
  the timer runs again and the main dialog's line shows the new used figure.
- tarvo-import: an appendable disc holding a session; opened with nothing
  added, the browser takes the disc's files in as Recorded entries."""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "dialog"))
sys.path.insert(0, HERE)
import dialog_env as env  # noqa: E402
import scenarios_vrec as vrec  # noqa: E402
from list_reader import LOCAL, RECORDED, MARKER, read_list  # noqa: E402

BROWSER = "Burn to CD"
SOURCE, DISC = 500, 501
ADD, SAVE, REMOVE = 600, 603, 605


def write(path, size):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"x" * size)


def open_browser(ui, dialog):
    ui.click(300, hwnd=dialog)
    ui.wait_window(title=BROWSER)
    env.wait_until("source tree", lambda: bool(ui.tree(SOURCE, title=BROWSER)), True, 10)


def outline(ui):
    return [(i["depth"], i["text"]) for i in ui.tree(DISC, title=BROWSER)]


def scenario_recording(args, prefix, f):
    work = args.work
    source = os.path.join(work, "source")
    write(os.path.join(source, "big.bin"), 3 * 1024 * 1024 + 512 * 1024)
    mirror = os.path.join(work, "mirror-rec")
    os.makedirs(mirror, exist_ok=True)
    prefix.set_drives({"d": ("cdrom", mirror), "e": ("hd", source)})
    rec = vrec.Recorder(args, prefix, [vrec.device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")
                                       + "mirror = " + env.harness.windows_path(mirror) + "\n"])
    rec.vrec("create", "disc.img", "--kind", "cdr80")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        f.check("blank CD-R", env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 15),
                vrec.READY)
        f.check("capacity line", ui.get_text(501, hwnd=dialog), vrec.BLANK_CDR_LINE)
        open_browser(ui, dialog)
        drives = [i["text"] for i in ui.tree(SOURCE, title=BROWSER) if i["depth"] == 0]
        f.check("the recorder's drive first in the drive list has no button",
                [i["children"] for i in ui.tree(SOURCE, title=BROWSER) if i["text"] == "D:\\ [ CD-ROM ]"], [False])
        ui.tree_select(SOURCE, path=[d for d in drives if d.startswith("E:")] + ["big.bin"], title=BROWSER)
        ui.click(ADD, title=BROWSER)
        ui.sync(title=BROWSER)
        f.check("disc tree", outline(ui), [(0, "big.bin")])
        ui.click(SAVE, title=BROWSER)
        ui.wait_gone(title=BROWSER)
        _, _, records = read_list(os.path.join(rec.folder, "defiso01.dat"))
        f.check(">>SAVE<< writes defiso01.dat in the program folder",
                [(r["name"], r["path"], r["size"], r["kind"]) for r in records],
                [("big.bin", "E:\\", 3670016, LOCAL)])
        expected = "CD->MB   Total: 702   Free: 699   Used: 3 : 3 New"
        f.check("the poll timer runs again and the line shows the new used figure",
                env.wait_until("line", lambda: ui.get_text(501, hwnd=dialog), expected, 25), expected)
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


def scenario_import(args, prefix, f):
    work = args.work
    content = os.path.join(work, "content")
    write(os.path.join(content, "OLD", "inner.txt"), 34)
    write(os.path.join(content, "root.txt"), 12)
    image = os.path.join(work, "session.iso")
    subprocess.run(["genisoimage", "-quiet", "-J", "-V", "OLDDISC", "-o", image, content], check=True)
    source = os.path.join(work, "source-import")
    write(os.path.join(source, "new.txt"), 5)
    mirror = os.path.join(work, "mirror-import")
    os.makedirs(mirror, exist_ok=True)
    prefix.set_drives({"d": ("cdrom", mirror), "e": ("hd", source)})
    rec = vrec.Recorder(args, prefix, [vrec.device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")
                                       + "mirror = " + env.harness.windows_path(mirror) + "\n"])
    rec.vrec("create", "disc.img", "--kind", "cdr80")
    rec.vrec("record", "disc.img", image, "--open")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 15)
        open_browser(ui, dialog)
        # The mirror's label file is the virtual recorder's, not the disc's.
        shown = [entry for entry in outline(ui) if entry[1] != ".windows-label"]
        f.check("the disc's files come in as Recorded entries", shown,
                [(0, "OLD"), (1, "inner.txt"), (0, "root.txt")])
        ui.tree_select(DISC, path=["root.txt"], title=BROWSER)
        ui.click(REMOVE, title=BROWSER)
        box = env.next_msgbox(ui)
        f.check("removing a Recorded entry asks", box["text"].startswith("Removing previously recorded files"), True)
        f.check("with the question icon", box["icon"], "question")
        env.answer(ui, box, "Yes")
        ui.click(SAVE, title=BROWSER)
        ui.wait_gone(title=BROWSER)
        _, _, records = read_list(os.path.join(rec.folder, "defiso01.dat"))
        f.check("Recorded entries saved with their paths on the disc drive",
                [(r["name"], r["path"], r["kind"]) for r in records
                 if r["kind"] != MARKER and r["name"] != ".windows-label"],
                [("OLD", "D:\\", RECORDED), ("inner.txt", "D:\\OLD\\", RECORDED)])
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


SCENARIOS = {"tarvo-recording": scenario_recording, "tarvo-import": scenario_import}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--tarvo", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--artefacts", default=None)
    parser.add_argument("--scenario", action="append")
    args = parser.parse_args()
    env.harness.ensure_display()
    args.work = tempfile.mkdtemp(prefix="tarvo-browser-real-")
    prefix = env.WinePrefix(os.path.join(args.build, "wineprefix-e2e-browser-real"))
    f = env.Failures()
    for name in args.scenario or list(SCENARIOS):
        try:
            SCENARIOS[name](args, prefix, f)
        except env.DriverError as error:
            f.fail(f"{name}: driver: {error}")
    for item in f.items:
        print("FAIL", item)
    print("ok" if not f.items else f"{len(f.items)} failed")
    return 1 if f.items else 0


if __name__ == "__main__":
    sys.exit(main())
