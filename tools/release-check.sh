#!/usr/bin/env bash
# make release-check: builds the release twice from the same sources, in two fresh folders at
# paths of different lengths, and compares the two unsigned setups byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
root=build-release-check
first=$root/one
second=$root/second-build-at-a-longer-path
tools/release-build.sh "$first"
tools/release-build.sh "$second"

a=$first/GlimmerlineSetup.exe
b=$second/GlimmerlineSetup.exe
if cmp -s "$a" "$b"; then
  echo "The two builds are identical: $(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -d' ' -f1)"
  rm -rf "$root"
  exit 0
fi

echo "The two builds differ ($a, $b):" >&2
echo "  bytes that differ: $( (cmp -l "$a" "$b" || true) | wc -l)" >&2
echo "  first difference: $( (cmp "$a" "$b" || true) | sed 's/.*: //')" >&2
echo "  the sections (File off: where each starts in the file):" >&2
x86_64-w64-mingw32-objdump -h "$a" | sed -n '/^Idx/,$p' | grep -v 'CONTENTS\|ALLOC' | sed 's/^/    /' >&2
echo "  the headers, where they differ:" >&2
diff <(x86_64-w64-mingw32-objdump -x "$a" | sed 1,3d) <(x86_64-w64-mingw32-objdump -x "$b" | sed 1,3d) |
  head -n 20 | sed 's/^/    /' >&2 || true
echo "Both build folders are kept for a closer look." >&2
exit 1
