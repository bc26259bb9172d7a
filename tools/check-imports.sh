#!/bin/sh
# The setup imports only libraries that Windows always loads from its system folder (its known
# libraries, and ntdll): any other import could be planted beside it, in the Downloads folder.
# And it imports SetDefaultDllDirectories, the very first call of the program, which keeps every
# library loaded later to the system folder: Wine loads its own libraries whatever the search
# path, so no test run would notice that call's loss. Run after every link of the setup, and as a test.
# Usage: check-imports.sh <tools/list-imports.sh> <objdump> <GlimmerlineSetup.exe>
set -u
list="$1"
objdump="$2"
exe="$3"

if ! listing=$(sh "$list" "$objdump" "$exe"); then
  echo "FAIL: $exe imports a library that Windows looks for in the program's folder first, or none can be read:"
  printf '%s\n' "$listing"
  echo "Load them at run time from the system folder instead (platform/system_library.h)."
  exit 1
fi
if ! "$objdump" -p "$exe" | grep -Eq '[[:space:]]SetDefaultDllDirectories[[:space:]]*$'; then
  echo "FAIL: $exe does not import SetDefaultDllDirectories: the program's first call, which keeps"
  echo "libraries to the system folder, is gone."
  exit 1
fi
echo "imports: ok ($(printf '%s\n' "$listing" | cut -d' ' -f1 | tr '\n' ' '); SetDefaultDllDirectories)"
