#!/usr/bin/env bash
# Runs every test: the Windows test programs under Wine (with an X server of our own) through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh
trap 'echo "stopped at: $BASH_COMMAND (exit $?)" >&2' ERR

trap bench_stop EXIT
bench_start
rm -rf "$WINEPREFIX/drive_c/gls-tests"
cd build
ctest --output-on-failure -j2 "$@"
