#!/usr/bin/python3
"""Writes data/dizek.xls, the tuning workbook the instrument ships with.

The tuning is an equal division of the octave into 79 degrees; degree 0 is C4 (0 cents).
One worksheet holds everything the program reads:

  B11:V17  cents of strings 1..7 at lever positions -8..12 (columns B..V)
  B21:V27  lever step shown for each of those positions
  H30,T30  captions of the two "oktav" buttons
  31..334  the degree list, degrees -107..196 in ascending order:
           A/B second place, C/D first place, E degree, F frequency (not read),
           G cents, H name, I/J third place
  X1:X26   sample correction of each string in whole cents

Everything else on the sheet (row and column labels) is for whoever edits the workbook;
the program does not read it.

Run with Debian's python3 (it has python3-xlwt):  tools/make_workbook.py [output]
"""

import os
import sys

import xlwt

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import perdes  # noqa: E402

DIVISIONS = 79
FIRST_DEGREE = -107
LAST_DEGREE = 196
FIRST_ROW = 31
LEVER_LO, LEVER_HI = -8, 12

# Degree of each natural within an octave, counted from C.
NATURALS = [("C", 0), ("D", 13), ("E", 26), ("F", 33), ("G", 46), ("A", 59), ("B", 72)]

# Home degree (lever position 0) of strings 1..26, highest string first.
HOME = {
    1: 184, 2: 171, 3: 158, 4: 151, 5: 138, 6: 125, 7: 112, 8: 105, 9: 92, 10: 79,
    11: 72, 12: 59, 13: 46, 14: 33, 15: 26, 16: 13, 17: 0, 18: -7, 19: -20, 20: -33,
    21: -46, 22: -53, 23: -66, 24: -79, 25: -86, 26: -99,
}

# Lever limits of the seven highest strings (the others reach -8..12).
TOP_LIMITS = {1: (-5, 6), 2: (-5, 8), 3: (-5, 8), 4: (-5, 8), 5: (-7, 10), 6: (-7, 10),
              7: (-7, 10)}

# Which of its fewer lever positions a step -8..12 lands on, for strings 1..7
# (row: step -8..12, column: string 1..7). The program fits transposed positions
# with the same table.
LEVER_FIT = [
    [-5, -5, -5, -5, -7, -7, -7],
    [-4, -4, -4, -4, -6, -6, -6],
    [-4, -4, -4, -4, -5, -5, -5],
    [-3, -3, -3, -3, -4, -5, -4],
    [-2, -2, -3, -2, -3, -4, -3],
    [-2, -2, -2, -2, -3, -3, -3],
    [-1, -1, -1, -1, -2, -2, -2],
    [-1, -1, -1, -1, -1, -1, -1],
    [0, 0, 0, 0, 0, 0, 0],
    [1, 1, 1, 1, 1, 1, 1],
    [1, 2, 2, 1, 2, 2, 2],
    [2, 2, 2, 2, 3, 3, 3],
    [3, 3, 3, 3, 4, 4, 3],
    [3, 4, 4, 4, 4, 4, 4],
    [4, 4, 5, 4, 5, 5, 5],
    [4, 5, 5, 5, 6, 6, 6],
    [5, 6, 6, 6, 7, 7, 7],
    [5, 6, 7, 6, 8, 8, 8],
    [6, 7, 7, 7, 8, 9, 8],
    [6, 7, 8, 7, 9, 9, 9],
    [6, 8, 8, 8, 10, 10, 10],
]

OPTION4_CAPTIONS = ("alt oktav", "üst oktav")


def cents_of(degree):
    return degree * 1200.0 / DIVISIONS


def naturals():
    """(degree, note, Pythagorean cents) of the natural notes C1..B7: the workbook's naturals
    are where the strings sit at lever 0."""
    return [(DIVISIONS * (int(note[1]) - 4) + dict(NATURALS)[note[0]], note,
             perdes.pythagorean_cents(note)) for note in perdes.natural_notes()]


