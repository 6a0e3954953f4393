#!/bin/bash
# Builds the .deb from a copy of the working tree in OUTDIR, so the tree itself stays clean:
# OUTDIR/solvo-printer-mgr_VERSION_ARCH.deb (log in OUTDIR/build.log).
#   debian/build-deb.sh OUTDIR
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
src=$out/solvo-printer-mgr-$version
rm -rf "$src" "$out"/*.deb "$out"/*.ddeb "$out"/*.buildinfo "$out"/*.changes
mkdir -p "$src"
tar -C "$top" --exclude=./.git --exclude='./build*' --exclude=./out -cf - . | tar -C "$src" -xf -
if ! (cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
      dpkg-buildpackage -us -uc -b) > "$out/build.log" 2>&1; then
  tail -n 40 "$out/build.log"
  echo "build-deb: dpkg-buildpackage failed; see $out/build.log" >&2
  exit 1
fi
rm -rf "$src"
ls "$out"/*.deb
