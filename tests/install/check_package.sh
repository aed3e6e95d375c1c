#!/usr/bin/env bash
# check_package.sh DEB_OR_FOLDER: installs the Debian package into a fresh
# root, starts `tolan-list --help` and `tolan --version` from it, removes the
# package and checks that nothing of it is left. Given a folder, the newest
# tolan_*.deb in it; without one it says why and exits 77 (skipped).
set -euo pipefail
deb=$1
if [ ! -f "$deb" ]; then
    deb=$(ls -t "$deb"/tolan_*_*.deb 2>/dev/null | head -1 || true)
    if [ -z "$deb" ]; then
        echo "SKIP: no package built in $1 (scripts/package builds one)"
        exit 77
    fi
fi
if ! command -v dpkg > /dev/null; then
    echo "SKIP: this machine has no dpkg"
    exit 77
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
touch "$root/var/lib/dpkg/status"
# The libraries and fonts it depends on are the host's.
dpkg --root="$root" --force-depends --force-script-chrootless -i "$deb" > "$root.log" 2>&1 ||
    { cat "$root.log"; exit 1; }
status=0
"$root/usr/bin/tolan-list" --help | grep -q '^usage: tolan-list' ||
    { echo "FAIL: tolan-list --help"; status=1; }
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/tolan" --version)
[[ "$version" == "tolan "* ]] || { echo "FAIL: tolan --version: $version"; status=1; }
[ -f "$root/usr/share/doc/tolan/copyright" ] || { echo "FAIL: no copyright"; status=1; }
# A native package's Debian changelog is changelog.gz.
[ -f "$root/usr/share/doc/tolan/changelog.gz" ] || { echo "FAIL: no changelog"; status=1; }
dpkg --root="$root" --force-depends --force-script-chrootless --purge tolan > "$root.log" 2>&1 ||
    { cat "$root.log"; exit 1; }
rm -f "$root.log"
left=$(find "$root" -mindepth 1 -not -type d -not -path "$root/var/lib/dpkg/*" \
    -not -path "$root/var/log/*")
[ -z "$left" ] || { echo "FAIL: left after removal:"; echo "$left"; status=1; }
[ "$status" -eq 0 ] && echo "installed, started and removed cleanly: $deb"
exit $status
