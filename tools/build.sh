#!/bin/sh
# Builds the Windows program, its probe and its Win32 tests into build/win.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)
mkdir -p build
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release > build/configure-win.log 2>&1 ||
    { cat build/configure-win.log; exit 1; }
cmake --build build/win -j "$jobs"
echo "built $top/build/win/Zintora.exe"
