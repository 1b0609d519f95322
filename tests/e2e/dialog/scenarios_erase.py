"""The "CD-RW Erase" page with the virtual recorder: the three erase modes
on a CD-RW holding two sessions (written by the vrec tool, the disc left
open), the refusals (a CD-R, an empty tray, a failing disc-information read
with its sense dump), the faults (a failed BLANK, a drive that stops
answering) and the progress meter during a BLANK that lasts several
seconds. The recorder's mirror folder is the CD-ROM letter D:."""
import os
import shutil
import struct
import subprocess
import time
import zlib

import dialog_env as env
from dialog_env import TITLE
import scenarios_vrec as vrec

ERASE_PAGE = 1
FULL, FAST, LAST_SESSION = 400, 401, 402
QUESTION = "Are you sure you want to erase all data on the CDRW"
ERASED = "Congratulation, selected part of the CD-RW was erased."
NOT_READY = "Drive not ready !"
DISC_INFO_ERROR = "Error Reading Disc Information"
NOT_ERASABLE = "This CDR can not be erased, becouse it is not ReWriteable CDR disk"
BLANK_DISC = "DiscStatus = 0\r\nStateOfLastSession = 0\r\nisEraseable = YES\r\n"


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def session_images(work):
    """Two genisoimage volumes: the first for LBA 0, the second for the next
    writable address a first session of 300 blocks leaves (300 + 11,400)."""
    first, second = os.path.join(work, "erase-first"), os.path.join(work, "erase-second")
    for folder in (first, second):
        shutil.rmtree(folder, ignore_errors=True)
    write(os.path.join(first, "FIRST.TXT"), "the first session\n")
    write(os.path.join(first, "DOCS", "NOTES.TXT"), "notes of the first session\n")
    write(os.path.join(second, "SECOND.TXT"), "the second session\n")
    one, two = os.path.join(work, "erase-one.iso"), os.path.join(work, "erase-two.iso")
    subprocess.run(["genisoimage", "-quiet", "-J", "-V", "FIRST", "-o", one, first], check=True)
    subprocess.run(["genisoimage", "-quiet", "-J", "-V", "SECOND", "-C", "0,11700", "-o", two, second],
                   check=True, stderr=subprocess.DEVNULL)
    return one, two, {"FIRST.TXT", "DOCS/NOTES.TXT"}, {"SECOND.TXT"}


def mirror_files(mirror):
    found = set()
    for folder, _, files in os.walk(mirror):
        for name in files:
            found.add(os.path.relpath(os.path.join(folder, name), mirror).replace(os.sep, "/"))
    return found


class Trace:
    """The recorder's command trace from a mark on: (name, cdb hex, status, sense)."""

    def __init__(self, rec):
        self.path = rec.trace
        self.start = self._count()

    def _lines(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path) as f:
            return f.read().splitlines()

    def _count(self):
        return len(self._lines())

    def commands(self):
        found = []
        for line in self._lines()[self.start:]:
            words = line.split()
            fields = dict(w.split("=", 1) for w in words[4:] if "=" in w)
            found.append((words[3], fields.get("cdb", ""), fields.get("status"), fields.get("sense")))
        return found

    def names(self):
        return [c[0] for c in self.commands()]


def loaded(disc):
    with open(disc + ".meta") as meta:
        return "loaded 1" in meta.read().split("\n")


def closed_sessions(disc):
    with open(disc + ".meta") as meta:
        for line in meta:
            if line.startswith("closed-sessions "):
                return int(line.split()[1])
    return None


def start_erase(ui, dialog, mode, while_asking=None):
    """Chooses the mode, presses "Erase CD-RW Now" and answers Yes. While the
    question shows, the disc check is stopped: what `while_asking` changes
    (a disc taken out, a drive going bad) is first seen by the erase."""
    ui.set_check(mode, True, hwnd=dialog)
    ui.click(305, hwnd=dialog)
    box = env.next_msgbox(ui)
    question = (box["text"], box["icon"], box["caption"])
    if while_asking:
        while_asking()
    env.answer(ui, box, "Yes")
    return question


def wait_status(ui, dialog, expected, timeout):
    return env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), expected, timeout)


