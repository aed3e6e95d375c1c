#!/usr/bin/env bash
# check_install.sh BUILD_DIR: installs the build into a temporary DESTDIR and
# validates the desktop entry, the AppStream metainfo and the manual pages.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
check() {  # check DESCRIPTION COMMAND...: runs it, reports a failure
    if ! out=$("${@:2}" 2>&1); then
        echo "FAIL: $1"; echo "$out"; status=1
    fi
}

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr > /dev/null
root="$tmp/root/usr"
for f in bin/tolan bin/tolan-list libexec/tolan/tolan-list-draw share/applications/jp.tolan.Tolan.desktop \
    share/metainfo/jp.tolan.Tolan.metainfo.xml share/icons/hicolor/scalable/apps/jp.tolan.Tolan.svg \
    share/icons/hicolor/16x16/apps/jp.tolan.Tolan.png share/icons/hicolor/256x256/apps/jp.tolan.Tolan.png \
    share/man/man1/tolan.1 share/man/man1/tolan-list.1; do
    [ -e "$root/$f" ] || { echo "FAIL: not installed: $f"; status=1; }
done
# The installed tolan-list hands a PDF to the tolan-list-draw installed with it.
mkdir -p "$tmp/tree/work" && echo listed > "$tmp/tree/work/a.txt"
check "tolan-list --format pdf" "$root/bin/tolan-list" --drive "C:=$tmp/tree" --format pdf \
    -o "$tmp/listing.pdf" 'C:\work'
[ -s "$tmp/listing.pdf" ] || { echo "FAIL: the installed tolan-list wrote no PDF"; status=1; }
check "desktop entry" desktop-file-validate "$root/share/applications/jp.tolan.Tolan.desktop"
check "metainfo" appstreamcli validate --no-net "$root/share/metainfo/jp.tolan.Tolan.metainfo.xml"
for page in tolan tolan-list; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man1/$page.1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "FAIL: man $page"; echo "$warnings"; status=1; }
done

exit $status
