#!/usr/bin/env bash
# The installed tree: `cmake --install` of the build into a staging folder
# has every file where the desktop looks for it, and the desktop entry, the
# AppStream data (with its addresses checked on the network) and the manual
# pages pass their validators.
#
# Usage: install-tree.sh BUILD_DIR
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
usr=$stage/usr
for file in bin/Kivo231 bin/kvotool \
    share/applications/kivo.desktop \
    share/metainfo/org.kivoproject.Kivo.metainfo.xml \
    share/mime/packages/kivo.xml \
    share/icons/hicolor/scalable/apps/kivo.svg share/icons/hicolor/48x48/apps/kivo.png \
    share/icons/hicolor/scalable/mimetypes/application-x-kivo-scenario.svg \
    share/icons/hicolor/48x48/mimetypes/application-x-kivo-scenario.png \
    share/man/man1/Kivo231.1.gz share/man/man1/kvotool.1.gz \
    share/doc/kivo/copyright share/doc/kivo/changelog.gz; do
  [ -s "$usr/$file" ] || { echo "install-tree: $file is missing" >&2; exit 1; }
done
[ -x "$usr/bin/Kivo231" ] && [ -x "$usr/bin/kvotool" ]

desktop-file-validate "$usr/share/applications/kivo.desktop"
appstreamcli validate --explain "$usr/share/metainfo/org.kivoproject.Kivo.metainfo.xml" >/dev/null
# The AppStream data names the installed desktop entry and programs.
grep -q '<launchable type="desktop-id">kivo.desktop</launchable>' "$usr/share/metainfo/org.kivoproject.Kivo.metainfo.xml"

# The MIME package is well-formed and the icon it names is installed.
icon=$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$usr/share/mime/packages/kivo.xml")
[ -s "$usr/share/icons/hicolor/scalable/mimetypes/$icon.svg" ]

# The manual pages format without a warning.
for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || { echo "install-tree: $page: $warnings" >&2; exit 1; }
  ! zgrep -q '@[A-Z_]*@' "$page"
done
echo "install-tree: the installed tree is complete and valid"
