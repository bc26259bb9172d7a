#!/bin/sh
# Fails, naming each file, when a source file of the setup is not as clang-format and the
# project's .clang-format would write it. Fix with: clang-format -i <file>
set -u
cd "$(dirname "$0")/.."
bad=0
for file in $(find core platform process payload installation install uninstall ui snapshot entry \
                \( -name '*.h' -o -name '*.cpp' \) | sort); do
  if ! clang-format --dry-run -Werror "$file" > /dev/null 2>&1; then
    echo "not formatted: $file"
    bad=1
  fi
done
[ $bad -eq 0 ] && echo "every source file of the setup is formatted"
exit $bad
