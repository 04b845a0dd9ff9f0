"""The Wine environment of the tests: which build, which wine, a prefix, a display, and running programs.

Every Windows program runs with LANG=ja_JP.UTF-8, so that Wine's ANSI code page is 932 as on the users' machines.
"""
import atexit
import fcntl
import os
import shutil
import subprocess
import tempfile

SOURCE = os.environ.get("MAILINDEX_SOURCE") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("MAILINDEX_BUILD") or os.path.join(SOURCE, "build", "win64")
WINE = os.environ.get("MAILINDEX_WINE") or ("/usr/lib/wine/wine64" if BUILD.rstrip("/").endswith("win64")
                                            else "/usr/lib/wine/wine")
BIN = os.path.join(BUILD, "bin")
PREFIX = os.environ.get("MAILINDEX_WINEPREFIX") or os.path.join(BUILD, "wineprefix")
# The 64-bit server serves 32-bit and 64-bit programs alike, and is the one that starts on every machine.
WINESERVER = next((p for p in ("/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver32")
                   if os.path.exists(p)), "wineserver")

_xvfb = None


def _display():
    """A display for programs that open windows: the caller's, or an Xvfb of our own for this process."""
    global _xvfb
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"]
    if _xvfb is None:
        read_end, write_end = os.pipe()
        # The server must not hold the test runner's output open (CTest waits for it to close), and it ends
        # with this process.
        _xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                  "-nolisten", "tcp"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        atexit.register(_xvfb.terminate)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        os.environ["DISPLAY"] = ":" + number.decode().strip()
    return os.environ["DISPLAY"]


def environment(extra=None):
    env = dict(os.environ)
    env.update({
        "LANG": "ja_JP.UTF-8",
        "LC_ALL": "ja_JP.UTF-8",
        "WINEPREFIX": PREFIX,
        "WINEDEBUG": env.get("WINEDEBUG", "-all"),
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "WINESERVER": WINESERVER,
        "DISPLAY": _display(),
    })
    if extra:
        env.update(extra)
    return env


def ensure_prefix():
    """Creates the Wine prefix once (several test processes may ask at the same time)."""
    os.makedirs(os.path.dirname(PREFIX), exist_ok=True)
    with open(PREFIX + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(PREFIX, "system.reg")):
            subprocess.run([WINE, "wineboot", "-i"], env=environment(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=300)
            # Xvfb runs no window manager: Wine then draws the windows' frames and captions itself.
            subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N",
                            "/f"], env=environment(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=120)
            subprocess.run([WINESERVER, "-w"], env=environment(), timeout=120)
        # One server for the whole test process, started without our output pipes (a server started by a program
        # whose output is captured would hold the capture open until it exits). It stays a minute after the last
        # program; a server that is already running makes this a no-op.
        subprocess.run([WINESERVER, "-p60"], env=environment(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


def winpath(path):
    """The Windows path under which Wine shows a Unix path (drive Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def binary(name):
    """Path of a program or DLL of this build."""
    path = os.path.join(BIN, name)
    if not os.path.exists(path):
        raise FileNotFoundError(f"{name} is not built in {BIN}")
    return path


def run(program, args=(), timeout=120, env=None, **kwargs):
    """Runs a Windows program under Wine; returns the CompletedProcess (stdout and stderr as bytes)."""
    ensure_prefix()
    return subprocess.run([WINE, program, *args], env=environment(env), timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kwargs)


def popen(program, args=(), env=None, **kwargs):
    ensure_prefix()
    return subprocess.Popen([WINE, program, *args], env=environment(env), **kwargs)


def temporary_folder(test_case, prefix="mailindex-"):
    """A temporary folder that lives as long as the test."""
    path = tempfile.mkdtemp(prefix=prefix)
    test_case.addCleanup(shutil.rmtree, path, True)
    return path
