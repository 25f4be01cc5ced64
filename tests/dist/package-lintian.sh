#!/usr/bin/env bash
# The Debian package passes Debian's own checks: CPack makes it from the
# build as `./kivo package` does from the release build (the programs are
# stripped either way), and lintian finds no error in it; every tag it
# gives is printed.
#
# Usage: package-lintian.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$out"/kivo_*_amd64.deb)
if ! lintian --fail-on error --display-info "$deb"; then
  echo "package-lintian: lintian finds errors in $(basename "$deb")" >&2
  exit 1
fi

# No made-up home page, neither in the package's fields nor in what the
# desktop reads about the program.
dpkg-deb -x "$deb" "$out/root"
if { dpkg-deb -f "$deb" Homepage; cat "$out"/root/usr/share/metainfo/* "$out"/root/usr/share/applications/*; } |
    grep 'example\.org'; then
  echo "package-lintian: a placeholder address is left" >&2
  exit 1
fi
echo "package-lintian: $(basename "$deb") passes lintian"
