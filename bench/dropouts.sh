#!/usr/bin/env bash
# Dropouts under the heaviest playing: all 26 letter keys held while the arrow keys are
# hammered 50 times a second for 20 s, on the release build in the black-box desktop.
# Prints the gaps of digital silence found in the recording and the underruns the program
# counted itself (both should be none).
#
#   bash bench/dropouts.sh [ORVENA OPTIONS...]
set -euo pipefail
# shellcheck source=bench/blackbox_setup.sh
. "$(dirname "$0")/blackbox_setup.sh"
work=$(mktemp -d)
cleanup() {
    [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    "$blackbox/session.sh" exec xset r on 2>/dev/null || true
    [[ $started_session == 1 ]] && "$blackbox/session.sh" stop >/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
x() { "$blackbox/session.sh" exec "$@"; }

x "$program" "$@" 2>"$work/log" &
pid=$!
for _ in $(seq 100); do
    x "$blackbox/keys.sh" -w "O R V E N A" wid >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 2
x "$blackbox/keys.sh" -w "O R V E N A" focus >/dev/null
x "$blackbox/keys.sh" autorepeat off >/dev/null
letters=(q w e r t y u i o p a s d f g h j k l z x c v b n m)
"$blackbox/record.sh" 22 "$work/rec.wav" "$work/ready" &
rec=$!
until [[ -e $work/ready ]]; do sleep 0.01; done
x xdotool keydown "${letters[@]}"
arrows=()
for _ in $(seq 250); do arrows+=(Up Right Down Left); done
x xdotool key --delay 20 "${arrows[@]}"
x xdotool keyup "${letters[@]}"
wait "$rec"
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
pid=
/usr/bin/python3 "$blackbox/pitch.py" "$work/rec.wav" --json |
    /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print("gaps_ms", d.get("gaps_ms", []))'
grep "ORVENA: sound" "$work/log" | tail -1
