#!/usr/bin/env bash
# make run: opens the real setup window under Wine in test mode, on the user's display, in a sandbox
# of its own, so that a person can try installing, updating and removing by hand.
#   make run                    the setup: installs, or updates what the sandbox holds
#   make run ARGS=/uninstall    the remove screen of the sandbox's installation (ARGS: any switches)
#   make run FRESH=1            starts again with an empty sandbox
#   make run VIRTUAL=1          without a display: a virtual one, and a screenshot of the window
# The sandbox is the test folder C:\gls-run in a Wine prefix of its own, build/run-wineprefix, so
# that the tests, which clear the test registry key, never touch it. It is kept between runs: the
# second run updates what the first installed, and /uninstall finds it.
set -uo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh
export WINEPREFIX="$BUILD_DIR/run-wineprefix"
setup="$BUILD_DIR/GlimmerlineSetup.exe"
read -r -a args <<< "${ARGS:-}"

if [[ -n "${VIRTUAL:-}" ]]; then
  bench_xvfb || exit 1
  trap 'kill "$bench_xvfb_pid" 2> /dev/null' EXIT
elif [[ -z "${DISPLAY:-}" ]] || ! xdpyinfo > /dev/null 2>&1; then
  if [[ -z "${DISPLAY:-}" ]]; then echo "make run opens a window, but there is no display: DISPLAY is not set."
  else echo "make run opens a window, but the display $DISPLAY cannot be opened."; fi
  echo "To get one: run it in a terminal of a desktop session, or log in with 'ssh -X' (or -Y) and run it there."
  echo "Or try it on a virtual display: make run VIRTUAL=1 (the window is drawn on Xvfb, a screenshot is saved,"
  echo "and the window is closed again, since nobody can click it there)."
  exit 1
fi

bench_prefix || exit 1
sandbox_win='C:\gls-run'
sandbox=$(bench_unix_path "$sandbox_win")
if [[ -n "${FRESH:-}" ]]; then
  rm -rf "$sandbox"
  wine reg delete 'HKCU\Software\GlimmerlineSetupTest' /f < /dev/null > /dev/null 2>&1
fi
mkdir -p "$sandbox"
log="$sandbox/Temp/Glimmerline-Setup.log"
log_seen=$( [[ -f "$log" ]] && wc -l < "$log" || echo 0)

# A removal starts the sandbox's installed Uninstall.exe, as the system's app list would.
exe=$setup
if printf '%s\n' "${args[@]}" | grep -qix '/uninstall'; then
  location=$(wine reg query 'HKCU\Software\GlimmerlineSetupTest\Uninstall\Glimmerline' /v InstallLocation \
    < /dev/null 2> /dev/null | tr -d '\r' | sed -n 's/^ *InstallLocation *REG_SZ *//p')
  installed=${location:+$(winepath -u "$location\\Uninstall.exe" 2> /dev/null)}
  if [[ -n "$installed" && -f "$installed" ]]; then
    exe=$installed
  else
    echo "Nothing is installed in the sandbox: the setup shows what it says then."
  fi
fi

echo "Sandbox: $sandbox_win ($sandbox), kept between runs; FRESH=1 starts a new one."
echo "Opening $(basename "$exe")${args[*]:+ ${args[*]}} on display $DISPLAY ..."
GLIMMERLINE_SETUP_TEST="$sandbox_win" wine "$exe" "${args[@]}" < /dev/null > /dev/null 2>&1 &
pid=$!
if [[ -n "${VIRTUAL:-}" ]]; then
  # Wine's first start in a while is slow: wait for the window to show on the X server, then for
  # its first paint.
  for _ in $(seq 1 120); do
    xwininfo -root -tree 2> /dev/null | grep -q '"Glimmerline Setup"' && break
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.5
  done
  sleep 2
  shot="$BUILD_DIR/screenshots/run.png"
  mkdir -p "$(dirname "$shot")"
  import -window root "$shot" 2> /dev/null && echo "Screenshot: $shot"
  wine "$BUILD_DIR/tools/gls_post_input.exe" GlimmerlineSetupTestWindow close < /dev/null > /dev/null 2>&1
fi
wait "$pid"
code=$?
# The uninstaller hands over to a copy of itself in Temp, which owns the window: wait for every
# process of the sandbox's prefix to end.
wineserver -w

if [[ "$exe" == "$setup" ]]; then
  echo "Exit code: $code (the README's table says what it means)"
else
  echo "Exit code of Uninstall.exe: $code; it handed over to its copy in Temp, whose code ends the log."
fi
if [[ -f "$log" ]]; then
  echo "The setup log's new lines ($log):"
  tail -n +"$((log_seen + 1))" "$log" | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' -e 's/^/  /'
fi
app="$sandbox/LocalAppData/Programs/Glimmerline"
if [[ -d "$app" ]]; then
  echo "In the default install folder: $(cd "$app" && ls -A | tr '\n' ' ')"
fi
