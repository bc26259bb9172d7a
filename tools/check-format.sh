#!/bin/sh
# Fails, naming each file, when a source file of the setup is not as clang-format and the
# project's .clang-format would write it. Fix with: clang-format -i <file>
set -u
cd "$(dirname "$0")/.."
files=$(find core platform process payload installation install uninstall ui snapshot entry \
          \( -name '*.h' -o -name '*.cpp' \) | sort)
if report=$(clang-format --dry-run -Werror $files 2>&1) && [ -z "$report" ]; then
  echo "every source file of the setup is formatted"
  exit 0
fi
echo "$report" | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/not formatted: \1/p' | sort -u
echo "$report" | grep -q "error: code should be clang-formatted" || echo "$report"
exit 1
