#!/usr/bin/env bash
# Builds the three flavours of the project:
#   $BUILD_ROOT/native  the logic that needs no Windows, natively, with its unit tests
#   $BUILD_ROOT/win32   the product: 32-bit Windows binaries (mingw-w64 i686)
#   $BUILD_ROOT/win64   the same sources as 64-bit Windows binaries, for Wine on machines without 32-bit support
# Usage: scripts/build.sh [native|win32|win64 ...]   (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${BUILD_ROOT:-$root/build}
jobs=${JOBS:-$(nproc)}
flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(native win32 win64)

for f in "${flavours[@]}"; do
  case "$f" in
    native) extra=() ;;
    win32)  extra=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake") ;;
    win64)  extra=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake") ;;
    *) echo "unknown flavour: $f" >&2; exit 2 ;;
  esac
  dir="$build_root/$f"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" "${extra[@]}" ${CMAKE_ARGS:-} >/dev/null
  fi
  cmake --build "$dir" -j "$jobs" 2>&1 | grep -v -E '^\[ *[0-9]+%\]|^Consolidate compiler' || true
  test "${PIPESTATUS[0]}" -eq 0
done
