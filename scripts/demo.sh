#!/usr/bin/env bash
# The demo: sets up the machine, builds the flavour that Wine runs here, starts the mail client stand-in under Xvfb on
# a copy of the sample store (samples/store), lets a script click through a few folders and messages, and prints the
# stand-in's journal.
# Usage: scripts/demo.sh [screenshot.bmp]     (a screenshot of the stand-in's window is written when asked)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
flavour=$("$root/scripts/wine-flavour.sh")
"$root/scripts/build.sh" "$flavour"
echo "Wine runs the $flavour build on this machine."

# One X server for the demo (winenv starts one itself when DISPLAY is unset, but then it outlives nothing of ours).
if [ -z "${DISPLAY:-}" ]; then
  exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
  xvfb_pid=$!
  read -r display <&3
  export DISPLAY=":$display"
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
fi

export MAILINDEX_BUILD="$build_root/$flavour" MAILINDEX_SOURCE="$root" DEMO_SNAPSHOT="${1:-}"
cd "$root/tests/wine"
python3 - <<'PY'
import os
import shutil
import sys
import tempfile

import standin

work = tempfile.mkdtemp(prefix="mailindex-demo-")
try:
    store = standin.Store(shutil.copytree(os.path.join(os.environ["MAILINDEX_SOURCE"], "samples", "store"),
                                          os.path.join(work, "store")))
    script = ["select taro/受信箱", "wait 500", "select taro/仕事/プロジェクト", "wait 500",
              "select hanako/Mailing Lists", "wait 500"]
    if os.environ.get("DEMO_SNAPSHOT"):
        script.append("snap " + standin.winpath(os.path.abspath(os.environ["DEMO_SNAPSHOT"])))
    script.append("quit")
    journal = standin.run_standin(store, script=script, timeout=300)
    sys.stdout.write(journal.text)
    if journal.returncode != 0 or not journal.finished:
        sys.exit(f"the stand-in ended with {journal.returncode}")
finally:
    shutil.rmtree(work, ignore_errors=True)
PY