def disc_report(ui, dialog):
    """The disc-information report of the information page, then back to the erase page."""
    ui.tab_select(100, index=3, hwnd=dialog)
    ui.set_check(202, True, hwnd=dialog)  # another report first, so 201 is a change
    ui.set_check(201, True, hwnd=dialog)
    text = env.wait_until("report", lambda: ui.get_text(199, hwnd=dialog)[:10], "DiscStatus", 8)
    text = ui.get_text(199, hwnd=dialog) if text == "DiscStatus" else ""
    ui.tab_select(100, index=ERASE_PAGE, hwnd=dialog)
    return text


def report_field(report, name):
    for line in report.split("\r\n"):
        if line.startswith(name + " = "):
            return line[len(name) + 3:]
    return None


def erase_recorder(args, prefix, mirror, extra=""):
    """The recorder with an empty mirror folder as D:; `extra` adds device lines."""
    shutil.rmtree(mirror, ignore_errors=True)
    prefix.set_drives({"d": ("cdrom", mirror)})
    return vrec.Recorder(args, prefix, [vrec.device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")
                                        + "mirror = " + env.harness.windows_path(mirror) + "\n" + extra])


def open_sessions(rec, *images):
    """A fresh CD-RW holding the images as sessions, left open."""
    rec.vrec("create", "disc.img", "--kind", "cdrw")
    for image in images:
        rec.vrec("record", "disc.img", image, "--open")


