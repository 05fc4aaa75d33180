#!/usr/bin/env bash
# Dropouts and key-to-sound delay on the release build in the black-box desktop, in three
# cases, each with a fresh program:
#   hammer  all 26 letter keys held while the arrow keys are hammered 50 times a second (20 s)
#   quiet   held notes, a new letter every second (HELD_SECONDS, default 60)
#   loaded  the same with `stress-ng --cpu 2` running beside the program
# After the playing of each case (the load still running) a letter key and a click on a
# string are timed TRIALS times each (default 8). Per case it prints the gaps of digital
# silence found in the recording, the underruns the program counted itself, the key and
# click delay medians, the key delay's spread, and the machine's load.
#
#   bash bench/dropouts.sh [ORVENA OPTIONS...]          CASES="quiet loaded" to pick cases
set -euo pipefail
# shellcheck source=bench/blackbox_setup.sh
. "$(dirname "$0")/blackbox_setup.sh"
cases=${CASES:-hammer quiet loaded}
held_seconds=${HELD_SECONDS:-60}
trials=${TRIALS:-8}
window="O R V E N A"
# A click on string 11 (window coordinates), well inside the strings' area.
click_x=612 click_y=239
command -v stress-ng >/dev/null || { apt-get install -y -qq stress-ng >/dev/null; }
work=$(mktemp -d)
pid= load=
cleanup() {
    [[ -n $load ]] && kill "$load" 2>/dev/null && wait "$load" 2>/dev/null || true
    [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    "$blackbox/session.sh" exec xset r on 2>/dev/null || true
    [[ $started_session == 1 ]] && "$blackbox/session.sh" stop >/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
x() { "$blackbox/session.sh" exec "$@"; }
letters=(q w e r t y u i o p a s d f g h j k l z x c v b n m)

start_program() {
    # Started directly (not through a function) so that $! is the program itself.
    "$blackbox/session.sh" exec "$program" "$@" 2>"$work/log" &
    pid=$!
    for _ in $(seq 100); do
        x "$blackbox/keys.sh" -w "$window" wid >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 2  # the samples are decoded and the output is open
    x "$blackbox/keys.sh" -w "$window" focus >/dev/null
    x "$blackbox/keys.sh" autorepeat off >/dev/null
}

stop_program() {
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

record_while() {  # SECONDS COMMAND...: records the sink while COMMAND plays
    local seconds=$1
    shift
    rm -f "$work/ready"
    "$blackbox/record.sh" "$seconds" "$work/rec.wav" "$work/ready" >/dev/null 2>&1 &
    local rec=$!
    until [[ -e $work/ready ]]; do sleep 0.01; done
    "$@"
    wait "$rec"
}

hammer() {
    x xdotool keydown "${letters[@]}"
    local arrows=()
    for _ in $(seq 250); do arrows+=(Up Right Down Left); done
    x xdotool key --delay 20 "${arrows[@]}"
    x xdotool keyup "${letters[@]}"
}

held_notes() {
    local previous= start=$EPOCHREALTIME
    for ((i = 0; i < held_seconds; i++)); do
        local letter=${letters[i % 26]}
        x xdotool keydown "$letter"
        [[ -n $previous ]] && x xdotool keyup "$previous"
        previous=$letter
        sleep "$(awk -v s="$start" -v i="$i" -v now="$EPOCHREALTIME" \
            'BEGIN { d = s + i + 1 - now; print (d > 0 ? d : 0) }')"
    done
    x xdotool keyup "$previous"
}

median_of() {  # latency.sh output -> "median min max"
    sed -n 's/^latency_ms median \([-0-9.]*\) min \([-0-9.]*\) max \([-0-9.]*\).*/\1 \2 \3/p'
}

run_case() {
    local name=$1
    shift
    start_program "$@"
    if [[ $name == loaded ]]; then
        stress-ng --cpu 2 --quiet >/dev/null 2>&1 &
        load=$!
        sleep 1
    fi
    if [[ $name == hammer ]]; then
        record_while 22 hammer
    else
        record_while $((held_seconds + 2)) held_notes
    fi
    local gaps
    gaps=$(/usr/bin/python3 "$blackbox/pitch.py" "$work/rec.wav" --json |
        /usr/bin/python3 -c 'import json,sys; g=[x["len_ms"] for x in json.load(sys.stdin).get("gaps", [])]; print(len(g), "(%.1f ms in all, longest %.1f ms)" % (sum(g), max(g + [0])))')
    local key click
    "$blackbox/latency.sh" -w "$window" -k a -n "$trials" --gap 0.8 >"$work/key" 2>&1 || true
    # A plucked string rings for 3 s: each click waits for the last to end.
    "$blackbox/latency.sh" -w "$window" --click "$click_x" "$click_y" -n "$trials" --gap 3.5 \
        >"$work/click" 2>&1 || true
    key=$(median_of <"$work/key")
    click=$(median_of <"$work/click")
    [[ -n $click ]] || sed 's/^/        click: /' "$work/click" | tail -3
    local machine
    machine=$(cut -d' ' -f1-3 /proc/loadavg)
    if [[ -n $load ]]; then
        kill "$load" 2>/dev/null && wait "$load" 2>/dev/null || true
        load=
    fi
    stop_program
    local underruns
    # The last figures the program logged (it logs them once more as it ends).
    underruns=$(grep -aE "ORVENA: (sound|ses)" "$work/log" | tail -1 |
        sed -nE 's/.* ([0-9]+) (underruns|kesinti).*/\1/p')
    read -r key_median key_min key_max <<<"${key:-- - -}"
    read -r click_median _ _ <<<"${click:-- - -}"
    local spread=-
    [[ $key_min != - ]] && spread=$(awk -v a="$key_min" -v b="$key_max" 'BEGIN { printf "%.2f", b - a }')
    printf '%-7s dropouts %s  underruns %s  key_median_ms %s  key_spread_ms %s  click_median_ms %s  load %s\n' \
        "$name" "$gaps" "${underruns:-?}" "$key_median" "$spread" "$click_median" "$machine"
    grep -aE "ORVENA: (gerçek|ses bloğu|ses çıkışı)" "$work/log" | sed 's/^/        /' || true
}

for name in $cases; do run_case "$name" "$@"; done
