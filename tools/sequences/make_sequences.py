#!/usr/bin/python3
"""Writes the example melodies of data/*.ses from the short note lists below.

Every melody is our own composition, written for this instrument in one makam of the
shipped tuning (79 equal degrees to the octave, one lever step is one degree, about 15.2
cents). A note is written as its name with an optional lever and note value:

    A4          A4 at lever 0, for the note value in force
    B4-1/8      B4 one degree lower (the segah of rast), an eighth
    C5+6/4.     C5 six degrees higher (the sharp of hicaz), a dotted quarter
    ~D5/8       an eighth of a triplet
    r/4         a quarter rest (rests of /1 to /32)

Note values: /1 whole, /2 half, /4 quarter, /8 eighth, /16 sixteenth, /32 thirty-second; a
value stays in force until the next one. Bars ("|") are only for the reader.

Each note becomes one line of ten numbers: triplet flag, pitch code, length code, lever,
dot flag, four unused zeros, and the accidental flag (1 when the note has a lever of its
own), joined by commas and ended by CR LF.

Run with Debian's python3:  tools/sequences/make_sequences.py [output folder]
Also writes a steady measurement melody of 100 notes with --measure FILE.
"""

import os
import re
import sys

# Pitch codes of the notes: codes 0..14 are strings 4..18 (B5 down to B3), codes 22..25
# are strings 19..22 (A3 down to E3).
NAMES_HIGH = ["B5", "A5", "G5", "F5", "E5", "D5", "C5", "B4", "A4", "G4", "F4", "E4", "D4",
              "C4", "B3"]
PITCH_CODE = {name: code for code, name in enumerate(NAMES_HIGH)}
PITCH_CODE.update({"A3": 22, "G3": 23, "F3": 24, "E3": 25})
# The seven highest strings have fewer levers; our melodies sound them only at lever 0.
TOP_STRING_NOTES = {"B5", "A5", "G5", "F5"}

LENGTH_CODE = {1: 1, 2: 2, 4: 3, 8: 4, 16: 5, 32: 6}
REST_CODE = {32: 26, 16: 27, 8: 28, 4: 29, 2: 30, 1: 31}

TOKEN = re.compile(r"^(~?)(r|[A-G][3-5])([+-]\d+)?(?:/(\d+)(\.?))?$")

