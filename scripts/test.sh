#!/usr/bin/env bash
# Runs every test: sets up the machine, builds all flavours, then runs CTest in each.
#   native: unit tests of the logic that needs no Windows
#   win32:  checks of the shipped binaries (PE32, imports, exports)
#   the flavour Wine runs here (see wine-flavour.sh): the tests under Wine and Xvfb
# One test alone: scripts/test.sh -R <regex>   (arguments go to every ctest call)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

wine_flavour=$("$root/scripts/wine-flavour.sh")
echo "Wine runs the $wine_flavour build on this machine."

# One X server for all the tests that open windows.
source "$root/scripts/display.sh"

status=0
ctest --test-dir "$build_root/native" --output-on-failure "$@" || status=1
ctest --test-dir "$build_root/win32" --output-on-failure -L static "$@" || status=1
ctest --test-dir "$build_root/$wine_flavour" --output-on-failure -L wine "$@" || status=1
exit $status
