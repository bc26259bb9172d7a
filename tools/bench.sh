#!/usr/bin/env bash
# Runs the install benchmark under Wine: MB/s of payload installed, fresh and as an update, beside
# the drive's plain write-then-read-back rate for the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh
trap 'echo "stopped at: $BASH_COMMAND (exit $?)" >&2' ERR
trap bench_stop EXIT
bench_start
scratch='C:\gls-bench'
rm -rf "$(bench_unix_path "$scratch")"
wine "$BUILD_DIR/tools/gls_install_bench.exe" "$BUILD_DIR/GlimmerlineSetup.exe" "$scratch" < /dev/null 2> /dev/null | tr -d '\r'
rm -rf "$(bench_unix_path "$scratch")"
