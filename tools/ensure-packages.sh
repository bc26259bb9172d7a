#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# As root it installs them (one apt-get update, then one install); otherwise it names them and fails.
set -euo pipefail

packages=(
  g++ g++-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build make googletest
  clang-14 libclang-rt-14-dev
  wine wine64 xvfb xauth x11-utils libgl1-mesa-dri fonts-wine fonts-dejavu-core imagemagick
  osslsigncode openssl clang-format fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them as root: apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
