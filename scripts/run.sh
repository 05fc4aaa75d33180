#!/usr/bin/env bash
# The run command: installs what is missing, builds the optimised program folder and starts
# ORVENA from it with the shipped workbook and samples. One line per stage (the logs are in
# build/logs/).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/stages.sh

stage install "installing packages" bash scripts/install-deps.sh build
# Once configured, the build itself runs cmake again whenever a CMakeLists.txt changes.
[ -f build/release/build.ninja ] || stage configure "configuring (release)" cmake --preset release
stage_build release
echo "starting build/release/orvena/orvena"
exec build/release/orvena/orvena "$@"
