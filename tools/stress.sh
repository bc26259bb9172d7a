#!/usr/bin/env bash
# The long versions of the fault tests: the kill-at-random campaign with 170 kills per kind of run
# (510 in all) and the hostile archives and command lines with hundreds of random ones each.
# GLS_SEED replays a run; GLS_KILL_ROUNDS and STRESS_FILTER narrow or widen it.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh
trap bench_stop EXIT
bench_start
rm -rf "$WINEPREFIX/drive_c/gls-tests"
export GLS_STRESS=1
wine "$BUILD_DIR/tests/gls_e2e_tests.exe" --gtest_color=no --gtest_filter="${STRESS_FILTER:-KillAtRandom.*:Hostile*.*:NonAscii*.*:OddFolder*.*}"
