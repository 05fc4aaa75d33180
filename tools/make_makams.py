#!/usr/bin/python3
"""Writes the makam files the instrument ships with (data/makam/*.mkm) and their table in
data/README.md.

Each makam is given as its tonic and its seven steps in commas of the 53-comma octave that
Turkish makam theory counts in (Arel-Ezgi-Uzdilek): F = 1 (koma), B = 4 (bakiye),
S = 5 (küçük mücenneb), K = 8 (büyük mücenneb), T = 9 (tanini), A = 12 or 13 (artık ikili).
The naturals sit where that theory puts them: C 0, D 9, E 18, F 22, G 31, A 40, B 49.

Every string plays the scale note of its own letter. Of the lever positions a string has,
the one whose pitch lies nearest the theory's pitch is chosen (the smaller lever move on a
tie). The pitches come from the workbook generator, so files and workbook agree.

Run by hand:  tools/make_makams.py   (rewrites data/makam/ and the table in data/README.md)
"""

import os
import sys
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
# Only the workbook's pitches are needed here, not its writer.
sys.modules.setdefault("xlwt", types.ModuleType("xlwt"))
import make_workbook as wb  # noqa: E402

COMMA = 1200.0 / 53
NATURAL_COMMAS = {"C": 0, "D": 9, "E": 18, "F": 22, "G": 31, "A": 40, "B": 49}
LETTERS = "CDEFGAB"
NOTE_NAMES = ("E6 D6 C6 B5 A5 G5 F5 E5 D5 C5 B4 A4 G4 F4 E4 D4 C4 B3 A3 G3 F3 E3 D3 C3 "
              "B2 A2").split()
INTERVAL_NAMES = {1: "F", 4: "B", 5: "S", 8: "K", 9: "T", 12: "A", 13: "A"}

# Name, tonic letter, steps in commas from the tonic up to its octave.
MAKAMS = [
    ("Rast", "G", [9, 8, 5, 9, 9, 8, 5]),
    ("Uşşak", "A", [8, 5, 9, 9, 4, 9, 9]),
    ("Hüseyni", "A", [8, 5, 9, 9, 8, 5, 9]),
    ("Hicaz", "A", [5, 12, 5, 9, 8, 5, 9]),
    ("Hüzzam", "B", [5, 9, 5, 12, 5, 9, 8]),
    ("Segâh", "B", [5, 9, 9, 8, 5, 9, 8]),
    ("Saba", "A", [8, 5, 4, 13, 5, 9, 9]),
    ("Nihavend", "G", [9, 4, 9, 9, 4, 9, 9]),
    ("Kürdî", "A", [4, 9, 9, 9, 4, 9, 9]),
    ("Hicazkâr", "G", [5, 12, 5, 9, 5, 12, 5]),
    ("Karcığar", "A", [8, 5, 9, 5, 12, 5, 9]),
    ("Suzinâk", "G", [9, 8, 5, 9, 5, 12, 5]),
    ("Bûselik", "A", [9, 4, 9, 9, 4, 9, 9]),
    ("Mahur", "G", [9, 9, 4, 9, 9, 9, 4]),
    ("Çârgâh", "C", [9, 9, 4, 9, 9, 9, 4]),
]


def scale_commas(tonic, steps):
    """Comma position above C (0..52 plus octaves) of each letter's scale note."""
    if sum(steps) != 53:
        raise SystemExit("steps of %s do not fill an octave" % tonic)
    start = LETTERS.index(tonic)
    position = NATURAL_COMMAS[tonic]
    notes = {}
    for i in range(7):
        letter = LETTERS[(start + i) % 7]
        # Letters below the tonic in C-based order belong to the next octave up.
        notes[letter] = position - (53 if (start + i) >= 7 else 0)
        position += steps[i]
    return notes


def string_choices(string):
    """(position, degree, cents) of every lever position of a string."""
    lo, hi = wb.TOP_LIMITS.get(string, (wb.LEVER_LO, wb.LEVER_HI))
    for position in range(lo, hi + 1):
        step = wb.mandal_step(string, position) if string <= 7 else position
        degree = wb.HOME[string] + step
        yield position, degree, wb.cents_of(degree)


def target_cents(string, notes):
    name = NOTE_NAMES[string - 1]
    return (int(name[1]) - 4) * 1200 + notes[name[0]] * COMMA


def lever_setting(notes):
    setting = []
    for string in range(1, 27):
        target = target_cents(string, notes)
        best = min(string_choices(string),
                   key=lambda c: (round(abs(c[2] - target), 9), abs(c[0])))
        setting.append((best[0], best[1], best[2], best[2] - target))
    return setting


def makam_text(positions):
    return "".join(("%d " % p if p < 0 else " %d " % p) + "\r\n" for p in positions)


def table(rows):
    """One row per makam for the strings 8..26 octave C4..B4 (strings 17..11): the pitches
    the lower 19 strings play repeat it in every octave; strings 1..7 pick from fewer
    positions and are listed when they differ."""
    lines = [
        "| Makam | Tonic | Steps (commas) | Note | Degree | Cents | Theory | Error |",
        "|---|---|---|---|---|---|---|---|",
    ]
    for name, tonic, steps, notes, setting in rows:
        first = True
        for letter in LETTERS:
            string = NOTE_NAMES.index(letter + "4") + 1
            position, degree, cents, error = setting[string - 1]
            theory = cents - error
            lines.append("| %s | %s | %s | %s4 | %d | %.1f | %.1f | %+.1f |" % (
                name if first else "", tonic if first else "",
                " ".join("%s%d" % (INTERVAL_NAMES[s], s) for s in steps) if first else "",
                letter, degree, cents, theory, error))
            first = False
    return "\n".join(lines) + "\n"


def top_table(rows):
    lines = ["| Makam | " + " | ".join(NOTE_NAMES[:7]) + " |",
             "|---|" + "---|" * 7]
    for name, _, _, _, setting in rows:
        cells = ["%d: %.1f (%+.1f)" % (s[0], s[2], s[3]) for s in setting[:7]]
        lines.append("| %s | %s |" % (name, " | ".join(cells)))
    return "\n".join(lines) + "\n"


def main():
    data = os.path.join(HERE, "..", "data")
    folder = os.path.join(data, "makam")
    os.makedirs(folder, exist_ok=True)
    rows = []
    for name, tonic, steps in MAKAMS:
        notes = scale_commas(tonic, steps)
        setting = lever_setting(notes)
        with open(os.path.join(folder, name + ".mkm"), "w", newline="", encoding="ascii") as f:
            f.write(makam_text([s[0] for s in setting]))
        rows.append((name, tonic, steps, notes, setting))
    readme = os.path.join(data, "README.md")
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    begin, end = "<!-- makam table -->\n", "<!-- end of makam table -->\n"
    head, rest = text.split(begin)
    _, tail = rest.split(end)
    body = (table(rows) + "\nStrings 1..7 (E6..F5) have fewer lever positions; each cell gives "
            "the position, the cents it plays and the error against the theory:\n\n"
            + top_table(rows))
    with open(readme, "w", encoding="utf-8") as f:
        f.write(head + begin + body + end + tail)


if __name__ == "__main__":
    main()
