#!/usr/bin/env bash
# Draws every screen of the setup with "--ui-snapshot" under Wine, into build/snapshots/ui, and
# writes build/snapshots/index.html: a contact sheet with each scene's pictures side by side (light
# and dark at 100 % and 150 %, high-contrast black and white at 100 %) and the fit report, so that
# a reviewer looks at one page.
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh
trap bench_stop EXIT
bench_start

win_out='C:\gls-snapshots'
unix_out=$(bench_unix_path "$win_out")
rm -rf "$unix_out"
mkdir -p "$unix_out/test-root"
# Test mode keeps the run away from the profile; the tool itself writes only its pictures.
GLIMMERLINE_SETUP_TEST="$win_out\\test-root" wine "$BUILD_DIR/GlimmerlineSetup.exe" --ui-snapshot "$win_out\\ui" \
  < /dev/null > /dev/null 2>&1 || { echo "the snapshot tool reported a failure" >&2; exit 1; }

sheet="$BUILD_DIR/snapshots"
rm -rf "$sheet"
mkdir -p "$sheet"
cp -r "$unix_out/ui" "$sheet/ui"
{
  echo '<!doctype html><meta charset="utf-8"><title>Glimmerline Setup: screens</title>'
  echo '<style>body{font:14px sans-serif;background:#888;margin:16px}h2{margin:24px 0 6px}'
  echo 'img{margin:0 8px 8px 0;vertical-align:top;box-shadow:0 1px 4px #0006}pre{background:#fff;padding:8px}</style>'
  echo '<h1>Glimmerline Setup: every screen, light and dark at 100 % and 150 %, high contrast black and white</h1>'
  for light in "$sheet"/ui/*_light_100.png; do
    scene=$(basename "$light" _light_100.png)
    echo "<h2>$scene</h2>"
    for variant in light_100 dark_100 light_150 dark_150 hcblack_100 hcwhite_100; do
      echo "<img src=\"ui/${scene}_${variant}.png\" title=\"${scene}_${variant}\">"
    done
  done
  echo '<h2>How the window fits common screens</h2><pre>'
  tr -d '\r' < "$sheet/ui/fits.txt"
  echo '</pre>'
  for fit in "$sheet"/ui/fit_*.png; do echo "<img src=\"ui/$(basename "$fit")\" title=\"$(basename "$fit")\">"; done
} > "$sheet/index.html"
echo "snapshots: $(ls "$sheet"/ui/*.png | wc -l) pictures; contact sheet $sheet/index.html"
