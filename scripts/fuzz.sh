#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs each for a while.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
# Findings (crash-*, leak-*, timeout-*) land in $BUILD_ROOT/fuzz/; new inputs grow a working copy of the seed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${BUILD_ROOT:-$root/build}/fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root/common" -I"$root/corvidex")

# Target name, then its sources.
build() {
  local name=$1; shift
  clang++ "${flags[@]}" "$@" -o "$out/$name"
}
build mail_message_fuzzer "$root/tests/fuzz/mail_message_fuzzer.cpp" "$root/corvidex/mail_message.cpp" \
  "$root/common/trim.cpp"

for target in mail_message_fuzzer; do
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  cp -n "$root/tests/fuzz/corpus/${target%_fuzzer}"/* "$corpus"/ 2>/dev/null || true
  echo "== $target for ${seconds}s"
  (cd "$out" && "./$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus")
done
