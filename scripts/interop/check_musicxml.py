#!/usr/bin/python3
"""MuseScore 3 reads ORVENA's MusicXML exports.

For every sequence file given: ORVENA exports it to MusicXML, MuseScore (headless) renders
it to PNG and exports it to MusicXML again. MuseScore's file must hold the same notes (staff
places), rests and durations in the same order, the same tempo, the step counts printed
above notes, and every accidental MuseScore keeps: the Arel-Ezgi-Uzdilek "slash-" signs and
the naturals. MuseScore 3 reads <alter> only as whole semitones (it logs "invalid alter" for
an exact microtonal one and holds the note as its natural), so it redraws a plain sharp or
flat of a fractional alter as nothing; those, and the numbered signs it does not know, are
counted and listed, not compared.

Usage: check_musicxml.py ORVENA WORK_FOLDER PICTURE_FOLDER MELODY.ses...
"""

import os
import subprocess
import sys
import xml.etree.ElementTree as ET
from fractions import Fraction

KEPT = {"slash-quarter-sharp", "slash-sharp", "slash-flat", "double-slash-flat", "natural"}


def mscore(source, target):
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["mscore3", "-o", target, source], check=True, env=environment,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_score(path):
    """(notes, tempo, words): each note or rest as (place or "rest", quarters, accidental,
    alter text), in order; the tempo of the first <sound>; the texts of <words>."""
    root = ET.parse(path).getroot()
    notes, divisions = [], None
    for measure in root.iter("measure"):
        d = measure.find("attributes/divisions")
        if d is not None:
            divisions = int(d.text)
        for n in measure.findall("note"):
            quarters = Fraction(int(n.find("duration").text), divisions)
            accidental = n.findtext("accidental")
            if n.find("rest") is not None:
                notes.append(("rest", quarters, None, None))
            else:
                place = n.findtext("pitch/step") + n.findtext("pitch/octave")
                notes.append((place, quarters, accidental, n.findtext("pitch/alter")))
    sound = root.find(".//sound[@tempo]")
    tempo = float(sound.get("tempo")) if sound is not None else None
    words = sorted(w.text for w in root.iter("words") if w.text and w.text[0] in "+-")
    return notes, tempo, words


def whole(alter):
    return alter is None or float(alter) == int(float(alter))


def compare(name, ours, theirs):
    (our_notes, our_tempo, our_words), (their_notes, their_tempo, their_words) = ours, theirs
    faults, unkept = [], {}
    if len(our_notes) != len(their_notes):
        faults.append("%d notes and rests, MuseScore %d" % (len(our_notes), len(their_notes)))
    for i, (a, b) in enumerate(zip(our_notes, their_notes)):
        if a[:2] != b[:2]:
            faults.append("note %d: %s %s, MuseScore %s %s" % (i + 1, a[0], a[1], b[0], b[1]))
        if a[2] in KEPT or (a[2] in ("sharp", "flat") and whole(a[3])) or \
                (a[2] is None and b[2] is not None):
            if a[2] != b[2]:
                faults.append("note %d (%s): accidental %s, MuseScore %s" % (i + 1, a[0], a[2], b[2]))
        elif a[2] is not None:
            unkept[a[2]] = unkept.get(a[2], 0) + 1
    if our_tempo is None or their_tempo is None or abs(our_tempo - their_tempo) > 0.01:
        faults.append("tempo %s, MuseScore %s" % (our_tempo, their_tempo))
    if our_words != their_words:
        faults.append("step counts %s, MuseScore %s" % (our_words, their_words))
    kept = sum(1 for a in our_notes if a[2] in KEPT)
    print("%s %s: %d notes and rests, %d accidentals kept%s"
          % ("FAIL" if faults else "ok  ", name, len(our_notes), kept,
             "; not drawn by MuseScore: " + ", ".join("%s x%d" % kv for kv in sorted(unkept.items()))
             if unkept else ""))
    for fault in faults:
        print("  " + fault)
    return not faults


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    orvena, work, pictures, melodies = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    os.makedirs(pictures, exist_ok=True)
    results = []
    for melody in melodies:
        name = os.path.splitext(os.path.basename(melody))[0]
        ours = os.path.join(work, name + ".musicxml")
        theirs = os.path.join(work, name + "-musescore.musicxml")
        subprocess.run([orvena, "--export-musicxml", melody, ours], check=True,
                       stdout=subprocess.DEVNULL)
        mscore(ours, os.path.join(pictures, name + ".png"))
        mscore(ours, theirs)
        results.append(compare(name, read_score(ours), read_score(theirs)))
    print("MuseScore's pages: " + pictures)
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
