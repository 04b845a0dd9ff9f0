"""The shipped Windows binaries: their format, that they import only system DLLs, and their undecorated exports."""
import os
import re
import subprocess
import unittest

BUILD = os.environ.get("MAILINDEX_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "win32"))
BIN = os.path.join(BUILD, "bin")
ARCH = os.environ.get("MAILINDEX_OBJDUMP", "i686")
OBJDUMP = f"{'x86_64' if ARCH == 'x86_64' else 'i686'}-w64-mingw32-objdump"
PE_FORMAT = "PE32+" if ARCH == "x86_64" else "PE32 "

PLUGINS = ["Corvidex.dll", "Pickwire.dll"]
PROGRAMS = ["pickwire-send.exe", "corvidex-search.exe"]

# DLLs that every Windows installation has.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "advapi32.dll", "msvcrt.dll",
               "shell32.dll", "ole32.dll", "oleaut32.dll", "shlwapi.dll", "version.dll", "ws2_32.dll"}


def objdump(path):
    return subprocess.run([OBJDUMP, "-p", path], check=True, capture_output=True, text=True,
                          errors="replace").stdout


def imports(dump):
    return {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}


def exports(dump):
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return set()
    return set(re.findall(r"^\s*\[\s*\d+\]\s+(\S+)\s*$", table[1], re.M))


class ShippedBinaries(unittest.TestCase):
    def existing(self, names):
        missing = [n for n in names if not os.path.exists(os.path.join(BIN, n))]
        self.assertFalse(missing, f"not built in {BIN}")
        return names

    def test_format_and_imports(self):
        for name in self.existing(PLUGINS + PROGRAMS):
            path = os.path.join(BIN, name)
            with self.subTest(binary=name):
                kind = subprocess.run(["file", "-b", path], check=True, capture_output=True, text=True).stdout
                self.assertTrue(kind.startswith(PE_FORMAT), kind)
                if name.endswith(".dll"):
                    self.assertIn("(DLL)", kind)
                self.assertIn("Intel 80386" if ARCH != "x86_64" else "x86-64", kind)
                foreign = imports(objdump(path)) - SYSTEM_DLLS
                self.assertFalse(foreign, f"{name} imports non-system DLLs: {sorted(foreign)}")

    def test_plugin_exports_are_undecorated(self):
        for name in self.existing(PLUGINS):
            with self.subTest(plugin=name):
                self.assertTrue({"EDH_OnHandleEvent", "EDH_OnCmdProc"} <= exports(objdump(os.path.join(BIN, name))))


if __name__ == "__main__":
    unittest.main()
