#!/usr/bin/env python3
"""Writes the seed corpus of every harness (fuzz/<name>/seeds/). The seeds are
committed; run this again only to change them."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def both32(v):  # ECMA-119 7.3.3: little-endian, then big-endian
    return struct.pack("<I", v) + struct.pack(">I", v)


def both16(v):  # ECMA-119 7.2.3
    return struct.pack("<H", v) + struct.pack(">H", v)


def put(name, seed, data):
    folder = os.path.join(HERE, name, "seeds")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, seed), "wb") as f:
        f.write(data)


# --- list files: "MORVELINE_FILE_ISO_1.00", level count, directory count + 10,
# then records (level, name, source path, kind, 8 date fields, size, attributes).
MAGIC = b"MORVELINE_FILE_ISO_1.00"
DATE = (2024, 5, 3, 17, 12, 30, 44, 0)


def record(level, name, path, kind=0, size=0, attributes=0x20):
    out = struct.pack("<I", level)
    out += struct.pack("<H", len(name)) + name
    out += struct.pack("<H", len(path)) + path
    out += bytes([kind]) + struct.pack("<8H", *DATE) + struct.pack("<II", size, attributes)
    return out


def list_file(levels, directories, records):
    return MAGIC + struct.pack("<II", levels, directories + 10) + b"".join(records)


DIR = 0x10
sound = list_file(3, 3, [
    record(0, b"Docs", b"C:\\", 0, 0, DIR),
    record(1, b"readme.txt", b"C:\\Docs\\", 0, 1200),
    record(1, b"Empty", b"C:\\Docs\\", 0, 0, DIR),
    record(2, b"a", b"a", 50, 0, DIR),
    record(1, b"A very long file name with spaces.tar.gz", b"C:\\Docs\\", 0, 70000),
    record(0, b"made", b"", 100, 0, DIR),
    record(1, b"old.dat", b"E:\\made\\", 1, 4096),
    record(0, b"README.TXT", b"C:\\", 0, 0),
    record(0, b"readme.txt", b"D:\\", 0, 2048),
])
for name in ("browser_list", "recorder_list"):
    put(name, "empty", list_file(1, 0, []))
    put(name, "sound", sound)
    put(name, "one-file", list_file(1, 0, [record(0, b"x", b"C:\\", 0, 5)]))
    put(name, "cut-short", sound[:-7])

# --- tarvo.cfg: five 32-bit fields and the erase mode byte.
put("settings", "defaults", struct.pack("<5IB", 0, 1, 0, 0, 0, 1))
put("settings", "odd-values", struct.pack("<5IB", 7, 0xFFFFFFFF, 2, 1, 99, 9) + b"extra")
put("settings", "short", struct.pack("<2I", 1, 0))

# --- help: two bytes of topic number, then the file.
with open(os.path.join(HERE, "..", "app", "res", "tvohelp.txt"), "rb") as f:
    helpText = f.read()
put("help_topics", "program-file", struct.pack("<H", 1090) + helpText)
put("help_topics", "crlf", struct.pack("<H", 7) + helpText[:400].replace(b"\n", b"\r\n") +
    b"{7 Title\r\nbody\r\n}\r\n{12}\r\n")
put("help_topics", "small", struct.pack("<H", 12) +
    b"NOTES: DO NOT CHANGE THIS FILE OR PROGRAM COULD BREAK DOWN\n{12 T\nline\n}\n{ no number }\n{99999999999 big\n")


# --- drive replies: one (status, length, bytes) per command, in the order the
# harness sends them.
def answer(data=b"", status=0):
    return bytes([status]) + struct.pack("<H", len(data)) + data


inquiry = bytes([5, 0x80, 0, 0x32, 91, 0, 0, 0]) + b"VIRTUAL CDRW REC 1.00" + b"\0" * 20
discInfo = bytes([0, 32, 0x1E, 1, 2, 2, 3, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4F, 0x3B, 0x4A, 0, 0x4F, 0x3B, 0x4A]) \
    + bytes(8) + bytes([0, 1]) + struct.pack(">H", 1764) + bytes(6)
trackInfo = struct.pack(">HBBBBBB", 26, 3, 2, 0, 0x04, 0x01, 0x01) + struct.pack(">5I", 20000, 21000, 300000, 0, 0)
page2a = bytes([0x2A, 0x14, 0x3F, 0x03, 0x7F, 0xFF, 0x29, 0x03]) + struct.pack(">4H", 7056, 256, 2048, 7056) \
    + bytes([0, 0x30]) + struct.pack(">2H", 7056, 7056)
page05 = bytes([0x05, 0x32]) + bytes(0x32)


def mode_data(page):
    return struct.pack(">H", len(page) + 6) + bytes(6) + page


toc = struct.pack(">HBB", 2 + 3 * 8, 1, 2) + bytes([0, 0x14, 1, 0]) + struct.pack(">I", 0) \
    + bytes([0, 0x14, 2, 0]) + struct.pack(">I", 20000) + bytes([0, 0x14, 0xAA, 0]) + struct.pack(">I", 30000)
script = [answer(inquiry), answer(), answer(discInfo), answer(), answer(trackInfo),
          answer(), answer(mode_data(page2a)), answer(), answer(mode_data(page2a)),
          answer(), answer(discInfo), answer(trackInfo),
          answer(), answer(discInfo), answer(), answer(trackInfo), answer(toc),
          answer(), answer(), answer(), answer(), answer(discInfo), answer(trackInfo),
          answer(mode_data(page05)), answer(), answer(), answer(),
          answer(), answer(), answer(), answer()]
put("drive_replies", "good-drive", b"".join(script) + b"\x02")
put("drive_replies", "failing-drive", answer(b"", 2) * 12)
put("drive_replies", "mode-page-after-descriptor",
    b"".join(script[:23]) + answer(struct.pack(">H", 22) + bytes([0, 0, 0, 0, 0, 8]) + bytes(8) + page05[:8]))

# --- sector viewer: a 32-bit entry offset, then the sector.
pvd = bytearray(2048)
pvd[0] = 1
pvd[1:6] = b"CD001"
pvd[6] = 1
pvd[8:40] = b"SYSTEM".ljust(32)
pvd[40:72] = b"LABEL".ljust(32)
pvd[80:88] = both32(1000)
pvd[128:132] = both16(2048)
pvd[156] = 34
pvd[190:318] = b"SET".ljust(128)
pvd[813:830] = b"2024050317123000\0"
pvd[881] = 1
put("sector_view", "volume-descriptor", struct.pack("<i", 0) + bytes(pvd))


def dir_record(identifier, extent, size, flags):
    length = 33 + len(identifier) + (1 - len(identifier) % 2)
    out = bytes([length, 0]) + both32(extent) + both32(size)
    out += bytes([124, 5, 3, 17, 12, 30, 0, flags, 0, 0]) + both16(1)
    out += bytes([len(identifier)]) + identifier
    return out.ljust(length, b"\0")


directory = dir_record(b"\0", 20, 2048, 2) + dir_record(b"\1", 20, 2048, 2) + dir_record(b"DOCS", 21, 2048, 2) \
    + dir_record(b"README.TXT;1", 30, 1200, 0)
put("sector_view", "directory", struct.pack("<i", 0) + directory.ljust(2048, b"\0"))
path_table = bytes([1, 0]) + struct.pack("<IH", 20, 1) + b"\0\0" + bytes([4, 0]) + struct.pack("<IH", 21, 1) + b"DOCS"
put("sector_view", "path-table", struct.pack("<i", 34) + path_table.ljust(2048, b"\0"))
put("sector_view", "short-read", struct.pack("<i", 2040) + bytes([255] * 100))


# --- earlier session: a 32-bit descriptor address, then the disc from sector 16.
def descriptor(kind, volume_sectors, root_extent, root_length):
    s = bytearray(2048)
    s[0] = kind
    s[1:6] = b"CD001"
    s[6] = 1
    s[80:88] = both32(volume_sectors)
    s[156:190] = dir_record(b"\0", root_extent, root_length, 2)
    return bytes(s)


def joliet(name):
    return name.encode("utf-16-be")


def sector(*records):
    return b"".join(records).ljust(2048, b"\0")


# 16 primary, 17 Joliet, 18 terminator, 19 primary root, 20 Joliet root,
# 21 Joliet DOCS, 22 primary DOCS.
terminator = bytes([255]) + b"CD001\1".ljust(2047, b"\0")
disc = [descriptor(1, 40, 19, 2048), descriptor(2, 40, 20, 2048), terminator,
        sector(dir_record(b"\0", 19, 2048, 2), dir_record(b"\1", 19, 2048, 2), dir_record(b"DOCS", 22, 2048, 2),
               dir_record(b"README.TXT;1", 30, 1200, 0)),
        sector(dir_record(b"\0", 20, 2048, 2), dir_record(b"\1", 20, 2048, 2), dir_record(joliet("Docs"), 21, 2048, 2),
               dir_record(joliet("readme.txt;1"), 30, 1200, 0), dir_record(joliet("hidden.bin;1"), 31, 10, 1)),
        sector(dir_record(b"\0", 21, 2048, 2), dir_record(b"\1", 20, 2048, 2),
               dir_record(joliet("notes.txt;1"), 32, 100, 0), dir_record(joliet("Loop"), 20, 2048, 2)),
        sector(dir_record(b"\0", 22, 2048, 2), dir_record(b"\1", 19, 2048, 2), dir_record(b"NOTES.TXT;1", 32, 100, 0))]
put("session_import", "two-trees", struct.pack("<I", 16) + b"".join(disc))
put("session_import", "primary-only", struct.pack("<I", 16) + b"".join([disc[0], bytes(2048)] + disc[2:4] + [bytes(2048)] * 2 + disc[6:]))
odd = bytearray(b"".join(disc))
odd[4 * 2048 + 100] = 0      # a record of length 0 in the Joliet root
odd[5 * 2048 + 68] = 255     # a record of length 255 in DOCS
put("session_import", "odd-records", struct.pack("<I", 16) + bytes(odd))
put("session_import", "root-beyond-disc", struct.pack("<I", 16) + descriptor(2, 40, 39, 2048))
# Repeating disc (top bit of the first word): a Joliet root as long as the disc
# whose every sector holds a subdirectory pointing one sector further on.
chain = sector(dir_record(b"\0", 18, 2048, 2), dir_record(b"\1", 18, 2048, 2),
               dir_record(joliet("deeper and deeper"), 19, 2048, 2))
put("session_import", "repeating-chain", struct.pack("<I", 0x80000000 | 16) + descriptor(1, 0xFFFFFFFF, 18, 0xFFFFFFFF)
    + descriptor(2, 0xFFFFFFFF, 18, 0xFFFFFFFF) + chain)
