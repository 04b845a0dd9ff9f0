"""Drives edmax-standin.exe, the mail client stand-in, for tests under Wine.

A test builds a mail store, puts plug-in DLLs into a folder, runs the stand-in with a script and reads its journal:

    store = standin.Store.temporary(self)
    store.add_message("taro/受信箱", "0001.eml", "Subject: hello\\r\\n\\r\\nbody\\r\\n")
    plugins = standin.plugin_folder(self, ["Corvidex.dll"], {"Corvidex.conf": "index=Z:\\\\tmp\\\\db\\n"})
    journal = standin.run_standin(store, plugins=[plugins / "Corvidex.dll"],
                                  script=["select taro/受信箱", "command Corvidex.dll 35001"])
    journal.calls("EDA_GetMessage")          # [Call(args=['Z:\\\\...:0001.eml'], result='ptr'), ...]
    journal.msgboxes()                       # [MsgBox(owner='main', caption=..., text=..., buttons='OK')]
    journal.final_message                    # the message path selected at exit ('' when none)

For a test that talks to a plug-in while the client runs (a named pipe, for instance), start it in the background:

    with standin.start_standin(store, plugins=[...]) as client:
        client.wait_ready()        # the script's statements have run; plug-ins are loaded and have their events
        ...                        # talk to the plug-in
        journal = client.stop()    # the stand-in quits (unloads the plug-ins) and its journal is read

Statements and journal lines are those of standins/edmax/README.md. Folder paths in statements and in this module
are paths below "Account\\" ("taro/受信箱" or "taro\\\\受信箱"); ctxPaths and message paths are Windows paths.
This module knows nothing of particular plug-ins.
"""
import collections
import os
import pathlib
import shutil
import subprocess
import tempfile
import time

import winenv

STANDIN = "edmax-standin.exe"

Call = collections.namedtuple("Call", "args result")
MsgBox = collections.namedtuple("MsgBox", "owner caption text buttons")


def winpath(path):
    """The Windows path of a Unix path, as the stand-in and the plug-ins see it."""
    return winenv.winpath(str(path))


def _folder_parts(folder):
    return [part for part in str(folder).replace("\\", "/").split("/") if part]


class Store:
    """A mail store on disk: root/Account/<account>/<folder>/.../<file>.eml, texts in code page 932."""

    def __init__(self, root):
        self.root = pathlib.Path(root)
        (self.root / "Account").mkdir(parents=True, exist_ok=True)

    @classmethod
    def temporary(cls, test):
        """An empty store in a temporary folder that lives as long as the test."""
        return cls(os.path.join(winenv.temporary_folder(test, "standin-store-"), "store"))

    @classmethod
    def copy_of(cls, test, source):
        """A temporary copy of an existing store folder (for example samples/store)."""
        root = os.path.join(winenv.temporary_folder(test, "standin-store-"), "store")
        shutil.copytree(source, root)
        return cls(root)

    def folder_dir(self, folder):
        """The Unix path of a folder given by its path below Account."""
        return self.root.joinpath("Account", *_folder_parts(folder))

    def add_folder(self, folder):
        self.folder_dir(folder).mkdir(parents=True, exist_ok=True)
        return self.folder_ctxpath(folder)

    def add_message(self, folder, file_name, text):
        """Writes a message file (str is encoded to code page 932) and returns its message path."""
        data = text.encode("cp932") if isinstance(text, str) else bytes(text)
        directory = self.folder_dir(folder)
        directory.mkdir(parents=True, exist_ok=True)
        (directory / file_name).write_bytes(data)
        return self.message_path(folder, file_name)

    def delete_message(self, folder, file_name):
        (self.folder_dir(folder) / file_name).unlink()

    def folder_ctxpath(self, folder):
        """The ctxPath the client gives the folder: its full Windows path ('' for the root item)."""
        if not _folder_parts(folder):
            return ""
        return winpath(self.folder_dir(folder))

    def message_path(self, folder, file_name):
        """The client's path of a message: the folder's ctxPath, ':' and the file name."""
        return self.folder_ctxpath(folder) + ":" + file_name

    def folders(self):
        """Every folder below Account (accounts included) in the client's tree order: depth first, each level
        sorted by the code page 932 bytes of the names. Paths use '\\\\'."""
        result = []

        def walk(directory, prefix):
            names = sorted((entry.name for entry in directory.iterdir() if entry.is_dir()),
                           key=lambda name: name.encode("cp932"))
            for name in names:
                path = prefix + "\\" + name if prefix else name
                result.append(path)
                walk(directory / name, path)

        walk(self.root / "Account", "")
        return result

    def messages(self, folder):
        """File names of a folder's messages in the client's order (the code page 932 bytes of the names)."""
        names = [entry.name for entry in self.folder_dir(folder).iterdir()
                 if entry.is_file() and entry.name.lower().endswith(".eml")]
        return sorted(names, key=lambda name: name.encode("cp932"))


