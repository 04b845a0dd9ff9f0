#!/usr/bin/env python3
"""All benchmarks on a generated corpus, under Wine, printed as one table (figures, not a test).

Rows: parser throughput (MB/s); documents per second of the mapping (PutMessage), of the index job, of the purge
job and of a bare loop that puts the same documents straight into the library; the jobs' overhead over the bare
loop as a ratio; the peak memory of the client process at each corpus size; the time the jobs waited for the
progress dialog's ticks; Pickwire's requests per second and its delay from write to selection.

With ESTRAIER_DLL_DIR set to a folder holding another estraier.dll (and the DLLs it needs), every figure that
involves the library is measured again against that library, in a second column.

Usage: MAILINDEX_BUILD=build/<flavour> bench/run_all.py [--sizes 1000 10000 50000] [--requests 40]
(scripts/bench.sh sets everything up and calls it.)
"""
import argparse
import importlib.util
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE.parent
sys.path.insert(0, str(SOURCE / "tests" / "wine"))

import standin  # noqa: E402
import winenv  # noqa: E402


def load(name, path):
    spec = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


jobs_bench = load("jobs_bench", HERE / "jobs" / "run.py")
pickwire_bench = load("pickwire_bench", HERE / "pickwire" / "run.py")


def library_folder(work, library_dir):
    """A folder with the programs that load estraier.dll and the library itself: Windows looks for a DLL in the
    program's own folder first, so a copy of the program beside the library is what makes it use that library."""
    folder = pathlib.Path(tempfile.mkdtemp(prefix="library-", dir=work))
    for name in ("edmax-standin.exe", "corvidex_parser_bench.exe"):
        shutil.copy(winenv.binary(name), folder / name)
    if library_dir:
        for dll in pathlib.Path(library_dir).glob("*.dll"):
            shutil.copy(dll, folder / dll.name)
    else:
        shutil.copy(winenv.binary("estraier.dll"), folder / "estraier.dll")
    return folder


def parser_figures(folder, messages):
    result = winenv.run(str(folder / "corvidex_parser_bench.exe"), [str(messages)], timeout=1800)
    text = result.stdout.decode(errors="replace")
    figure = lambda pattern: float(re.search(pattern, text).group(1)) if re.search(pattern, text) else float("nan")
    return {"parser": figure(r"parser, ordinary messages:\s+([\d.]+)"),
            "mapping": figure(r"PutMessage:\s+([\d.]+)"),
            "bare": figure(r"bare library loop:\s+([\d.]+)")}


