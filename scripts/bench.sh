#!/usr/bin/env bash
# All benchmarks in one table: sets up, builds the flavour that Wine runs here, and runs bench/run_all.py on
# generated corpora. ESTRAIER_DLL_DIR=<folder with another estraier.dll> adds a column measured with that library.
# Usage: scripts/bench.sh [--sizes 1000 10000 50000] [--messages 3000] [--requests 40]
set -euo pipefail
source "$(dirname "$0")/wine-job.sh"
python3 "$root/bench/run_all.py" "$@"
