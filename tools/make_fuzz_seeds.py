#!/usr/bin/python3
"""Writes the seed inputs of the fuzz programs (tests/fuzz/corpus/<target>/).

Every seed is made here, by our own generators: the shipped workbook and the small test
workbooks, WAV files of each shape the sound tests build (depths, channel counts, chunk
orders, extensible and float headers, cut-off files), and number files in the layout the
program writes, Scala scales and keyboard mappings. Files found by fuzzing and kept as regression cases live beside them and
are left alone. The fuzz programs need no Python: the seeds are committed.

Run with Debian's python3 (it has python3-xlwt):  tools/make_fuzz_seeds.py [corpus folder]
"""

import io
import math
import os
import struct
import sys
import tempfile

import xlwt

import make_test_workbooks
import make_workbook


def save(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- workbooks -------------------------------------------------------------------------

def shipped_workbook():
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "dizek.xls")
        make_workbook.build(path)
        with open(path, "rb") as f:
            return f.read()


def sheets_and_formulas():
    """Two sheets, the second one active, with formula cells: what a user's spreadsheet
    program may save."""
    book = xlwt.Workbook(encoding="utf-8")
    first = book.add_sheet("notlar")
    first.write(0, 0, "boş")
    sheet = book.add_sheet("dizek")
    sheet.write(10, 1, 0.0)
    sheet.write(10, 2, xlwt.Formula("B11+22.64"))
    sheet.write(30, 4, 1)
    sheet.write(30, 6, xlwt.Formula("C11*2"))
    sheet.write(30, 7, xlwt.Formula('"Ç"&"argah"'))
    sheet.write(30, 2, 8)
    sheet.write(30, 3, 0)
    sheet.write(0, 23, 1.5, xlwt.easyxf(num_format_str="0.00"))
    sheet.set_selected(True)
    book.set_active_sheet(1)
    out = io.BytesIO()
    book.save(out)
    return out.getvalue()


def workbooks(folder):
    save(folder, "shipped_dizek.xls", shipped_workbook())
    save(folder, "conversions.xls", make_test_workbooks.workbook(make_test_workbooks.CONVERSIONS))
    for name, cells in make_test_workbooks.BAD.items():
        save(folder, name, make_test_workbooks.workbook(cells))
    save(folder, "sheets_and_formulas.xls", sheets_and_formulas())


# ---- WAV files -------------------------------------------------------------------------

def chunk(ident, body):
    return ident + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


PCM_GUID_TAIL = bytes([0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71])


