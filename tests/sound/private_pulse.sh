#!/usr/bin/env bash
# A private PulseAudio server for the tests that play through a real sound server: one null
# sink "cap" (its monitor "cap.monitor" records what was played) on a socket of its own. It
# keeps everything in a scratch folder of its own: no desktop bus, no autospawn, no cookie or
# setting in the user's home, so it never meets the user's own sound server.
#
#   private_pulse.sh start      starts it and prints, one per line, NAME=VALUE for every
#                               variable a client needs, then ORVENA_PULSE_DIR=<folder>
#   private_pulse.sh stop DIR   ends the server started in DIR and removes DIR
#
# Status 0 on success; otherwise a message on standard error and status 1.
set -euo pipefail

fail() {
    echo "private_pulse.sh: $*" >&2
    exit 1
}

start() {
    command -v pulseaudio >/dev/null || fail "pulseaudio is not installed (scripts/install-deps.sh)"
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/orvena-pulse.XXXXXX")
    mkdir -p "$dir/home" "$dir/runtime"
    chmod 700 "$dir/runtime"
    # The sink comes before the socket: once the socket is there, so is "cap".
    cat >"$dir/server.pa" <<EOF
load-module module-null-sink sink_name=spare rate=48000 channels=2
load-module module-null-sink sink_name=cap rate=48000 channels=2
set-default-sink cap
set-default-source cap.monitor
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
EOF
    echo "autospawn = no" >"$dir/client.conf"
    # A sound server keeps time best with real-time priority; where the system refuses it,
    # the server runs at normal priority.
    env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY -u PULSE_SERVER \
        HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home" \
        XDG_STATE_HOME="$dir/home" XDG_CACHE_HOME="$dir/home" PULSE_COOKIE="$dir/cookie" \
        setsid pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --realtime=yes \
        --high-priority=yes --use-pid-file=no -n -F "$dir/server.pa" --log-target=stderr \
        </dev/null >"$dir/server.log" 2>&1 &
    local pid=$!
    echo "$pid" >"$dir/pid"
    # A busy machine may take a while to start it.
    for ((i = 0; i < 300; i++)); do
        [ -S "$dir/native" ] && break
        if ! kill -0 "$pid" 2>/dev/null; then
            local log
            log=$(tail -5 "$dir/server.log")
            rm -rf "$dir"
            fail "the server ended at start: $log"
        fi
        sleep 0.1
    done
    if [ ! -S "$dir/native" ]; then
        stop "$dir" || true
        fail "the server opened no socket within 30 s"
    fi
    echo "PULSE_SERVER=unix:$dir/native"
    echo "PULSE_COOKIE=$dir/cookie"
    echo "PULSE_CLIENTCONFIG=$dir/client.conf"
    echo "ORVENA_PULSE_DIR=$dir"
}

stop() {
    local dir=$1
    [ -f "$dir/pid" ] || fail "no server was started in '$dir'"
    local pid
    pid=$(cat "$dir/pid")
    kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
        sleep 0.2
    fi
    rm -rf "$dir"
}

case "${1:-}" in
    start) start ;;
    stop)
        [ $# -eq 2 ] || fail "usage: private_pulse.sh stop DIR"
        stop "$2"
        ;;
    *) fail "usage: private_pulse.sh start | stop DIR" ;;
esac
