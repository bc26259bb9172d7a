#!/bin/sh
# The layer check passes the project as it is and catches an include that runs up a floor or
# sideways between the two runs, in each form an include line can take.
set -u
source_dir="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

fresh() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  cp -r "$source_dir/cmake" "$work/tree/"
  for layer in core platform process payload installation install uninstall ui snapshot entry; do
    cp -r "$source_dir/$layer" "$work/tree/"
  done
}

check() {
  cmake -DGLS_SOURCE_DIR="$work/tree" -P "$work/tree/cmake/check_layers.cmake" > "$work/out" 2>&1
}

# catches <why> <file to add the line to> <the include line> <what the breach report must say>
catches() {
  fresh
  printf '%s\n' "$3" >> "$work/tree/$2"
  if check; then
    echo "FAILED: not caught: $1 ($3 in $2)"
    failed=1
  elif ! grep -qF "$4" "$work/out"; then
    echo "FAILED: $1: the report does not say \"$4\":"
    cat "$work/out"
    failed=1
  else
    echo "caught: $1"
  fi
}

fresh
if ! check; then
  echo "FAILED: the project itself does not pass:"
  cat "$work/out"
  failed=1
fi

catches "a relative path up a floor" install/install_job.cpp '#include "../ui/window.h"' \
  "install/install_job.cpp includes ui/window.h: install/ may not use ui/"
catches "a path in angle brackets up a floor" install/install_job.cpp '#include <ui/window.h>' \
  "install/install_job.cpp includes ui/window.h: install/ may not use ui/"
catches "the uninstall run using the install run" uninstall/uninstall_job.cpp '#include "install/install_job.h"' \
  "uninstall/uninstall_job.cpp includes install/install_job.h: uninstall/ may not use install/"
catches "the install run using the uninstall run" install/install_job.cpp '#include "../uninstall/live_files.h"' \
  "install/install_job.cpp includes uninstall/live_files.h: install/ may not use uninstall/"
catches "the core using Windows" core/path_rules.cpp '#include <windows.h>' \
  "core/path_rules.cpp includes <windows.h>: core/ takes nothing but the standard library"
catches "the core using a platform header" core/path_rules.cpp '#include "platform/text.h"' \
  "core/path_rules.cpp includes platform/text.h: core/ may not use platform/"
catches "the process layer using the window" process/running_app.cpp '#include "ui/window.h"' \
  "process/running_app.cpp includes ui/window.h: process/ may not use ui/"
exit $failed
