#!/usr/bin/env python3
"""Benchmark of Pickwire under Wine: requests served per second and the delay from a write to the selection.

Runs the mail client stand-in with Pickwire at the default PollingTime (500 ms) and at 50 ms, and lets
pickwire-bench send the same request back to back. The delay is measured from the end of a write to the moment the
pipe accepts the next client, which Pickwire allows only after it has run the macros and selected the message, so
it bounds the delay from write to selection from above. The stand-in's journal confirms every selection.

Usage: MAILINDEX_BUILD=build/win64 bench/pickwire/run.py [requests per setting, default 40]
(The Wine flavour of the build: scripts/wine-flavour.sh; needs a display or Xvfb, which winenv starts.)
"""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "wine"))

import standin  # noqa: E402
import winenv  # noqa: E402


class _Scratch(unittest.TestCase):
    """Only lends its clean-up to the temporary folders of standin."""

    def runTest(self):
        pass


def measure(count, polling_setting):
    scratch = _Scratch()
    store = standin.Store.temporary(scratch)
    message = store.add_message("taro/受信箱/表", "0001.eml", "Subject: bench\r\n\r\nbody\r\n")
    conf = "" if polling_setting is None else f"PollingTime={polling_setting}\n"
    plugins = standin.plugin_folder(scratch, ["Pickwire.dll"], {"Pickwire.conf": conf})
    request = ("cvdx:" + message).encode("cp932")
    try:
        with standin.start_standin(store, plugins=[plugins / "Pickwire.dll"]) as client:
            client.wait_ready()
            result = winenv.run(winenv.binary("pickwire-bench.exe"), [str(count), request.hex()],
                                timeout=30 + count * 2)
            journal = client.stop()
    finally:
        scratch.doCleanups()
    if result.returncode != 0:
        raise SystemExit(result.stderr.decode(errors="replace"))
    selected = [call for call in journal.calls("EDA_SelectMessage") if call.result == "1"]
    figures = dict(line.split() for line in result.stdout.decode().splitlines())
    figures["selections_journaled"] = str(len(selected))
    return figures


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 40
    print(f"Pickwire benchmark: {count} requests per setting, build {winenv.BUILD}")
    for label, setting in (("PollingTime default (500 ms)", None), ("PollingTime=50", 50)):
        figures = measure(count, setting)
        print(f"\n{label}")
        for name in ("requests_per_second", "delay_mean_ms", "delay_median_ms", "delay_p95_ms", "delay_max_ms",
                     "selections_journaled"):
            print(f"  {name:22} {figures[name]}")


if __name__ == "__main__":
    main()
