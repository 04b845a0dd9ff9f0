#!/usr/bin/env bash
# Builds the fuzz target of Pickwire's request reader with clang (libFuzzer, AddressSanitizer, UBSan) and runs it.
# Usage: scripts/fuzz-pickwire.sh [seconds, default 60]
# Findings (crash-*, leak-*, timeout-*) land in $BUILD_ROOT/fuzz/; new inputs grow a working copy of the seed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${BUILD_ROOT:-$root/build}/fuzz
mkdir -p "$out"
target=pickwire_request_fuzzer
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root/pickwire" \
  "$root/tests/fuzz/$target.cpp" "$root/pickwire/request.cpp" "$root/pickwire/polling_time.cpp" -o "$out/$target"

corpus="$out/corpus-$target"
mkdir -p "$corpus"
cp -n "$root/tests/fuzz/corpus/pickwire_request"/* "$corpus"/ 2>/dev/null || true
echo "== $target for ${seconds}s"
(cd "$out" && "./$target" -max_total_time="$seconds" -max_len=5000 -print_final_stats=1 "$corpus")
