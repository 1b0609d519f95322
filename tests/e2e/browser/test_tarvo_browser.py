"""The browser inside the real program: Tarvo.exe with the virtual recorder
(our WNASPI32.DLL beside it) under Wine and Xvfb. The recorder's mirror
folder is the CD-ROM letter D:, the prepared source folder the hard disk E:.

- tarvo-recording: a blank CD-R; the browser opens from the recording page
  with the poll timer stopped, the recorder's drive can't be expanded, a file
  of 3.5 MiB is added and >>SAVE<< writes defiso01.dat beside the program;
  the timer runs again and the main dialog's line shows the new used figure.
- tarvo-import: an appendable disc holding a session; opened with nothing
  added, the browser takes the disc's files in as Recorded entries.
- tarvo-burn: three sessions onto a blank CD-R, each compiled in the browser
  and burnt with "Start Recording": the first two leave the disc open, the
  third finalises it. The test takes the ejected disc back in after each
  one; the browser then imports what the disc holds, and every session is
  read back from the disc file by isoinfo and xorriso (its whole tree, old
  files at their earlier extents) and checked by isocheck.
- tarvo-faults: a program folder that can't be written (>>SAVE<< and the
  recording's scratch file), the disc pulled out of the drive in the middle
  of a recording, and an image file whose disk is full. Each ends with its
  message, the tray unlocked, the list file and the sources untouched, and
  no success text.
- tarvo-write-faults: a CLOSE TRACK/SESSION the drive fails, and a WRITE
  that fails in the file data, answered No."""
import argparse
import contextlib
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "dialog"))
sys.path.insert(0, HERE)
import dialog_env as env  # noqa: E402
import scenarios_vrec as vrec  # noqa: E402
from scenarios_erase import Trace, loaded  # noqa: E402
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


def recorder(args, prefix, name, drives, extra=""):
    """The virtual recorder at 0:1:0 holding a blank CD-R (disc.img), its
    mirror folder as the CD-ROM letter D: and `drives` beside it; `extra`
    adds device lines (faults). Returns the recorder and the mirror folder."""
    mirror = os.path.join(args.work, "mirror-" + name)
    os.makedirs(mirror, exist_ok=True)
    prefix.set_drives({"d": ("cdrom", mirror), **drives})
    rec = vrec.Recorder(args, prefix, [vrec.device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")
                                       + "mirror = " + env.harness.windows_path(mirror) + "\n" + extra])
    rec.vrec("create", "disc.img", "--kind", "cdr80")
    return rec, mirror


def add(ui, item):
    """Adds E:\\<item> in the open browser."""
    drives = [i["text"] for i in ui.tree(SOURCE, title=BROWSER) if i["depth"] == 0]
    ui.tree_select(SOURCE, path=[d for d in drives if d.startswith("E:")] + [item], title=BROWSER)
    ui.click(ADD, title=BROWSER)
    ui.sync(title=BROWSER)


def add_and_save(ui, item):
    """Adds E:\\<item> in the open browser and leaves it with >>SAVE<<."""
    add(ui, item)
    ui.click(SAVE, title=BROWSER)
    ui.wait_gone(title=BROWSER)


def outline(ui):
    return [(i["depth"], i["text"]) for i in ui.tree(DISC, title=BROWSER)]


def scenario_recording(args, prefix, f):
    work = args.work
    source = os.path.join(work, "source")
    write(os.path.join(source, "big.bin"), 3 * 1024 * 1024 + 512 * 1024)
    rec, _ = recorder(args, prefix, "rec", {"e": ("hd", source)})
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
    vanishing = os.path.join(work, "vanishing-drive")
    rec, _ = recorder(args, prefix, "import", {"e": ("hd", source), "g": ("hd", vanishing)})
    rec.vrec("record", "disc.img", image, "--open")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 15)
        open_browser(ui, dialog)
        # A drive that went away after the tree listed it: expanding it says
        # so and the tree stays usable.
        shutil.rmtree(vanishing)
        drives = [i["text"] for i in ui.tree(SOURCE, title=BROWSER) if i["depth"] == 0]
        gone = [d for d in drives if d.startswith("G:")]
        f.check("the drive is listed before it goes away", len(gone), 1)
        if gone:
            ui.tree_expand(SOURCE, path=gone, title=BROWSER)
            box = env.next_msgbox(ui)
            f.check("expanding an unreadable drive", box["text"], "Can't read from the drive: G:\\")
            f.check("with the stop icon", box["icon"], "stop")
            env.answer(ui, box)
            e_drive = [d for d in drives if d.startswith("E:")]
            ui.tree_expand(SOURCE, path=e_drive, title=BROWSER)
            f.check("the tree stays usable", any(i["text"] == "new.txt" for i in ui.tree(SOURCE, title=BROWSER)),
                    True)
        f.check("the disc's files come in as Recorded entries", outline(ui),
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
                 if r["kind"] != MARKER],
                [("OLD", "D:\\", RECORDED), ("inner.txt", "D:\\OLD\\", RECORDED)])
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


