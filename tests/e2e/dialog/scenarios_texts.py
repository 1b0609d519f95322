"""The volume descriptor settings (IDD_PVD) end to end: empty while the disc
has no volume, the typed texts cut to their limits, Cancel and the close
box changing nothing, the texts carried by the next volume recorded onto
the disc (read back with isoinfo -d), and filled again from that disc when
it comes back."""
import os
import shutil
import subprocess
import sys

import dialog_env as env
import scenarios_vrec as vrec

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "browser"))
import test_tarvo_browser as browser  # noqa: E402

PVD_TITLE = "Tarvo - Primary volume descriptor"
PREPARER, COPYRIGHT, APPLICATION = 1000, 1001, 1002
APPLICATION_ID = "TARVO DATA CD RECORDER - THE TARVO TEAM"


def open_texts(ui, dialog):
    ui.click(308, hwnd=dialog)
    return ui.wait_window(title=PVD_TITLE)["hwnd"]


def shown(ui, box):
    return tuple(ui.get_text(c, hwnd=box) for c in (PREPARER, COPYRIGHT, APPLICATION))


def isoinfo_fields(disc, start):
    out = subprocess.run(["isoinfo", "-d", "-i", disc, "-T", str(start)], capture_output=True, text=True,
                         errors="replace", check=True).stdout
    fields = {}
    for line in out.splitlines():
        name, _, value = line.partition(": ")
        fields[name] = value
    return fields


def scenario_volume_texts(args, prefix, f):
    work = args.work
    source = os.path.join(work, "source-texts")
    shutil.rmtree(source, ignore_errors=True)
    os.makedirs(source)
    with open(os.path.join(source, "data.txt"), "w") as out:
        out.write("carried by the volume\n")
    mirror = os.path.join(work, "mirror-texts")
    shutil.rmtree(mirror, ignore_errors=True)
    os.makedirs(mirror)
    prefix.set_drives({"d": ("cdrom", mirror), "e": ("hd", source)})
    rec = vrec.Recorder(args, prefix, [vrec.device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")
                                       + "mirror = " + env.harness.windows_path(mirror) + "\n"])
    rec.vrec("create", "disc.img", "--kind", "cdr80")
    disc = os.path.join(rec.folder, "disc.img")
    preparer = "".join(chr(ord("A") + i % 26) for i in range(130))
    copyright_file = "COPYRIGHT_NOTICE_OF_THE_TARVO_TEAM_V1"  # 37 characters, as the label allows
    with rec.driver() as ui:
        dialog = rec.start(ui)
        f.check("blank CD-R ready", env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 20),
                vrec.READY)
        box = open_texts(ui, dialog)
        f.check("a blank disc fills nothing: three empty fields", shown(ui, box), ("", "", ""))
        ui.type_text(preparer, id=PREPARER, hwnd=box)
        ui.type_text(copyright_file, id=COPYRIGHT, hwnd=box)
        ui.click(1, hwnd=box)
        ui.wait_gone(hwnd=box)

        box = open_texts(ui, dialog)
        f.check("OK keeps 127 and 36 characters", shown(ui, box), (preparer[:127], copyright_file[:36], ""))
        ui.set_text(PREPARER, "changed, then cancelled", hwnd=box)
        ui.click(2, hwnd=box)
        ui.wait_gone(hwnd=box)
        box = open_texts(ui, dialog)
        f.check("Cancel changes nothing", shown(ui, box)[:2], (preparer[:127], copyright_file[:36]))
        ui.set_text(COPYRIGHT, "changed, then closed", hwnd=box)
        ui.close_window(hwnd=box)
        ui.wait_gone(hwnd=box)
        box = open_texts(ui, dialog)
        f.check("the close box changes nothing", shown(ui, box)[:2], (preparer[:127], copyright_file[:36]))
        ui.click(2, hwnd=box)
        ui.wait_gone(hwnd=box)

        # Record one session carrying the texts.
        ui.set_text(301, "TEXTS", hwnd=dialog)
        browser.open_browser(ui, dialog)
        drives = [i["text"] for i in ui.tree(browser.SOURCE, title=browser.BROWSER) if i["depth"] == 0]
        ui.tree_select(browser.SOURCE, path=[d for d in drives if d.startswith("E:")] + ["data.txt"],
                       title=browser.BROWSER)
        ui.click(browser.ADD, title=browser.BROWSER)
        ui.sync(title=browser.BROWSER)
        ui.click(browser.SAVE, title=browser.BROWSER)
        ui.wait_gone(title=browser.BROWSER)
        f.check("recorded", browser.burn(ui, rec, dialog, f, 1, True), browser.DISC_RECORDED)
        f.check("ejected", env.wait_until("ejected", lambda: "loaded 0" in open(disc + ".meta").read(), True, 10),
                True)
        fields = isoinfo_fields(disc, 0)
        f.check("isoinfo -d: the data preparer", fields.get("Data preparer id"), preparer[:127])
        f.check("isoinfo -d: the copyright file", fields.get("Copyright File id"), copyright_file[:36])
        f.check("isoinfo -d: the volume label", fields.get("Volume id"), "TEXTS")
        f.check("isoinfo -d: our application id", fields.get("Application id"), APPLICATION_ID)

        # Other texts now; the disc coming back brings its own.
        box = open_texts(ui, dialog)
        ui.set_text(PREPARER, "SOMEONE ELSE", hwnd=box)
        ui.set_text(COPYRIGHT, "OTHER.TXT", hwnd=box)
        ui.click(1, hwnd=box)
        ui.wait_gone(hwnd=box)
        ui.set_text(301, "OTHER", hwnd=dialog)
        f.check("ejected disc seen", env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.NOT_READY,
                                                    20), vrec.NOT_READY)
        rec.vrec("load", "disc.img")
        f.check("back in", env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 20), vrec.READY)
        f.check("the label box filled from the disc",
                env.wait_until("label", lambda: ui.get_text(301, hwnd=dialog), "TEXTS", 5), "TEXTS")
        box = open_texts(ui, dialog)
        f.check("the texts filled from the disc", shown(ui, box),
                (preparer[:127], copyright_file[:36], APPLICATION_ID))
        ui.click(2, hwnd=box)
        ui.wait_gone(hwnd=box)
        ui.click(2, hwnd=dialog)
        f.check("exit code", ui.wait_exit(), 0)


SCENARIOS = {
    "volume-texts": scenario_volume_texts,
}
