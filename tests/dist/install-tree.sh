#!/usr/bin/env bash
# The installed tree: `cmake --install` of the build into a staging folder
# has every file where the desktop looks for it, and the desktop entry, the
# AppStream data (with its addresses checked on the network) and the manual
# pages pass their validators.
#
# Usage: install-tree.sh BUILD_DIR
set -euo pipefail
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$1" --prefix /usr >/dev/null
cd "$stage/usr"
metainfo=share/metainfo/org.kivoproject.Kivo.metainfo.xml
for file in bin/Kivo231 bin/kvotool share/applications/kivo.desktop $metainfo share/mime/packages/kivo.xml \
    share/icons/hicolor/{scalable/apps/kivo.svg,48x48/apps/kivo.png} \
    share/icons/hicolor/{scalable/mimetypes/application-x-kivo-scenario.svg,48x48/mimetypes/application-x-kivo-scenario.png} \
    share/man/man1/{Kivo231,kvotool}.1.gz share/doc/kivo/{copyright,changelog.gz}; do
  [ -s "$file" ] || { echo "install-tree: $file is missing" >&2; exit 1; }
done
[ -x bin/Kivo231 ] && [ -x bin/kvotool ]
desktop-file-validate share/applications/kivo.desktop
appstreamcli validate --explain "$metainfo" >/dev/null
# The AppStream data names the installed desktop entry.
grep -q '<launchable type="desktop-id">kivo.desktop</launchable>' "$metainfo"
# The MIME package names an icon that is installed.
[ -s "share/icons/hicolor/scalable/mimetypes/$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' share/mime/packages/kivo.xml).svg" ]
# The manual pages are filled in and format without a warning.
for page in share/man/man1/*.1.gz; do
  [ -z "$(zcat "$page" | groff -man -ww -z 2>&1)" ] && ! zgrep -q '@[A-Z_]*@' "$page" || { echo "install-tree: $page" >&2; exit 1; }
done
echo "install-tree: the installed tree is complete and valid"
