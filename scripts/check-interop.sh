#!/usr/bin/env bash
# Checks ORVENA's MIDI and MusicXML exports with real programs, on the release build:
#  - FluidSynth (with the TimGM6mb General MIDI soundfont) renders the MIDI export of a
#    shipped melody and of a recording, in both tuning forms; every note must sound within
#    3 cents of ORVENA's own rendering and start within 2 ms of it;
#  - MuseScore 3, headless, opens the MusicXML export of every shipped melody, draws it
#    (PNG pages under build/interop/pages, to look at) and exports it again; its file must
#    hold the same notes, rests, durations, tempo and the accidentals it keeps.
# Installs what it needs from Debian first. Status 0 when every check passes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh interop
cmake --preset release >/dev/null
cmake --build --preset release

program=build/release/orvena
soundfont=/usr/share/sounds/sf2/TimGM6mb.sf2
out=build/interop
rm -rf "$out"
mkdir -p "$out/midi" "$out/musicxml"
# Debian's python3 (with python3-numpy), whatever else is first on the PATH.
python=/usr/bin/python3

status=0
"$python" scripts/interop/check_midi.py "$program/orvena" "$program" "$soundfont" hicaz.ses \
  "$out/midi" || status=1
"$python" scripts/interop/check_musicxml.py "$program/orvena" "$out/musicxml" "$out/pages" \
  "$program"/*.ses || status=1
exit $status
