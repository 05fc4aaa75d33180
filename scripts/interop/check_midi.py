#!/usr/bin/python3
"""FluidSynth plays ORVENA's MIDI exports in ORVENA's tuning and time.

For a sequence file and a recording, in both tuning forms (MIDI Tuning Standard and pitch
bend): ORVENA renders the source to WAV and exports it to MIDI; FluidSynth renders the MIDI
file, the same file with its tuning messages taken out (every note on its plain key), and
each key alone. Every note must then
  - sound within 3 cents of what ORVENA sounds for it: FluidSynth's pitch is measured
    against its own rendering of the plain key, which takes the soundfont's tuning out;
  - start within 2 ms of where it starts in ORVENA's WAV file: each side's onset less the
    time its instrument takes to speak (FluidSynth's key alone; ORVENA's string plucked
    alone, out of silence).

Usage: check_midi.py ORVENA PROGRAM_FOLDER SOUNDFONT MELODY.ses WORK_FOLDER
"""

import os
import subprocess
import sys

import smf
import sound

PITCH_LIMIT_CENTS = 3.0
ONSET_LIMIT_MS = 2.0
FLUID_RATE = 96000  # FluidSynth starts notes on 64-frame blocks: 0.67 ms at this rate
LONE_GAP_MS = 600.0
SAMPLE_MS = 3200  # longer than a sample: the next pluck starts out of silence
# A recording written by hand: strings over the whole instrument, intervals that fall between
# MIDI ticks.
RECORDING = [(12, 287), (9, 163), (15, 411), (5, 197), (20, 333), (12, 251), (17, 189),
             (3, 277), (22, 350), (10, 143), (14, 500)]


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def fluid_render(soundfont, midi, wav):
    run("fluidsynth", "-n", "-i", "-q", "-R", "0", "-C", "0", "-r", str(FLUID_RATE), "-O",
        "s16", "-T", "wav", "-F", wav, soundfont, midi)


def lone_keys_file(keys, program, path):
    """Each key alone, LONE_GAP_MS apart, on the program the export chose."""
    division, tempo_us = 480, 500000
    ticks = lambda ms: int(round(ms * 1000.0 * division / tempo_us))
    events = [(0, bytes([0xFF, 0x51, 3]) + tempo_us.to_bytes(3, "big")),
              (0, bytes([0xC0, program]))]
    for i, key in enumerate(keys):
        events += [(ticks(i * LONE_GAP_MS), bytes([0x90, key, 100])),
                   (ticks(i * LONE_GAP_MS + 400), bytes([0x80, key, 0]))]
    smf.write(path, 1, division, [events])


def program_of(tracks):
    for _, e in tracks[0]:
        if e[0] & 0xF0 == 0xC0:
            return e[1]
    return 0


def sequence_strings(path):
    """The string of every note of a sequence file, in order: ten numbers a record, pitch
    codes 0..14 on strings 4..18 and 15..25 on strings 12..22; rests, skipped records and
    records without a note value (length code 0) sound nothing."""
    numbers = [int(n) for n in open(path).read().replace(",", " ").split()]
    strings = []
    for r in range(0, len(numbers) - 9, 10):
        code, length = numbers[r + 1], numbers[r + 2]
        if 0 <= code <= 25 and length != 0:
            strings.append(code + 4 if code <= 14 else code - 3)
    return strings


def orvena_lateness(orvena, strings, work):
    """How long after its pluck each string's note reads as started, plucked alone."""
    source = os.path.join(work, "tek.txt")
    order = sorted(set(strings))
    with open(source, "w", newline="") as f:
        f.writelines(" %d  0  %d \r\n" % (s, SAMPLE_MS) for s in order)
    wav = os.path.join(work, "tek.wav")
    run(orvena, "--render", source, wav)
    x, rate = sound.read_wav(wav)
    return {s: sound.onset_near(x, rate, i * SAMPLE_MS) - i * SAMPLE_MS
            for i, s in enumerate(order)}


def check(orvena, soundfont, source, strings, tuning, work):
    base = os.path.join(work, os.path.splitext(os.path.basename(source))[0] + "-" + tuning)
    run(orvena, "--export-midi", source, base + ".mid", "--midi-tuning", tuning)
    run(orvena, "--render", source, base + "-orvena.wav")
    fmt, division, tracks = smf.read(base + ".mid")
    notes = smf.notes(tracks, division)
    if len(notes) != len(strings):
        print("FAIL %s (%s): %d notes in the MIDI file, %d in the source"
              % (os.path.basename(source), tuning, len(notes), len(strings)))
        return False
    orvena_late = orvena_lateness(orvena, strings, work)
    smf.write(base + "-plain.mid", fmt, division, smf.without_tuning(tracks))
    keys = sorted({n["key"] for n in notes})
    lone_keys_file(keys, program_of(tracks), base + "-lone.mid")
    for name in ("", "-plain", "-lone"):
        fluid_render(soundfont, base + name + ".mid", base + name + "-fluid.wav")
    tuned, plain = sound.read_wav(base + "-fluid.wav"), sound.read_wav(base + "-plain-fluid.wav")
    lone, ours = sound.read_wav(base + "-lone-fluid.wav"), sound.read_wav(base + "-orvena.wav")
    fluid_late = {k: sound.onset_near(*lone, i * LONE_GAP_MS) - i * LONE_GAP_MS
                  for i, k in enumerate(keys)}
    worst_pitch = worst_onset = 0.0
    for n, string in zip(notes, strings):
        key_hz = 440.0 * 2 ** ((n["key"] - 69) / 12.0)
        asked_hz = 440.0 * 2 ** ((n["pitch"] - 69) / 12.0)
        start, end = n["on"] + 30.0, min(n["off"] - 5.0, n["on"] + 300.0)
        heard = [sound.pitch_near(sound.stretch(*s, start, end), s[1], hz)
                 for s, hz in ((tuned, asked_hz), (plain, key_hz), (ours, asked_hz))]
        pitch_error = sound.cents(heard[0], heard[1]) - sound.cents(heard[2], key_hz)
        onset_error = ((sound.onset_near(*tuned, n["on"]) - fluid_late[n["key"]]) -
                       (sound.onset_near(*ours, n["on"]) - orvena_late[string]))
        worst_pitch = max(worst_pitch, abs(pitch_error))
        worst_onset = max(worst_onset, abs(onset_error))
        if abs(pitch_error) > PITCH_LIMIT_CENTS or abs(onset_error) > ONSET_LIMIT_MS:
            print("  note at %.1f ms, key %d: pitch off by %.2f cents, onset by %.2f ms"
                  % (n["on"], n["key"], pitch_error, onset_error))
    ok = worst_pitch <= PITCH_LIMIT_CENTS and worst_onset <= ONSET_LIMIT_MS
    print("%s %s (%s): %d notes, worst pitch %.2f cents, worst onset %.2f ms"
          % ("ok  " if ok else "FAIL", os.path.basename(source), tuning, len(notes), worst_pitch,
             worst_onset))
    return ok and len(notes) > 0


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    orvena, folder, soundfont, melody, work = sys.argv[1:]
    recording = os.path.join(work, "kayıt.txt")
    with open(recording, "w", newline="") as f:
        f.writelines(" %d  0  %d \r\n" % record for record in RECORDING)
    sources = [(os.path.join(folder, melody), sequence_strings(os.path.join(folder, melody))),
               (recording, [s for s, _ in RECORDING])]
    results = [check(orvena, soundfont, source, strings, tuning, work)
               for source, strings in sources for tuning in ("mts", "bend")]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
