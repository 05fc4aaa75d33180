#!/usr/bin/python3
"""Writes the tuning systems the instrument ships with (data/akort/*.scl, Scala scale files)
and their tables in data/README.md.

The systems, each from its definition:

  12-TET   twelve equal semitones of 100 cents
  24-AEU   the 24 tones of the Arel-Ezgi-Uzdilek system: the perdes of one octave at their
           comma counts above Çârgâh (C), each tuned to its Pythagorean position, the pitch
           of the chain of pure fifths (3/2) that the 53-comma octave counts (n fifths give
           31 n commas, so the comma count c is n = 12 c mod 53, taken from -26..26)
  41-EDO, 53-EDO (the Holdrian comma), 72-EDO   equal divisions of the octave
  79-EDO   the equal division of the octave into 79 degrees the shipped workbook uses

The program places a scale on the strings by one rule, which the tables below follow: each
string's lever 0 sits on the degree nearest its natural note in Pythagorean intonation above
C4 (of two equally near, the lower), lever position p p degrees above it.

The makam table measures each shipped makam file against the 53-comma theory under every
system: the seven steps of the octave C4..C5 (strings 17..10) that the makam's levers give,
each against the theory's step in commas (one comma = 1200/53 cents).

Run by hand:  tools/make_tunings.py   (rewrites data/akort/ and the tables in data/README.md)
"""

import math
import os
import sys
import types

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
# Only the workbook's pitches and the makams' steps are needed, not the writers.
sys.modules.setdefault("xlwt", types.ModuleType("xlwt"))
import make_makams as mk  # noqa: E402
import make_workbook as wb  # noqa: E402
import perdes  # noqa: E402

AEU_COMMAS = [0, 4, 5, 8, 9, 13, 14, 17, 18, 22, 23, 26, 27, 30, 31, 35, 36, 39, 40, 44, 45,
              48, 49, 52]
STRING_NOTES = mk.NOTE_NAMES  # string 1..26, highest first
OCTAVE_STRINGS = [17, 16, 15, 14, 13, 12, 11, 10]  # C4 D4 E4 F4 G4 A4 B4 C5


def equal(divisions):
    return [("%.6f" % (1200.0 * i / divisions), 1200.0 * i / divisions)
            for i in range(1, divisions)] + [("2/1", 1200.0)]


def pythagorean_ratio(commas):
    """The ratio of n pure fifths folded into the octave, n = 12 * commas mod 53 in -26..26."""
    n = (12 * commas) % 53
    if n > 26:
        n -= 53
    num, den = (3 ** n, 1) if n >= 0 else (1, 3 ** -n)
    while num < den:
        num *= 2
    while num >= 2 * den:
        den *= 2
    return num, den


def aeu():
    lines = []
    for c in AEU_COMMAS[1:]:
        num, den = pythagorean_ratio(c)
        g = math.gcd(num, den)
        num, den = num // g, den // g
        lines.append(("%d/%d" % (num, den), 1200.0 * math.log2(num / den)))
    return lines + [("2/1", 1200.0)]


SYSTEMS = [
    ("12-TET", "12 eşit yarım ses (12-TET)", "twelve equal semitones of 100 cents", equal(12)),
    ("24-AEU", "Arel-Ezgi-Uzdilek 24 perde, Pisagor konumları",
     "the 24 perdes of Arel-Ezgi-Uzdilek at their Pythagorean positions (ratios of pure "
     "fifths; within 1.2 cents of the 53-comma octave)", aeu()),
    ("41-EDO", "41 eşit aralık (41-EDO)", "41 equal degrees of 29.27 cents", equal(41)),
    ("53-EDO", "53 eşit koma (Holder koması)", "53 equal commas of 22.64 cents (the Holdrian "
     "comma)", equal(53)),
    ("72-EDO", "72 eşit aralık (72-EDO)", "72 equal degrees of 16.67 cents", equal(72)),
    ("79-EDO", "79 eşit aralık, dizek.xls bölümü", "79 equal degrees of 15.19 cents, the "
     "division of the shipped workbook", equal(79)),
]


