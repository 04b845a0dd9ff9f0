"""corvidex-search under Wine, against an index that Corvidex built in the mail client stand-in.

The plug-in folder holds Corvidex.dll, its configuration (the index in a Japanese-named folder beside the DLL),
estraier.dll, Pickwire.dll and corvidex-search.exe, as on a user's machine; the program finds the index by reading
Corvidex.conf the way the plug-in does. Its output goes to a pipe here, so text comes in code page 932 and --json
in UTF-8. Error cases run the program from folders that lack one piece each.
"""
import json
import os
import pathlib
import shutil
import tempfile
import time
import unittest

import standin
import winenv

SEARCH = "corvidex-search.exe"
INDEX_FOLDER = "索引"

ESTIMATE = ("taro/受信箱", "0001.eml",
            "From: 山田 <yamada@example.jp>\r\nSubject: 見積のお願い\r\nDate: Mon, 1 Jan 2024 09:00:00 +0900\r\n"
            "\r\n見積書を添付します。 invoice 12345\r\n")
MEETING = ("taro/受信箱", "0002.eml",
           "From: tanaka@example.com\r\nSubject: Meeting\r\nDate: Tue, 2 Jan 2024 10:00:00 +0900\r\n"
           "\r\nAgenda of the meeting.\r\n")
REMINDER = ("taro/送信済み", "0003.eml",
            "From: Tanaka <tanaka@example.com>\r\nSubject: Invoice reminder\r\n\r\nThe invoice is attached.\r\n")


def copy_binaries(folder, names):
    for name in names:
        shutil.copy(winenv.binary(name), os.path.join(folder, os.path.basename(name)))


