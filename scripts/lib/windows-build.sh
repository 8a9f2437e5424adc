# Sourced by scripts/cross-test and scripts/demo --windows: windows_build
# <folder> builds Qt for Windows if this machine has none yet, then
# configures and builds the 32-bit Windows program, its tests and the
# program folders under out/windows/.
windows_build() {
    local build=$1 here qt started=$SECONDS
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    qt=$("$here/scripts/qt-windows")
    echo "windows build: Qt for Windows ready in $((SECONDS - started)) s ($qt)"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-w64.cmake" \
        -DCMAKE_PREFIX_PATH="$qt" -DPANELUP_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)"
}