def sessions_of(disc_meta):
    """[(session number, start of its first track)] from the disc store's metadata."""
    starts = {}
    with open(disc_meta) as meta:
        for line in meta:
            words = line.split()
            if words[:1] == ["track"]:
                starts.setdefault(int(words[2]), int(words[3]))
    return sorted(starts.items())


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def tree_digests(root):
    """{relative path: sha256} of every file under root."""
    found = {}
    for folder, _, files in os.walk(root):
        for name in files:
            full = os.path.join(folder, name)
            found[os.path.relpath(full, root).replace(os.sep, "/")] = digest(full)
    return found


def isoinfo_files(disc, start):
    """{Joliet path without ";1": (path as listed, extent)} of a session, from
    `isoinfo -l -J` of its volume."""
    out = subprocess.run(["isoinfo", "-i", disc, "-T", str(start), "-l", "-J"], capture_output=True,
                         text=True, errors="replace", check=True).stdout
    extents, folder = {}, "/"
    for line in out.splitlines():
        heading = re.match(r"Directory listing of (.*)$", line)
        if heading:
            folder = heading.group(1)
            continue
        row = re.match(r"([-d])[-rwx]{9}.*\[\s*(\d+)\s+\d+\]\s+(.*?)\s*$", line)
        if row and row.group(1) == "-":
            listed = (folder + row.group(3)).lstrip("/")
            extents[re.sub(r";1$", "", listed)] = (listed, int(row.group(2)))
    return extents


def isoinfo_extents(disc, start):
    return {path: extent for path, (_, extent) in isoinfo_files(disc, start).items()}


def read_back(args, f, work, disc, session, start, expected):
    """Checks one session of the disc against the files it must hold."""
    out = os.path.join(work, f"extract-{session}-xorriso")
    shutil.rmtree(out, ignore_errors=True)
    subprocess.run(["xorriso", "-osirrox", "on", "-load", "sbsector", str(start), "-indev", disc,
                    "-extract", "/", out], capture_output=True, check=False)
    f.check(f"session {session}: xorriso extracts every file byte for byte", tree_digests(out), expected)
    isoinfo_found = {}
    for path, (listed, _) in isoinfo_files(disc, start).items():
        data = subprocess.run(["isoinfo", "-i", disc, "-T", str(start), "-J", "-x", "/" + listed],
                              capture_output=True, check=True).stdout
        isoinfo_found[path] = hashlib.sha256(data).hexdigest()
    f.check(f"session {session}: isoinfo -J lists and extracts the whole tree", isoinfo_found, expected)
    checker = os.path.join(args.build, "tools", "isocheck", "isocheck.exe")
    result = subprocess.run(["wine", checker, env.harness.windows_path(disc), "--session-start", str(start)],
                            capture_output=True, text=True, errors="replace")
    f.check(f"session {session}: isocheck passes ({result.stdout.strip()[-200:]})", result.returncode, 0)


def random_file(path, size, seed):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(random.Random(seed).randbytes(size))


def burn(ui, rec, dialog, f, session, multi_session):
    """Presses "Start Recording" and answers its question; returns the status
    text the run ended with."""
    ui.set_check(302, multi_session, hwnd=dialog)
    ui.click(305, hwnd=dialog)
    box = env.next_msgbox(ui)
    f.check(f"session {session}: the question before recording", box["text"].startswith("Before start be sure"),
            True)
    env.answer(ui, box, "Yes")
    ui.sync(hwnd=dialog, timeout=300000)
    problem = env.no_msgbox_for(ui, 1.0)
    if problem is not None:
        f.fail(f"session {session}: unexpected message {problem['text']!r}")
        env.answer(ui, problem)
    return env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), DISC_RECORDED, 10)


