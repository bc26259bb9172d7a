#!/usr/bin/env bash
# The demo: runs the built setup under Wine in test mode in a fresh sandbox folder and shows what
# it did: each command, its exit code, the lines it added to the setup log, and the files it wrote;
# also what the setup imports, the window as a screen reader reads it, and an install from a signed copy.
set -uo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=$(pwd)/build
source tools/wine-bench.sh

trap bench_stop EXIT
bench_start || exit 1

stamp=$(date +%Y%m%d-%H%M%S)
sandbox_win="C:\\gls-demo\\$stamp"
sandbox=$(bench_unix_path "$sandbox_win")
mkdir -p "$sandbox"
setup="$BUILD_DIR/GlimmerlineSetup.exe"
log="$sandbox/Temp/Glimmerline-Setup.log"
log_seen=0

bold=$'\e[1m'; dim=$'\e[2m'; off=$'\e[0m'
[[ -t 1 ]] || { bold=""; dim=""; off=""; }

section() { printf '\n%s== %s ==%s\n' "$bold" "$1" "$off"; }

# Prints the log lines added since the last call.
new_log_lines() {
  [[ -f "$log" ]] || { echo "  (no log)"; return; }
  local total
  total=$(wc -l < "$log")
  tail -n +"$((log_seen + 1))" "$log" | sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' -e 's/^/  log> /'
  log_seen=$total
}

# demo_run EXE TESTFOLDER ARGS...: runs the program in test mode and shows what happened.
demo_run() {
  local exe=$1 folder=$2
  shift 2
  printf '%s$ GLIMMERLINE_SETUP_TEST=%s wine %s %s%s\n' "$dim" "$folder" "$(basename "$exe")" "$*" "$off"
  GLIMMERLINE_SETUP_TEST="$folder" wine "$exe" "$@" < /dev/null > /dev/null 2>&1
  local code=$?
  echo "  exit code: $code"
  new_log_lines
}

section "What the setup carries"
echo "  $(basename "$setup"): $(stat -c %s "$setup") bytes"
echo "  payload archive: $(stat -c %s "$BUILD_DIR/resources/payload.glp") bytes, packed from:"
if [[ -d "$BUILD_DIR/demo-payload" ]]; then
  (cd "$BUILD_DIR/demo-payload" && find . -type f -printf '    %P (%s bytes)\n' | LC_ALL=C sort)
fi
echo "  icon: $BUILD_DIR/resources/glimmerline-256.png (the 256-pixel image of the nine in the icon)"
echo "  the payload as the setup reads it back from the built file (wine gls_list_payload.exe):"
wine "$BUILD_DIR/tools/gls_list_payload.exe" "$setup" < /dev/null 2> /dev/null | tr -d '\r' | sed 's/^/    /'

section "What the setup loads when it starts: its import table, and its own code beside its payload"
objdump=x86_64-w64-mingw32-objdump
printf '%s$ %s -p %s   (the "DLL Name" lines, each marked)%s\n' "$dim" "$objdump" "$(basename "$setup")" "$off"
tools/list-imports.sh "$objdump" "$setup" | sed 's/^/  /'
echo "  (Direct2D, DirectWrite, dwmapi and oleacc are loaded from the system folder when needed, not imported)"
printf '%s$ wine gls_install_bench.exe %s --size   (the first line of make bench)%s\n' "$dim" "$(basename "$setup")" "$off"
wine "$BUILD_DIR/tools/gls_install_bench.exe" "$setup" --size < /dev/null 2> /dev/null | tr -d '\r' | sed 's/^/  /'

section "An unknown switch is refused (exit 3, logged, no message box in silent or test mode)"
demo_run "$setup" "$sandbox_win" /S /nonsense

section "A test folder that does not exist: exit 3, and no log is written"
printf '%s$ GLIMMERLINE_SETUP_TEST=%s wine %s /S%s\n' "$dim" "$sandbox_win\\missing" "$(basename "$setup")" "$off"
GLIMMERLINE_SETUP_TEST="$sandbox_win\\missing" wine "$setup" /S < /dev/null > /dev/null 2>&1
echo "  exit code: $?"
[[ -e "$sandbox/missing" ]] && echo "  (unexpected: the folder appeared)" || echo "  nothing was written there"

section "The same program named Uninstall.exe takes the uninstaller's role"
cp "$setup" "$sandbox/Uninstall.exe"
demo_run "$sandbox/Uninstall.exe" "$sandbox_win" /S /show-role

