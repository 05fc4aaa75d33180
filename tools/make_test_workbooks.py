#!/usr/bin/python3
"""Writes the small workbooks the import tests read (tests/data/workbooks/*.xls).

Each workbook holds only the cells its test is about; every other cell is empty, which the
import reads as 0 or as empty text. The tests need no Python: the files are committed.

  conversions.xls        numbers, texts and places that the import must convert or place
  bad_*.xls              one bad cell each (see BAD below)
  not_a_workbook.xls     a text file with an .xls name
  truncated.xls          a real workbook cut off in the middle

Run with Debian's python3 (it has python3-xlwt):  tools/make_test_workbooks.py [folder]
"""

import io
import os
import sys

import xlwt


def workbook(cells):
    """A one-sheet workbook from {"B11": value, ...}; returns its bytes. A value given as
    (number, format) is written with that number format."""
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("dizek")
    for address, value in cells.items():
        column = ord(address[0]) - ord("A")
        row = int(address[1:]) - 1
        if isinstance(value, tuple):
            sheet.write(row, column, value[0], xlwt.easyxf(num_format_str=value[1]))
        else:
            sheet.write(row, column, value)
    out = io.BytesIO()
    book.save(out)
    return out.getvalue()


CONVERSIONS = {
    # Grid cents (Double) and steps (Integer, ties to even), some as text.
    "B11": 0.1,
    "C11": "1.5e2",
    "D11": " -12.25 ",
    "N12": 444.25,          # string 2, position 4: the degree list names it too
    "H13": 77.5,            # string 3, position -2: likewise
    "G11": (100.5, "YYYY-MM-DD hh:mm:ss"),  # a number shown as a date is still a number
    "B21": 2.5,
    "C21": 3.5,
    "D21": -2.5,
    "E21": "7.5",
    "F21": -3.5,
    # Only the first place (C/D); G needs more digits than single precision holds; H too long.
    "E31": 5, "G31": 701.955001, "H31": "Bu ad otuz karakterden çok daha uzun bir addır",
    "C31": 8, "D31": 3,
    # A short name with Turkish letters.
    "E32": 6, "G32": 100, "H32": "Çığ şölen",
    # Two rows name place (9, 1): the later row's cents stay, the higher degree stays.
    "E33": 10, "G33": 200, "C33": 9, "D33": 1,
    "E34": -3, "G34": 300, "C34": 9, "D34": 1,
    # Places on top strings keep the grid cents but get the degree.
    "E35": 20, "G35": 999, "C35": 2, "D35": 4, "A35": 3, "B35": -2,
    # All three places, one at position 13 beyond the levers.
    "E36": 30, "G36": 30, "A36": 10, "B36": -8, "C36": 11, "D36": 0, "I36": 12, "J36": 13,
    # Numbers written as text convert; a number in the name column becomes its text.
    "E37": "40", "G37": " 12.75 ", "H37": 1.5, "C37": "13", "D37": "2.5",
    # The last row has no degree number: it describes degree 0.
    "G334": 12.5, "H334": "sıfır", "C334": 14, "D334": 0,
    # Sample corrections: X1 empty.
    "X2": 5, "X3": "7", "X4": -12.5, "X5": (0.75, "hh:mm:ss"),
    # Captions: T30 empty.
    "H30": "aşağı",
}

BAD = {
    "bad_text_in_number.xls": {"E40": 12, "G40": "yüz"},
    "bad_integer_range.xls": {"E35": 1, "C35": 8, "D35": 32767.5},
    "bad_degree.xls": {"E31": 1, "E32": 201},
    "bad_string.xls": {"E33": 2, "A33": 27, "B33": 0},
    "bad_position.xls": {"E32": 3, "C32": 10, "D32": 14},
    # A top string does not index the cents table, so this one shows when the places are set.
    "bad_position_top.xls": {"E36": 50, "I36": 3, "J36": -13},
    "bad_single.xls": {"E45": 4, "G45": 1e39},
    # Reads fine, but the sample rate of string 7 would not fit in 32 bits.
    "bad_rate.xls": {"X7": 20000},
    # Text that only starts like a number, and a decimal comma, are not numbers.
    "bad_number_suffix.xls": {"E40": 12, "G40": "12abc"},
    "bad_decimal_comma.xls": {"X3": "1,5"},
    # Pitches whose sample rate would not fit: a grid cell of a top string, the home
    # position of a top string (the other positions then lie far above it), and a place
    # set by the degree list.
    "bad_rate_grid.xls": {"B11": 40000},
    "bad_rate_home.xls": {"J11": -40000},
    "bad_rate_degree.xls": {"E31": 5, "G31": 40000, "C31": 9, "D31": 2},
    # Sample rates no sample can be played at: 0 Hz, above the writer's 1 000 000 Hz, and a
    # lever position whose pitch lies seven octaves above its string's home.
    "bad_rate_zero.xls": {"X5": -20000},
    "bad_rate_high.xls": {"X5": 6000},
    "bad_rate_position.xls": {"E31": 1, "G31": 9000, "C31": 12, "D31": 1},
    # Every grid cell of string 1 so high that no frequency can be computed from it.
    "bad_cents_huge.xls": {c + "11": 1e300 for c in "BCDEFGHIJKLMNOPQRSTUV"},
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "tests", "data", "workbooks")
    os.makedirs(folder, exist_ok=True)

    def save(name, data):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)

    save("conversions.xls", workbook(CONVERSIONS))
    for name, cells in BAD.items():
        save(name, workbook(cells))
    save("not_a_workbook.xls", "derece;sent;ad\r\n0;0;C4\r\n".encode("utf-8"))
    whole = workbook(CONVERSIONS)
    save("truncated.xls", whole[: len(whole) // 2])


if __name__ == "__main__":
    main()
