"""The mail client stand-in's own contract, where the plug-ins rely on it: folder tree and ctxPaths, message order
and paths, message texts, the two macros, selecting a message, menu commands and plug-in dialogs. testplugin.dll
makes the API calls."""
import os
import unittest

import standin
import winenv

PLUGIN = "testplugin.dll"
ENUMERATE, STEPS, DIALOG, WALK, CRASH = 1, 2, 3, 4, 5


def message(subject, body="本文です。\r\n"):
    return f"From: taro@example.jp\r\nSubject: {subject}\r\n\r\n{body}"


class StandinTest(unittest.TestCase):
    def make_store(self):
        store = standin.Store.temporary(self)
        # ソ and 表 end in the byte of '\\' in code page 932.
        for folder in ["taro/受信箱", "taro/仕事/プロジェクト", "taro/Archive (2009)", "taro/ソフト表示",
                       "hanako/送信済み", "hanako/ｶﾀｶﾅ"]:
            store.add_message(folder, "0001.eml", message(folder))
        return store

    def run_plugin(self, store, script, steps=()):
        conf = "".join(f"step{i}={step}\r\n" for i, step in enumerate(steps, 1))
        plugins = standin.plugin_folder(self, [PLUGIN], {"testplugin.conf": conf})
        journal = standin.run_standin(store, plugins=[plugins / PLUGIN], script=script)
        self.assertTrue(journal.finished, journal.text)
        self.assertEqual(journal.returncode, 0)
        self.assertEqual(journal.lines("script-error") + journal.lines("warning") + journal.lines("crash"), [],
                         journal.text)
        return journal

    def step_results(self, journal):
        return [(call.args[0], call.result) for call in journal.calls()
                if call.args[0] in ("EDA_RunMacro", "EDA_SelectMessage", "EDA_GetMessage")]

    def test_folder_tree_walk_gives_every_folder_in_order_with_its_ctxpath(self):
        store = self.make_store()
        journal = self.run_plugin(store, ["select ", f"invoke {PLUGIN} {WALK}"])
        expected = [store.folder_ctxpath(folder) for folder in store.folders()]
        self.assertEqual(len(expected), 9)
        self.assertEqual([call.args[0] for call in journal.calls("EDA_GetCurrentCtxpath")], expected)
        self.assertEqual([fields[0] for fields in journal.lines("selected-folder")], [""] + expected)
        self.assertEqual(journal.lines("command"), [[PLUGIN, str(WALK), "= 9"]])
        self.assertEqual(journal.final_folder, expected[-1])
        self.assertTrue(expected[0].endswith("\\store\\Account\\hanako"), expected[0])

    def test_messages_of_a_folder_in_order_with_their_paths(self):
        store = self.make_store()
        names = ["b.eml", "A.eml", "10.eml", "2.eml", "ア.eml", "x.EML", "ｱ.eml"]
        for name in names:
            store.add_message("taro/仕事", name, message(name))
        store.add_message("taro/仕事", "note.txt", "not a message")
        store.add_folder("taro/空")
        for folder, expected_names in [("taro/仕事", ["10.eml", "2.eml", "A.eml", "b.eml", "x.EML", "ア.eml", "ｱ.eml"]),
                                       ("taro/空", []), ("", [])]:
            with self.subTest(folder=folder):
                self.assertEqual(store.messages(folder) if folder else [], expected_names)
                journal = self.run_plugin(store, [f"select {folder}", f"command {PLUGIN} {ENUMERATE}"])
                paths = [store.message_path(folder, name) for name in expected_names]
                self.assertEqual(journal.calls("EDA_GetCurrentCtxpath")[0].args, [store.folder_ctxpath(folder)])
                self.assertEqual(journal.calls("EDA_GetMessageCount")[0].result, str(len(paths)))
                walked = journal.calls("EDA_GetNextMessagePath")
                self.assertEqual([call.args[1] for call in walked[:-1]], paths)
                self.assertEqual([call.result for call in walked], [str(i) for i in range(len(paths))] + ["-1"])
                self.assertEqual([call.args[0] for call in journal.calls("EDA_GetMessage")], paths)
                self.assertEqual(len(journal.calls("EDA_ReleaseEdmaxBuffer")), len(paths))

    def test_message_texts(self):
        store = self.make_store()
        present = store.message_path("taro/受信箱", "0001.eml")
        deleted = store.add_message("taro/受信箱", "0002.eml", message("deleted"))
        empty = store.add_message("taro/受信箱", "0003.eml", b"")
        large = store.add_message("taro/受信箱", "0004.eml", b"Subject: large\r\n\r\n" + b"x" * (50 << 20))
        store.add_message("taro", "outside.eml", message("outside"))
        store.add_message("taro/受信箱", "note.txt", "not a message")
        inbox = store.folder_ctxpath("taro/受信箱")
        cases = [(present, "ptr"), (deleted, "NULL"), (empty, "ptr"), (large, "ptr"),
                 (inbox + ":..\\outside.eml", "NULL"), (inbox + ":note.txt", "NULL"),
                 (store.folder_ctxpath("taro/nowhere") + ":0001.eml", "NULL"), ("0001.eml", "NULL")]
        journal = self.run_plugin(store, ["delete taro/受信箱 0002.eml", f"command {PLUGIN} {STEPS}"],
                                  [f"GetMessage {path}" for path, _ in cases])
        self.assertEqual(journal.lines("deleted"), [[deleted]])
        self.assertEqual(self.step_results(journal), [("EDA_GetMessage", result) for _, result in cases])

    def test_macros_and_message_selection(self):
        store = self.make_store()
        inbox_message = store.message_path("taro/受信箱", "0001.eml")
        project_message = store.message_path("taro/仕事/プロジェクト", "0001.eml")
        steps = [("RunMacro ActivateMailerPart();", "1"),
                 (f"SelectMessage {inbox_message}", "1"),
                 (f"SelectMessage {project_message}", "0"),  # not in the current folder
                 ("RunMacro OpenThisFolder(taro\\ソフト表示);", "1"),
                 ("RunMacro OpenThisFolder(taro\\仕事\\プロジェクト);", "1"),
                 (f"SelectMessage {project_message}", "1"),
                 (f"SelectMessage {store.message_path('taro/仕事/プロジェクト', '0009.eml')}", "0"),
                 ("RunMacro OpenThisFolder(taro\\どこにもない);", "0"),
                 ("RunMacro OpenThisFolder(taro\\受信箱)", "0"),  # no ';'
                 ("RunMacro SelectAll();", "0")]
        journal = self.run_plugin(store, ["select taro/受信箱", f"command {PLUGIN} {STEPS}"],
                                  [step for step, _ in steps])
        self.assertEqual([result for _, result in self.step_results(journal)], [result for _, result in steps])
        self.assertEqual([fields[0] for fields in journal.lines("selected-message")],
                         [inbox_message, "", project_message])
        self.assertEqual(journal.final_folder, store.folder_ctxpath("taro/仕事/プロジェクト"))
        self.assertEqual(journal.final_message, project_message)

    def test_commands_menus_and_plugin_dialogs(self):
        store = self.make_store()
        snapshot = os.path.join(winenv.temporary_folder(self), "dialog.bmp")
        journal = self.run_plugin(store, [f"snap-dialog {standin.winpath(snapshot)} 3",
                                          f"command {PLUGIN} {DIALOG}", f"command {PLUGIN} 9",
                                          f"command other.dll {ENUMERATE}", f"event {PLUGIN} 1001 3",
                                          f"invoke {PLUGIN} 9"])
        menu_ids = {fields[2]: fields[3] for fields in journal.lines("menu-item")}
        self.assertEqual(sorted(menu_ids), ["1", "2", "3"])
        self.assertEqual(len(set(menu_ids.values())), 3)
        # The dialog's whole life lies between its command's statement and the next statement.
        seen = journal.kinds("script", "dialog", "status", "progress", "caption", "msgbox", "dialog-end", "command",
                             "command-missing", "menu", "snap")
        ticks = [line for tick in range(1, 6) for line in (("status", [f"tick {tick}"]), ("progress", ["stepit"]))]
        self.assertEqual(seen, [
            ("menu", [PLUGIN, "Testplug(&T)", "4"]),  # at start-up, with menu kind 8
            ("script", ["1", f"snap-dialog {standin.winpath(snapshot)} 3"]),
            ("script", ["2", f"command {PLUGIN} {DIALOG}"]),
            ("dialog", ["Testplug progress", "201"]),
            ("progress", ["range", "0", "5"]), ("progress", ["step", "1"]),
            *ticks[:5], ("snap", [standin.winpath(snapshot), "ok"]), *ticks[5:],
            ("caption", ["Testplug done"]),
            ("msgbox", ["dialog", "Testplug", "finished", "OK Cancel"]),
            ("dialog-end", ["Testplug done"]),
            ("command", [PLUGIN, str(DIALOG), "= 1"]),  # the default button answered the box
            ("script", ["3", f"command {PLUGIN} 9"]),
            ("command-missing", [PLUGIN, "9"]),
            ("script", ["4", f"command other.dll {ENUMERATE}"]),
            ("command-missing", ["other.dll", str(ENUMERATE)]),
            ("script", ["5", f"event {PLUGIN} 1001 3"]),  # other menu kinds get nothing appended
            ("script", ["6", f"invoke {PLUGIN} 9"]),
            ("command", [PLUGIN, "9", "= -1"]),
        ])
        with open(snapshot, "rb") as bitmap:
            self.assertEqual(bitmap.read(2), b"BM")

    def test_a_crash_in_a_plugin_is_journaled(self):
        store = self.make_store()
        plugins = standin.plugin_folder(self, [PLUGIN], {"testplugin.conf": ""})
        journal = standin.run_standin(store, plugins=[plugins / PLUGIN], script=[f"invoke {PLUGIN} {CRASH}"])
        self.assertNotEqual(journal.returncode, 0)
        self.assertFalse(journal.finished)
        [(code, where)] = journal.lines("crash")
        self.assertEqual(code, "0xc0000005")
        self.assertRegex(where, r"\\testplugin\.dll\+0x[0-9a-f]+$")

    def test_background_run_until_stopped(self):
        store = self.make_store()
        with standin.start_standin(store, script=["select taro/受信箱"]) as client:
            client.wait_ready()
            self.assertEqual(client.journal_so_far().lines("selected-folder")[-1],
                             [store.folder_ctxpath("taro/受信箱")])
            journal = client.stop()
        self.assertEqual(journal.returncode, 0)
        self.assertEqual(journal.final_folder, store.folder_ctxpath("taro/受信箱"))


if __name__ == "__main__":
    unittest.main()
