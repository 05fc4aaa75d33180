#!/usr/bin/python3
"""Rewrites the container of an .xls workbook (a compound document) in the two layouts the
workbook tests need beside the usual one; the Workbook stream is kept byte for byte.

  --v4     4096-byte sectors, as version 4 files hold them; the directory and the small-stream
           area are kept as they are
  --small  version 3 with only the Workbook stream, cut after its last record (xlwt pads it to
           4096 bytes) so that it lives in the 64-byte pieces of the small-stream area

  tools/cfb_repack.py --v4 tests/data/workbooks/saved-from.xls tests/data/workbooks/saved-v4.xls
  tools/cfb_repack.py --small tests/data/workbooks/bad_single.xls \
      tests/data/workbooks/bad_single_small.xls
"""

import struct
import sys

FREE, END, FAT_SECTOR = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD
V4_SECTOR = 4096


def read_v3(data):
    """The directory bytes, the small-stream FAT bytes and each stream's bytes by entry."""
    size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    fat_count, first_dir = struct.unpack_from("<II", data, 0x2C)
    cutoff, first_minifat, _, first_difat, difat_count = struct.unpack_from("<IIIII", data, 0x38)
    if difat_count or first_difat != END:
        sys.exit("a FAT beyond the header's 109 sectors is not handled")
    fat_sectors = struct.unpack_from("<109I", data, 0x4C)[:fat_count]
    fat = []
    for s in fat_sectors:
        fat += struct.unpack_from("<%dI" % (size // 4), data, 512 + s * size)

    def chain(start):
        out = b""
        while start not in (END, FREE):
            out += data[512 + start * size: 512 + (start + 1) * size]
            start = fat[start]
        return out

    directory = chain(first_dir)
    minifat = chain(first_minifat) if first_minifat != END else b""
    streams = {}
    for i in range(len(directory) // 128):
        kind = directory[i * 128 + 66]
        start, length = struct.unpack_from("<IQ", directory, i * 128 + 116)
        length &= 0xFFFFFFFF  # version 3 files may leave the high half undefined
        if kind == 5 or (kind == 2 and length >= cutoff):
            streams[i] = chain(start)[:length]
    return directory, minifat, streams


def write_v4(directory, minifat, streams):
    sectors, fat = [], []

    def place(payload, mark=None):
        """Appends payload as a chain of sectors; returns its first sector."""
        if not payload:
            return END
        first = len(sectors)
        count = (len(payload) + V4_SECTOR - 1) // V4_SECTOR
        for k in range(count):
            sectors.append(payload[k * V4_SECTOR:(k + 1) * V4_SECTOR].ljust(V4_SECTOR, b"\0"))
            fat.append(mark if mark is not None else (first + k + 1 if k + 1 < count else END))
        return first

    place(b"\0" * V4_SECTOR, FAT_SECTOR)  # sector 0: the FAT, filled in last
    directory = bytearray(directory)
    for entry in range(len(directory) // 128):  # sizes are 64-bit in version 4
        struct.pack_into("<I", directory, entry * 128 + 124, 0)
    for entry, payload in streams.items():
        struct.pack_into("<I", directory, entry * 128 + 116, place(payload))
    minifat_count = (len(minifat) + V4_SECTOR - 1) // V4_SECTOR
    first_minifat = place(minifat.ljust(minifat_count * V4_SECTOR, b"\xff"))
    first_dir = place(bytes(directory))
    if len(fat) > V4_SECTOR // 4:
        sys.exit("more than one FAT sector is not handled")
    sectors[0] = struct.pack("<%dI" % (V4_SECTOR // 4), *(fat + [FREE] * (V4_SECTOR // 4 - len(fat))))
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 0x18, 0x3E, 4, 0xFFFE, 12, 6)
    dir_count = (len(directory) + V4_SECTOR - 1) // V4_SECTOR
    struct.pack_into("<IIII", header, 0x28, dir_count, 1, first_dir, 0)
    struct.pack_into("<IIIII", header, 0x38, 4096, first_minifat, minifat_count, END, 0)
    struct.pack_into("<109I", header, 0x4C, 0, *([FREE] * 108))
    return bytes(header).ljust(V4_SECTOR, b"\0") + b"".join(sectors)


def last_record_end(biff):
    """Where the Workbook stream's records end: after the EOF record of its last substream."""
    at = end = 0
    while at + 4 <= len(biff):
        kind, length = struct.unpack_from("<HH", biff, at)
        if kind == 0 and length == 0:
            break
        at += 4 + length
        if kind == 0x000A:
            end = at
    return end


def directory_entry(name, kind, child, start, size):
    entry = bytearray(128)
    encoded = (name + "\0").encode("utf-16-le")
    entry[:len(encoded)] = encoded
    struct.pack_into("<HBB", entry, 0x40, len(encoded), kind, 1)
    struct.pack_into("<III", entry, 0x44, FREE, FREE, child)
    struct.pack_into("<II", entry, 0x74, start, size)
    return bytes(entry)


def write_small(biff):
    """Header, FAT (sector 0), directory (1), small-stream FAT (2), small-stream area (3..)."""
    pieces = (len(biff) + 63) // 64
    area = biff.ljust(pieces * 64, b"\0")
    area_sectors = (len(area) + 511) // 512
    if pieces > 128:
        sys.exit("the stream is too long for one sector of the small-stream FAT")
    fat = [FAT_SECTOR, END, END] + [3 + k + 1 for k in range(area_sectors - 1)] + [END]
    minifat = [k + 1 for k in range(pieces - 1)] + [END]
    empty = directory_entry("", 0, FREE, 0, 0)
    directory = (directory_entry("Root Entry", 5, 1, 3, len(area)) +
                 directory_entry("Workbook", 2, FREE, 0, len(biff)) + empty + empty)
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<IIII", header, 0x28, 0, 1, 1, 0)
    struct.pack_into("<IIIII", header, 0x38, 4096, 2, 1, END, 0)
    struct.pack_into("<109I", header, 0x4C, 0, *([FREE] * 108))
    return (bytes(header) + struct.pack("<128I", *(fat + [FREE] * (128 - len(fat)))) +
            directory + struct.pack("<128I", *(minifat + [FREE] * (128 - len(minifat)))) +
            area.ljust(area_sectors * 512, b"\0"))


def main():
    mode, source, target = sys.argv[1:4]
    with open(source, "rb") as f:
        data = f.read()
    if struct.unpack_from("<H", data, 0x1E)[0] != 9:
        sys.exit("not a version 3 compound document")
    directory, minifat, streams = read_v3(data)
    if mode == "--v4":
        out = write_v4(directory, minifat, streams)
    else:
        biff = max((s for e, s in streams.items() if e != 0), key=len)  # the one xlwt writes
        out = write_small(biff[:last_record_end(biff)])
    with open(target, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
