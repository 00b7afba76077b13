#!/usr/bin/env bash
# Cross-compiles the game for 64-bit Windows with Debian's mingw-w64 into
# build-windows/: kordavan.exe (GUI subsystem, statically linked, every
# picture and sound inside) and kordavan-<version>-windows-x64.zip with the
# .exe, a README for Windows players and the copyright file.
#
#   tools/build_windows.sh [--test] [-- CMAKE-OPTION...]
#
# With --test it also builds the tests and runs them under Wine (ctest in
# build-windows/): the unit and scenario tests, every golden trace through
# kordavan-trace.exe, the game on a private X server, and replays checked
# against the Linux game built beside it in build-windows-native/.
set -euo pipefail
cd "$(dirname "$0")/.."
test=OFF
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    case "$1" in
        --test) test=ON ;;
        *) echo "usage: tools/build_windows.sh [--test] [-- CMAKE-OPTION...]" >&2; exit 2 ;;
    esac
    shift
done
[ $# -gt 0 ] && shift
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
native=()
if [ "$test" = ON ]; then
    # Replays recorded on one system are checked on the other: the tests need
    # the Linux game and its trace tool too.
    cmake -S . -B build-windows-native -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
    cmake --build build-windows-native -j"${KORDAVAN_JOBS:-$(nproc)}" --target kordavan kordavan-trace
    native=(-DKORDAVAN_NATIVE_BUILD="$PWD/build-windows-native")
fi
cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKORDAVAN_TESTS="$test" "${native[@]}" "${launcher[@]}" "$@" >/dev/null
cmake --build build-windows -j"${KORDAVAN_JOBS:-$(nproc)}"
if [ "$test" = ON ]; then
    (cd build-windows && ctest --output-on-failure)
fi
