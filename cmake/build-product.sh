#!/bin/sh
# Builds the shipped launcher into BUILD_DIR/bin/lvlaunch.exe: MinGW-w64 with
# the win32 thread model, whose runtime needs no pthread emulation.
#   build-product.sh BUILD_DIR
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
    -DLV_MINGW_THREADS=win32 -DBUILD_TESTING=OFF
cmake --build "$1"
