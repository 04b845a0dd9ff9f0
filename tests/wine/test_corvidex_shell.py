"""Corvidex.dll in the stand-in client: loading, its submenu with and without the full-text library, commands it
does not know or cannot run, and its compiled resources."""
import os
import re
import subprocess
import unittest

import corvidex_wine as cw
import standin
import winenv


class Loading(unittest.TestCase):
    def test_without_configuration_the_library_refuses_to_load(self):
        store = standin.Store.temporary(self)
        folder = cw.plugin_folder(self, conf=None)
        journal = cw.run(store, folder, ["command Corvidex.dll 35000"])
        self.assertEqual(journal.loads()[cw.PLUGIN][0], "failed")
        (box,) = journal.msgboxes()
        self.assertEqual((box.owner, box.text, box.buttons), ("none", "ERROR", "OK"))
        self.assertTrue(box.caption)  # the system's text for the error
        self.assertFalse(journal.lines("menu"))
        self.assertFalse(journal.lines("dialog"))


class SubmenuAndCommands(unittest.TestCase):
    CAPTIONS = [("インデックス化 - 選択フォルダ(&I)", "35000"), ("インデックス化 - サブフォルダも(&R)", "35001"),
                ("インデックス削除 - 選択フォルダ(&D)", "35002"), ("インデックス削除 - サブフォルダも(&D)", "35003")]

    def test_submenu_offers_the_commands_only_with_the_whole_library(self):
        store = standin.Store.temporary(self)
        store.add_message("taro/受信箱", "0001.eml", "Subject: a\r\n\r\nbody\r\n")
        script = ["select taro/受信箱", "event Corvidex.dll 1001 7", "event Corvidex.dll 1001 8",
                  "invoke Corvidex.dll 35000", "invoke Corvidex.dll 35003"]
        for library, items in [("standard", self.CAPTIONS), ("novector", []), (None, [])]:
            with self.subTest(library=library):
                folder = cw.plugin_folder(self, conf="index=" + winenv.winpath(winenv.temporary_folder(self)) +
                                          "\\idx\n")
                journal = cw.run_client_from(folder, store, script, library)
                self.assertEqual(journal.loads()[cw.PLUGIN], ("ok",))
                # The event at start, the one of kind 8 from the script; kind 7 appends nothing.
                self.assertEqual(journal.lines("menu"), [[cw.PLUGIN, "Corvidex(&H)", str(len(items))]] * 2)
                self.assertEqual([(caption, nid) for _, caption, nid, _ in journal.lines("menu-item")],
                                 items * 2)
                results = [fields[2] for fields in journal.lines("command")]
                if items:
                    self.assertEqual(results, ["= 0", "= 0"])
                else:
                    # Refused before anything reaches the unbound library: no dialog, no call to the client.
                    self.assertEqual(results, ["= -1", "= -1"])
                    self.assertFalse(journal.lines("dialog"))
                    self.assertFalse(journal.calls("EDA_GetCurrentCtxpath"))

    def test_numbers_outside_its_commands_do_nothing(self):
        store = standin.Store.temporary(self)
        store.add_message("taro/受信箱", "0001.eml", "Subject: a\r\n\r\nbody\r\n")
        folder = cw.plugin_folder(self)
        numbers = [34999, 35004, 0, 40001, -1]
        journal = cw.run(store, folder, ["select taro/受信箱"] + [f"invoke Corvidex.dll {n}" for n in numbers])
        self.assertEqual([fields[1:] for fields in journal.lines("command")],
                         [[str(n), f"= {n - 35000}"] for n in numbers])
        self.assertFalse(journal.lines("dialog"))
        self.assertFalse(os.path.exists(folder / "cascket"))


class ProgressDialogLaunch(unittest.TestCase):
    """The dialog's launch driven by a test program that carries the plug-in's code and resources; every job there
    ends at once because no database can be opened."""

    def test_launch_leaves_the_thread_as_it_found_it(self):
        result = winenv.run(winenv.binary("corvidex-dialog-probe.exe"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode().replace("\r\n", "\n").splitlines(), [
            # A dialog that cannot be created: no job, and the thread is no fiber any more.
            "no-dialog result=-1 fiber=0",
            # A job whose database cannot be opened ends at the first tick; the dialog object serves again.
            "index result=0 fiber=0",
            "purge result=0 fiber=0",
            # A command given while a job runs is refused; the running job ends normally.
            "busy result=0 fiber=0 second=-1",
            # A thread that was a fiber before stays that fiber.
            "fiber-no-dialog result=-1 fiber=1 own=1",
            "fiber-index result=0 fiber=1 own=1",
        ])


class Resources(unittest.TestCase):
    """The resources as compiled into the DLL, read back with windres."""

    def test_progress_dialog_template_and_version(self):
        arch = "x86_64" if winenv.BUILD.rstrip("/").endswith("win64") else "i686"
        text = subprocess.run([f"{arch}-w64-mingw32-windres", "-i", winenv.binary(cw.PLUGIN), "-O", "rc"],
                              check=True, capture_output=True, text=True).stdout
        dialog = text[text.index("101 DIALOGEX"):]
        dialog = dialog[:dialog.index("END")]
        self.assertIn("LANGUAGE 17, 1\n\n101 DIALOGEX 0, 0, 316, 39", text)
        self.assertIn("STYLE 0x80c800c8\n", dialog)
        self.assertNotIn("EXSTYLE", dialog)
        self.assertIn('CAPTION "Dialog"\nFONT 8, "MS Shell Dlg", 400, 0, 1\n', dialog)
        # The abort button's text is 中断 in UTF-16.
        self.assertIn('PUSHBUTTON L"\\x4e2d\\x65ad", 2, 259, 7, 50, 14, 0x50010000', dialog)
        control = re.search(r'CONTROL "", 1001, "([^"]+)", 0x50800001, 7, 7, 249, 14', dialog)
        self.assertIsNotNone(control, dialog)
        # windres writes class names in capitals; Windows looks them up without regard to case.
        self.assertEqual(control.group(1).lower(), "msctls_progress32")
        self.assertEqual(dialog.count("PUSHBUTTON") + dialog.count("CONTROL"), 2)

        version = text[text.index("VERSIONINFO"):]
        for line in ["FILEVERSION 0, 0, 0, 2", "PRODUCTVERSION 0, 0, 0, 2", "FILEOS 0x4", "FILETYPE 0x2",
                     'BLOCK "041104b0"', 'VALUE "FileVersion", "0, 0, 0, 2"', 'VALUE "ProductVersion", "0, 0, 0, 2"',
                     'VALUE "FileDescription", "Corvidex"', 'VALUE "InternalName", "Corvidex"',
                     'VALUE "ProductName", "Corvidex"', 'VALUE "OriginalFilename", "Corvidex.dll"',
                     'VALUE "Translation", 0x411, 1200']:
            self.assertIn(line, version)
        self.assertRegex(version, r'VALUE "LegalCopyright", "[^"]+"')


if __name__ == "__main__":
    unittest.main()
