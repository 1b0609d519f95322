"""Scenarios with the virtual recorder (WNASPI32.DLL of vrec/ beside the
program): the drive list and speeds, the disc poll, the reports, "Reset
disc", and the Start checks that need a drive."""
import os
import subprocess
import time

import dialog_env as env
from dialog_env import TITLE

VREC_OVERRIDES = "mscoree,mshtml=;wnaspi32=n,b"
NOT_READY = ">>>  CD-R/W Disc NOT Ready  <<<"
READY = ">>>  CD-R/W Disc Ready  <<<"
NOT_RECORDABLE = "CD-R/W Disc Ready but it was not available for recording"
BLANK_CDR_LINE = "CD->MB   Total: 702   Free: 702   Used: 0"


def identity(product, vendor="VREC", revision="1.00", specific="0001"):
    return vendor.ljust(8) + product.ljust(16) + revision.ljust(4) + specific


def device(address, product, cdr, cdrw, speed, disc=None):
    lines = [f"[device {address}]", "vendor = VREC", f"product = {product}", "revision = 1.00",
             "vendor-specific = 0001", f"write-cdr = {'yes' if cdr else 'no'}",
             f"write-cdrw = {'yes' if cdrw else 'no'}", f"max-write-speed = {speed}"]
    if disc:
        lines.append(f"disc = {disc}")
    return "\n".join(lines) + "\n"


class Recorder:
    """A program folder with Tarvo.exe, our WNASPI32.DLL and its vrec.cfg."""

    def __init__(self, args, prefix, devices):
        self.args = args
        self.prefix = prefix
        dll = os.path.join(args.build, "vrec", "WNASPI32.DLL")
        self.folder = env.program_folder(args.tarvo, extra=[dll])
        self.trace = os.path.join(self.folder, "trace.log")
        with open(os.path.join(self.folder, "vrec.cfg"), "w") as f:
            f.write("trace = trace.log\n[adapter 0]\ntargets = 8\n" + "".join(devices))

    def driver(self):
        return env.driver(self.args, self.prefix, dll_overrides=VREC_OVERRIDES)

    def start(self, ui):
        ui.start(os.path.join(self.folder, "Tarvo.exe"), cwd=self.folder)
        box = env.next_msgbox(ui)  # the first run's missing tarvo.cfg
        env.answer(ui, box)
        return env.main_dialog(ui)

    def vrec(self, *words):
        """Runs the vrec tool on a disc store of this folder (paths relative to it)."""
        tool = os.path.join(self.args.build, "vrec", "vrec.exe")
        subprocess.run(["wine", tool] + [env.harness.windows_path(os.path.join(self.folder, w)) if i == 1 else w
                                         for i, w in enumerate(words)],
                       env=dict(self.prefix.env), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)

    def remove_disc(self, name):
        for path in (name, name + ".meta"):
            full = os.path.join(self.folder, path)
            if os.path.exists(full):
                os.remove(full)

    def trace_count(self, command):
        if not os.path.exists(self.trace):
            return 0
        with open(self.trace) as f:
            return sum(1 for line in f if f" {command} " in line)


def scenario_drives(args, prefix, failures):
    """Three CD letters with a hard disk between the first two; the CD-R writer
    (drive 1) is preselected before the CD-RW writer; speeds per drive."""
    work = args.work
    prefix.set_drives({"d": ("cdrom", os.path.join(work, "cd-d")), "e": ("hd", os.path.join(work, "hd-e")),
                       "f": ("cdrom", os.path.join(work, "cd-f")), "g": ("cdrom", os.path.join(work, "cd-g"))})
    rec = Recorder(args, prefix, [device("0:1:0", "READER", False, False, 0),
                                  device("0:2:0", "CD-R WRITER", True, False, 1408),
                                  device("0:3:0", "CD-RW WRITER", True, True, 7040)])
    with rec.driver() as ui:
        dialog = rec.start(ui)
        combo = ui.combo(101, hwnd=dialog)
        failures.check("drive list", combo["items"],
                       ["CD-ROM [D:\\] - " + identity("READER"), "CD-ROM [F:\\] - " + identity("CD-R WRITER"),
                        "CD-ROM [G:\\] - " + identity("CD-RW WRITER")])
        failures.check("a CD-R writer before a CD-RW writer wins", combo["selected"], 1)
        speeds = ui.combo(290, hwnd=dialog)
        failures.check("1,408 kB/s: eight speeds", len(speeds["items"]), 8)
        failures.check("fastest first", speeds["items"][:1], ["08 X              [ 1408  Kb / sec ]"])
        failures.check("slowest last", speeds["items"][-1:], ["01 X              [ 176  Kb / sec ]"])
        failures.check("item 4 preselected", speeds["selected"], 4)

        ui.combo_select(101, index=2, hwnd=dialog)
        speeds = ui.combo(290, hwnd=dialog)
        failures.check("another drive: its speeds", (len(speeds["items"]), speeds["selected"]), (40, 20))
        failures.check("another drive: three blanks before Kb", speeds["items"][:1],
                       ["40 X              [ 7040   Kb / sec ]"])
        ui.combo_select(101, index=0, hwnd=dialog)
        failures.check("a reader: no speeds", ui.combo(290, hwnd=dialog)["items"], [])
        ui.click(2, hwnd=dialog)
        ui.wait_exit()

    rec = Recorder(args, prefix, [device("0:1:0", "READER A", False, False, 0),
                                  device("0:2:0", "READER B", False, False, 0)])
    with rec.driver() as ui:
        dialog = rec.start(ui)
        failures.check("none can write: drive 0", ui.combo(101, hwnd=dialog)["selected"], 0)
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