DISC_RECORDED = "Thanks to The Most Glorious, CD-ROM was successfully recorded"


def scenario_burn(args, prefix, f):
    work = args.work
    source = os.path.join(work, "source-burn")
    shutil.rmtree(source, ignore_errors=True)
    random_file(os.path.join(source, "one", "alpha.txt"), 5000, 1)
    random_file(os.path.join(source, "one", "Mixed Case.dat"), 2048, 2)
    random_file(os.path.join(source, "one", "empty.bin"), 0, 3)
    random_file(os.path.join(source, "one", "sub", "inner.txt"), 3000, 4)
    random_file(os.path.join(source, "one", "sub", "deeper", "z.bin"), 70000, 5)
    random_file(os.path.join(source, "two", "beta.bin"), 123457, 6)
    random_file(os.path.join(source, "two", "Alpha.txt"), 77, 7)
    random_file(os.path.join(source, "third.txt"), 4096 * 3 + 1, 8)
    rec, mirror = recorder(args, prefix, "burn", {"e": ("hd", source)})
    disc = os.path.join(rec.folder, "disc.img")
    sessions = [("one", True), ("two", True), ("third.txt", False)]
    expected = {}
    earlier_extents = {}
    with rec.driver() as ui:
        dialog = rec.start(ui)
        for number, (item, multi_session) in enumerate(sessions, start=1):
            f.check(f"session {number}: disc ready",
                    env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 30), vrec.READY)
            open_browser(ui, dialog)
            if number > 1:
                f.check(f"session {number}: the disc's files come in as Recorded entries",
                        sorted(text for depth, text in outline(ui) if depth == 0),
                        sorted({path.split("/")[0] for path in expected}))
            add_and_save(ui, item)
            added = os.path.join(source, item)
            if os.path.isdir(added):
                expected.update({item + "/" + path: value for path, value in tree_digests(added).items()})
            else:
                expected[item] = digest(added)
            f.check(f"session {number}: success text", burn(ui, rec, dialog, f, number, multi_session),
                    DISC_RECORDED)
            f.check(f"session {number}: the disc was ejected",
                    env.wait_until("ejected", lambda: "loaded 0" in open(disc + ".meta").read(), True, 10), True)
            # The user takes the disc out and puts it back: the dialog sees
            # the empty tray at its next disc check (every three seconds
            # once a run has ejected the disc), then the disc again.
            f.check(f"session {number}: the dialog sees the empty tray",
                    env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.NOT_READY, 6),
                    vrec.NOT_READY)
            rec.vrec("load", "disc.img")
            starts = sessions_of(disc + ".meta")
            f.check(f"session {number}: sessions on the disc", len(starts), number)
            start = starts[-1][1]
            read_back(args, f, work, disc, number, start, expected)
            extents = isoinfo_extents(disc, start)
            f.check(f"session {number}: carried-over files keep their extents",
                    {path: extents.get(path) for path in earlier_extents}, earlier_extents)
            earlier_extents = extents
            f.check(f"session {number}: the mirror shows the session's files",
                    env.wait_until("mirror", lambda: tree_digests(mirror), expected, 15), expected)
        meta = open(disc + ".meta").read()
        f.check("the third session finalised the disc", "finalised 1" in meta, True)
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


@contextlib.contextmanager
def read_only(folder):
    """Makes `folder` unwritable for the test's Wine, which runs as root here
    and so ignores permission bits: the immutable attribute, else a read-only
    bind mount, else (not root) the permission bits. Yields whether it could."""
    undo = None
    if os.geteuid() != 0:
        os.chmod(folder, 0o555)
        undo = ["chmod", "755", folder]
    elif subprocess.run(["chattr", "+i", folder], capture_output=True).returncode == 0:
        undo = ["chattr", "-i", folder]
    elif subprocess.run(["mount", "--bind", folder, folder], capture_output=True).returncode == 0:
        undo = ["umount", folder]
        subprocess.run(["mount", "-o", "remount,ro,bind", folder], capture_output=True)
    probe = os.path.join(folder, ".writable")
    try:
        with open(probe, "w"):
            pass
        os.remove(probe)
        locked = False
    except OSError:
        locked = True
    try:
        yield locked
    finally:
        if undo:
            subprocess.run(undo, capture_output=True)


