#!/usr/bin/env python3
"""Test-only list writer: make_list.py OUT.dat DIR...

Writes a compilation list file of the given folders the way the browser's
Add builds one: each folder a root entry holding its walk, children sorted
case-insensitively, directories whose names begin with a dot left out, an
empty directory followed by its empty-directory marker. Byte layout: a
31-byte header (magic, level count, directory count + 10), then per entry
level, name, source path, kind, a SYSTEMTIME, size and attributes.
"""
import os
import struct
import sys
import time

MAGIC = b"MORVELINE_FILE_ISO_1.00"


def systemtime(seconds):
    t = time.gmtime(seconds)
    weekday = (t.tm_wday + 1) % 7
    return struct.pack("<8H", t.tm_year, t.tm_mon, weekday, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 0)


def record(level, name, path, kind, date, size, attributes):
    name_b = os.fsencode(name)
    path_b = os.fsencode(path)
    return (struct.pack("<IH", level, len(name_b)) + name_b + struct.pack("<H", len(path_b)) + path_b +
            bytes([kind]) + date + struct.pack("<II", size, attributes))


class Writer:
    def __init__(self):
        self.records = []
        self.deepest = 0
        self.directories = 0

    def add(self, level, *fields):
        self.records.append(record(level, *fields))
        self.deepest = max(self.deepest, level)

    def walk(self, folder, level):
        names = sorted(os.listdir(folder), key=lambda n: n.lower())
        shown = [n for n in names if not (os.path.isdir(os.path.join(folder, n)) and n.startswith("."))]
        holder = folder.rstrip("/") + "/"
        for name in shown:
            full = os.path.join(folder, name)
            st = os.stat(full)
            if os.path.isdir(full):
                self.directory(level, name, holder, st, full)
            else:
                self.add(level, name, holder, 0, systemtime(st.st_mtime), st.st_size, 0x20)

    def directory(self, level, name, path, st, full):
        date = systemtime(st.st_mtime)
        self.add(level, name, path, 0, date, 0, 0x10)
        self.directories += 1
        before = len(self.records)
        self.walk(full, level + 1)
        if len(self.records) == before:
            self.add(level + 1, "a", "a", 50, date, 0, 0x10)

    def bytes(self):
        level_count = self.deepest + 1
        return MAGIC + struct.pack("<II", level_count, self.directories + 10) + b"".join(self.records)


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: make_list.py OUT.dat DIR...")
    writer = Writer()
    for folder in sys.argv[2:]:
        folder = os.path.abspath(folder)
        writer.directory(0, os.path.basename(folder), folder + "/", os.stat(folder), folder)
    with open(sys.argv[1], "wb") as out:
        out.write(writer.bytes())


if __name__ == "__main__":
    main()
