"""The information page's sector viewer against a disc the virtual recorder
wrote (a genisoimage volume recorded by the vrec tool): the primary volume
descriptor decoded, path table and directory records walked, the raw view,
navigation at its ends and unreadable sectors."""
import os
import shutil
import struct
import subprocess

import dialog_env as env
from dialog_env import TITLE
import scenarios_vrec as vrec

INFO_PAGE = 3
OUTPUT, SECTOR = 199, 214
PREV, NEXT, GO = 205, 206, 215
VOLUME, PATH_TABLE, DIRECTORY, NEXT_ENTRY = 207, 208, 209, 210


def viewer_image(work):
    content = os.path.join(work, "viewer-content")
    shutil.rmtree(content, ignore_errors=True)
    os.makedirs(os.path.join(content, "DOCS"))
    with open(os.path.join(content, "README.TXT"), "w") as f:
        f.write("read me first\n" * 10)
    with open(os.path.join(content, "DOCS", "GUIDE.TXT"), "w") as f:
        f.write("a guide\n")
    image = os.path.join(work, "viewer.iso")
    subprocess.run(["genisoimage", "-quiet", "-J", "-V", "VIEWDISC", "-o", image, content], check=True)
    with open(image, "rb") as f:
        return f.read()


def ansi(data):
    """Bytes as the driver hands the control's text over: code page 1252,
    its five unassigned bytes kept as the code points of the same value."""
    return "".join(bytes([b]).decode("cp1252", errors="ignore") or chr(b) for b in data)


def sector(image, number):
    return image[number * 2048:(number + 1) * 2048]


def u32(data, offset):
    return struct.unpack_from("<I", data, offset)[0]


def u16(data, offset):
    return struct.unpack_from("<H", data, offset)[0]


def swapped(data, offset):
    return struct.unpack_from(">I", data, offset)[0]


def text_from(data, offset):
    end = data.find(b"\0", offset)
    return ansi(data[offset:end if end >= 0 else len(data)])


def path_record_text(data, offset):
    """What the viewer shows for the path table record at `offset` (ECMA-119 9.4)."""
    length = data[offset]
    identifier = data[offset + 8:offset + 8 + length].replace(b"\0", b"_")
    rest = data[offset + 8 + length:]
    name = ansi(identifier) + text_from(rest, 0)
    return (f"len_di = {length}\r\nXARlength = {data[offset + 1]}\r\ndirLocation = lsb={u32(data, offset + 2)}, "
            f"msb={swapped(data, offset + 2)}\r\nparentDN = {u16(data, offset + 6)}\r\ndirID={name}#\r\n")


def directory_record_text(data, offset):
    """What the viewer shows for the directory record at `offset` (ECMA-119 9.1)."""
    r = data[offset:offset + 289]
    length = r[32]
    name = ansi(r[33:33 + length].replace(b"\0", b"_")) + text_from(r, 33 + length)
    when = "".join(f"{label} = {r[18 + i]}\r\n" for i, label in
                   enumerate(("year", "month", "day", "hour", "minute", "second")))
    return (f"lend_dr = {r[0]}\r\nXARlength = {r[1]}\r\nlsbStart = {u32(r, 2)}\r\nmsbStart = {u32(r, 6)}\r\n"
            f"lsbDataLength = {u32(r, 10)}\r\nmsbDataLength = {u32(r, 14)}\r\n{when}fileFlags = {r[25]}\r\n"
            f"lsbVolSetSeqNum = {u16(r, 28)}\r\nmsbVolSetSeqNum = {u16(r, 30)}\r\nlen_fi = {length}\r\nfi={name}#\r\n")


def raw_text(data):
    shown = ansi(bytes(4 if b in (0, 10) else b for b in data))
    return "".join(shown[i:i + 128] + "\r\n" for i in range(0, 2048, 128))


