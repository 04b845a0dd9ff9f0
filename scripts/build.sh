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
  # Configure every time: the folders of programs and tests are found when CMake configures.
  cmake -S "$root" -B "$dir" "${extra[@]}" ${CMAKE_ARGS:-} >/dev/null
  log=$(mktemp)
  if ! cmake --build "$dir" -j "$jobs" >"$log" 2>&1; then
    grep -v -E '^\[ *[0-9]+%\]' "$log" | tail -n 60 >&2
    rm -f "$log"
    echo "build of $f failed" >&2
    exit 1
  fi
  grep -E 'warning:' "$log" | sort -u | head -n 20 || true
  rm -f "$log"
done
