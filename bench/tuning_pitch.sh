#!/usr/bin/env bash
# Every tuning system heard: starts the release program on the black-box desktop once per
# system (the workbook, then every akort/*.scl of the program folder through --tuning),
# plays a sample of strings and lever positions from the keyboard (a held letter at lever 0,
# then the arrow keys), records the sound server's output and measures each note's pitch.
# Prints each note's error against the pitch its system's table gives it and the largest
# error per system (target: 0.5 cent).
#
#   bash bench/tuning_pitch.sh [SYSTEM...]     e.g. akort/53-EDO.scl; default: all
#
# BLACKBOX_DIR: the harness (default: shared/blackbox beside the repository or its parent);
# BB_STATE_DIR: its state folder (default /tmp/bb-orvena-bench).
set -euo pipefail
# shellcheck source=bench/blackbox_setup.sh
. "$(dirname "$0")/blackbox_setup.sh"
folder=$(dirname "$program")
work=$(mktemp -d)
cleanup() {
    [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    [[ $started_session == 1 ]] && "$blackbox/session.sh" stop >/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
bb() { "$blackbox/session.sh" exec "$@"; }
# The program runs in the desktop's environment as a child of this script, so it can be ended.
eval "$("$blackbox/session.sh" env)"
keys() { bb "$blackbox/keys.sh" -w "O R V E N A" "$@" >/dev/null; }

# Letter and string: the letter selects the string (a short held note), then the arrow keys
# pluck it at lever +1, 0, +3 and -2; each pluck cuts the one before, and the note measured
# is the last one of each step.
strings="M 26
L 19
G 15
S 12
I 8
E 3
Q 1"

if [[ $# -gt 0 ]]; then systems=("$@"); else
    systems=(dizek.xls)
    for f in "$folder"/akort/*.scl; do systems+=("akort/$(basename "$f")"); done
fi
for system in "${systems[@]}"; do
    # Named on the command line even for the workbook: the settings file may hold another.
    options=(--tuning "$folder/$system")
    "$program" "${options[@]}" 2>"$work/log" &
    pid=$!
    for _ in $(seq 100); do keys wid 2>/dev/null && break; sleep 0.1; done
    sleep 2  # the samples are decoded and the output is open
    keys focus || true
    rm -f "$work/ready" "$work/notes"
    bb "$blackbox/record.sh" 80 "$work/rec.wav" "$work/ready" &
    recorder=$!
    until [[ -e $work/ready ]]; do sleep 0.01; done
    # Clock readings; the analysis subtracts the recording's start.
    echo "start $(date +%s.%N)" >"$work/notes"
    stamp() { echo "$1 $2 $(date +%s.%N)" >>"$work/notes"; }
    while read -r letter string; do
        keys hold "$(echo "$letter" | tr 'A-Z' 'a-z')" 100
        sleep 0.3
        keys press Right; stamp "$string" 1; sleep 2.0
        keys press Left; stamp "$string" 0; sleep 2.0
        keys press Right Right Right; stamp "$string" 3; sleep 2.0
        keys press Left Left Left Left Left; stamp "$string" -2; sleep 2.0
    done <<<"$strings"
    wait "$recorder"
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    pid=
    /usr/bin/python3 "$root/bench/tuning_pitch.py" "$blackbox/pitch.py" "$folder" "$system" \
        "$work/notes" "$work/rec.wav"
done
