#!/bin/sh
# Lists the libraries a Windows program imports, read from its import table, each marked whether
# it is one of Windows' known libraries (or ntdll): those the system always loads from its own
# folder, whatever the search order. Any other import would be looked for first in the program's
# own folder, the Downloads folder, before the first line of the program's code can restrict the search.
# Usage: tools/list-imports.sh <objdump> <program.exe>
# Exit: 0 every import is a known library; 1 one is not, or there is no import table to read.
set -u
objdump="$1"
exe="$2"

# The known libraries of Windows 10 (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs).
known=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt "
known="$known normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 "
known="$known wldap32 ws2_32 ntdll "

table=$("$objdump" -p "$exe") || { echo "$objdump cannot read $exe"; exit 1; }
imports=$(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
[ -n "$imports" ] || { echo "no import table found in $exe"; exit 1; }

unknown=0
for dll in $imports; do
  base=$(printf '%s' "$dll" | tr 'A-Z' 'a-z' | sed 's/\.dll$//')
  case "$known" in
    *" $base "*) mark="a known library: always from the system folder" ;;
    *) mark="NOT a known library: looked for beside the program first"; unknown=1 ;;
  esac
  printf '%-14s %s\n' "$dll" "$mark"
done
exit $unknown
