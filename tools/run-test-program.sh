#!/bin/sh
# Runs one test program under Wine with its output in a file, printed when the program has ended.
# Under Wine every process inherits its starter's output: one the tests leave behind (a command
# interpreter that never got to run, the desktop process that waits for it) would otherwise hold
# ctest's pipe open, and ctest would wait for it for good after the program ended.
out=$(mktemp)
wine "$@" > "$out" 2>&1 3>&- 4>&- 5>&- 6>&- 7>&- 8>&- 9>&- &
wait $!
status=$?
cat "$out"
rm -f "$out"
exit $status
