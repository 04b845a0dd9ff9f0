"""The search-index core under Wine: the full-text library bound by name, a database stored, searched and pruned,
and the diagnostic log on drive J:."""
import os
import unittest

import winenv


def probe(*args):
    result = winenv.run(winenv.binary("corvidex_core_probe.exe"), args)
    return result.returncode, result.stdout.decode("utf-8").replace("\r\n", "\n"), result.stderr


@unittest.skipUnless(os.path.exists(os.path.join(winenv.BIN, "estraier.dll")), "stand-in estraier.dll not built")
class IndexDatabase(unittest.TestCase):
    def test_stores_finds_removes_and_counts(self):
        folder = winenv.temporary_folder(self)
        code, out, _ = probe("index", winenv.winpath(folder))
        self.assertEqual(code, 0, out)
        self.assertEqual(out.splitlines(), [
            "loaded 1",
            "open 1",
            "put Inbox\\1 1",
            "put inbox2\\1 1",
            "put Outbox\\1 1",
            "put no-body 0",
            "search INBOX 2 cvdx:Inbox\\1 cvdx:inbox2\\1",
            "search Outbox 0",
            "docs 2",
            "words 1",
            "close 1",
            "stages 1 1",
            "closed docs 0",
        ])
        self.assertTrue(os.path.isdir(os.path.join(folder, "index")))


class DiagnosticLog(unittest.TestCase):
    """Drive J: is a symbolic link in the prefix's dosdevices, made for the test and removed after it."""

    def map_drive_j(self, target):
        drive = os.path.join(winenv.PREFIX, "dosdevices", "j:")
        winenv.ensure_prefix()
        self.assertFalse(os.path.lexists(drive), "drive J: is already mapped in the test prefix")
        if target is not None:
            os.symlink(target, drive)
            self.addCleanup(os.remove, drive)

    def test_creates_the_file_empty_or_keeps_its_text(self):
        folder = winenv.temporary_folder(self)
        self.map_drive_j(folder)
        log = os.path.join(folder, "Corvidex.log")
        self.assertEqual(probe("log")[:2], (0, "log 1\n"))
        self.assertEqual(os.path.getsize(log), 0)
        with open(log, "wb") as f:
            f.write(b"earlier text\r\n")
        self.assertEqual(probe("log")[:2], (0, "log 1\n"))
        with open(log, "rb") as f:
            self.assertEqual(f.read(), b"earlier text\r\n")

    def test_without_drive_j_starts_quietly(self):
        self.map_drive_j(None)
        self.assertEqual(probe("log")[:2], (0, "log 1\n"))


if __name__ == "__main__":
    unittest.main()
