# Sourced by the scripts that run a job under Wine (demo, benchmarks): sets up the machine, builds the flavour that
# Wine runs here, gives the job an X server, and exports MAILINDEX_BUILD and MAILINDEX_SOURCE for it.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
flavour=$("$root/scripts/wine-flavour.sh")
"$root/scripts/build.sh" "$flavour"
source "$root/scripts/display.sh"
export MAILINDEX_BUILD="$build_root/$flavour" MAILINDEX_SOURCE="$root"
