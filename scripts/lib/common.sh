# Shared settings of the project's scripts. Source it; it defines paths and helpers.
#
# QUENDA_ARCH chooses the Windows architecture: x86_64 (the default, runs wherever Wine runs)
# or i686 (32-bit; its programs run only where the host executes 32-bit programs). Each
# architecture has its own build folder and Wine prefix: build/ for x86_64, build-i686/ for
# i686 (QUENDA_BUILD_DIR replaces build/; the 32-bit folder then gets "-i686" appended).
REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QUENDA_ARCH=${QUENDA_ARCH:-x86_64}
case "$QUENDA_ARCH" in
    x86_64|x64|amd64|win64) QUENDA_ARCH=x86_64 ;;
    i686|i386|x86|win32) QUENDA_ARCH=i686 ;;
    *) echo "QUENDA_ARCH must be x86_64 or i686, not '$QUENDA_ARCH'" >&2; exit 2 ;;
esac
export QUENDA_ARCH
if [ "$QUENDA_ARCH" = x86_64 ]; then
    BUILD_DIR=${QUENDA_BUILD_DIR:-$REPO_DIR/build}
    export WINEARCH=win64
    # Debian's wine wrapper starts the 32-bit loader whenever it is installed: name the
    # loader that matches the build ourselves.
    WINE=/usr/lib/wine/wine64
else
    BUILD_DIR=${QUENDA_BUILD_DIR:-$REPO_DIR/build}-i686
    export WINEARCH=win32
    WINE=/usr/lib/wine/wine
fi
BIN_DIR=$BUILD_DIR/bin
TOOLCHAIN_FILE=$REPO_DIR/cmake/mingw-$QUENDA_ARCH.cmake
# The prefix belongs to the build folder; a WINEPREFIX from outside is not taken, so an
# architecture never runs in the other's prefix.
export WINEPREFIX=$BUILD_DIR/wineprefix
export WINELOADER=$WINE
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Runs a Windows program of the build under the loader of its architecture.
wine() {
    "$WINE" "$@"
}

# The 64-bit wine server serves both architectures and runs on every host that runs Wine.
wineserver() {
    if [ -x /usr/lib/wine/wineserver64 ]; then
        /usr/lib/wine/wineserver64 "$@"
    else
        /usr/lib/wine/wineserver32 "$@"
    fi
}

# Runs a command quietly; on failure shows its output and fails.
quiet() {
    local log
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "failed: $*" >&2
        return 1
    fi
    rm -f "$log"
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# True when this host runs 32-bit programs: found out by starting Wine's 32-bit loader.
host_runs_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# configure_and_build [target...]: everything, or only the targets named (with what they need).
configure_and_build() {
    mkdir -p "$BUILD_DIR"
    # Configured every time: folders that gained a CMakeLists.txt are picked up.
    quiet cmake -S "$REPO_DIR" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE"
    if [ $# -gt 0 ]; then
        quiet cmake --build "$BUILD_DIR" --target "$@"
    else
        quiet cmake --build "$BUILD_DIR"
    fi
}