def run_job(folder, plugin, store, command):
    """One job in the stand-in (the copy beside the library); returns (summary figures, items, peak MiB)."""
    work = pathlib.Path(tempfile.mkdtemp(prefix="run-", dir=folder))
    journal_path, script_path = work / "journal.txt", work / "script.txt"
    script_path.write_text(f"select\ncommand Corvidex.dll {command}\n", encoding="utf-8")
    args = ["--store", winenv.winpath(store), "--journal", winenv.winpath(journal_path),
            "--script", winenv.winpath(script_path), "--plugin", winenv.winpath(plugin)]
    process = winenv.popen(str(folder / "edmax-standin.exe"), args, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    journal = standin.Journal(journal_path.read_bytes().decode("utf-8", errors="replace"))
    shutil.rmtree(work, ignore_errors=True)
    boxes = journal.msgboxes()
    if os.waitstatus_to_exitcode(status) != 0 or not boxes:
        raise SystemExit(f"the job {command} ended without a summary box")
    return jobs_bench.summary_figures(boxes[-1].text), len(journal.calls("EDA_GetMessage")), usage.ru_maxrss / 1024


def job_figures(folder, plugin_dll, sizes):
    figures = {}
    for size in sizes:
        store = jobs_bench.make_store(size)
        plugins = pathlib.Path(tempfile.mkdtemp(prefix="plugins-", dir=folder))
        shutil.copy(plugin_dll, plugins / "Corvidex.dll")
        (plugins / "Corvidex.conf").write_text(f"index={winenv.winpath(plugins / 'index')}\n")
        index, read, index_peak = run_job(folder, plugins / "Corvidex.dll", store, 35001)
        for path in sorted(store.rglob("*.eml"))[::10]:
            path.unlink()
        try:
            purge, checked, purge_peak = run_job(folder, plugins / "Corvidex.dll", store, 35003)
        finally:
            (jobs_bench.WORK / f"store-{size}.done").unlink()  # the store lost messages: made anew next time
        figures[size] = {"index": read / index["time"], "purge": checked / purge["time"],
                         "index peak": index_peak, "purge peak": purge_peak,
                         "tick wait": (index.get("tick wait", float("nan")) + purge.get("tick wait", float("nan")))
                         / 1000,
                         "job time": index["time"] + purge["time"]}
        shutil.rmtree(plugins, ignore_errors=True)
    return figures


def measure(library_dir, sizes, messages, plugin_dll, work):
    folder = library_folder(work, library_dir)
    figures = parser_figures(folder, messages)
    figures["jobs"] = job_figures(folder, plugin_dll, sizes)
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sizes", type=int, nargs="+", default=[1000, 10000, 50000])
    parser.add_argument("--messages", type=int, default=3000, help="corpus of the parser and mapping figures")
    parser.add_argument("--requests", type=int, default=40, help="requests per Pickwire setting")
    options = parser.parse_args()

    other = os.environ.get("ESTRAIER_DLL_DIR")
    jobs_bench.WORK.mkdir(parents=True, exist_ok=True)
    work = pathlib.Path(tempfile.mkdtemp(prefix="bench-all-", dir=jobs_bench.WORK))
    started = time.monotonic()
    try:
        plugin_dll = jobs_bench.tick_stats_plugin()
        columns = {"stand-in estraier.dll": measure(None, options.sizes, options.messages, plugin_dll, work)}
        if other:
            columns[f"{other}"] = measure(other, options.sizes, options.messages, plugin_dll, work)
        pickwire = {label: pickwire_bench.measure(options.requests, setting)
                    for label, setting in (("default", None), ("50 ms", 50))}
    finally:
        shutil.rmtree(work, ignore_errors=True)

    rows = [("parser, ordinary messages (MB/s)", lambda f: f["parser"]),
            ("mapping, PutMessage (documents/s)", lambda f: f["mapping"]),
            ("bare library loop (documents/s)", lambda f: f["bare"])]
    for size in options.sizes:
        rows += [(f"index job, {size} messages (messages/s)", lambda f, s=size: f["jobs"][s]["index"]),
                 (f"purge job, {size} messages (documents/s)", lambda f, s=size: f["jobs"][s]["purge"]),
                 (f"index job overhead over bare loop, {size} (x)",
                  lambda f, s=size: f["bare"] / f["jobs"][s]["index"]),
                 (f"peak memory of the client, index {size} (MiB)", lambda f, s=size: f["jobs"][s]["index peak"]),
                 (f"peak memory of the client, purge {size} (MiB)", lambda f, s=size: f["jobs"][s]["purge peak"]),
                 (f"waiting for dialog ticks, of job time, {size} (s)",
                  lambda f, s=size: (f["jobs"][s]["tick wait"], f["jobs"][s]["job time"]))]
    names = list(columns)
    print(f"\nBenchmarks of {winenv.BUILD} ({time.monotonic() - started:.0f} s)")
    print(f"{'':58}" + "".join(f"{name[-24:]:>26}" for name in names))
    for label, pick in rows:
        cells = []
        for name in names:
            value = pick(columns[name])
            if isinstance(value, tuple):
                cells.append(f"{value[0]:.2f} of {value[1]:.2f}")
            else:
                cells.append(f"{value:.2f}" if value < 100 else f"{value:.0f}")
        print(f"{label:58}" + "".join(f"{cell:>26}" for cell in cells))
    for label, figures in pickwire.items():
        print(f"{'Pickwire, PollingTime ' + label + ' (requests/s)':58}{figures['requests_per_second']:>26}")
        print(f"{'Pickwire, PollingTime ' + label + ' delay mean/p95 (ms)':58}"
              f"{figures['delay_mean_ms'] + ' / ' + figures['delay_p95_ms']:>26}")


if __name__ == "__main__":
    main()
