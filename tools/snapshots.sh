#!/usr/bin/env bash
# Draws every screen of the setup with "--ui-snapshot" under Wine, once in English into
# build/snapshots/ui and once in each other language of resources/texts (with "/LANG=") into
# build/snapshots/ui-<tag>, and writes a contact sheet per language, build/snapshots/index.html
# and index-<tag>.html: each scene's pictures side by side (light and dark at 100 % and 150 %,
# high-contrast black and white at 100 %) and the fit report, so that a reviewer looks at one page.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh
trap bench_stop EXIT
bench_start

win_out='C:\gls-snapshots'
unix_out=$(bench_unix_path "$win_out")
sheet="$BUILD_DIR/snapshots"
rm -rf "$sheet"
mkdir -p "$sheet"

# draw <tag or empty for English> <folder name below the sheet> <page name>
draw() {
  local tag=$1 folder=$2 page=$3
  local lang=()
  [[ -n "$tag" ]] && lang=("/LANG=$tag")
  rm -rf "$unix_out"
  mkdir -p "$unix_out/test-root"
  # Test mode keeps the run away from the profile; the tool itself writes only its pictures.
  GLIMMERLINE_SETUP_TEST="$win_out\\test-root" wine "$BUILD_DIR/GlimmerlineSetup.exe" "${lang[@]}" \
    --ui-snapshot "$win_out\\ui" < /dev/null > /dev/null 2>&1 ||
    { echo "the snapshot tool reported a failure (${tag:-en})" >&2; exit 1; }
  cp -r "$unix_out/ui" "$sheet/$folder"
  {
    echo '<!doctype html><meta charset="utf-8"><title>Glimmerline Setup: screens</title>'
    echo '<style>body{font:14px sans-serif;background:#888;margin:16px}h2{margin:24px 0 6px}'
    echo 'img{margin:0 8px 8px 0;vertical-align:top;box-shadow:0 1px 4px #0006}pre{background:#fff;padding:8px}</style>'
    echo "<h1>Glimmerline Setup (${tag:-en}): every screen, light and dark at 100 % and 150 %, high contrast black and white</h1>"
    echo -n '<p>'
    for other in "${pages[@]}"; do echo -n "<a href=\"${other#*:}\">${other%%:*}</a> "; done
    echo '</p>'
    for light in "$sheet/$folder"/*_light_100.png; do
      scene=$(basename "$light" _light_100.png)
      echo "<h2>$scene</h2>"
      for variant in light_100 dark_100 light_150 dark_150 hcblack_100 hcwhite_100; do
        echo "<img src=\"$folder/${scene}_${variant}.png\" title=\"${scene}_${variant}\">"
      done
    done
    echo '<h2>How the window fits common screens</h2><pre>'
    tr -d '\r' < "$sheet/$folder/fits.txt"
    echo '</pre>'
    for fit in "$sheet/$folder"/fit_*.png; do echo "<img src=\"$folder/$(basename "$fit")\" title=\"$(basename "$fit")\">"; done
  } > "$sheet/$page"
  if grep -q "TOO WIDE\|TOO TALL\|NOT MEASURED\|DOES NOT FIT" "$sheet/$folder/fits.txt"; then
    echo "snapshots (${tag:-en}): a text or the window does not fit; see $sheet/$page" >&2
    failed=1
  fi
}

tags=()
for table in resources/texts/*.txt; do
  tag=$(basename "$table" .txt)
  [[ "$tag" != en ]] && tags+=("$tag")
done
pages=("en:index.html")
for tag in "${tags[@]}"; do pages+=("$tag:index-$tag.html"); done
failed=0
draw "" ui index.html
for tag in "${tags[@]}"; do draw "$tag" "ui-$tag" "index-$tag.html"; done
echo "snapshots: $(ls "$sheet"/ui*/*.png | wc -l) pictures in $((${#tags[@]} + 1)) languages; contact sheets $sheet/index.html and index-<tag>.html"
exit $failed