def scenario_sector_viewer(args, prefix, f):
    work = args.work
    image = viewer_image(work)
    iso = os.path.join(work, "viewer.iso")
    pvd = sector(image, 16)
    root = u32(pvd, 158)
    path_table = u32(pvd, 140)
    prefix.set_drives({"d": ("cdrom", os.path.join(work, "cd-viewer"))})
    rec = vrec.Recorder(args, prefix, [vrec.device("0:1:0", "RECORDER", True, True, 1408, disc="disc.img")])
    rec.vrec("create", "disc.img", "--kind", "cdr80")
    rec.vrec("record", "disc.img", iso, "--open")
    with rec.driver() as ui:
        dialog = rec.start(ui)
        env.wait_until("status", lambda: ui.get_text(502, hwnd=dialog), vrec.READY, 20)
        ui.tab_select(100, index=INFO_PAGE, hwnd=dialog)
        out = lambda: ui.get_text(OUTPUT, hwnd=dialog)  # noqa: E731

        def press(control, expected, what):
            ui.click(control, hwnd=dialog)
            got = env.wait_until(what, out, expected, 5)
            if got != expected and len(got) > 200:  # a raw view: say where it differs
                at = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b), min(len(got), len(expected)))
                got, expected = (len(got), at, got[at - 5:at + 20]), (len(expected), at, expected[at - 5:at + 20])
            f.check(what, got, expected)

        # Sector 16, the primary volume descriptor.
        ui.click(VOLUME, hwnd=dialog)
        first = "VolumeDescriptorType = 1\r\n"
        env.wait_until("volume descriptor", lambda: out()[:len(first)], first, 5)
        text = out()
        lines = text.split("\r\n")
        f.check("sector 16: the sector number", ui.get_text(SECTOR, hwnd=dialog), "16")
        f.check("sector 16: standard identifier", lines[1], "StandardIdentifier = CD001\x01")
        f.check("sector 16: volume identifier, blanks and all", lines[5], "VolumeIdentifier = " + "VIEWDISC".ljust(32))
        f.check("sector 16: volume space size", lines[7], f"lsbVolumeSpaceSize = {u32(pvd, 80)}")
        f.check("sector 16: path table L", lines[18], f"LocationOfOccurrencePathTableL = {path_table}")
        f.check("sector 16: path table M, as read and swapped",
                lines[20], f"LocationOfOccurrencePathTableM = {u32(pvd, 148)}, {swapped(pvd, 148)}")
        f.check("sector 16: the root extent", lines[22], f"RDirC = {root}, ")
        f.check("sector 16: the labels follow", "\r\nVolumeSetIdentifier = " in text
                and "\r\npv.FileStructureVersion = 1\r\n" in text, True)

        # The path table: the root (identifier 00h) and DOCS, one press each.
        ui.set_text(SECTOR, str(path_table), hwnd=dialog)
        press(GO, raw_text(sector(image, path_table)), "Go: the path table sector raw")
        press(PATH_TABLE, path_record_text(sector(image, path_table), 0), "path table: the root record")
        f.check("path table: the root shows dirID=_#", "dirID=_#\r\n" in out(), True)
        press(NEXT_ENTRY, path_record_text(sector(image, path_table), 10), "Next entry: the record 10 bytes on")
        f.check("path table: the second record is DOCS", "dirID=DOCS#\r\n" in out(), True)

        # The root directory: ".", "..", DOCS, README.TXT;1.
        ui.set_text(SECTOR, str(root), hwnd=dialog)
        press(GO, raw_text(sector(image, root)), "Go: the root directory raw")
        directory = sector(image, root)
        press(DIRECTORY, directory_record_text(directory, 0), "directory: the record of the root itself")
        # Identifier 00h, of odd length so without a padding byte: the text
        # runs on into the next record's length byte (34, '"').
        f.check("directory: its identifier 00h shows as _", out().endswith('fi=_"#\r\n'), True)
        offset = directory[0]
        for _ in range(2):
            press(NEXT_ENTRY, directory_record_text(directory, offset), f"Next entry: the record at {offset}")
            offset += directory[offset]
        press(NEXT_ENTRY, directory_record_text(directory, offset), "Next entry: README.TXT;1")
        f.check("README.TXT;1: length 46, its name", (out().split("\r\n")[0], out().endswith("fi=README.TXT;1#\r\n")),
                ("lend_dr = 46", True))
        f.check("README.TXT;1: its extent and size",
                out().split("\r\n")[2:5:2], [f"lsbStart = {u32(directory, offset + 2)}", "lsbDataLength = 140"])

        # Navigation: one sector on shows the Joliet descriptor raw; "Prev
        # sector" at 0 reads nothing.
        ui.set_text(SECTOR, "16", hwnd=dialog)
        ui.click(GO, hwnd=dialog)
        press(NEXT, raw_text(sector(image, 17)), "Next sector: 17 raw, 16 lines of 128")
        f.check("Next sector: the number", ui.get_text(SECTOR, hwnd=dialog), "17")
        ui.set_text(SECTOR, "0", hwnd=dialog)
        press(GO, raw_text(bytes(2048)), "Go 0: the system area raw")
        reads = rec.trace_count("READ(10)")
        ui.click(PREV, hwnd=dialog)
        ui.sync(hwnd=dialog)
        f.check("Prev sector at 0: the number stays", ui.get_text(SECTOR, hwnd=dialog), "0")
        f.check("Prev sector at 0: nothing read", rec.trace_count("READ(10)"), reads)

        ui.set_text(SECTOR, "-5", hwnd=dialog)
        press(GO, "Error reading", "Go -5: the read fails")
        f.check("Go -5: shown unsigned", ui.get_text(SECTOR, hwnd=dialog), "4294967291")

        # Beyond what the disc holds.
        ui.set_text(SECTOR, "5000", hwnd=dialog)
        press(GO, "Error reading", "an unwritten sector")
        before = out()
        ui.click(VOLUME, hwnd=dialog)
        box = env.next_msgbox(ui)
        f.check("unwritten sector as a volume descriptor", (box["text"], box["icon"], box["caption"]),
                ("Error reading sector: 5000", "stop", TITLE))
        env.answer(ui, box)
        ui.click(DIRECTORY, hwnd=dialog)
        box = env.next_msgbox(ui)
        f.check("unwritten sector as a directory", (box["text"], box["icon"]), ("Error reading", "stop"))
        env.answer(ui, box)
        f.check("the output stays", out(), before)
        ui.click(2, hwnd=dialog)
        f.check("exit code", ui.wait_exit(), 0)


SCENARIOS = {
    "sector-viewer": scenario_sector_viewer,
}
