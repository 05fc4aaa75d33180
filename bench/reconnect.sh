#!/usr/bin/env bash
# The sound server killed and started again while ORVENA runs (release build, black-box
# desktop), with no action by the player: how long the program takes to say it lost the
# output, how long after the new server answers the program says the output is back, and
# when a letter key pressed every 100 ms is heard again, measured in the server's recording.
#
#   bash bench/reconnect.sh [ORVENA OPTIONS...]          ROUNDS (default 3) kills in a row
set -euo pipefail
# shellcheck source=bench/blackbox_setup.sh
. "$(dirname "$0")/blackbox_setup.sh"
rounds=${ROUNDS:-3}
window="O R V E N A"
work=$(mktemp -d)
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    [[ $started_session == 1 ]] && "$blackbox/session.sh" stop >/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
x() { "$blackbox/session.sh" exec "$@"; }
now() { echo "$EPOCHREALTIME"; }
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }
# The program's log, each line stamped with the moment it was written.
stamp() {
    /usr/bin/python3 -u -c '
import sys, time
for line in iter(sys.stdin.readline, ""):
    sys.stdout.write("%.6f %s" % (time.time(), line))'
}
wait_for_log() {  # TEXT N: the moment of the (N+1)th line holding TEXT
    until [[ $(grep -ac "$1" "$work/log") -gt $2 ]]; do sleep 0.02; done
    grep -a "$1" "$work/log" | sed -n "$(($2 + 1))p" | cut -d' ' -f1
}

# Kills the harness's server and starts the same one again; prints the moment it answers.
restart_server() {
    # shellcheck disable=SC1090
    . "$BB_STATE_DIR/state"
    local old=$PULSE_PID
    /usr/bin/python3 - "$old" "$BB_STATE_DIR" <<'EOF' >"$work/new_pid"
import os, subprocess, sys, time
old, state_dir = int(sys.argv[1]), sys.argv[2]
args = open(f"/proc/{old}/cmdline", "rb").read().rstrip(b"\0").split(b"\0")
env = dict(e.split(b"=", 1) for e in open(f"/proc/{old}/environ", "rb").read().split(b"\0") if b"=" in e)
os.kill(old, 9)
while os.path.exists(f"/proc/{old}/stat") and open(f"/proc/{old}/stat").read().split()[2] != "Z":
    time.sleep(0.01)
time.sleep(float(os.environ.get("DOWN_SECONDS", "2")))
log = open(os.path.join(state_dir, "logs", "pulse.log"), "ab")
new = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                       start_new_session=True)
print(new.pid)
EOF
    sed -i "s/^PULSE_PID=.*/PULSE_PID=$(cat "$work/new_pid")/" "$BB_STATE_DIR/state"
    until x pactl info >/dev/null 2>&1; do sleep 0.01; done
    now
}

# Started directly (not through a function) so that $! is the program itself.
"$blackbox/session.sh" exec "$program" "$@" 2> >(stamp >"$work/log") &
pid=$!
for _ in $(seq 100); do
    x "$blackbox/keys.sh" -w "$window" wid >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 2
x "$blackbox/keys.sh" -w "$window" focus >/dev/null
for ((round = 1; round <= rounds; round++)); do
    lost_before=$(grep -ac "ses çıkışı kayboldu" "$work/log" || true)
    back_before=$(grep -ac "denemede geri geldi" "$work/log" || true)
    killed=$(now)
    # The notice: the program logs the loss as it shows it.
    DOWN_SECONDS=2 restart_server >"$work/answered" &
    restarter=$!
    lost=$(wait_for_log "ses çıkışı kayboldu" "$lost_before")
    wait "$restarter"
    answered=$(cat "$work/answered")
    # A recorder can only start once the server answers, and takes a while: the sound is
    # heard at the latest by the first key after it is ready; the log says when it was back.
    rm -f "$work/ready"
    "$blackbox/record.sh" 6 "$work/rec.wav" "$work/ready" >/dev/null 2>&1 &
    rec=$!
    until [[ -e $work/ready ]]; do sleep 0.005; done
    recording=$(now)
    for _ in $(seq 40); do
        x xdotool key a
        sleep 0.1
    done &
    keys=$!
    back=$(wait_for_log "denemede geri geldi" "$back_before")
    wait "$keys" "$rec"
    first=$({ /usr/bin/python3 "$blackbox/pitch.py" "$work/rec.wav" --json || true; } |
        /usr/bin/python3 -c 'import json,sys; o=json.load(sys.stdin)["onsets_ms"]; print(o[0] if o else "")')
    heard=-
    [[ -n $first ]] && heard=$(awk -v r="$recording" -v a="$answered" -v f="$first" \
        'BEGIN { printf "%.0f", (r - a) * 1000 + f }')
    printf 'round %d  lost_logged_ms %s  back_logged_ms %s  heard_by_ms %s  (after killing / after the server answered)  load %s\n' \
        "$round" "$(ms_between "$killed" "$lost")" "$(ms_between "$answered" "$back")" \
        "$heard" "$(cut -d' ' -f1-3 /proc/loadavg)"
done
grep -aE "ORVENA: (ses çıkışı|gerçek)" "$work/log" | cut -d' ' -f2- | sed 's/^/    /'