def erase_and_reload(ui, rec, dialog, f, mode, what, estimate=None):
    """One erase of the disc in the drive; returns the BLANK command block and
    the disc-information report once the ejected disc is back in."""
    disc = os.path.join(rec.folder, "disc.img")
    f.check(f"{what}: disc ready", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
    traces = []
    f.check(f"{what}: the question", start_erase(ui, dialog, mode, lambda: traces.append(Trace(rec))),
            (QUESTION, "question", TITLE))
    trace = traces[0]
    if estimate:
        f.check(f"{what}: the estimate while BLANK runs", wait_status(ui, dialog, estimate, 5), estimate)
    f.check(f"{what}: success text", wait_status(ui, dialog, ERASED, 60), ERASED)
    problem = env.no_msgbox_for(ui, 0.5)
    if problem is not None:
        f.fail(f"{what}: unexpected message {problem['text']!r}")
        env.answer(ui, problem)
    f.check(f"{what}: ejected at the end", env.wait_until("ejected", lambda: loaded(disc), False, 10), False)
    blanks = [c for c in trace.commands() if c[0] == "BLANK"]
    f.check(f"{what}: one BLANK, good", [(c[2], c[3]) for c in blanks], [("00", "0/00/00")])

    def after_blank():
        names = trace.names()
        return [c[1][:10] for c in trace.commands()[names.index("BLANK") + 1:]
                if c[0] in ("PREVENT-ALLOW", "START-STOP-UNIT")] if "BLANK" in names else None
    f.check(f"{what}: unlocked and ejected after BLANK",
            env.wait_until("eject traced", after_blank, ["1E00000000", "1B00000002"], 5), ["1E00000000", "1B00000002"])
    rec.vrec("load", "disc.img")
    f.check(f"{what}: back in", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
    return (blanks[0][1] if blanks else ""), disc_report(ui, dialog)


def scenario_erase(args, prefix, f):
    """Last-session, fast and full erase of a two-session CD-RW."""
    work = args.work
    one, two, first_files, second_files = session_images(work)
    mirror = os.path.join(work, "mirror-erase")
    # A full erase at 4X then takes 1237 s x 0.003, long enough to see its estimate.
    rec = erase_recorder(args, prefix, mirror, "time-scale = 0.003\n")
    open_sessions(rec, one, two)
    disc = os.path.join(rec.folder, "disc.img")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        ui.tab_select(100, index=ERASE_PAGE, hwnd=dialog)
        f.check("two sessions: the mirror shows the second",
                env.wait_until("mirror", lambda: mirror_files(mirror), second_files, 15), second_files)

        cdb, report = erase_and_reload(ui, rec, dialog, f, LAST_SESSION, "last session")
        f.check("last session: BLANK type 06h, Immed clear", cdb[:4], "A106")
        f.check("last session: one closed session left", closed_sessions(disc), 1)
        f.check("last session: appendable, one session and the empty one",
                (report_field(report, "DiscStatus"), report_field(report, "nSessions")), ("1", "2"))
        f.check("last session: the mirror shows the first session's files",
                env.wait_until("mirror", lambda: mirror_files(mirror), first_files, 15), first_files)

        open_sessions(rec, one, two)
        cdb, report = erase_and_reload(ui, rec, dialog, f, FAST, "fast")
        f.check("fast: BLANK type 01h", cdb[:4], "A101")
        f.check("fast: the disc information shows a blank disc", report[:len(BLANK_DISC)], BLANK_DISC)
        f.check("fast: the mirror is empty", env.wait_until("mirror", lambda: mirror_files(mirror), set(), 15), set())

        open_sessions(rec, one, two)
        # The estimate of a full erase comes from the last track's end,
        # 18,900 + 340,949 blocks: ((359,849 + 160) / 75) / 4 + 1 = 1201 s at 4X.
        cdb, report = erase_and_reload(ui, rec, dialog, f, FULL, "full",
                                       "Erasing time, about: 1201 sec, when door opens it is finished.")
        f.check("full: BLANK type 00h", cdb[:4], "A100")
        f.check("full: the disc information shows a blank disc", report[:len(BLANK_DISC)], BLANK_DISC)
        f.check("full: no closed session", closed_sessions(disc), 0)
        f.check("full: the mirror is empty", env.wait_until("mirror", lambda: mirror_files(mirror), set(), 15), set())
        ui.click(2, hwnd=dialog)
        f.check("exit code", ui.wait_exit(), 0)


def sense_dump_expected():
    """REQUEST SENSE with allocation length 0: the command, then 2048 zero bytes."""
    text = "0x03, " + "0x00, " * 9 + "\n\n"
    for i in range(2048):
        text += "0x00, "
        if i % 10 == 9:
            text += "\n"
    return text


def scenario_erase_refusals(args, prefix, f):
    """A failing disc-information read (sense dump, status text), a CD-R
    refused once the tray is locked, and an empty tray."""
    work = args.work
    one, _, _, _ = session_images(work)
    mirror = os.path.join(work, "mirror-refusals")
    rec = erase_recorder(args, prefix, mirror, "time-scale = 0.003\nfault-disc-info = yes\nfault-armed-by = armed\n")
    open_sessions(rec, one)
    disc = os.path.join(rec.folder, "disc.img")
    dump = os.path.join(prefix.path, "drive_c", "request_sense_buf.txt")
    if os.path.exists(dump):
        os.remove(dump)
    with rec.driver() as ui:
        dialog = rec.start(ui)
        ui.tab_select(100, index=ERASE_PAGE, hwnd=dialog)

        # The drive goes bad while the question shows: the erase's
        # disc-information read fails.
        f.check("fault: disc ready", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        traces = []

        def arm():
            open(os.path.join(rec.folder, "armed"), "w").close()
            traces.append(Trace(rec))
        start_erase(ui, dialog, FAST, arm)
        trace = traces[0]
        box = env.next_msgbox(ui)
        f.check("fault: first message", (box["text"], box["icon"], box["caption"]), (DISC_INFO_ERROR, "stop", TITLE))
        env.answer(ui, box)
        box = env.next_msgbox(ui, box["hwnd"])
        f.check("fault: then the status text", (box["text"], box["icon"]), ("Check Condition", "stop"))
        env.answer(ui, box)
        os.remove(os.path.join(rec.folder, "armed"))
        f.check("fault: ejected", env.wait_until("ejected", lambda: loaded(disc), False, 10), False)
        f.check("fault: the commands of the erase", [(c[0], c[1][:10]) for c in trace.commands()
                                                     if c[0] not in ("TEST-UNIT-READY", "REZERO-UNIT")],
                [("START-STOP-UNIT", "1B00000001"), ("START-STOP-UNIT", "1B00000003"),
                 ("READ-BUFFER-CAPACITY", "5C00000000"), ("PREVENT-ALLOW", "1E00000001"),
                 ("READ-DISC-INFORMATION", "5100000000"), ("REQUEST-SENSE", "0300000000"),
                 ("PREVENT-ALLOW", "1E00000000"), ("START-STOP-UNIT", "1B00000002")])
        failed = [c for c in trace.commands() if c[0] == "READ-DISC-INFORMATION"]
        f.check("fault: the read failed with the medium error", [c[3] for c in failed], ["3/57/00"])
        f.check("fault: no BLANK", "BLANK" in trace.names(), False)
        text = open(dump).read() if os.path.exists(dump) else None
        f.check("fault: the sense dump in the root of C:", text, sense_dump_expected())

        # A CD-R: refused after the tray is locked, then unlocked and ejected.
        rec.remove_disc("disc.img")
        rec.vrec("create", "disc.img", "--kind", "cdr80")
        rec.vrec("record", "disc.img", one, "--open")
        f.check("CD-R: disc ready", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        traces = []
        start_erase(ui, dialog, FAST, lambda: traces.append(Trace(rec)))
        trace = traces[0]
        box = env.next_msgbox(ui)
        f.check("CD-R: refused", (box["text"], box["icon"], box["caption"]), (NOT_ERASABLE, "stop", TITLE))
        locks = [c[1][:10] for c in trace.commands() if c[0] in ("PREVENT-ALLOW", "START-STOP-UNIT")]
        f.check("CD-R: the tray is locked while the message shows", locks[-1:], ["1E00000001"])
        f.check("CD-R: still in while the message shows", loaded(disc), True)
        env.answer(ui, box)
        f.check("CD-R: ejected", env.wait_until("ejected", lambda: loaded(disc), False, 10), False)
        locks = env.wait_until("eject traced", lambda: [c[1][:10] for c in trace.commands()
                                                        if c[0] in ("PREVENT-ALLOW", "START-STOP-UNIT")][-2:],
                               ["1E00000000", "1B00000002"], 5)
        f.check("CD-R: unlocked, then ejected", locks, ["1E00000000", "1B00000002"])
        f.check("CD-R: no BLANK", "BLANK" in trace.names(), False)
        f.check("CD-R: the session is still there", closed_sessions(disc), 1)

        # The disc is taken out while the question shows: the erase finds an
        # empty tray, says so and leaves the tray alone.
        rec.vrec("load", "disc.img")
        f.check("empty tray: disc ready first", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        traces = []

        def take_out():
            rec.remove_disc("disc.img")
            traces.append(Trace(rec))
        start_erase(ui, dialog, FAST, take_out)
        trace = traces[0]
        box = env.next_msgbox(ui)
        f.check("empty tray: message", (box["text"], box["icon"], box["caption"]), (NOT_READY, "stop", TITLE))
        env.answer(ui, box)
        ui.sync(hwnd=dialog)
        f.check("empty tray: start, load, then the failing test", [(c[1][:10], c[3]) for c in trace.commands()][:3],
                [("1B00000001", "0/00/00"), ("1B00000003", "0/00/00"), ("0000000000", "2/3A/00")])
        f.check("empty tray: no lock, no eject", [c[1][:10] for c in trace.commands()
                                                  if c[0] == "PREVENT-ALLOW" or c[1].startswith("1B00000002")], [])
        ui.click(2, hwnd=dialog)
        f.check("exit code", ui.wait_exit(), 0)


def png_pixels(path):
    """(width, height, rows of (r, g, b)) of a PNG written by harness.bmp_to_png."""
    with open(path, "rb") as fh:
        data = fh.read()
    width, height = struct.unpack(">II", data[16:24])
    pos, idat = 8, b""
    while pos < len(data):
        length = struct.unpack(">I", data[pos:pos + 4])[0]
        kind = data[pos + 4:pos + 8]
        if kind == b"IDAT":
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    raw = zlib.decompress(idat)
    rows, stride = [], width * 3 + 1
    for y in range(height):
        line = raw[y * stride + 1:(y + 1) * stride]  # filter type 0 throughout
        rows.append([tuple(line[x:x + 3]) for x in range(0, len(line), 3)])
    return width, height, rows


def count_pixels(path, colour, top_rows=None):
    _, _, rows = png_pixels(path)
    return sum(row.count(colour) for row in rows[:top_rows])


def control_hwnd(ui, dialog, control):
    for c in ui.controls(hwnd=dialog):
        if c["id"] == control:
            return c["hwnd"]
    raise env.DriverError(f"no control {control}")


def scenario_erase_progress(args, prefix, f):
    """A fast erase at 4X that the recorder makes last 19 s (11,400 blocks
    at 300 a second, times 0.5): the estimate text, the meter growing
    second by second, and the dialog repainting while BLANK runs."""
    work = args.work
    one, _, _, _ = session_images(work)
    mirror = os.path.join(work, "mirror-progress")
    rec = erase_recorder(args, prefix, mirror, "time-scale = 0.5\n")
    open_sessions(rec, one)
    artefacts = args.artefacts or work
    with rec.driver() as ui:
        dialog = rec.start(ui)
        ui.tab_select(100, index=ERASE_PAGE, hwnd=dialog)
        speeds = ui.combo(290, hwnd=dialog)
        f.check("4X preselected", speeds["items"][speeds["selected"]][:4], "04 X")
        f.check("disc ready", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        meter = control_hwnd(ui, dialog, 501)
        group = control_hwnd(ui, dialog, 500)
        started = time.monotonic()
        start_erase(ui, dialog, FAST)
        # Fast at 4X: 20,160 sectors, ((20,160 + 160) / 75) / 4 + 1 = 68 s.
        estimate = "Erasing time, about: 68 sec, when door opens it is finished."
        f.check("the estimate while BLANK runs", wait_status(ui, dialog, estimate, 5), estimate)
        # The meter paints straight onto its control; Wine shows such painting
        # on the screen when it flushes the window, not at every step, so the
        # samples may skip a step or two: the meter must grow, and more than once.
        blues = []
        for sample in range(8):
            shot = os.path.join(artefacts, f"erase-meter-{sample}.png")
            taken = time.monotonic()
            ui.screenshot(shot, hwnd=meter)
            blues.append(count_pixels(shot, (0, 0, 255)))
            time.sleep(max(0.0, 1.0 - (time.monotonic() - taken)))
        # A new caption for the page's group box: the box clears its old
        # caption at once and draws the new one only when WM_PAINT is
        # dispatched, which during BLANK only the erase's wait does.
        before = os.path.join(artefacts, "erase-group-before.png")
        after = os.path.join(artefacts, "erase-group-after.png")
        ui.screenshot(before, hwnd=group)
        ui.set_text(500, "CD-RW Erase - painted while the drive erases", hwnd=dialog)
        time.sleep(2.0)
        ui.screenshot(after, hwnd=group)
        f.check("the checks ran while BLANK was still running", ui.get_text(502, hwnd=dialog), estimate)
        growths = sum(1 for a, b in zip(blues, blues[1:]) if b > a)
        f.check(f"the meter grows during BLANK, never shrinks (blue pixels {blues})",
                (all(b >= a for a, b in zip(blues, blues[1:])), growths >= 2), (True, True))
        black_before = count_pixels(before, (0, 0, 0), top_rows=14)
        black_after = count_pixels(after, (0, 0, 0), top_rows=14)
        f.check(f"the group box caption repainted during BLANK ({black_before} -> {black_after} dark pixels)",
                black_after > black_before, True)
        f.check("success text", wait_status(ui, dialog, ERASED, 30), ERASED)
        f.check("the erase took the recorder's time", time.monotonic() - started > 19, True)
        ui.screenshot(os.path.join(artefacts, "erase-done.png"), hwnd=dialog, client=True)
        ui.click(2, hwnd=dialog)
        f.check("exit code", ui.wait_exit(), 0)


def unlocked_and_ejected(trace):
    """The last two lock and tray commands of the trace, as cdb prefixes."""
    return [c[1][:10] for c in trace.commands() if c[0] in ("PREVENT-ALLOW", "START-STOP-UNIT")][-2:]


def scenario_erase_faults(args, prefix, f):
    """A BLANK the drive fails, and a drive that stops answering a command
    with a bounded wait (READ DISC INFORMATION) in the middle of an erase:
    the drive's status is shown, the tray unlocked and the disc ejected, and
    the erase is never reported as done."""
    work = args.work
    one, _, first_files, _ = session_images(work)

    mirror = os.path.join(work, "mirror-blank-fails")
    rec = erase_recorder(args, prefix, mirror, "fault-blank = yes\n")
    open_sessions(rec, one)
    disc = os.path.join(rec.folder, "disc.img")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        ui.tab_select(100, index=ERASE_PAGE, hwnd=dialog)
        f.check("failed BLANK: disc ready", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        traces = []
        start_erase(ui, dialog, FAST, lambda: traces.append(Trace(rec)))
        box = env.next_msgbox(ui)
        f.check("failed BLANK: the drive's status", (box["text"], box["icon"], box["caption"]),
                ("Check Condition", "stop", TITLE))
        env.answer(ui, box)
        trace = traces[0]
        f.check("failed BLANK: the drive's sense", [c[3] for c in trace.commands() if c[0] == "BLANK"], ["3/51/00"])
        f.check("failed BLANK: unlocked, then ejected",
                env.wait_until("eject traced", lambda: unlocked_and_ejected(trace), ["1E00000000", "1B00000002"], 5),
                ["1E00000000", "1B00000002"])
        f.check("failed BLANK: not reported as erased", ui.get_text(502, hwnd=dialog) == ERASED, False)
        f.check("failed BLANK: the session is still there", closed_sessions(disc), 1)
        f.check("failed BLANK: ejected", env.wait_until("ejected", lambda: loaded(disc), False, 10), False)
        rec.vrec("load", "disc.img")
        f.check("failed BLANK: back in, the mirror still shows the session",
                env.wait_until("mirror", lambda: mirror_files(mirror), first_files, 15), first_files)
        ui.click(2, hwnd=dialog)
        f.check("failed BLANK: exit code", ui.wait_exit(), 0)

    # The drive goes silent while the question shows. The program waits its
    # 100 s for READ DISC INFORMATION, aborts the request and goes on.
    mirror = os.path.join(work, "mirror-silent")
    rec = erase_recorder(args, prefix, mirror,
                         "fault-never-finish = read-disc-information\nfault-armed-by = armed\n")
    open_sessions(rec, one)
    disc = os.path.join(rec.folder, "disc.img")
    armed = os.path.join(rec.folder, "armed")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        ui.tab_select(100, index=ERASE_PAGE, hwnd=dialog)
        f.check("silent drive: disc ready", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        traces = []

        def go_silent():
            open(armed, "w").close()
            traces.append(Trace(rec))
        start_erase(ui, dialog, FAST, go_silent)
        asked = time.monotonic()
        box = env.next_msgbox(ui, timeout=160)
        waited = time.monotonic() - asked
        os.remove(armed)
        f.check("silent drive: the program waited its bounded time", 95 <= waited <= 150, True)
        f.check("silent drive: first message", (box["text"], box["icon"]), (DISC_INFO_ERROR, "stop"))
        env.answer(ui, box)
        box = env.next_msgbox(ui, box["hwnd"])
        f.check("silent drive: the request was terminated", (box["text"], box["icon"]), ("Command Terminated", "stop"))
        env.answer(ui, box)
        trace = traces[0]
        f.check("silent drive: unlocked, then ejected",
                env.wait_until("eject traced", lambda: unlocked_and_ejected(trace), ["1E00000000", "1B00000002"], 5),
                ["1E00000000", "1B00000002"])
        f.check("silent drive: no BLANK", "BLANK" in trace.names(), False)
        f.check("silent drive: the session is still there", closed_sessions(disc), 1)
        f.check("silent drive: ejected", env.wait_until("ejected", lambda: loaded(disc), False, 10), False)
        rec.vrec("load", "disc.img")
        f.check("silent drive: the dialog works on", wait_status(ui, dialog, vrec.READY, 20), vrec.READY)
        ui.click(2, hwnd=dialog)
        f.check("silent drive: exit code", ui.wait_exit(), 0)


SCENARIOS = {
    "erase": scenario_erase,
    "erase-faults": scenario_erase_faults,
    "erase-refusals": scenario_erase_refusals,
    "erase-progress": scenario_erase_progress,
}
