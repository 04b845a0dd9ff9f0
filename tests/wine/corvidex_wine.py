"""What the Corvidex Wine tests share: a folder holding the plug-in (and the stand-in client when the full-text
library beside the client matters), runs of the stand-in, and the index read back with est-dump."""
import collections
import pathlib
import shutil
from unittest import mock

import standin
import winenv

PLUGIN = "Corvidex.dll"
INDEX_FOLDER, INDEX_SUBFOLDERS, PURGE_FOLDER, PURGE_SUBFOLDERS = 35000, 35001, 35002, 35003

Index = collections.namedtuple("Index", "documents words by_uri")


def plugin_folder(test, conf="index=\n", extra_dlls=()):
    """A temporary folder with Corvidex.dll, its configuration (None: no Corvidex.conf) and extra DLLs."""
    return standin.plugin_folder(test, [PLUGIN, *extra_dlls], {"Corvidex.conf": conf})


def run(store, folder, script, extra_plugins=(), env=None, timeout=300):
    """Runs the stand-in with the Corvidex.dll of folder (loaded last, after extra_plugins) and returns its Journal.
    env: variables for the client's process."""
    plugins = [folder / name for name in extra_plugins] + [folder / PLUGIN]
    winenv.environment()  # starts the display first, so that restoring the environment keeps it
    with mock.patch.dict("os.environ", env or {}):
        return standin.run_standin(store, plugins=plugins, script=script, timeout=timeout)


def run_client_from(folder, store, script, full_text_library):
    """Runs a copy of the stand-in that lies in folder beside Corvidex.dll, so that the full-text library the
    plug-in finds is the one given: 'standard', 'novector' (lacks est_vector_cosine) or None (none at all)."""
    shutil.copy(winenv.binary(standin.STANDIN), folder)
    if full_text_library == "standard":
        shutil.copy(winenv.binary("estraier.dll"), folder)
    elif full_text_library == "novector":
        shutil.copy(winenv.binary("novector/estraier.dll"), folder)
    original = winenv.binary
    own_copy = lambda name: str(folder / name) if name == standin.STANDIN else original(name)  # noqa: E731
    with mock.patch.object(winenv, "binary", own_copy):
        return standin.run_standin(store, plugins=[folder / PLUGIN], script=script)


def dump(database):
    """The documents of the database (a Unix path) as Index(documents, words, {uri: {attribute: value}})."""
    result = winenv.run(winenv.binary("est-dump.exe"), [winenv.winpath(database)], timeout=300)
    if result.returncode != 0:
        raise AssertionError(f"est-dump failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
    documents = words = None
    by_uri = {}
    current = None
    for line in result.stdout.decode("utf-8").split("\n"):
        if line.startswith("# documents: "):
            documents = int(line.split(": ")[1])
        elif line.startswith("# words: "):
            words = int(line.split(": ")[1])
        elif line.startswith("[document "):
            current = {}
        elif current is not None and "=" in line and line.startswith("@"):
            name, value = line.split("=", 1)
            current[name] = value
            if name == "@uri":
                by_uri[value] = current
        elif current is not None and line.startswith("text: "):
            current.setdefault("text", []).append(line[len("text: "):])
    return Index(documents, words, by_uri)


def seed(test, database, uris):
    """Puts documents with the given URIs (and the text "seeded") into the database."""
    uri_file = pathlib.Path(winenv.temporary_folder(test)) / "uris.txt"
    uri_file.write_bytes("".join(uri + "\n" for uri in uris).encode("utf-8"))
    result = winenv.run(winenv.binary("corvidex-seed.exe"), [winenv.winpath(database), winenv.winpath(uri_file)])
    test.assertEqual(result.returncode, 0, result.stderr)


def summary(count_text):
    """(documents, words) from the text of a summary box."""
    lines = count_text.split("\n")
    return int(lines[1].split(": ")[1]), int(lines[2].split(": ")[1])
