#!/usr/bin/env bash
# Makes the zip that Windows users unpack into the mail client's plug-in folder:
# the two plug-ins with their sample configuration files, the two command-line programs, and README.txt.
# The stand-in full-text library is not part of it: users bring the real estraier.dll.
# Usage: scripts/package.sh [output.zip]      (default: out/corvidex-pickwire-win32.zip)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${BUILD_ROOT:-$root/build}
output=${1:-$root/out/corvidex-pickwire-win32.zip}
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32

bin="$build_root/win32/bin"
files=(Corvidex.dll Corvidex.conf Pickwire.dll Pickwire.conf corvidex-search.exe pickwire-send.exe)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for f in "${files[@]}"; do
  [ -f "$bin/$f" ] || { echo "package: $f is not built in $bin" >&2; exit 1; }
  cp "$bin/$f" "$stage/"
done
i686-w64-mingw32-strip --strip-debug "$stage"/*.dll "$stage"/*.exe
# Windows line ends and a byte-order mark, so that Notepad shows the Japanese text whatever the system code page.
printf '\xEF\xBB\xBF' > "$stage/README.txt"
sed 's/$/\r/' "$root/packaging/README-Windows.txt" >> "$stage/README.txt"

mkdir -p "$(dirname "$output")"
rm -f "$output"
(cd "$stage" && zip -q -X "$output" README.txt "${files[@]}")
echo "$output"
unzip -l "$output"
