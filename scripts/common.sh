# Shared by the run, test and bench scripts: installs missing Debian packages
# and builds one configuration.
set -euo pipefail

TOLAN_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TOLAN_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6opengl6-dev libgtest-dev libgmock-dev
    googletest fonts-ipafont-gothic fonts-lexi-gulim fonts-symbola dpkg-dev desktop-file-utils appstream man-db
    poppler-utils qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libsimdjson-dev xvfb xauth
    dbus-daemon at-spi2-core python3-pyatspi)

# Whether package $1 is installed, or provided by one that is: a virtual
# package (libqt6opengl6-dev on Debian 13, which qt6-base-dev provides) is
# never itself installed.
tolan_present() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' && return 0
    dpkg-query -W -f='${Status}\t${Provides}\n' 2>/dev/null |
        awk -F'\t' -v p="$1" '$1 == "install ok installed" {
            n = split($2, names, /, */)
            for (i = 1; i <= n; i++) { sub(/ .*/, "", names[i]); if (names[i] == p) found = 1 }
        } END { exit !found }'
}

# Installs the named packages that are not present.
tolan_install() {
    local missing=()
    local p
    for p in "$@"; do
        tolan_present "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >&2
}

# Packages of the sanitized build, which clang makes for the tests and the
# fuzz targets alike: the release's own clang and its runtimes (the
# sanitizers and libFuzzer), named without a version so that each Debian
# release brings the ones that go with its clang.
TOLAN_SANITIZE_PACKAGES=(clang libclang-rt-dev)

# The sanitized build: the tests without the benchmarks, and the fuzz targets.
tolan_build_sanitized() {
    tolan_build "$TOLAN_TOP/build-asan" -DTOLAN_SANITIZE=ON -DTOLAN_BENCH=OFF \
        -DCMAKE_CXX_COMPILER=clang++ "$@"
}

# tolan_build DIR [cmake options...]: configures once, then builds.
tolan_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$TOLAN_TOP" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >&2
    fi
    cmake --build "$dir" -j "$(nproc)" >&2
}
