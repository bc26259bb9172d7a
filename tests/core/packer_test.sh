#!/bin/sh
# The packer refuses a folder holding a name the setup could not install, naming the file, and
# packs a good folder.
set -u
packer="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/good/sub"
printf 'abc' > "$work/good/sub/a.txt"

# refuses <why> <name the message must hold> <files to make below the folder, beside sub/fine.txt>
refuses() {
  why="$1"; named="$2"; shift 2
  bad="$work/bad"
  rm -rf "$bad" "$work/bad.glp"
  mkdir -p "$bad/sub"
  printf 'x' > "$bad/sub/fine.txt"
  for file in "$@"; do
    mkdir -p "$(dirname "$bad/$file")"
    printf 'x' > "$bad/$file"
  done
  if "$packer" "$bad" "$work/bad.glp" 2> "$work/err"; then
    echo "FAIL: the packer accepted $why"; exit 1
  fi
  grep -qF "$named" "$work/err" || { echo "FAIL: the message on $why does not name $named:"; cat "$work/err"; exit 1; }
  [ ! -e "$work/bad.glp" ] || { echo "FAIL: an archive was written for $why"; exit 1; }
}

refuses "a name ending in a dot" "trailing dot." "sub/trailing dot."
refuses "the uninstaller's name" "uninstall.EXE" "uninstall.EXE"
refuses "a work folder's name" ".GLSETUP-old-5/x.txt" ".GLSETUP-old-5/x.txt"
long="sub/$(printf 'n%.0s' $(seq 51))" # 55 characters
refuses "a name too long for the longest install folder" "$long" "$long"
refuses "two names that differ in case" "sub/Fine.txt" "sub/Fine.txt"
refuses "a file where a folder must be" "bad/Sub beside" "Sub"

"$packer" "$work/good" "$work/good.glp" > /dev/null || { echo "FAIL: the packer refused a good folder"; exit 1; }
# 24-byte header + one record (20 + 9) + 3 bytes of data.
size=$(wc -c < "$work/good.glp")
[ "$size" -eq 56 ] || { echo "FAIL: archive is $size bytes, expected 56"; exit 1; }
echo "packer: ok"