section "An updater's run with an unknown switch: exit 3, the update result, and the app started again"
mkdir -p "$sandbox/LocalAppData/Programs/Glimmerline"
cp "$BUILD_DIR/standin/Glimmerline.exe" "$sandbox/LocalAppData/Programs/Glimmerline/"
demo_run "$setup" "$sandbox_win" /S /start /x
echo "  update-result.txt:"
sed 's/^/    | /' "$sandbox/LocalAppData/Glimmerline/update/update-result.txt"
echo "  launched.txt (test mode writes this instead of starting the app):"
sed 's/^/    | /' "$sandbox/launched.txt"

section "A silent install into the test sandbox"
rm -f "$sandbox/launched.txt" "$sandbox/LocalAppData/Programs/Glimmerline/Glimmerline.exe"
demo_run "$setup" "$sandbox_win" /S
echo "  installed files:"
(cd "$sandbox/LocalAppData/Programs/Glimmerline" && find . -type f -printf '    %P (%s bytes)\n' | LC_ALL=C sort)
echo "  installed-apps entry (HKCU\\Software\\GlimmerlineSetupTest\\Uninstall\\Glimmerline):"
wine reg query 'HKCU\Software\GlimmerlineSetupTest\Uninstall\Glimmerline' < /dev/null 2> /dev/null | tr -d '\r' | grep REG_ | sed 's/^ */    /'

section "An updater's silent run (/S /start): the update result and the app started again"
demo_run "$setup" "$sandbox_win" /S /start
sed 's/^/    | /' "$sandbox/LocalAppData/Glimmerline/update/update-result.txt"
echo "  launched.txt: $(cat "$sandbox/launched.txt")"

section "A windowed update, driven by keys posted from another process, one screenshot per screen"
shots="$BUILD_DIR/screenshots"
mkdir -p "$shots"
post() { wine "$BUILD_DIR/tools/gls_post_input.exe" GlimmerlineSetupTestWindow "$1" < /dev/null > /dev/null 2>&1; }
# post_until_exit INPUT [NOTE]: posts the input every half second until the window's process ends,
# then prints its exit code and the note.
post_until_exit() {
  for i in $(seq 1 60); do
    kill -0 "$window_pid" 2> /dev/null || break
    post "$1"
    sleep 0.5
  done
  wait "$window_pid"
  echo "  exit code: $?${2:-}"
}
GLIMMERLINE_SETUP_TEST="$sandbox_win" wine "$setup" < /dev/null > /dev/null 2>&1 &
window_pid=$!
sleep 4
import -window root "$shots/demo-1-welcome.png" 2> /dev/null && echo "  welcome screen:   $shots/demo-1-welcome.png"
post enter # "Update"
sleep 0.3
import -window root "$shots/demo-2-progress.png" 2> /dev/null && echo "  progress screen:  $shots/demo-2-progress.png"
for i in $(seq 1 60); do
  grep -q "installed 11 files" "$log" 2> /dev/null && [[ $(grep -c "installed 11 files" "$log") -ge 3 ]] && break
  sleep 0.5
done
sleep 1.5 # the progress screen shows for at least 0.7 s
import -window root "$shots/demo-3-done.png" 2> /dev/null && echo "  installed screen: $shots/demo-3-done.png"
# "Done", with "Open Glimmerline" ticked; pressed again while the progress screen may still show.
post_until_exit enter
new_log_lines

section "The window through a screen reader: its accessible object, read from another process"
# A sandbox of its own, so that the welcome screen is a first install's and the main one stays as is.
reader_win="$sandbox_win\\reader"
mkdir -p "$(bench_unix_path "$reader_win")"
read_accessible() {
  printf '%s$ GLIMMERLINE_SETUP_TEST=%s wine gls_read_accessible.exe %s%s\n' "$dim" "$reader_win" "$*" "$off"
  GLIMMERLINE_SETUP_TEST="$reader_win" wine "$BUILD_DIR/tools/gls_read_accessible.exe" "$@" < /dev/null 2> /dev/null |
    tr -d '\r' | sed 's/^/  /'
}
GLIMMERLINE_SETUP_TEST="$reader_win" wine "$setup" < /dev/null > /dev/null 2>&1 &
window_pid=$!
tree=$(read_accessible tree)
echo "$tree"
read_accessible tab tab tab
sleep 0.5 # the ring is drawn with the next frame
import -window root "$shots/demo-focus-ring.png" 2> /dev/null && echo "  the focus ring:   $shots/demo-focus-ring.png"
# The checkbox is the child whose default action is "Check": the setup's own word, where the role's
# text is the system's and differs between systems and languages.
checkbox=$(sed -En 's/^ *([0-9]+)\. .*\| action: "Check" \|.*/\1/p' <<< "$tree" | head -n 1)
if [[ -n "$checkbox" ]]; then read_accessible do "$checkbox"; else echo "  (no child offers \"Check\")"; fi
post_until_exit close "   (closed on the welcome screen: nothing installed)"

