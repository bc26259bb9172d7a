#!/usr/bin/env bash
# Fuzzes the payload reader natively with clang's libFuzzer, AddressSanitizer and UBSan for a
# bounded time. Any crash, leak or sanitizer report fails the run.
# Usage: tools/fuzz.sh [seconds]   (the build's demo archive must exist: run make first)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/seeds" "$out/corpus"

flags=(-std=c++20 -O1 -g -I. -Ibuild/generated -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
clang++-14 "${flags[@]}" tools/fuzz/fuzz_parse_payload.cpp core/payload_parse.cpp core/payload_path.cpp \
  -o "$out/fuzz_parse_payload"
clang++-14 -std=c++20 -O1 -I. -Ibuild/generated tools/fuzz/make_seeds.cpp tests/support/payload_samples.cpp tools/payload_writer.cpp \
  core/payload_path.cpp -o "$out/gls_make_seeds"

"$out/gls_make_seeds" "$out/seeds"
cp build/resources/payload.glp "$out/seeds/demo.glp"

echo "Fuzzing the payload reader for ${seconds}s ..."
set +e
"$out/fuzz_parse_payload" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" "$out/seeds" > "$out/fuzz.log" 2>&1
status=$?
set -e
if [[ $status -ne 0 ]]; then
  tail -n 60 "$out/fuzz.log"
  echo "The fuzzer found a problem (exit $status); the input is saved in $out/" >&2
  exit "$status"
fi
grep -E '^(INFO: seed corpus|#[0-9]+.*DONE|Done )' "$out/fuzz.log" || true
