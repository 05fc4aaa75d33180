"""Names of the degrees of a tuning system, shared by the generators of the shipped workbook
and tuning systems (the program names the degrees of a Scala scale by the same rule):

- a degree within 5 cents of a perde of the 53-comma theory (one comma = 1200/53 cents,
  Kaba Çârgâh = C4) carries that perde's Turkish name;
- any other degree is named after the natural note nearest in degrees, with the signed
  number of degrees from it ("E5", "E5 +2", "E5 −1"); of two naturals equally far in
  degrees, the one nearer in pitch, then the lower.
"""

import math

COMMA = 1200.0 / 53
TOLERANCE = 5.0
LETTERS = "CDEFGAB"
PYTHAGOREAN = {"C": (1, 1), "D": (9, 8), "E": (81, 64), "F": (4, 3), "G": (3, 2),
               "A": (27, 16), "B": (243, 128)}

# Commas above the octave's Çârgâh (C), the name from Kaba Çârgâh (C4) and from Çârgâh (C5).
PERDES = [
    (0, "Kaba Çârgâh", "Çârgâh"), (4, "Kaba Nim Hicaz", "Nim Hicaz"),
    (5, "Kaba Hicaz", "Hicaz"), (8, "Kaba Dik Hicaz", "Dik Hicaz"), (9, "Yegâh", "Nevâ"),
    (13, "Kaba Nim Hisar", "Nim Hisar"), (14, "Kaba Hisar", "Hisar"),
    (17, "Kaba Dik Hisar", "Dik Hisar"), (18, "Hüseynî Aşîrân", "Hüseynî"),
    (22, "Acem Aşîrân", "Acem"), (23, "Dik Acem Aşîrân", "Dik Acem"), (26, "Irak", "Eviç"),
    (27, "Geveşt", "Mahur"), (30, "Dik Geveşt", "Dik Mahur"), (31, "Rast", "Gerdâniye"),
    (35, "Nim Zirgüle", "Nim Şehnaz"), (36, "Zirgüle", "Şehnaz"),
    (39, "Dik Zirgüle", "Dik Şehnaz"), (40, "Dügâh", "Muhayyer"), (44, "Kürdî", "Sünbüle"),
    (45, "Dik Kürdî", "Dik Sünbüle"), (48, "Segâh", "Tiz Segâh"),
    (49, "Bûselik", "Tiz Bûselik"), (52, "Dik Bûselik", "Tiz Dik Bûselik"),
]
# Below Kaba Çârgâh the names from Rast (G3) up take "Kaba"; above Çârgâh's octave, the
# names up to Gerdâniye (G6) take "Tiz".
FIRST_KABA, LAST_TIZ = 31, 31


def pythagorean_cents(note):
    """Cents above C4 of a natural note such as "E6"."""
    num, den = PYTHAGOREAN[note[0]]
    return 1200.0 * (int(note[1]) - 4) + 1200.0 * math.log2(num / den)


def perde_name(cents):
    commas = round(cents / COMMA)
    if abs(cents - commas * COMMA) > TOLERANCE:
        return None
    octave, within = divmod(commas, 53)
    for at, low, high in PERDES:
        if at != within:
            continue
        if octave == -1 and within >= FIRST_KABA:
            return "Kaba " + low
        if octave == 0:
            return low
        if octave == 1:
            return high
        if octave == 2 and within <= LAST_TIZ:
            return "Tiz " + high
    return None


def natural_notes():
    return ["%s%d" % (letter, octave) for octave in range(1, 8) for letter in LETTERS]


def note_name(degree, cents, naturals):
    """naturals: (degree, note, Pythagorean cents), lowest first."""
    best = min(naturals, key=lambda n: (abs(degree - n[0]), abs(cents - n[2])))
    offset = degree - best[0]
    if offset == 0:
        return best[1]
    return "%s %s%d" % (best[1], "+" if offset > 0 else "\u2212", abs(offset))


def degree_name(degree, cents, naturals, perdes=True):
    return (perdes and perde_name(cents)) or note_name(degree, cents, naturals)
