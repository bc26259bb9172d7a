# Sourced by the test and demo scripts: one private Wine prefix under the build folder, made once
# and reused, one X server of our own for anything that draws, and one wineserver for the run.
# bench_start sets everything up; bench_stop (run from a trap) stops what bench_start started.

bench_build=${BUILD_DIR:-$(pwd)/build}
export WINEPREFIX="$bench_build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# Wine takes the user's display language from the locale: the bench's user reads English, whatever
# the machine's locale, so that the setup speaks English unless told "/LANG=".
export LC_ALL=C.UTF-8
# No prompts for the .NET and HTML runtimes: nothing here uses them. No menu builder either: Wine
# starts it for every shortcut written, it would put the tests' shortcuts into the host's menus,
# and one started by a setup that a test kills waits for ever, holding the test runner's output.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

bench_xvfb_pid=""

bench_prefix() {
  if [[ -f "$WINEPREFIX/.gls-ready" ]]; then return 0; fi
  echo "Preparing the Wine prefix in $WINEPREFIX ..."
  rm -rf "$WINEPREFIX"
  wineboot -i > /dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f > /dev/null 2>&1
  # Wine has no Segoe UI; without a replacement its text measures zero wide.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d 'DejaVu Sans' /f > /dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI Semibold' /d 'DejaVu Sans' /f > /dev/null 2>&1
  wineserver -w
  [[ -d "$WINEPREFIX/drive_c/windows" ]] || { echo "Wine could not make its prefix" >&2; return 1; }
  touch "$WINEPREFIX/.gls-ready"
}

bench_xvfb() {
  local d
  for d in $(seq 91 140); do
    if [[ ! -e /tmp/.X11-unix/X$d && ! -e /tmp/.X$d-lock ]]; then
      Xvfb ":$d" -screen 0 1600x1000x24 -nolisten tcp > /dev/null 2>&1 &
      bench_xvfb_pid=$!
      local i
      for i in $(seq 1 50); do
        [[ -e /tmp/.X11-unix/X$d ]] && break
        sleep 0.1
      done
      if [[ -e /tmp/.X11-unix/X$d ]]; then
        export DISPLAY=":$d"
        return 0
      fi
      kill "$bench_xvfb_pid" 2> /dev/null || true
      bench_xvfb_pid=""
    fi
  done
  echo "No X server could be started" >&2
  return 1
}

# A 4 MiB RAM drive mapped as S:, so that tests can fill a drive up. Mounting needs root; without
# it S: stays unmapped and the tests that need it say so and skip.
bench_small_drive_dir=""
bench_small_drive() {
  local dir="$bench_build/smalldrive"
  rm -f "$WINEPREFIX/dosdevices/s:"
  mkdir -p "$dir"
  mountpoint -q "$dir" && umount "$dir" 2> /dev/null
  if mount -t tmpfs -o size=4m tmpfs "$dir" 2> /dev/null; then
    bench_small_drive_dir="$dir"
    ln -s "$dir" "$WINEPREFIX/dosdevices/s:"
  fi
}

bench_start() {
  bench_prefix
  bench_small_drive
  bench_xvfb
  # One wineserver for the whole run: every Wine process start afterwards is cheaper.
  wineserver -p
  # Start Wine's own services now, with no pipe of ours open: started later from inside ctest they
  # would inherit its output pipes and keep it waiting after the last test.
  wine cmd /c exit < /dev/null > /dev/null 2>&1 || true
}

bench_stop() {
  wineserver -k > /dev/null 2>&1 || true
  if [[ -n "$bench_small_drive_dir" ]]; then
    rm -f "$WINEPREFIX/dosdevices/s:"
    umount "$bench_small_drive_dir" 2> /dev/null || true
  fi
  if [[ -n "$bench_xvfb_pid" ]]; then
    kill "$bench_xvfb_pid" 2> /dev/null || true
    wait "$bench_xvfb_pid" 2> /dev/null || true
  fi
}

# A Unix path inside the prefix's drive C for a Windows path "C:\...".
bench_unix_path() {
  local win=${1#?:\\}
  echo "$WINEPREFIX/drive_c/${win//\\//}"
}