def plugin_folder(test, dlls, confs=None):
    """A temporary folder holding DLLs of the build (names as in winenv.binary) and configuration files
    (a dict of file name to text, written in code page 932; None leaves a file out). Returns its pathlib.Path."""
    folder = pathlib.Path(winenv.temporary_folder(test, "standin-plugins-"))
    for dll in dlls:
        shutil.copy(winenv.binary(dll), folder / os.path.basename(dll))
    for name, text in (confs or {}).items():
        if text is not None:
            data = text.encode("cp932") if isinstance(text, str) else bytes(text)
            (folder / name).write_bytes(data)
    return folder


def unescape(field):
    """A journal field as text: undoes the escapes \\\\, \\r, \\n, \\t and \\xNN."""
    if "\\" not in field:
        return field
    out = []
    i = 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            n = field[i + 1]
            if n == "x" and i + 3 < len(field):
                out.append(chr(int(field[i + 2:i + 4], 16)))
                i += 4
                continue
            out.append({"r": "\r", "n": "\n", "t": "\t", "\\": "\\"}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


class Journal:
    """The parsed journal of one run. records: (kind, [fields...]) in order, fields unescaped."""

    def __init__(self, text, returncode=None, stderr=b""):
        self.text = text
        self.returncode = returncode
        self.stderr = stderr
        self.records = []
        for line in text.split("\n"):
            if line:
                kind, *fields = line.split("\t")
                self.records.append((kind, [unescape(field) for field in fields]))

    def __repr__(self):
        return f"Journal(returncode={self.returncode}, {len(self.records)} lines)"

    def lines(self, kind):
        """The fields of every line of that kind."""
        return [fields for record_kind, fields in self.records if record_kind == kind]

    def kinds(self, *kinds):
        """(kind, fields) of the lines of those kinds, in journal order."""
        return [(kind, fields) for kind, fields in self.records if kind in kinds]

    def calls(self, name=None):
        """Calls of an EDA_ function (all calls when name is None) as Call(args, result); result is the text after
        '= ' ('ptr', 'NULL' or a number). For calls of all functions args starts with the function's name."""
        result = []
        for fields in self.lines("call"):
            if name is not None and fields[0] != name:
                continue
            args = fields[1:-1] if name is not None else fields[:-1]
            result.append(Call(args, fields[-1][2:] if fields[-1].startswith("= ") else fields[-1]))
        return result

    def msgboxes(self):
        return [MsgBox(*fields[:4]) for fields in self.lines("msgbox")]

    def loads(self):
        """{dll: ('ok',) or ('failed', error code)} for every plug-in load."""
        return {fields[0]: tuple(fields[1:]) for fields in self.lines("load")}

    def info(self, dll):
        """{offset: bytes} of the information record bytes that the plug-in changed on event 1000."""
        return {int(offset): bytes.fromhex(data) for name, offset, data in self.lines("info") if name == dll}

    def _last(self, kind):
        found = self.lines(kind)
        return found[-1][0] if found and found[-1] else ("" if found else None)

    @property
    def final_folder(self):
        return self._last("final-folder")

    @property
    def final_message(self):
        return self._last("final-message")

    @property
    def finished(self):
        """True when the stand-in quit in order (the journal ends with its final state)."""
        return self.final_message is not None


class StandinError(AssertionError):
    """The stand-in did not finish in time or could not start; carries what the journal holds so far."""


def _arguments(store, plugins, journal_path, script_path, withhold):
    args = ["--store", winpath(store.root if isinstance(store, Store) else store),
            "--journal", winpath(journal_path), "--script", winpath(script_path)]
    for plugin in plugins:
        args += ["--plugin", winpath(plugin)]
    if withhold:
        args += ["--withhold", withhold]
    return args


def _work_folder():
    return tempfile.mkdtemp(prefix="standin-run-")


def _read_journal(path, returncode=None, stderr=b""):
    try:
        text = pathlib.Path(path).read_bytes().decode("utf-8", errors="replace")
    except FileNotFoundError:
        text = ""
    return Journal(text, returncode, stderr)


def run_standin(store, plugins=(), script=(), withhold=None, timeout=120):
    """Runs the stand-in on store (a Store or a folder) with the plug-ins (Unix paths of DLLs, loaded in order) and
    the script statements (strings; the stand-in quits after the last one), waits for it to exit and returns its
    Journal. Raises StandinError when it does not exit within timeout seconds."""
    work = _work_folder()
    try:
        journal_path = os.path.join(work, "journal.txt")
        script_path = os.path.join(work, "script.txt")
        pathlib.Path(script_path).write_text("".join(line + "\n" for line in script), encoding="utf-8")
        # Output goes to a file, not a pipe: a wineserver started by this run would hold a pipe open after exit.
        with open(os.path.join(work, "stderr.txt"), "wb") as stderr:
            process = winenv.popen(winenv.binary(STANDIN),
                                   _arguments(store, plugins, journal_path, script_path, withhold),
                                   stdout=subprocess.DEVNULL, stderr=stderr)
            try:
                process.wait(timeout=timeout)
            except subprocess.TimeoutExpired as error:
                process.kill()
                process.wait()
                journal = _read_journal(journal_path)
                raise StandinError(f"the stand-in did not exit within {timeout} s; journal so far:\n{journal.text}") \
                    from error
        return _read_journal(journal_path, process.returncode, pathlib.Path(work, "stderr.txt").read_bytes())
    finally:
        shutil.rmtree(work, ignore_errors=True)


class BackgroundStandin:
    """A stand-in running in the background; see start_standin."""

    def __init__(self, store, plugins, script, withhold):
        self._work = _work_folder()
        self._journal_path = os.path.join(self._work, "journal.txt")
        self._ready = os.path.join(self._work, "ready")
        self._stop = os.path.join(self._work, "stop")
        statements = list(script) + [f"touch {winpath(self._ready)}", f"wait-file {winpath(self._stop)}", "quit"]
        script_path = os.path.join(self._work, "script.txt")
        pathlib.Path(script_path).write_text("".join(line + "\n" for line in statements), encoding="utf-8")
        # Output goes to a file, not a pipe: a wineserver started by this run would hold a pipe open after exit.
        self._stderr = open(os.path.join(self._work, "stderr.txt"), "wb")
        self.process = winenv.popen(winenv.binary(STANDIN),
                                    _arguments(store, plugins, self._journal_path, script_path, withhold),
                                    stdout=subprocess.DEVNULL, stderr=self._stderr)
        self.journal = None

    def wait_ready(self, timeout=120):
        """Waits until the script's own statements have run (the journal so far is then on disk)."""
        deadline = time.monotonic() + timeout
        while not os.path.exists(self._ready):
            if self.process.poll() is not None:
                raise StandinError(f"the stand-in exited with {self.process.returncode} before it was ready; "
                                   f"journal:\n{self.journal_so_far().text}")
            if time.monotonic() > deadline:
                self.kill()
                raise StandinError(f"the stand-in was not ready within {timeout} s")
            time.sleep(0.05)

    def journal_so_far(self):
        """What the journal holds now (the stand-in writes it in blocks: complete after wait_ready)."""
        return _read_journal(self._journal_path)

    def stop(self, timeout=120):
        """Makes the stand-in quit, waits for it and returns its Journal."""
        pathlib.Path(self._stop).touch()
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired as error:
            self.kill()
            raise StandinError(f"the stand-in did not quit within {timeout} s; journal so far:\n"
                               f"{self.journal_so_far().text}") from error
        self._stderr.close()
        stderr = pathlib.Path(self._work, "stderr.txt").read_bytes()
        self.journal = _read_journal(self._journal_path, self.process.returncode, stderr)
        shutil.rmtree(self._work, ignore_errors=True)
        return self.journal

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self._stderr.close()
        shutil.rmtree(self._work, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            if exc[0] is None:
                self.stop()
            else:
                self.kill()
        return False


def start_standin(store, plugins=(), script=(), withhold=None):
    """Starts the stand-in in the background: it runs the script, then signals ready and waits until stop()."""
    return BackgroundStandin(store, plugins, script, withhold)
