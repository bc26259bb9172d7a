#!/usr/bin/env bash
# Builds the setup alone, as a release, in a build folder made afresh: the project's toolchain and
# flags, no test programs. Dates that a tool of the build needs are the commit's, so that a rebuild
# of the same commit gives the same bytes.
# Usage: tools/release-build.sh <build folder>   (CMAKE_FLAGS adds configure options)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: tools/release-build.sh <build folder>}

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2> /dev/null || echo 0)}
rm -rf "$out"
mkdir -p "$out"
echo "Building the setup in $out (log: $out/build.log) ..."
# shellcheck disable=SC2086 # CMAKE_FLAGS holds several options
if ! { cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
         -DCMAKE_BUILD_TYPE=Release -DGLS_BUILD_TESTS=OFF ${CMAKE_FLAGS:-} &&
       cmake --build "$out" --target GlimmerlineSetup; } > "$out/build.log" 2>&1; then
  tail -n 30 "$out/build.log" >&2
  echo "The release build failed; the whole log is $out/build.log" >&2
  exit 1
fi