def wav(channels=1, bits=16, rate=44100, tag=1, fmt_size=16, float_subformat=False,
        before_fmt=b"", before_data=b"", frames=48, tone_hz=440.0):
    """A WAV image whose data is a sine in every channel, like the sound tests build."""
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits)
    if fmt_size >= 18:
        fmt += struct.pack("<H", fmt_size - 18)
    if fmt_size == 40:
        code = 3 if float_subformat else 1
        fmt += struct.pack("<HI", bits, 3 if channels == 2 else 4)
        fmt += struct.pack("<I", code) + PCM_GUID_TAIL
    samples = bytearray()
    for i in range(frames):
        x = math.sin(2 * math.pi * tone_hz * i / rate) * 0.8
        for _ in range(channels):
            if tag == 3 or float_subformat:
                samples += struct.pack("<f", x)
            elif bits == 8:
                samples.append(int(128 + 127 * x))
            else:
                v = int(x * (2 ** (bits - 1) - 1))
                samples += v.to_bytes(bits // 8, "little", signed=True)
    body = b"WAVE" + before_fmt + chunk(b"fmt ", fmt) + before_data + chunk(b"data", bytes(samples))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wav_shapes():
    list_info = chunk(b"LIST", b"INFOISFT\x05\0\0\0abcde")
    canonical = wav()
    return {
        "canonical_16bit_mono.wav": canonical,
        "stereo_16bit.wav": wav(channels=2),
        "8bit_mono.wav": wav(bits=8, rate=22050),
        "24bit_stereo.wav": wav(channels=2, bits=24, rate=48000),
        "32bit_mono.wav": wav(bits=32),
        "list_before_fmt.wav": wav(before_fmt=list_info),
        "fmt18.wav": wav(fmt_size=18),
        "junk_odd_and_fact.wav": wav(before_fmt=chunk(b"JUNK", bytes(27)),
                                     before_data=chunk(b"fact", b"\x10" * 4)),
        "extensible_pcm_24bit.wav": wav(channels=2, bits=24, tag=0xFFFE, fmt_size=40),
        "float.wav": wav(bits=32, tag=3, fmt_size=18),
        "extensible_float.wav": wav(bits=32, tag=0xFFFE, fmt_size=40, float_subformat=True),
        "four_channels.wav": wav(channels=4),
        "data_before_fmt.wav": b"RIFF" + canonical[4:12] + canonical[36:] + canonical[12:36],
        "no_data_chunk.wav": canonical[:36],
        "cut_in_fmt.wav": canonical[:30],
        "not_wave.wav": b"RIFF" + canonical[4:8] + b"AVI " + canonical[12:],
    }


# ---- number files ----------------------------------------------------------------------

NUMBER_FILES = {
    "print_zones.txt": b" 3            -4             12 \r\n 0             7 \r\n",
    "commas_and_tabs.txt": b"1,2 , 3\t4\r\n-5.25,\r\n",
    "exponents.txt": b"1E+20 -2.5e-3 .5 5. +7\r\n",
    "blank_lines.txt": b"\r\n\r\n  42\r\n\r\n",
    "bad_word.txt": b" 1  2 \r\n iki \r\n",
    "empty_field.txt": b"1,,2\r\n",
}


def print_form(n):
    return (" " if n >= 0 else "-") + str(abs(n)) + " "


def zones(numbers):
    """A line as the program prints it: each number in a 14-character print zone, CR LF."""
    line = ""
    for i, n in enumerate(numbers):
        if i:
            line = line.ljust((len(line) + 13) // 14 * 14)
        line += print_form(n)
    return line.encode() + b"\r\n"


RECORDINGS = {
    "three_plucks.txt": [(12, -3, 850), (1, 0, 120), (26, 4, 0)],
    "held_and_long.txt": [(8, 12, 32767), (19, -8, 2000000)],
}


def makam_files(folder):
    """Lever settings as the save button writes them (one position per line), and as a hand
    edit may leave them."""
    settings = {
        "all_open.txt": [0] * 26,
        "rast_like.txt": [0, -1, 1, 0, 2, -2, 0, 1, 0, -1, 0, 0, 1, -1, 2, 0, 0, -2, 1, 0, 0, 1,
                          -1, 0, 2, 0],
    }
    for name, positions in settings.items():
        save(folder, name, b"".join(print_form(p).encode() + b"\r\n" for p in positions))
    save(folder, "hand_edited.txt", b"0, 1,-1\n" + b" 0" * 23 + b"\nextra words\n")


def sequences(folder, data):
    """The shipped example melodies, and records of every kind in the program's layout."""
    for name in sorted(os.listdir(data)):
        if name.endswith(".ses"):
            with open(os.path.join(data, name), "rb") as f:
                save(folder, name, f.read())
    kinds = [(0, 10, 3, 0, 0, 0, 0, 0, 0, 0), (1, 5, 4, 2, 1, 0, 0, 0, 0, 1),
             (0, 27, 0, 0, 0, 0, 0, 0, 0, 0), (0, 25, 6, -8, 0, 0, 0, 0, 0, 1)]
    save(folder, "every_kind.ses", b"".join(zones(k) for k in kinds))


def scala_files(folder, data, tests):
    """The shipped tuning systems, the scale files of the tests, and keyboard mappings."""
    for source in (os.path.join(data, "akort"), os.path.join(tests, "data", "scala")):
        for name in sorted(os.listdir(source)):
            with open(os.path.join(source, name), "rb") as f:
                save(folder, name, f.read())
    save(folder, "linear.kbm", b"0\n0\n127\n60\n60\n262.0\n0\n")
    save(folder, "holes.kbm", b"! seven of twelve\r\n12\r\n0\r\n127\r\n60\r\n69\r\n440\r\n"
                              b"12\r\n0\r\nx\r\n2\r\nx\r\n4\r\n5\r\nx\r\n7\r\nx\r\n9\r\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    corpus = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "tests", "fuzz",
                                                               "corpus")
    workbooks(os.path.join(corpus, "workbook"))
    for name, data in wav_shapes().items():
        save(os.path.join(corpus, "sample_decode"), name, data)
        save(os.path.join(corpus, "wav_patch"), name, data)
    for name, data in NUMBER_FILES.items():
        save(os.path.join(corpus, "number_file"), name, data)
    for name, records in RECORDINGS.items():
        save(os.path.join(corpus, "recording"), name, b"".join(zones(r) for r in records))
    makam_files(os.path.join(corpus, "makam"))
    sequences(os.path.join(corpus, "sequence"), os.path.join(here, "..", "data"))
    scala_files(os.path.join(corpus, "scala"), os.path.join(here, "..", "data"),
                os.path.join(here, "..", "tests"))


if __name__ == "__main__":
    main()
