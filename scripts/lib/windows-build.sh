# Sourced by scripts/cross-test and scripts/demo --windows.
#
# windows_way decides once which Windows build runs under which Wine here,
# and says so in one line:
# - where this kernel runs 32-bit x86 programs, the 32-bit program users get,
#   under Debian's wine (in a 64-bit prefix where 32-bit programs run in one);
# - where it does not ("Exec format error"), the x86_64 build of the same
#   sources under 64-bit Wine, with a Qt for Windows of its own.
# PANELUP_WINDOWS_TEST_ARCH=i686|x86_64 forces a way (to measure the other).
# It sets windows_test_arch, windows_test_build (the build folder of the
# build that runs) and windows_wine (the Wine loader for it).
windows_way() {
    local here probe reason
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    source "$here/scripts/lib/i386.sh"
    windows_test_arch=${PANELUP_WINDOWS_TEST_ARCH:-}
    case $windows_test_arch in
    i686 | x86_64) reason="PANELUP_WINDOWS_TEST_ARCH=$windows_test_arch" ;;
    '')
        # The kernel decides, not what happens to be installed: where 32-bit
        # programs run, the 32-bit program is what must be tested, and a
        # 32-bit Wine that is missing fails the stage below.
        if kernel_runs_i386; then
            windows_test_arch=i686
            reason="32-bit x86 programs run here ($i386_probe)"
        else
            windows_test_arch=x86_64
            reason="this kernel runs no 32-bit x86 programs ($i386_probe)"
        fi
        ;;
    *)
        echo "windows way: PANELUP_WINDOWS_TEST_ARCH is i686 or x86_64, not '$windows_test_arch'" >&2
        return 1
        ;;
    esac
    if [ "$windows_test_arch" = i686 ]; then
        windows_test_build=${PANELUP_CROSS_BUILD_DIR:-$here/build-win}
        windows_wine=$(command -v wine || true)
        echo "windows way: 32-bit: $reason; testing the 32-bit build under Wine"
    else
        windows_test_build=${PANELUP_CROSS_BUILD_DIR_X86_64:-$here/build-win64}
        windows_wine=/usr/lib/wine/wine64
        echo "windows way: x86_64: $reason; testing the x86_64 build under 64-bit Wine," \
            "the 32-bit build is built and checked without running it"
    fi
    if [ -z "$windows_wine" ] || ! probe=$(timeout 20 "$windows_wine" --version 2>&1 </dev/null); then
        probe=$(printf '%s' "$probe" | head -n 1)
        echo "windows way: no Wine for the $windows_test_arch build runs here" \
            "(${windows_wine:-none}${probe:+: $probe}): 'scripts/setup windows' installs it," \
            "and says why when it cannot" >&2
        return 1
    fi
}

# windows_build <folder> [i686|x86_64 [target...]] builds Qt for Windows of
# that architecture if this machine has none yet, then configures and builds
# the Windows program, its tests and the program folders (or only the
# targets named): the 32-bit one under out/windows/, the x86_64 one under
# out/windows-x86_64/.
windows_build() {
    local build=$1 arch=${2:-i686} here qt sodium out started=$SECONDS
    shift $(($# < 2 ? $# : 2))
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    qt=$("$here/scripts/qt-windows" "$arch")
    echo "windows build: Qt for $arch Windows ready in $((SECONDS - started)) s ($qt)"
    sodium=$("$here/scripts/sodium-windows" "$arch")
    out=$here/out/windows
    [ "$arch" = i686 ] || out=$here/out/windows-$arch
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-w64.cmake" \
        -DPANELUP_WINDOWS_ARCH="$arch" -DPANELUP_WINDOWS_OUT="$out" \
        -DCMAKE_PREFIX_PATH="$qt" -DPANELUP_SODIUM_PREFIX="$sodium" \
        -DPANELUP_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)" ${1:+--target "$@"}
}
