#!/usr/bin/env python3
"""The main job: from the mail client to the index and back to a message on screen.

Runs the mail client stand-in under Wine with Corvidex, Pickwire and the stand-in full-text library on a copy of the
bundled sample store, picks "インデックス化 - サブフォルダも(&R)" on the whole folder tree, searches the index with
corvidex-search, sends the first hit to Pickwire with corvidex-search --open, and prints what happened: the summary
box, the hits and the message the client now shows. Screenshots of the progress dialog and of the client after the
selection are written to the output folder.

With --messages N the job runs on a generated store of N messages instead (tools/make-store), where the
progress dialog has time to be watched.

Usage: MAILINDEX_BUILD=build/<flavour> tools/demo/main_job.py [--word WORD] [--messages N] [--out DIR]
(scripts/demo.sh sets everything up and calls it.)
"""
import argparse
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE.parent.parent
sys.path.insert(0, str(SOURCE / "tests" / "wine"))

import standin  # noqa: E402
import winenv  # noqa: E402

INDEX_WITH_SUBFOLDERS = 35001
BINARIES = ["Corvidex.dll", "Pickwire.dll", "estraier.dll", "corvidex-search.exe"]


def to_png(bmp, png):
    """Turns a screenshot of the stand-in into PNG; keeps the BMP when the conversion is not available."""
    if bmp.exists() and shutil.which("convert"):
        subprocess.run(["convert", str(bmp), str(png)], check=False)
        if png.exists():
            bmp.unlink()
            return png
    return bmp if bmp.exists() else None


def screenshot_of_display(png):
    """A screenshot of the whole X display (the client after the selection)."""
    if shutil.which("import"):
        subprocess.run(["import", "-window", "root", str(png)], env=winenv.environment(), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return png if png.exists() else None


def search(folder, args):
    result = winenv.run(str(folder / "corvidex-search.exe"), args, timeout=120)
    return result.returncode, result.stdout, result.stderr.decode("cp932", "replace")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--word", help="the word to search for (default: 経費精算, or 見積書 in a generated store)")
    parser.add_argument("--messages", type=int, help="run on a generated store of this many messages")
    parser.add_argument("--out", default=str(SOURCE / "out" / "demo"), help="folder for the screenshots")
    options = parser.parse_args()
    if not options.word:
        options.word = "見積書" if options.messages else "経費精算"
    out = pathlib.Path(options.out)
    out.mkdir(parents=True, exist_ok=True)

    work = pathlib.Path(tempfile.mkdtemp(prefix="mailindex-demo-"))
    try:
        if options.messages:
            subprocess.run([sys.executable, str(SOURCE / "tools" / "make-store" / "make_store.py"), "--messages",
                            str(options.messages), "--out", str(work / "store")], check=True)
            store = standin.Store(work / "store")
        else:
            store = standin.Store(shutil.copytree(SOURCE / "samples" / "store", work / "store"))
        plugins = work / "plugins"
        plugins.mkdir()
        for name in BINARIES:
            shutil.copy(winenv.binary(name), plugins / name)
        shutil.copy(SOURCE / "corvidex" / "Corvidex.conf", plugins / "Corvidex.conf")
        (plugins / "Pickwire.conf").write_bytes(b"PollingTime=100\n")

        dialog_bmp = out / "progress-dialog.bmp"
        script = ["select ",  # the root of the folder tree: every account and folder below it
                  f"snap-dialog {standin.winpath(dialog_bmp)} {max(3, (options.messages or 0) // 2)}",
                  f"command Corvidex.dll {INDEX_WITH_SUBFOLDERS}"]
        print(f"Sample store: {len(list((work / 'store').rglob('*.eml')))} message files; "
              f"Wine runs {winenv.BUILD}")
        with standin.start_standin(store, plugins=[plugins / "Corvidex.dll", plugins / "Pickwire.dll"],
                                   script=script) as client:
            client.wait_ready(timeout=600)
            indexed = client.journal_so_far()
            for box in indexed.msgboxes():
                print(f"\nSummary box (owner {box.owner}, caption \"{box.caption}\"):")
                for line in box.text.splitlines():
                    print(f"    {line}")

            code, hits, errors = search(plugins, [options.word])
            print(f"\ncorvidex-search {options.word}  (exit {code})")
            sys.stdout.write("".join(line + "\n" for line in hits.decode("cp932", "replace").splitlines()[:10])
                             or errors)
            if code != 0:
                raise SystemExit(f"no hit for {options.word}: {errors}")
            code, first, _ = search(plugins, ["--json", "--max", "1", options.word])
            hit = json.loads(first.decode("utf-8").splitlines()[0])

            hits_shown = hits.decode("cp932", "replace").splitlines()
            if len(hits_shown) > 10:
                print(f"... ({len(hits_shown)} hits in all)")
            code, _, errors = search(plugins, ["--open", "1", options.word])
            print(f"\ncorvidex-search --open 1 {options.word}  (exit {code}) {errors.strip()}")
            time.sleep(2)  # the next tick of Pickwire's timer, then the window comes to the front
            after = screenshot_of_display(out / "client-after-selection.png")
            journal = client.stop()

        selections = [call for call in journal.calls("EDA_SelectMessage")]
        print("\nWhat the mail client was asked to do:")
        for call in journal.calls("EDA_RunMacro"):
            print(f"    EDA_RunMacro({call.args[0]}) = {call.result}")
        for call in selections:
            print(f"    EDA_SelectMessage({', '.join(call.args)}) = {call.result}")
        print(f"\nThe client now shows: {journal.final_message}")
        print(f"    subject {hit.get('subject')!r}, from {hit.get('from')!r}, date {hit.get('date')!r}")
        shots = [to_png(dialog_bmp, out / "progress-dialog.png"), after]
        print("\nScreenshots: " + ", ".join(str(s) for s in shots if s))
        expected = hit["uri"][len("cvdx:"):]
        if journal.final_message != expected:
            raise SystemExit(f"the client shows {journal.final_message!r}, not the first hit {expected!r}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
