#!/usr/bin/python3
"""Per-note onset errors heard in a recording.

    onset_errors.py REC.wav SCHEDULE [--harness DIR] [--timing REC.wav.json] [--json]

SCHEDULE holds the time each note was due, in ms from the first note, one per line. The
first note follows silence: the harness's pitch.py finds it. Every later note cuts the one
before it and starts in the same frame, so its level need not rise: it is found as the first
frame, near its due time, that the sound before it does not predict. A linear predictor
fitted to the sounding note (which is nearly periodic) predicts it to within its noise; the
new note's attack and the old one's fade both break the prediction at once. The error of a
note is its onset minus the first onset minus its due time. A note whose search window holds
a dropout (digital silence) is not measured. The harness's null sink plays up to a few hundred
ppm fast of the steady clock; with --timing (record.sh's BB_REC_TIMING file) the recording's
frames are counted in the steady clock's time, as a listener would hear them.
"""
import argparse
import json
import os
import sys

import numpy as np

SEARCH_MS = 20.0  # a note is looked for this far either side of its due time
HALF = 3  # taps each side of the period in the predictor
THRESHOLD = 8.0  # an onset: the prediction error beyond this many times its usual size


def period(x, lo, hi, shortest=24, longest=600):
    """The lag (in frames) at which the stretch [lo, hi) best repeats itself."""
    seg = x[lo:hi]
    best, best_score = shortest, -1.0
    for lag in range(shortest, min(longest, (hi - lo) // 2)):
        a, b = seg[lag:], seg[:-lag]
        score = np.dot(a, b) / (np.sqrt(np.dot(a, a) * np.dot(b, b)) + 1e-20)
        if score > best_score:
            best, best_score = lag, score
    return best


def predictor(x, lo, hi, lag):
    """Least-squares predictor of x[n] from the frames one period back, fitted on [lo, hi)."""
    lags = np.arange(lag - HALF, lag + HALF + 1)
    rows = np.stack([x[n - lags] for n in range(lo, hi)])
    taps, *_ = np.linalg.lstsq(rows, x[lo:hi], rcond=None)
    usual = np.sqrt(np.mean((x[lo:hi] - rows @ taps) ** 2))
    return lags, taps, usual


def has_dropout(x, lo, hi, run=16):
    silent = np.concatenate(([0], (x[lo:hi] == 0).astype(int), [0]))
    edges = np.flatnonzero(np.diff(silent))
    return any(end - start >= run for start, end in zip(edges[::2], edges[1::2]))


def next_onset(x, fs, previous, due):
    """The first frame in due +- SEARCH_MS, after the note begun at `previous`, that the
    sounding note's last period does not predict."""
    settle = previous + int(0.004 * fs)  # past the previous note's attack
    lo = max(int(due - SEARCH_MS * fs / 1000), settle + int(0.010 * fs))
    hi = min(int(due + SEARCH_MS * fs / 1000), len(x))
    if hi <= lo or has_dropout(x, settle, hi):
        return None
    lag = period(x, settle, lo)
    train = max(settle + lag + HALF, lo - int(0.030 * fs))
    if lo - train < 4 * (2 * HALF + 1):
        return None
    lags, taps, usual = predictor(x, train, lo, lag)
    errors = np.abs(np.array([x[n] - np.dot(x[n - lags], taps) for n in range(lo, hi)]))
    above = np.flatnonzero(errors > THRESHOLD * usual + 1e-4)
    if len(above) == 0:
        return None
    # Back from the first clear break to where the error first left its usual size.
    n = int(above[0])
    while n > 0 and errors[n - 1] > 2.0 * usual:
        n -= 1
    return lo + n


def note_errors(x, fs, first, due_ms, ms_per_frame=None):
    ms_per_frame = ms_per_frame or 1000 / fs
    errors, previous = [0.0], first
    for due in due_ms[1:]:
        found = next_onset(x, fs, previous, first + due * fs / 1000)
        errors.append(None if found is None else (found - first) * ms_per_frame - due)
        if found is not None:
            previous = found
        else:
            previous = int(first + due * fs / 1000)
    return errors


def summary(errors):
    found = np.array([abs(e) for e in errors[1:] if e is not None])
    last = errors[-1]
    return {
        "notes": len(errors),  # the first is the reference
        "matched": int(len(found)),
        "mean_ms": round(float(found.mean()), 3),
        "p95_ms": round(float(np.percentile(found, 95)), 3),
        "worst_ms": round(float(found.max()), 3),
        "last_ms": None if last is None else round(float(last), 3),
        "within_2ms": int((found <= 2.0).sum()),
    }


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("wav")
    ap.add_argument("schedule")
    ap.add_argument("--harness", default=os.environ.get("BLACKBOX_DIR", ""))
    ap.add_argument("--timing", help="record.sh's timing file: the sink's clock")
    ap.add_argument("--json", action="store_true")
    a = ap.parse_args()
    sys.path.insert(0, a.harness)
    import pitch  # the harness's onset detector

    x, fs = pitch.read_wav(a.wav)
    x = pitch.to_mono(x)
    onsets = pitch.detect_onsets(x, fs)
    with open(a.schedule) as f:
        due = [float(line) for line in f if line.strip()]
    if not onsets:
        sys.exit("onset_errors.py: no onset in " + a.wav)
    ms_per_frame = None
    if a.timing:
        with open(a.timing) as f:
            ms_per_frame = json.load(f)["sec_per_frame"] * 1000
    errors = note_errors(x, fs, int(round(onsets[0] * fs)), due, ms_per_frame)
    result = summary(errors)
    if ms_per_frame:
        result["sink_ppm"] = round((1000 / fs / ms_per_frame - 1) * 1e6)
    if a.json:
        result["errors_ms"] = [None if e is None else round(e, 3) for e in errors]
        print(json.dumps(result))
        return
    print(" ".join("%s %s" % kv for kv in result.items()))
    print("errors_ms " + " ".join("-" if e is None else "%.2f" % e for e in errors))


if __name__ == "__main__":
    main()