@contextlib.contextmanager
def small_disk(folder):
    """Mounts a 256 KiB file system on `folder`, where an image of the test's
    compilation can't fit; yields whether it could (it needs root)."""
    os.makedirs(folder, exist_ok=True)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", folder],
                             capture_output=True).returncode == 0
    try:
        yield mounted
    finally:
        if mounted:
            subprocess.run(["umount", folder], capture_output=True)


def start_recording(ui, dialog, f, what):
    ui.click(305, hwnd=dialog)
    box = env.next_msgbox(ui)
    f.check(f"{what}: the question before recording", box["text"].startswith("Before start be sure"), True)
    env.answer(ui, box, "Yes")


def remaining_boxes(ui):
    """Answers every message box that still comes up (the next may take a
    couple of seconds under Wine); returns their texts."""
    texts = []
    while True:
        box = env.no_msgbox_for(ui, 5.0)
        if box is None:
            return texts
        texts.append(box["text"])
        env.answer(ui, box)


def scenario_faults(args, prefix, f):
    work = args.work
    source = os.path.join(work, "source-faults")
    shutil.rmtree(source, ignore_errors=True)
    random_file(os.path.join(source, "data", "big.bin"), 300000, 11)
    random_file(os.path.join(source, "data", "small.txt"), 1000, 12)
    random_file(os.path.join(source, "more.txt"), 5000, 13)
    sources = tree_digests(source)
    # The disc leaves the drive when the recording reaches LBA 40, in the
    # file data of big.bin.
    rec, _ = recorder(args, prefix, "faults", {"e": ("hd", source)}, "fault-removed-at = 40\n")
    disc = os.path.join(rec.folder, "disc.img")
    folder = env.harness.windows_path(rec.folder)
    list_file = os.path.join(rec.folder, "defiso01.dat")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        f.check("disc ready", env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 30),
                vrec.READY)
        open_browser(ui, dialog)
        add_and_save(ui, "data")
        saved = open(list_file, "rb").read()

        # >>SAVE<< into a program folder that can't be written: the browser
        # says so and stays open, and the earlier list is still there.
        open_browser(ui, dialog)
        add(ui, "more.txt")
        with read_only(rec.folder) as locked:
            if not locked:
                print("SKIP read-only program folder: this machine can't make a folder read-only for root")
            else:
                ui.click(SAVE, title=BROWSER)
                box = env.next_msgbox(ui)
                f.check("read-only folder: >>SAVE<< says so", (box["text"], box["icon"]),
                        ("Can't write the file list: " + folder + "\\defiso01.dat", "stop"))
                env.answer(ui, box)
                f.check("read-only folder: the browser stays open", bool(ui.wait_window(title=BROWSER)), True)
                f.check("read-only folder: the earlier list is untouched", open(list_file, "rb").read(), saved)
        ui.click(SAVE, title=BROWSER)
        ui.wait_gone(title=BROWSER)
        saved = open(list_file, "rb").read()

        # The recording's scratch file can't be created: said so before the
        # drive is touched.
        scratch = os.path.join(rec.folder, "isoFileList.dat")
        os.makedirs(scratch)  # a folder in its place: not even root opens it for writing
        trace = Trace(rec)
        start_recording(ui, dialog, f, "scratch file")
        box = env.next_msgbox(ui)
        f.check("scratch file: the message", (box["text"], box["icon"]),
                ("Can't write the working file of the recording: " + folder + "\\isoFileList.dat", "stop"))
        env.answer(ui, box)
        f.check("scratch file: nothing else", remaining_boxes(ui), [])
        f.check("scratch file: no success", ui.get_text(502, hwnd=dialog) == DISC_RECORDED, False)
        f.check("scratch file: the drive is neither locked nor written",
                [n for n in trace.names() if n in ("PREVENT-ALLOW", "WRITE(10)", "MODE-SELECT(10)")], [])
        os.rmdir(scratch)

        # The disc is pulled out at LBA 40: the write failure's question,
        # answered Yes; the session can't be closed on an empty tray.
        trace = Trace(rec)
        start_recording(ui, dialog, f, "disc removed")
        box = env.next_msgbox(ui, timeout=120)
        f.check("disc removed: the write failure's question",
                (box["text"].startswith("An error was ocured while writing to CD-R/W disc."), box["icon"]),
                (True, "stop"))
        env.answer(ui, box, "Yes")
        later = remaining_boxes(ui)
        f.check("disc removed: the drive's status for the refused close", later, ["Check Condition"])
        f.check("disc removed: no success", ui.get_text(502, hwnd=dialog) == DISC_RECORDED or DISC_RECORDED in later,
                False)
        commands = trace.commands()
        failed = next((i for i, c in enumerate(commands) if c[0] == "WRITE(10)" and c[2] != "00"), None)
        f.check("disc removed: a WRITE found the tray empty", failed is not None and commands[failed][3], "2/3A/00")
        if failed is not None:
            after = commands[failed + 1:]
            f.check("disc removed: nothing written after it", [c for c in after if c[0] == "WRITE(10)"], [])
            f.check("disc removed: the tray is unlocked",
                    [c[1][:10] for c in after if c[0] == "PREVENT-ALLOW"][:1], ["1E00000000"])
            f.check("disc removed: the drive is never locked again",
                    [c[1][:10] for c in after if c[1].startswith("1E00000001")], [])
        f.check("disc removed: the tray is empty", loaded(disc), False)
        f.check("disc removed: the dialog sees the empty tray",
                env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.NOT_READY, 10), vrec.NOT_READY)
        f.check("disc removed: the list file is untouched", open(list_file, "rb").read(), saved)

        # An image file whose disk fills up: a small file system where the
        # image is written, else /dev/full (which takes no byte; Wine can't
        # delete a link to a device, so then the deletion is not checked).
        ui.tab_select(100, index=2, hwnd=dialog)
        open_browser(ui, dialog)
        add_and_save(ui, "data")
        data_cd = os.path.join(rec.folder, "dataCD")
        image = os.path.join(data_cd, "full.iso")
        with small_disk(data_cd) as mounted:
            if not mounted:
                print("NOTE disk full: no small file system here, the image is a link to /dev/full")
                os.symlink("/dev/full", image)
            ui.set_text(306, "full.iso", hwnd=dialog)
            ui.set_check(302, True, hwnd=dialog)
            ui.click(305, hwnd=dialog)
            box = env.next_msgbox(ui)
            f.check(f"disk full: the size report first ({box['text']!r})", box["text"].startswith("used="), True)
            env.answer(ui, box)
            box = env.next_msgbox(ui, box["hwnd"], timeout=60)
            f.check("disk full: the message", (box["text"], box["icon"]),
                    ("Can't write ISO-9660 file: " + folder + "\\dataCD\\full.iso", "stop"))
            env.answer(ui, box)
            f.check("disk full: nothing else", remaining_boxes(ui), [])
            f.check("disk full: no success", ui.get_text(502, hwnd=dialog).startswith("Thanks to"), False)
            if mounted:
                f.check("disk full: the partial image is deleted", os.path.exists(image), False)

        f.check("the sources are untouched", tree_digests(source), sources)
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


