#!/usr/bin/env bash
# Builds the release and makes the Debian package build/release/orvena_<version>_<arch>.deb
# (the program in /usr/bin, its shipped folder in /usr/share/orvena, a menu entry and icon).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release
cd build/release
cpack -G DEB
ls -1 ./*.deb