def status(ui, dialog):
    return ui.get_text(502, hwnd=dialog)


def scenario_poll(args, prefix, failures):
    """Empty tray, then a blank CD-R, "Reset disc", the three reports, and a
    finalised CD-ROM."""
    prefix.set_drives({"d": ("cdrom", os.path.join(args.work, "cd-d"))})
    rec = Recorder(args, prefix, [device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")])
    with rec.driver() as ui:
        dialog = rec.start(ui)
        failures.check("empty tray", env.wait_until("status", lambda: status(ui, dialog), NOT_READY, 5), NOT_READY)
        failures.check("empty tray: Start disabled", ui.state(305, hwnd=dialog)["enabled"], False)

        rec.vrec("create", "disc.img", "--kind", "cdr80")
        failures.check("blank CD-R", env.wait_until("status", lambda: status(ui, dialog), READY, 8), READY)
        failures.check("blank CD-R: Start enabled", ui.state(305, hwnd=dialog)["enabled"], True)
        failures.check("blank CD-R: capacity line", ui.get_text(501, hwnd=dialog), BLANK_CDR_LINE)
        if args.artefacts:
            ui.screenshot(os.path.join(args.artefacts, "page0-blank-cdr.png"), hwnd=dialog, client=True)

        # Later checks only refresh the disc information; "Reset disc" makes
        # the next one read the track information again, as for a new disc.
        reads = rec.trace_count("READ-TRACK-INFORMATION")
        time.sleep(13)
        failures.check("disc present: no new track reads", rec.trace_count("READ-TRACK-INFORMATION"), reads)
        ui.click(404, hwnd=dialog)
        failures.check("Reset disc: the next check reads the track again",
                       env.wait_until("track reads", lambda: rec.trace_count("READ-TRACK-INFORMATION") > reads,
                                      True, 15), True)
        failures.check("Reset disc: stop, unlock, rezero, load", rec.trace_count("START-STOP-UNIT") >= 3, True)

        ui.tab_select(100, index=3, hwnd=dialog)
        reports = [(201, "DiscStatus = 0\r\nStateOfLastSession = 0\r\nisEraseable = NO\r\n"),
                   (202, "DataLenght = "),
                   (203, "Can read CD-R: YES\r\n")]
        for control, start in reports:
            ui.set_check(control, True, hwnd=dialog)
            text = env.wait_until(f"report {control}", lambda: ui.get_text(199, hwnd=dialog)[:len(start)], start, 8)
            failures.check(f"report {control}", text, start)
        failures.check("track report names the track", "TrackNumber = 1\r\n" in ui.get_text(199, hwnd=dialog)
                       or ui.get_text(212, hwnd=dialog) == "1", True)
        ui.set_check(203, True, hwnd=dialog)
        failures.check("capabilities: maximum write speed",
                       "Maximum Write Speed Supported (in kBps): 1408 [8 X] KiloBytes/second" in
                       ui.get_text(199, hwnd=dialog), True)
        if args.artefacts:
            ui.screenshot(os.path.join(args.artefacts, "page3-capabilities.png"), hwnd=dialog, client=True)

        ui.tab_select(100, index=0, hwnd=dialog)
        rec.vrec("eject", "disc.img")
        failures.check("ejected", env.wait_until("status", lambda: status(ui, dialog), NOT_READY, 16), NOT_READY)
        rec.remove_disc("disc.img")
        rec.vrec("create", "disc.img", "--kind", "cdrom")
        failures.check("finalised CD-ROM", env.wait_until("status", lambda: status(ui, dialog), NOT_RECORDABLE, 8),
                       NOT_RECORDABLE)
        failures.check("finalised CD-ROM: Start disabled", ui.state(305, hwnd=dialog)["enabled"], False)
        ui.click(2, hwnd=dialog)
        failures.check("exit code", ui.wait_exit(), 0)


def start_and_answer(ui, dialog, question):
    ui.click(305, hwnd=dialog)
    if question:
        box = env.next_msgbox(ui)
        env.answer(ui, box, "Yes")
        box = env.next_msgbox(ui, box["hwnd"])
    else:
        box = env.next_msgbox(ui)
    env.answer(ui, box)
    return box


def scenario_slow_drive(args, prefix, failures):
    """A writer below 1X: no speeds, so Start refuses on the recording and the
    erase page; the label is checked before the speed."""
    prefix.set_drives({"d": ("cdrom", os.path.join(args.work, "cd-d"))})
    rec = Recorder(args, prefix, [device("0:1:0", "SLOW", True, True, 175, disc="disc.img")])
    rec.vrec("create", "disc.img", "--kind", "cdrw")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        failures.check("below 1X: empty speed list", ui.combo(290, hwnd=dialog)["items"], [])
        env.wait_until("status", lambda: status(ui, dialog), READY, 8)
        cases = [("ABCDEFGHI", "CD Volume label name can not be more then 8 charachters !"),
                 ("ABCDEFGH", "You must select recording speed")]
        for label, message in cases:
            ui.set_text(301, label, hwnd=dialog)
            box = start_and_answer(ui, dialog, question=True)
            failures.check(f"page 0, label {label!r}", (box["text"], box["icon"], box["caption"]),
                           (message, "stop", TITLE))
        ui.tab_select(100, index=1, hwnd=dialog)
        box = start_and_answer(ui, dialog, question=True)
        failures.check("page 1 without a speed", (box["text"], box["icon"]), ("You must select erasing speed", "stop"))
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


SCENARIOS = {
    "drives": scenario_drives,
    "poll": scenario_poll,
    "slow-drive": scenario_slow_drive,
}