SESSION_NOT_CLOSED = "The session could not be closed: the recording is not complete."


def scenario_write_faults(args, prefix, f):
    work = args.work
    source = os.path.join(work, "source-write-faults")
    shutil.rmtree(source, ignore_errors=True)
    random_file(os.path.join(source, "small.txt"), 3000, 21)
    random_file(os.path.join(source, "big", "big.bin"), 300000, 22)
    sources = tree_digests(source)
    # WRITE fails at LBA 40 (in the file data of big.bin), CLOSE always.
    rec, _ = recorder(args, prefix, "write-faults", {"e": ("hd", source)}, "fault-write-at = 40\nfault-close = yes\n")
    disc = os.path.join(rec.folder, "disc.img")
    list_file = os.path.join(rec.folder, "defiso01.dat")
    with rec.driver() as ui:
        dialog = rec.start(ui)

        def status():
            return ui.get_text(502, hwnd=dialog)
        f.check("disc ready", env.wait_until("status", status, vrec.READY, 30), vrec.READY)

        # A volume that ends before LBA 40: every WRITE is good, the close fails.
        open_browser(ui, dialog)
        add_and_save(ui, "small.txt")
        saved = open(list_file, "rb").read()
        trace = Trace(rec)
        start_recording(ui, dialog, f, "failed close")
        box = env.next_msgbox(ui, timeout=60)
        f.check("failed close: the drive's status", (box["text"], box["icon"]), ("Check Condition", "stop"))
        env.answer(ui, box)
        # The next disc check (3 s on) overwrites the line with the empty tray.
        f.check("failed close: the status line", env.wait_until("status", status, SESSION_NOT_CLOSED, 2),
                SESSION_NOT_CLOSED)
        f.check("failed close: nothing else", remaining_boxes(ui), [])
        commands = trace.commands()
        f.check("failed close: every WRITE was good", [c for c in commands if c[0] == "WRITE(10)" and c[2] != "00"],
                [])
        f.check("failed close: the drive failed the close", [c[3] for c in commands if c[0] == "CLOSE-TRACK-SESSION"],
                ["3/72/00"])
        f.check("failed close: unlocked, then ejected",
                [c[1][:10] for c in commands if c[0] in ("PREVENT-ALLOW", "START-STOP-UNIT")][-2:],
                ["1E00000000", "1B00000002"])
        f.check("failed close: ejected", loaded(disc), False)
        f.check("failed close: the list file is untouched", open(list_file, "rb").read(), saved)

        # A fresh disc; the WRITE at LBA 40 fails and End session is refused:
        # the disc stays in the drive, unlocked, with no session closed.
        rec.remove_disc("disc.img")
        rec.vrec("create", "disc.img", "--kind", "cdr80")
        f.check("fresh disc ready", env.wait_until("status", status, vrec.READY, 30), vrec.READY)
        open_browser(ui, dialog)
        add_and_save(ui, "big")
        saved = open(list_file, "rb").read()
        trace = Trace(rec)
        start_recording(ui, dialog, f, "failed write")
        box = env.next_msgbox(ui, timeout=60)
        f.check("failed write: the question",
                (box["text"].startswith("An error was ocured while writing to CD-R/W disc."), box["icon"]),
                (True, "stop"))
        env.answer(ui, box, "No")
        f.check("failed write: nothing else", remaining_boxes(ui), [])
        f.check("failed write: no success", status() == DISC_RECORDED, False)
        commands = trace.commands()
        failed = [i for i, c in enumerate(commands) if c[0] == "WRITE(10)" and c[2] != "00"]
        f.check("failed write: at LBA 40", [commands[i][1][4:12] for i in failed], ["00000028"])
        after = commands[failed[0] + 1:] if failed else []
        f.check("failed write: then unlocked, nothing written, closed or ejected",
                [c[1][:10] for c in after if c[0] in ("WRITE(10)", "PREVENT-ALLOW", "START-STOP-UNIT",
                                                      "CLOSE-TRACK-SESSION")], ["1E00000000"])
        f.check("failed write: the disc stays in the drive", loaded(disc), True)
        f.check("failed write: the list file is untouched", open(list_file, "rb").read(), saved)
        f.check("the sources are untouched", tree_digests(source), sources)
        ui.click(2, hwnd=dialog)
        ui.wait_exit()


SCENARIOS = {"tarvo-recording": scenario_recording, "tarvo-import": scenario_import, "tarvo-burn": scenario_burn,
             "tarvo-faults": scenario_faults, "tarvo-write-faults": scenario_write_faults}


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
    try:
        for name in args.scenario or list(SCENARIOS):
            try:
                SCENARIOS[name](args, prefix, f)
            except env.DriverError as error:
                f.fail(f"{name}: driver: {error}")
    finally:
        prefix.stop_server()  # a program a failed scenario left behind would hold ctest's pipes
    for item in f.items:
        print("FAIL", item)
    print("ok" if not f.items else f"{len(f.items)} failed")
    return 1 if f.items else 0


if __name__ == "__main__":
    sys.exit(main())