def name_of(degree):
    """The perde within 5 cents, else the nearest natural with the offset in degrees:
    "Rast", "A4", "E5 −1"."""
    return perdes.degree_name(degree, cents_of(degree), naturals())


def column_letter(position):
    """Column of lever position -8..12: B..V."""
    return chr(ord("B") + position - LEVER_LO)


def mandal_step(string, position):
    """Lever step shown at a position of a top string: the step of smallest size that the
    fitting table sends to this position. Positions beyond the string's levers show
    their own number."""
    lo, hi = TOP_LIMITS[string]
    if not lo <= position <= hi:
        return position
    steps = [step for step in range(LEVER_LO, LEVER_HI + 1)
             if LEVER_FIT[step - LEVER_LO][string - 1] == position]
    if not steps:
        raise SystemExit("no step reaches position %d of string %d" % (position, string))
    return min(steps, key=lambda step: (abs(step), step))


def places_by_degree():
    """Every string and step -8..12 is a place of degree home + step. For each degree the
    places ordered first, second, third: smallest step size first, then string number."""
    places = {}
    for string, home in HOME.items():
        for step in range(LEVER_LO, LEVER_HI + 1):
            places.setdefault(home + step, []).append((abs(step), string, step))
    ordered = {}
    for degree, found in places.items():
        found.sort()
        if len(found) > 3:
            raise SystemExit("degree %d has %d places" % (degree, len(found)))
        ordered[degree] = [(string, step) for _, string, step in found]
    return ordered


def build(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("dizek")
    label = xlwt.easyxf("font: bold on")

    def put(address_row, column, value, style=None):
        col = ord(column) - ord("A")
        if style is None:
            sheet.write(address_row - 1, col, value)
        else:
            sheet.write(address_row - 1, col, value, style)

    # Top-string grids with their row and column labels.
    put(10, "A", "sent", label)
    put(20, "A", "adım", label)
    for position in range(LEVER_LO, LEVER_HI + 1):
        put(10, column_letter(position), position, label)
        put(20, column_letter(position), position, label)
    for string in range(1, 8):
        put(10 + string, "A", string, label)
        put(20 + string, "A", string, label)
        for position in range(LEVER_LO, LEVER_HI + 1):
            step = mandal_step(string, position)
            put(10 + string, column_letter(position), cents_of(HOME[string] + step))
            put(20 + string, column_letter(position), step)

    put(30, "H", OPTION4_CAPTIONS[0])
    put(30, "T", OPTION4_CAPTIONS[1])

    # Degree list.
    headings = {"A": "tel 2", "B": "mandal 2", "C": "tel 1", "D": "mandal 1", "E": "derece",
                "F": "Hz", "G": "sent", "H": "ad", "I": "tel 3", "J": "mandal 3"}
    for column, text in headings.items():
        put(29, column, text, label)
    places = places_by_degree()
    for degree in range(FIRST_DEGREE, LAST_DEGREE + 1):
        row = FIRST_ROW + degree - FIRST_DEGREE
        put(row, "E", degree)
        put(row, "F", round(262.0 * 2.0 ** (cents_of(degree) / 1200.0), 4))
        put(row, "G", cents_of(degree))
        put(row, "H", name_of(degree))
        found = places.get(degree)
        if not found:
            raise SystemExit("degree %d has no place on the instrument" % degree)
        for (string_col, pos_col), (string, step) in zip((("C", "D"), ("A", "B"), ("I", "J")),
                                                         found):
            put(row, string_col, string)
            put(row, pos_col, step)

    # Sample corrections: the shipped samples are already in tune at position 0.
    for string in range(1, 27):
        put(string, "W", "tel %d" % string, label)
        put(string, "X", 0)

    book.save(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "data", "dizek.xls")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    build(path)


if __name__ == "__main__":
    main()
