#!/usr/bin/python3
"""The analysis of bench/tuning_pitch.sh: for each note played (string, lever, clock reading;
the first line holds the clock when the recording started), the pitch measured by the
harness's pitch.py against the pitch the system gives the place: the workbook's table, or a
scale placed by the program's rule (each string's lever 0 on the degree nearest its
Pythagorean natural, one degree per lever).

tuning_pitch.py PITCH_PY PROGRAM_FOLDER SYSTEM NOTES REC_WAV
"""

import json
import math
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
import make_tunings as mt  # noqa: E402
import perdes  # noqa: E402

C4_HZ = 262.0


def scale_of(path):
    """Pitches of a .scl file as (text, cents) pairs, read by the Scala rules."""
    lines = [l.strip() for l in open(path, encoding="utf-8", errors="replace")
             if not l.startswith("!")]
    count = int(lines[1].split()[0])
    pitches = []
    for line in lines[2:2 + count]:
        word = line.split()[0]
        if "." in word:
            pitches.append((word, float(word)))
        else:
            num, _, den = word.partition("/")
            pitches.append((word, 1200 * math.log2(int(num) / int(den or 1))))
    return mt.Scale(pitches)


def expected(folder, system, string, lever):
    if system == "dizek.xls":
        return mt.workbook_pitch(string, lever)
    scale = scale_of(os.path.join(folder, system))
    return mt.system_pitch(scale)(string, lever)


def run_pitch(pitch_py, wav, start, dur, hz):
    out = subprocess.run([pitch_py, wav, "--start", "%.3f" % start, "--dur", "%.3f" % dur,
                          "--expect", "%.6f" % hz, "--json"], capture_output=True, text=True)
    return json.loads(out.stdout) if out.returncode == 0 else None


def measure(pitch_py, wav, at, hz):
    """pitch.py on the note: from its own attack (the last onset of the step, so a key the
    busy desktop delivered late is still measured on its note alone) in a window without a
    dropout (a gap of digital silence, which bends the estimate); None when every window
    has one."""
    step = run_pitch(pitch_py, wav, at, 1.95, hz)
    onsets = [o / 1000.0 for o in (step or {}).get("onsets_ms", []) if o / 1000.0 < at + 1.8]
    attack = onsets[-1] if onsets else at
    for offset in (0.05, 0.35, 0.6):
        res = run_pitch(pitch_py, wav, attack + offset, 0.25, hz)
        if res and not res.get("gaps"):
            return res
    return None


def main():
    pitch_py, folder, system, notes, wav = sys.argv[1:6]
    worst = 0.0
    lines = open(notes).read().split("\n")
    start = float(lines[0].split()[1])
    for line in filter(None, lines[1:]):
        string, lever, clock = line.split()
        string, lever, at = int(string), int(lever), float(clock) - start
        cents = expected(folder, system, string, lever)
        hz = C4_HZ * 2 ** (cents / 1200)
        res = measure(pitch_py, wav, at, hz)
        error = res.get("cents_vs_expect") if res else None
        if error is None:
            print("%-12s string %2d lever %+d  no pitch without a dropout" % (system, string, lever))
            worst = math.inf
            continue
        worst = max(worst, abs(error))
        print("%-12s string %2d lever %+d  table %9.3f cents %10.4f Hz  measured %10.4f Hz  "
              "error %+.3f cents" % (system, string, lever, cents, hz, res["f0_hz"], error))
    print("%-12s largest error %.3f cents (target 0.5)" % (system, worst))


if __name__ == "__main__":
    main()
