#!/usr/bin/env bash
# The Debian package passes Debian's own checks: CPack makes it from the
# build as `./kivo package` does from the release build (the programs are
# stripped either way), and lintian finds no error in it; every tag it
# gives is printed. No made-up home page is left, neither in the package's
# fields nor in what the desktop reads about the program.
#
# Usage: package-lintian.sh BUILD_DIR
set -euo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$1/CPackConfig.cmake" >/dev/null
deb=$(ls "$out"/kivo_*_amd64.deb)
lintian --fail-on error --display-info "$deb" || { echo "package-lintian: lintian finds errors" >&2; exit 1; }
dpkg-deb -x "$deb" "$out/root"
if { dpkg-deb -f "$deb" Homepage; cat "$out"/root/usr/share/{metainfo,applications}/*; } | grep 'example\.org'; then
  echo "package-lintian: a placeholder address is left" >&2
  exit 1
fi
echo "package-lintian: $(basename "$deb") passes lintian"
