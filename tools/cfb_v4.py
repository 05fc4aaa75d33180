#!/usr/bin/python3
"""Rewrites a compound document (the container of an .xls workbook) with 4096-byte sectors,
as version 4 files hold them; the streams, the directory and the small-stream area are kept
byte for byte. Used for the workbook test of tests/data/workbooks/saved-v4.xls:

  tools/cfb_v4.py tests/data/workbooks/saved-from.xls tests/data/workbooks/saved-v4.xls
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


def main():
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    if struct.unpack_from("<H", data, 0x1E)[0] != 9:
        sys.exit("not a version 3 compound document")
    with open(sys.argv[2], "wb") as f:
        f.write(write_v4(*read_v3(data)))


if __name__ == "__main__":
    main()
