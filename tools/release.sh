#!/usr/bin/env bash
# make release: builds the setup in a clean build-release/, signs it when a certificate is given
# (tools/sign-setup.sh names the variables), and writes GlimmerlineSetup-<version>.exe and its
# SHA256SUMS into build-release/dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-release
dist=$out/dist

if [[ -n "$(git status --porcelain 2> /dev/null)" ]]; then
  echo "Note: the working tree has changes that are not committed; this release cannot be rebuilt from a commit."
fi
tools/release-build.sh "$out"
version=$(< "$out/setup-version.txt")
name=GlimmerlineSetup-$version.exe
mkdir -p "$dist"

set +e
tools/sign-setup.sh "$out/GlimmerlineSetup.exe" "$dist/$name"
signing=$?
set -e
case $signing in
  0) state="signed" ;;
  2)
    echo "No certificate given (SIGN_PKCS12 and SIGN_PASSWORD, or SIGN_CERT and SIGN_KEY): the setup is unsigned."
    cp "$out/GlimmerlineSetup.exe" "$dist/$name"
    state="unsigned"
    ;;
  *)
    echo "No release was written." >&2
    exit 1
    ;;
esac

(cd "$dist" && sha256sum "$name" > SHA256SUMS && sha256sum --quiet -c SHA256SUMS)
commit=$(git rev-parse --short HEAD 2> /dev/null || echo "no commit")
echo "Glimmerline Setup $version, $state, built from $commit:"
echo "  $(pwd)/$dist/$name ($(stat -c %s "$dist/$name") bytes)"
echo "  $(pwd)/$dist/SHA256SUMS"
