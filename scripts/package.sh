#!/usr/bin/env bash
# Builds the release and makes the Debian package build/release/orvena_<version>_<arch>.deb
# (the program in /usr/bin, its shipped folder in /usr/share/orvena, a menu entry and icon,
# the manual page, copyright and changelog), then has Debian's checker lintian look at it:
# any error or warning fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/stages.sh

stage install "installing packages" bash scripts/install-deps.sh build package
[ -f build/release/build.ninja ] || stage configure "configuring (release)" cmake --preset release
stage_build release
stage package "packaging" bash -c 'cd build/release && cpack -G DEB'
deb=$(ls -1t build/release/orvena_*.deb | head -n 1)
stage lintian "lintian $deb: no error or warning" lintian --fail-on error,warning "$deb"
echo "$deb"
