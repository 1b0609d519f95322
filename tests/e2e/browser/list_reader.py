"""Reads list files (header "MORVELINE_FILE_ISO_1.00" and depth-first
records) so the scenarios can compare what the browser saved with the
compilation they built."""
import struct

MAGIC = b"MORVELINE_FILE_ISO_1.00"
LOCAL, RECORDED, MARKER, CREATED = 0, 1, 50, 100


def read_list(path):
    """(levelCount, directoryCapacity, [record dicts]) of a list file."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:23] != MAGIC:
        raise ValueError(f"{path}: not a list file")
    level_count, capacity = struct.unpack_from("<II", data, 23)
    records, at = [], 31
    while at < len(data):
        level, n = struct.unpack_from("<IH", data, at)
        at += 6
        name = data[at:at + n].decode("latin-1")
        at += n
        (m,) = struct.unpack_from("<H", data, at)
        at += 2
        path_text = data[at:at + m].decode("latin-1")
        at += m
        kind = data[at]
        date = struct.unpack_from("<8H", data, at + 1)
        size, attributes = struct.unpack_from("<II", data, at + 17)
        at += 25
        records.append({"level": level, "name": name, "path": path_text, "kind": kind, "date": date,
                        "size": size, "attributes": attributes})
    return level_count, capacity, records


def outline(records):
    """The records without markers as (level, name) pairs: the tree's shape."""
    return [(r["level"], r["name"]) for r in records if r["kind"] != MARKER]
