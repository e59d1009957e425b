#!/usr/bin/env bash
# Builds the Debian package from a release build tree, checks its file list
# and lintian's verdict, and runs ajustor-card from a throw-away install.
# Usage: check_package.sh BUILD_DIR VERSION
set -euo pipefail
build_dir=$1
version=$2

cd "$build_dir"
cpack -G DEB >/dev/null
package=$(ls ajustor-quorvel_"$version"_*.deb)

contents=$(dpkg-deb --contents "$package" | awk '{print $6}')
for path in ./usr/bin/ajustor-quorvel ./usr/bin/ajustor-card ./usr/libexec/ajustor-quorvel/ajustor-card-report \
    ./usr/libexec/ajustor-quorvel/ajustor-card-disks \
    ./usr/share/applications/ajustor-quorvel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/ajustor-quorvel.svg \
    ./usr/share/man/man1/ajustor-quorvel.1.gz ./usr/share/man/man1/ajustor-card.1.gz \
    ./usr/share/doc/ajustor-quorvel/copyright; do
  grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
dpkg-deb --field "$package" Depends | grep -q 'libqt6widgets6' || { echo "Qt is not among the dependencies"; exit 1; }
dpkg-deb --field "$package" Depends | grep -q 'qt6-translations-l10n' || { echo "Qt's translations are not among the dependencies"; exit 1; }

lintian --fail-on error --tag-display-limit 0 "$package"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root"
printed=$("$root"/usr/bin/ajustor-card --version)
[ "$printed" = "ajustor-card $version" ] || { echo "--version printed: $printed"; exit 1; }
# The report is drawn by a program of its own, which the installed tool must find.
mkdir "$root/card"
"$root"/usr/bin/ajustor-card init "$root/card" >/dev/null
QT_QPA_PLATFORM=offscreen "$root"/usr/bin/ajustor-card report "$root/card" "$root/report.pdf"
[ "$(head -c 5 "$root/report.pdf")" = "%PDF-" ] || { echo "the installed report program wrote no PDF"; exit 1; }