section "The window in the user's language: /LANG=ja and /LANG=de, read by a screen reader"
for tag in ja de; do
  GLIMMERLINE_SETUP_TEST="$reader_win" wine "$setup" "/LANG=$tag" < /dev/null > /dev/null 2>&1 &
  window_pid=$!
  read_accessible tree
  import -window root "$shots/demo-welcome-$tag.png" 2> /dev/null && echo "  the welcome screen: $shots/demo-welcome-$tag.png"
  post_until_exit close "   (closed on the welcome screen)"
done

section "The installed uninstaller, silent: it hands over to a copy in Temp, which removes the app"
echo "the user's own notes" > "$sandbox/LocalAppData/Programs/Glimmerline/my-notes.txt"
# A Live user whose User Library holds the script and the device, as Live would have them.
mkdir -p "$sandbox/Roaming/Ableton/Live 12.1/Preferences"
printf '<Ableton>\n <UserLibrary>\n  <LibraryProject>\n   <ProjectPath Value="%s\\Music\\Ableton" />\n  </LibraryProject>\n </UserLibrary>\n</Ableton>\n' \
  "$sandbox_win" > "$sandbox/Roaming/Ableton/Live 12.1/Preferences/Library.cfg"
library="$sandbox/Music/Ableton/User Library"
mkdir -p "$library/Remote Scripts" "$library/Presets/Audio Effects/Max Audio Effect"
cp -r "$sandbox/LocalAppData/Programs/Glimmerline/live/Glimmerline" "$library/Remote Scripts/"
cp "$sandbox/LocalAppData/Programs/Glimmerline/m4l/Glimmerline Feed.amxd" "$library/Presets/Audio Effects/Max Audio Effect/Glimmerline.amxd"
cp "$sandbox/LocalAppData/Programs/Glimmerline/m4l/glimmerline_feed.js" "$library/Presets/Audio Effects/Max Audio Effect/"
echo "  Live's User Library before: $(cd "$library" && find . -type f | LC_ALL=C sort | tr '\n' ' ')"
demo_run "$sandbox/LocalAppData/Programs/Glimmerline/Uninstall.exe" "$sandbox_win" /S
for i in $(seq 1 50); do
  ls "$sandbox/Temp"/Glimmerline-Uninstall-*.exe > /dev/null 2>&1 || break
  sleep 0.2
done
new_log_lines
echo "  the copy in Temp deleted itself: $(ls "$sandbox/Temp"/Glimmerline-Uninstall-*.exe > /dev/null 2>&1 && echo no || echo yes)"
echo "  left in the install folder: $(cd "$sandbox/LocalAppData/Programs/Glimmerline" && ls)"
echo "  Live's User Library after: $(cd "$library" && find . -type f | LC_ALL=C sort | tr '\n' ' ')(nothing of Glimmerline's)"
wine reg query 'HKCU\Software\GlimmerlineSetupTest\Uninstall\Glimmerline' < /dev/null > /dev/null 2>&1 \
  && echo "  installed-apps entry: still there" || echo "  installed-apps entry: gone"

section "Killed in the middle of a copy, then run again: the install converges"
# A second sandbox, so that the first stays as the runs above left it.
crash_win="$sandbox_win\\killed"
crash=$(bench_unix_path "$crash_win")
mkdir -p "$crash"
crash_app="$crash/LocalAppData/Programs/Glimmerline"
printf '%s$ GLIMMERLINE_SETUP_TEST=%s wine %s /S   (ended with kill -9 once its job has begun)%s\n' "$dim" "$crash_win" "$(basename "$setup")" "$off"
GLIMMERLINE_SETUP_TEST="$crash_win" wine "$setup" /S < /dev/null > /dev/null 2>&1 &
victim=$!
for i in $(seq 1 500); do
  grep -q "install into" "$crash/Temp/Glimmerline-Setup.log" 2> /dev/null && break
  sleep 0.005