def scl_text(name, description, pitches):
    lines = ["! %s.scl" % name, "!", description, " %d" % len(pitches), "!"]
    lines += [" " + text for text, _ in pitches]
    return "\r\n".join(lines) + "\r\n"


class Scale:
    def __init__(self, pitches):
        self.cents = [c for _, c in pitches]
        self.count = len(self.cents)
        self.period = self.cents[-1]

    def degree_cents(self, k):
        periods, within = divmod(k, self.count)
        return periods * self.period + (0.0 if within == 0 else self.cents[within - 1])

    def nearest(self, cents):
        first = math.floor(cents / self.period) * self.count - 1
        return min(range(first, first + self.count + 3),
                   key=lambda k: (abs(self.degree_cents(k) - cents), k))


def system_pitch(scale):
    """Cents of (string, position) under a scale system."""
    homes = {s: scale.nearest(perdes.pythagorean_cents(STRING_NOTES[s - 1]))
             for s in range(1, 27)}
    return lambda s, p: scale.degree_cents(homes[s] + p)


def workbook_pitch(s, p):
    return wb.cents_of(wb.HOME[s] + (wb.mandal_step(s, p) if s <= 7 else p))


def read_makam(name):
    path = os.path.join(HERE, "..", "data", "makam", name + ".mkm")
    with open(path, encoding="ascii") as f:
        return [int(v) for v in f.read().split()]


def interval_error(pitch, levers, notes):
    """Largest error of the seven steps C4..C5 against the theory, in cents."""
    worst = 0.0
    for low, high in zip(OCTAVE_STRINGS, OCTAVE_STRINGS[1:]):
        played = pitch(high, levers[high - 1]) - pitch(low, levers[low - 1])
        a, b = STRING_NOTES[low - 1][0], STRING_NOTES[high - 1][0]
        theory = ((notes[b] - notes[a]) % 53) * perdes.COMMA
        worst = max(worst, abs(played - theory), key=abs)
    return worst


def systems_table():
    lines = ["| File | Definition | Degrees per octave | Lever 0 of C4 D4 E4 F4 G4 A4 B4 "
             "(degree: cents) |", "|---|---|---|---|"]
    for name, _, definition, pitches in SYSTEMS:
        scale = Scale(pitches)
        homes = " ".join("%d: %.1f" % (scale.nearest(perdes.pythagorean_cents(n)),
                                       scale.degree_cents(scale.nearest(
                                           perdes.pythagorean_cents(n))))
                         for n in ("C4", "D4", "E4", "F4", "G4", "A4", "B4"))
        lines.append("| `akort/%s.scl` | %s | %d | %s |" % (name, definition, scale.count,
                                                           homes))
    return "\n".join(lines) + "\n"


def makam_table():
    pitches = [("dizek.xls", workbook_pitch)] + [
        (name, system_pitch(Scale(p))) for name, _, _, p in SYSTEMS]
    lines = ["| Makam | " + " | ".join(n for n, _ in pitches) + " |",
             "|---|" + "---|" * len(pitches)]
    for name, tonic, steps in mk.MAKAMS:
        notes = mk.scale_commas(tonic, steps)
        levers = read_makam(name)
        cells = ["%.1f" % interval_error(pitch, levers, notes) for _, pitch in pitches]
        lines.append("| %s | %s |" % (name, " | ".join(cells)))
    return "\n".join(lines) + "\n"


def replace_between(text, begin, end, body):
    head, rest = text.split(begin)
    _, tail = rest.split(end)
    return head + begin + body + end + tail


def main():
    folder = os.path.join(HERE, "..", "data", "akort")
    os.makedirs(folder, exist_ok=True)
    for name, description, _, pitches in SYSTEMS:
        with open(os.path.join(folder, name + ".scl"), "w", newline="", encoding="utf-8") as f:
            f.write(scl_text(name, description, pitches))
    readme = os.path.join(HERE, "..", "data", "README.md")
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    text = replace_between(text, "<!-- tuning systems -->\n", "<!-- end of tuning systems -->\n",
                           systems_table())
    text = replace_between(text, "<!-- makam errors -->\n", "<!-- end of makam errors -->\n",
                           makam_table())
    with open(readme, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
