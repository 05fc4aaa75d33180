#!/usr/bin/env bash
# Installs what is missing, builds the optimised program folder and starts ORVENA from it
# with the shipped workbook and samples.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/orvena/orvena "$@"