done
kill -9 "$victim" 2> /dev/null
wait "$victim" 2> /dev/null
echo "  the log ends: $(tail -n 1 "$crash/Temp/Glimmerline-Setup.log" | tr -d '\r')"
echo "  found after the kill: $(cd "$crash_app" 2> /dev/null && find . -mindepth 1 -maxdepth 1 -printf '%P ' | LC_ALL=C sort)"
saved_log=$log saved_seen=$log_seen
log="$crash/Temp/Glimmerline-Setup.log"
log_seen=$(wc -l < "$log")
demo_run "$setup" "$crash_win" /S
echo "  after the rerun: $(cd "$crash_app" && find . -mindepth 1 -maxdepth 1 -printf '%P ' | LC_ALL=C sort)"
echo "  work entries (.glsetup-) left: $(find "$crash_app" -name '.glsetup-*' | wc -l)"
demo_run "$setup" "$crash_win" /S /uninstall

section "Hostile inputs end with a defined code and a log line, never a hang"
echo "  a /parent= handle that is no process (the pseudo-handle of the process itself):"
demo_run "$setup" "$crash_win" /uninstall "/from=$crash_win\\nothing" /parent=18446744073709551615 /S
echo "  GLIMMERLINE_SETUP_TEST_DELAY_MS=99999999999, beyond 32 bits, counts as no delay:"
GLIMMERLINE_SETUP_TEST_DELAY_MS=99999999999 demo_run "$setup" "$crash_win" /S /uninstall

section "What the setup will not touch: the user's own folders, and a Live path cut short by a NUL"
echo "  /D= naming the user's Documents folder (in test mode the user's folders lie in the test folder):"
demo_run "$setup" "$crash_win" /S "/D=$crash_win\\Documents"
# A Library.cfg whose library path is the user's thesis followed by a NUL: a call that takes a C
# string would read the thesis itself.
echo "the user's thesis" > "$crash/thesis.docx"
mkdir -p "$crash/Roaming/Ableton/Live 12/Preferences"
printf '<UserLibrary><ProjectPath Value="%s\\thesis.docx\0" /></UserLibrary>' "$crash_win" \
  > "$crash/Roaming/Ableton/Live 12/Preferences/Library.cfg"
echo "  Live's Library.cfg names $crash_win\\thesis.docx followed by a NUL; install, then uninstall:"
demo_run "$setup" "$crash_win" /S
demo_run "$setup" "$crash_win" /S /uninstall
echo "  thesis.docx afterwards: $(cat "$crash/thesis.docx" 2> /dev/null || echo GONE)"
log=$saved_log log_seen=$saved_seen
wine reg delete 'HKCU\Software\GlimmerlineSetupTest' /f < /dev/null > /dev/null 2>&1

section "A signed release: signed with a throw-away certificate, verified, and installed from"
signed_win="$sandbox_win\\signed"
signed=$(bench_unix_path "$signed_win")
mkdir -p "$signed"
certs=$(mktemp -d)
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$certs/key.pem" -out "$certs/cert.pem" -days 2 \
  -subj "/CN=Glimmerline Demo Signing" -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
  > /dev/null 2>&1
printf '%s$ SIGN_CERT=cert.pem SIGN_KEY=key.pem tools/sign-setup.sh %s signed/GlimmerlineSetup.exe%s\n' "$dim" "$(basename "$setup")" "$off"
SIGN_CERT="$certs/cert.pem" SIGN_KEY="$certs/key.pem" tools/sign-setup.sh "$setup" "$signed/GlimmerlineSetup.exe" 2>&1 | sed 's/^/  /'
printf '%s$ osslsigncode verify -CAfile cert.pem -in signed/GlimmerlineSetup.exe%s\n' "$dim" "$off"
osslsigncode verify -CAfile "$certs/cert.pem" -in "$signed/GlimmerlineSetup.exe" 2>&1 |
  grep -E '^(Current message digest|Calculated message digest|Signature verification|Number of verified|Succeeded|Failed)' |
  sed 's/^/  /'
rm -rf "$certs"
saved_log=$log saved_seen=$log_seen
log="$signed/Temp/Glimmerline-Setup.log" log_seen=0
demo_run "$signed/GlimmerlineSetup.exe" "$signed_win" /S
cmp -s "$signed/GlimmerlineSetup.exe" "$signed/LocalAppData/Programs/Glimmerline/Uninstall.exe" \
  && echo "  the installed Uninstall.exe is the signed file, byte for byte" \
  || echo "  the installed Uninstall.exe differs from the signed file"
log=$saved_log log_seen=$saved_seen
wine reg delete 'HKCU\Software\GlimmerlineSetupTest' /f < /dev/null > /dev/null 2>&1

section "Files in the sandbox $sandbox_win"
(cd "$sandbox" && find . -printf '  %P\n' | LC_ALL=C sort | grep -v '^  $')
echo
wine reg delete 'HKCU\Software\GlimmerlineSetupTest' /f < /dev/null > /dev/null 2>&1
echo "Sandbox kept at $sandbox"
