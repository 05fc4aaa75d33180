#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing ORVENA need, by group, so
# that each command waits only for what it uses:
#
#   bash scripts/install-deps.sh [GROUP...]    (no group: all of them)
#
#   build   compiling the program, and what it needs at run time
#   test    the test command: build + GoogleTest, Qt's window-system input queue and the sound
#           server of the real-sound test
#   fuzz    scripts/fuzz.sh: clang and its libFuzzer runtime
#   bench   the benchmarks (also built by the dev preset) and the black-box desktop they use
#   tools   the generators in tools/ and the code formatter
#   package scripts/package.sh: Debian's package checker
#   interop scripts/check-interop.sh: FluidSynth, a General MIDI soundfont and MuseScore 3, the
#           real programs the MIDI and MusicXML exports are checked against
#
# Safe to run again: packages already present are skipped. Its last line says what it did.
set -euo pipefail

declare -A groups=(
    [build]="build-essential cmake ninja-build pkg-config
             qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n fonts-dejavu-core
             libfreexl-dev libgsf-1-dev librtaudio-dev librtmidi-dev libsndfile1-dev libpulse-dev
             libjack-dev"
    [test]="googletest libgtest-dev libgmock-dev qt6-base-private-dev pulseaudio dbus-daemon"
    [fuzz]="clang libclang-rt-14-dev"
    [bench]="libbenchmark-dev xvfb x11-utils pulseaudio-utils libasound2-plugins"
    [tools]="python3 python3-xlwt clang-format"
    [package]="lintian"
    [interop]="fluidsynth timgm6mb-soundfont musescore3 python3-numpy"
)
# What a group needs of another.
declare -A needs=([test]="build" [fuzz]="build" [bench]="build test" [interop]="build")

chosen=("$@")
[ ${#chosen[@]} -gt 0 ] || chosen=("${!groups[@]}")
packages=()
add_group() {
    [ -n "${groups[$1]+x}" ] || {
        echo "install-deps.sh: unknown group '$1' (${!groups[*]})" >&2
        exit 2
    }
    local need
    for need in ${needs[$1]:-}; do add_group "$need"; done
    # shellcheck disable=SC2206
    packages+=(${groups[$1]})
}
for group in "${chosen[@]}"; do add_group "$group"; done

# The closing line goes to the caller's stage line where there is one (descriptor 3).
say() {
    if { true >&3; } 2>/dev/null; then echo "$*" >&3; else echo "$*"; fi
}

installed=" $(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
    awk '$2 == "install" && $NF == "installed" { printf "%s ", $1 }' || true)"
missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
    [[ $installed == *" $p "* ]] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    say "nothing missing"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
before=$(dpkg-query -W -f='${Status}\n' | grep -c "install ok installed")
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
after=$(dpkg-query -W -f='${Status}\n' | grep -c "install ok installed")
say "${#missing[@]} asked for, $((after - before)) packages installed"
