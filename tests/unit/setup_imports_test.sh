#!/bin/sh
# The setup imports only libraries that Windows always loads from its system folder (its known
# libraries, and ntdll): any other import would be looked for first in the setup's own folder,
# the Downloads folder, before the first line of our code can restrict the search.
# Usage: setup_imports_test.sh <objdump> <GlimmerlineSetup.exe>
set -u
objdump="$1"
exe="$2"

# The known libraries of Windows 10 (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs).
allowed=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt "
allowed="$allowed normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 "
allowed="$allowed wldap32 ws2_32 ntdll "

table=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
imports=$(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr 'A-Z' 'a-z' | sed 's/\.dll$//')
[ -n "$imports" ] || { echo "FAIL: no import table found in $exe"; exit 1; }

bad=""
for dll in $imports; do
  case "$allowed" in
    *" $dll "*) ;;
    *) bad="$bad $dll.dll" ;;
  esac
done
if [ -n "$bad" ]; then
  echo "FAIL: $exe imports libraries that Windows looks for in the program's folder first:$bad"
  echo "Load them at run time from the system folder instead (platform/system_library.h)."
  exit 1
fi
echo "imports: ok ($(echo $imports))"
