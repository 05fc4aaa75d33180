"""Measuring rendered sound for the checks: WAV files read as one channel, the pitch of a
stretch of a note, and the moment a note starts."""

import wave

import numpy as np


def read_wav(path):
    """(mono samples in -1..1, frames per second) of a 16- or 24-bit PCM WAV file."""
    with wave.open(path, "rb") as w:
        frames, channels, width, rate = (w.getnframes(), w.getnchannels(), w.getsampwidth(),
                                         w.getframerate())
        raw = w.readframes(frames)
    if width == 2:
        x = np.frombuffer(raw, "<i2").astype(np.float64) / 32768.0
    elif width == 3:
        b = np.frombuffer(raw, np.uint8).reshape(-1, 3).astype(np.int32)
        v = b[:, 0] | (b[:, 1] << 8) | (b[:, 2] << 16)
        x = np.where(v & 0x800000, v - 0x1000000, v) / 8388608.0
    else:
        raise ValueError(path + ": %d-byte samples" % width)
    return x.reshape(-1, channels).mean(axis=1), rate


def stretch(x, rate, from_ms, to_ms):
    return x[int(from_ms * rate / 1000.0):int(to_ms * rate / 1000.0)]


def _magnitude(x, window, rate, hz):
    n = np.arange(len(x))
    return abs(np.sum(x * window * np.exp(-2j * np.pi * hz * n / rate)))


def pitch_near(x, rate, hz, span_cents=60.0):
    """Frequency in Hz of the strongest component within span_cents of hz: the magnitude of
    the Blackman-windowed signal's Fourier transform, maximised (a decaying partial is placed
    to a small fraction of a cent over a tenth of a second)."""
    window = np.blackman(len(x))
    grid = hz * 2.0 ** (np.linspace(-span_cents, span_cents, 121) / 1200.0)
    k = int(np.argmax([_magnitude(x, window, rate, f) for f in grid]))
    lo, hi = grid[max(k - 1, 0)], grid[min(k + 1, len(grid) - 1)]
    golden = (5 ** 0.5 - 1) / 2
    for _ in range(40):
        a, b = hi - golden * (hi - lo), lo + golden * (hi - lo)
        if _magnitude(x, window, rate, a) > _magnitude(x, window, rate, b):
            hi = b
        else:
            lo = a
    return (lo + hi) / 2


def cents(hz, reference_hz):
    return 1200.0 * np.log2(hz / reference_hz)


def onset_near(x, rate, at_ms, before_ms=5.0, after_ms=30.0, share=0.3):
    """The moment (ms) a note starts near at_ms, from the energy of the signal's second
    difference (the bright part of an attack) over the last millisecond: its least value
    within 5 ms of at_ms is where the note before has gone quiet or the new one not yet
    begun; the note starts where, after that, the energy first rises `share` of the way to
    its greatest value."""
    bright = np.diff(x, 2)
    window = max(2, int(rate / 1000))
    hop = max(1, int(rate / 10000))
    first = max(int((at_ms - before_ms) * rate / 1000.0), 0)
    last = min(int((at_ms + after_ms) * rate / 1000.0), len(bright) - window)
    starts = np.arange(first, last, hop)
    total = np.concatenate([[0.0], np.cumsum(bright * bright)])
    level = np.sqrt((total[starts + window] - total[starts]) / window)
    ends_ms = (starts + window) * 1000.0 / rate
    near = np.flatnonzero(np.abs(ends_ms - at_ms) <= before_ms)
    dip = int(near[np.argmin(level[near])])
    after = level[dip:]
    threshold = after[0] + share * (after.max() - after[0])
    return float(ends_ms[dip + int(np.argmax(after >= threshold))])