class CorvidexSearch(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        root = tempfile.mkdtemp(prefix="corvidex-search-")
        cls.addClassCleanup(shutil.rmtree, root, True)
        cls.root = pathlib.Path(root)
        cls.store = standin.Store(cls.root / "store")
        cls.paths = {name: cls.store.add_message(folder, name, text) for folder, name, text in
                     (ESTIMATE, MEETING, REMINDER)}
        cls.plugins = cls.root / "plugins"
        cls.plugins.mkdir()
        copy_binaries(cls.plugins, ["Corvidex.dll", "estraier.dll", "Pickwire.dll", SEARCH])
        (cls.plugins / "Corvidex.conf").write_bytes(f"index={INDEX_FOLDER}\n".encode("cp932"))
        (cls.plugins / "Pickwire.conf").write_bytes(b"PollingTime=100\n")

        journal = standin.run_standin(cls.store, plugins=[cls.plugins / "Corvidex.dll"],
                                      script=["select taro", "command Corvidex.dll 35001"])
        boxes = journal.msgboxes()
        assert len(boxes) == 1 and "doc num: 3" in boxes[0].text, journal.text
        assert (cls.plugins / INDEX_FOLDER).is_dir(), journal.text

    def search(self, *args, folder=None, timeout=60):
        """Runs the program; returns (exit code, stdout as bytes, stderr as text)."""
        program = os.path.join(folder or self.plugins, SEARCH)
        result = winenv.run(program, list(args), timeout=timeout)
        return result.returncode, result.stdout, result.stderr.decode("cp932", "replace")

    def lines(self, *args):
        code, out, err = self.search(*args)
        self.assertEqual(code, 0, err)
        return [line.split("\t") for line in out.decode("cp932").split("\r\n") if line]

    def uris(self, *args):
        return [fields[4] for fields in self.lines(*args)]

    def uri(self, name):
        return "cvdx:" + self.paths[name]

    def test_japanese_word_in_text_and_subject(self):
        self.assertEqual(self.lines("見積"), [[
            "1", "Mon, 1 Jan 2024 09:00:00 +0900", "山田 <yamada@example.jp>", "見積のお願い", self.uri("0001.eml")]])
        # "お願い" stands in the subject only, which is indexed as hidden text.
        self.assertEqual(self.uris("お願い"), [self.uri("0001.eml")])

    def test_english_word_and_all_words(self):
        lines = self.lines("invoice")
        self.assertEqual([fields[0] for fields in lines], ["1", "2"])
        self.assertEqual(sorted(fields[4] for fields in lines), [self.uri("0001.eml"), self.uri("0003.eml")])
        self.assertEqual(self.uris("invoice", "見積"), [self.uri("0001.eml")])
        self.assertEqual(len(self.lines("--max", "1", "invoice")), 1)

    def test_json_lines_parse(self):
        code, out, err = self.search("--json", "invoice")
        self.assertEqual(code, 0, err)
        hits = [json.loads(line) for line in out.decode("utf-8").splitlines()]
        self.assertEqual([list(hit) for hit in hits], [["rank", "id", "uri", "date", "from", "subject"]] * 2)
        self.assertEqual([hit["rank"] for hit in hits], [1, 2])
        by_uri = {hit["uri"]: hit for hit in hits}
        self.assertEqual(set(by_uri), {self.uri("0001.eml"), self.uri("0003.eml")})
        estimate = by_uri[self.uri("0001.eml")]
        self.assertIsInstance(estimate["id"], int)
        self.assertEqual((estimate["date"], estimate["from"], estimate["subject"]),
                         ("Mon, 1 Jan 2024 09:00:00 +0900", "山田 <yamada@example.jp>", "見積のお願い"))
        self.assertEqual(by_uri[self.uri("0003.eml")]["date"], "")

    def test_attribute_expressions(self):
        self.assertEqual(self.uris("--attr", "@author ISTRINC TANAKA", "invoice"), [self.uri("0003.eml")])
        self.assertEqual(self.uris("--attr", "@author STRINC 山田"), [self.uri("0001.eml")])
        self.assertEqual(self.uris("--attr", "@author ISTRINC tanaka", "--attr", "@title STREQ Meeting"),
                         [self.uri("0002.eml")])

    def test_index_given_on_the_command_line(self):
        # The Japanese folder name reaches the library in the system's code page.
        index = winenv.winpath(str(self.plugins / INDEX_FOLDER))
        other = self.root / "elsewhere"
        other.mkdir(exist_ok=True)
        copy_binaries(other, ["estraier.dll", SEARCH])
        code, out, err = self.search("--index", index, "お願い", folder=other)
        self.assertEqual(code, 0, err)
        self.assertIn(self.uri("0001.eml").encode("cp932"), out)

    def test_open_selects_the_message_in_the_client(self):
        with standin.start_standin(self.store, plugins=[self.plugins / "Pickwire.dll"]) as client:
            client.wait_ready()
            code, out, err = self.search("--open", "1", "お願い")
            self.assertEqual(code, 0, err)
            self.assertEqual(out.decode("cp932").split("\t")[4], self.uri("0001.eml") + "\r\n")
            # The request is served at Pickwire's next timer tick, some time after the program has written it.
            deadline = time.monotonic() + 20
            while not client.journal_so_far().calls("EDA_SelectMessage") and time.monotonic() < deadline:
                time.sleep(0.2)
            journal = client.stop()
        self.assertEqual([call.args for call in journal.calls("EDA_SelectMessage")], [[self.paths["0001.eml"], "1"]])
        self.assertEqual(journal.final_message, self.paths["0001.eml"])

    def test_failures_have_their_own_exit_codes(self):
        missing_index = winenv.winpath(str(self.root / "no-such-index"))
        cases = [
            ("bad arguments", ("--max", "0", "invoice"), 2, "--max needs a whole number"),
            ("unknown option", ("--jsn", "invoice"), 2, "unknown option --jsn"),
            ("no hits", ("nowhere",), 1, "no hits"),
            ("hit out of range", ("--open", "3", "invoice"), 5, "--open 3 is out of range: the search found 2 hits"),
            ("no index there", ("--index", missing_index, "invoice"), 3, "no index at " + missing_index),
        ]
        for name, args, exit_code, message in cases:
            with self.subTest(name):
                code, out, err = self.search(*args)
                self.assertEqual((code, out), (exit_code, b""), err)
                self.assertIn(message, err)

    def test_pickwire_not_running(self):
        code, _, err = self.search("--open", "1", "お願い")
        self.assertEqual(code, 6, err)
        self.assertIn("Pickwire is not listening", err)

    def test_missing_pieces_beside_the_program(self):
        conf = f"index={winenv.winpath(str(self.plugins / INDEX_FOLDER))}\n".encode("cp932")
        cases = [
            ("no configuration", ["estraier.dll"], None, 3, "Corvidex.conf"),
            ("no library", [], conf, 4, "estraier.dll cannot be loaded"),
            ("incomplete library", ["novector/estraier.dll"], conf, 4, "estraier.dll lacks entry points"),
        ]
        for name, binaries, conf_bytes, exit_code, message in cases:
            with self.subTest(name):
                folder = winenv.temporary_folder(self, "corvidex-search-alone-")
                copy_binaries(folder, [SEARCH, *binaries])
                if conf_bytes is not None:
                    pathlib.Path(folder, "Corvidex.conf").write_bytes(conf_bytes)
                code, out, err = self.search("invoice", folder=folder)
                self.assertEqual((code, out), (exit_code, b""), err)
                self.assertIn(message, err)


if __name__ == "__main__":
    unittest.main()
