#!/usr/bin/env bash
# The main job: sets up the machine, builds the flavour that Wine runs here, then runs the mail client stand-in
# under Xvfb with Corvidex, Pickwire and the stand-in full-text library on a copy of the sample store (samples/store):
# indexes every folder, searches the index with corvidex-search, sends the first hit to Pickwire and prints what
# happened. Screenshots of the progress dialog and of the client after the selection go to out/demo/.
# Usage: scripts/demo.sh [--word WORD] [--messages N] [--out DIR]   (--messages: a generated store of N messages)
set -euo pipefail
source "$(dirname "$0")/wine-job.sh"
python3 "$root/tools/demo/main_job.py" "$@"
