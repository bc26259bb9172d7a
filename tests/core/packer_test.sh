#!/bin/sh
# The packer refuses a folder holding a name that breaks the payload's path rule, naming the file,
# and packs a good folder.
set -u
packer="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/good/sub" "$work/bad/sub"
printf 'abc' > "$work/good/sub/a.txt"
printf 'x' > "$work/bad/sub/fine.txt"
printf 'x' > "$work/bad/sub/trailing dot."

if "$packer" "$work/bad" "$work/bad.glp" 2> "$work/err"; then
  echo "FAIL: the packer accepted a name ending in a dot"; exit 1
fi
grep -q 'trailing dot\.' "$work/err" || { echo "FAIL: the message does not name the file:"; cat "$work/err"; exit 1; }
[ ! -e "$work/bad.glp" ] || { echo "FAIL: an archive was written"; exit 1; }

"$packer" "$work/good" "$work/good.glp" > /dev/null || { echo "FAIL: the packer refused a good folder"; exit 1; }
# 24-byte header + one record (20 + 9) + 3 bytes of data.
size=$(wc -c < "$work/good.glp")
[ "$size" -eq 56 ] || { echo "FAIL: archive is $size bytes, expected 56"; exit 1; }
echo "packer: ok"