MELODIES = {
    "rast": """
        G4/4 A4/8 B4-1/8 C5/4 D5/4 | C5/8 B4-1/8 A4/8 B4-1/8 C5/4 r/4 |
        D5/8. E5/16 D5/8 C5/8 B4-1/8 A4/8 G4/4 | A4/8 B4-1/8 A4/8 G4/8 F4+5/4 G4/4 |
        D5/8 C5/8 B4-1/8 A4/8 B4-1/8. C5/16 A4/8 F4+5/8 | G4/2. r/4
    """,
    "ussak": """
        A4/8 B4-1/8 C5/8 D5/8 C5/4 B4-1/4 | A4/8 B4-1/8 C5/8 B4-1/8 A4/8 G4/8 A4/4 |
        D5/8. C5/16 B4-1/8 C5/8 D5/4 E5/4 | D5/8 C5/8 B4-1/8 A4/8 G4/4 r/8 G4/8 |
        A4/8 B4-1/8 C5/8 B4-1/8 A4/2
    """,
    "hicaz": """
        A4/4 B4-6/8 C5+6/8 D5/4 C5+6/8 B4-6/8 | A4/8 B4-6/8 C5+6/8 D5/8 E5/4 D5/4 |
        ~E5/8 ~D5 ~C5+6 ~D5 ~C5+6 ~B4-6 A4/4 r/4 | G4/8 A4/8 B4-6/8 C5+6/8 B4-6/4 A4/4 |
        D5/8 C5+6/8 B4-6/8 A4/8 G4/8 F4+5/8 G4/8 B4-6/8 | A4/2 r/2
    """,
    "kurdi": """
        A4/8 B4-7/8 C5/8 D5/8 E5/4 D5/8 C5/8 | B4-7/4 A4/4 r/4 C5/8 B4-7/8 |
        A4/8. B4-7/16 C5/8 D5/8 C5/8 B4-7/8 A4/8 G4/8 | F4/8 G4/8 A4/8 B4-7/8 A4/4 G4/4 |
        A4/8 B4-7/8 G4/8 F4/8 E4/4 F4/8 G4/8 | A4/2.
    """,
    "saba": """
        A4/8 B4-1/8 C5/8 D5-4/8 C5/4 B4-1/8 A4/8 | B4-1/8 C5/8 D5-4/8 E5/8 F5/4 E5/8 D5-4/8 |
        C5/16 D5-4/16 C5/16 B4-1/16 A4/8 B4-1/8 C5/4 B4-1/4 | ~A4/8 ~B4-1 ~C5 ~B4-1 ~A4 ~G4 A4/4 r/4 |
        r/8 G4/8 A4/8 B4-1/8 C5/8 B4-1/8 A4/4 | A4/2
    """,
    "nihavend": """
        G4/8 A4/8 B4-7/8 C5/8 D5/4 E5-7/8 D5/8 | C5/8 B4-7/8 A4/8 B4-7/8 G4/4 r/4 |
        D5/8 E5-7/8 F5/8 G5/8 F5/8 E5-7/8 D5/8 C5/8 | B4-7/4. A4/8 G4/4 F4/8 E4-7/8 |
        D4/8. E4-7/16 F4/8 G4/8 A4/8 B4-7/8 A4/8 F4/8 | G4/1
    """,
    "huseyni": """
        E4/8 F4+5/8 G4/8 A4/8 B4-1/4 C5/8 B4-1/8 | A4/8 G4/8 F4+5/8 E4/8 F4+5/4 G4/4 |
        A4/8 B4-1/8 C5/8 D5/8 E5/4. D5/8 | C5/16 D5/16 C5/16 B4-1/16 A4/8 G4/8 A4/4 r/4 |
        E5/8 D5/8 C5/8 B4-1/8 A4/8 G4/8 F4+5/8 E4/8 | F4+5/8 G4/8 A4/4 A4/2
    """,
}


def records(melody):
    """The ten numbers of each note of a melody."""
    value, out = 4, []
    for token in melody.replace("|", " ").split():
        m = TOKEN.match(token)
        if not m:
            raise SystemExit("cannot read %r" % token)
        triplet, name, lever, length, dot = m.groups()
        if length:
            value = int(length)
            dotted = dot == "."
        elif not out:
            dotted = False
        lever = int(lever or 0)
        if name == "r":
            out.append([0, REST_CODE[value], 0, 0, 0, 0, 0, 0, 0, 0])
            continue
        if name not in PITCH_CODE:
            raise SystemExit("%s has no string" % name)
        if lever and name in TOP_STRING_NOTES:
            raise SystemExit("%s: the top strings are sounded at lever 0 only" % token)
        out.append([1 if triplet else 0, PITCH_CODE[name], LENGTH_CODE[value], lever,
                    1 if dotted else 0, 0, 0, 0, 0, 1 if lever else 0])
    return out


def text_of(rows):
    return "".join(",".join(str(n) for n in row) + "\r\n" for row in rows)


def measurement_melody():
    """100 sixteenth notes walking up and down A3..E5 at lever 0, each followed by a
    sixteenth rest, so that every note starts out of silence: a steady beat to time."""
    names = ["A3", "B3", "C4", "D4", "E4", "F4", "G4", "A4", "B4", "C5", "D5", "E5"]
    walk = names + names[-2:0:-1]
    return " ".join(walk[i % len(walk)] + "/16 r/16" for i in range(100))


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--measure":
        with open(args[1], "w", newline="") as f:
            f.write(text_of(records(measurement_melody())))
        return
    here = os.path.dirname(os.path.abspath(__file__))
    folder = args[0] if args else os.path.join(here, "..", "..", "data")
    for name, melody in MELODIES.items():
        with open(os.path.join(folder, name + ".ses"), "w", newline="") as f:
            f.write(text_of(records(melody)))


if __name__ == "__main__":
    main()
