"""Corvidex's index and purge jobs in the stand-in client, read back from the database with est-dump: every
message with a body becomes one document under a URI the client's paths give back, purging removes exactly the
documents of messages that are gone, and an abort stops the current folder only."""
import os
import unittest

import corvidex_wine as cw
import standin
import winenv

LONG_NAME_LENGTH = 80  # half-width katakana per folder level: 3 bytes each in UTF-8, 1 in code page 932


def build_store(test):
    """A store of nested folders with Japanese names. Returns (store, {(folder, file): has a body}, long folder)."""
    store = standin.Store.temporary(test)
    messages = {}

    def add(folder, name, text, has_body=True):
        store.add_message(folder, name, text)
        messages[(folder, name)] = has_body

    add("taro/受信箱", "0001.eml", "Subject: 会議のお知らせ\r\nFrom: 山田 <yamada@example.jp>\r\n\r\n明日の会議は十時からです。\r\n")
    # Half-width katakana: its UTF-8 form is nearly three times as long as the client's text.
    add("taro/受信箱", "0002.eml", "Subject: ｶﾀｶﾅ\r\n\r\n" + "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ" * 40 + "\r\n")
    add("taro/受信箱", "0003.eml", "Subject: 本文なし\r\nFrom: x@example.jp", has_body=False)
    add("taro/受信箱", "0004.eml", b"", has_body=False)
    for i in range(1, 4):
        add("taro/受信箱/仕事", f"{i:04}.eml", f"Subject: 仕事{i}\r\n\r\n報告書{i}をお送りします。\r\n")
    add("taro/受信箱/仕事/2009年", "0001.eml", "Subject: 古い\r\n\r\n二〇〇九年の便り\r\n")
    for i in range(1, 261):
        add("taro/大量", f"{i:04}.eml", f"Subject: 番号{i}\r\n\r\n本文 {i}\r\n")
    add("hanako/送信済み", "0001.eml", "Subject: Re: 会議\r\n\r\n了解しました。\r\n")
    add("hanako/送信済み", "0002.eml", "Subject: ﾃｽﾄ\r\n\r\nﾃｽﾄです\r\n")
    # A folder whose path fits the client's buffers in code page 932 but not the 520 bytes of its UTF-8 form.
    long_folder = "taro/" + "ｱ" * LONG_NAME_LENGTH + "/" + "ｲ" * LONG_NAME_LENGTH
    add(long_folder, "0001.eml", "Subject: 長い\r\n\r\n長いパスの便り\r\n")
    ctx = store.folder_ctxpath(long_folder)
    assert len(store.message_path(long_folder, "0001.eml").encode("cp932")) < 264, "store path too long for the test"
    assert len(ctx.encode("utf-8")) >= 520, "the long folder's UTF-8 path must not fit 520 bytes"
    return store, messages, long_folder


def expected_uris(store, messages, skip_folder):
    return {"cvdx:" + store.message_path(folder, name)
            for (folder, name), has_body in messages.items() if has_body and folder != skip_folder}


class IndexJob(unittest.TestCase):
    def test_index_all_folders_twice(self):
        store, messages, long_folder = build_store(self)
        folder = cw.plugin_folder(self, conf="index=\n")  # the default: "cascket" beside the library
        journal = cw.run(store, folder, ["select", f"command Corvidex.dll {cw.INDEX_FOLDER}",
                                         f"command Corvidex.dll {cw.INDEX_SUBFOLDERS}",
                                         "select", f"command Corvidex.dll {cw.INDEX_SUBFOLDERS}"])
        self.assertEqual([fields[2] for fields in journal.lines("command")], ["= 0"] * 3)

        index = cw.dump(folder / "cascket")
        expected = expected_uris(store, messages, long_folder)
        self.assertEqual(set(index.by_uri), expected)
        self.assertEqual(index.documents, len(expected))
        self.assertNotIn("cvdx:", index.by_uri)  # the message whose path does not fit is left out, not stored empty
        katakana = "cvdx:" + store.message_path("taro/受信箱", "0002.eml")
        katakana_text = ("Subject: ｶﾀｶﾅ\r\n\r\n" + "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ" * 40 + "\r\n").encode("utf-8")
        self.assertEqual(index.by_uri[katakana]["@size"], str(len(katakana_text)))

        # The root item has no folder of its own: the first job stores nothing. The next two give the same count.
        boxes = journal.msgboxes()
        self.assertEqual([(box.owner, box.caption, box.buttons) for box in boxes], [("main", "Information", "OK")] * 3)
        self.assertEqual([cw.summary(box.text)[0] for box in boxes], [0, len(expected), len(expected)])
        for box in boxes:
            self.assertRegex(box.text, r"^time: \d+\.\d{3} sec\ndoc num: \d+\nword num: \d+$")

        # What the dialog showed during the second job: its caption for each folder with messages, in the walk's
        # order, each message path in the status bar, then the database's flushing and closing stages.
        start, end = [i for i, (kind, _) in enumerate(journal.records) if kind == "dialog"][1], \
            [i for i, (kind, _) in enumerate(journal.records) if kind == "msgbox"][1]
        second_job = journal.records[start:end + 1]
        self.assertEqual(second_job[0], ("dialog", ["Dialog", "101"]))
        walked = [f for f in store.folders() if store.messages(f)]
        self.assertEqual([fields[0] for kind, fields in second_job if kind == "caption"],
                         [store.folder_ctxpath(f) for f in walked])
        statuses = [fields[0] for kind, fields in second_job if kind == "status"]
        self.assertEqual(statuses[-2:], ["flushing...", "closing..."])
        self.assertEqual([s for s in statuses[:-2] if s],
                         [store.message_path(f, name) for f in walked for name in store.messages(f)])
        self.assertIn(["range", "0", "260"], [fields for kind, fields in second_job if kind == "progress"])
        # The walk leaves the last folder it visited selected.
        self.assertEqual(journal.final_folder, store.folder_ctxpath(store.folders()[-1]))


class PurgeJob(unittest.TestCase):
    def test_purge_removes_exactly_the_documents_of_messages_that_are_gone(self):
        store, messages, long_folder = build_store(self)
        database = winenv.temporary_folder(self)
        folder = cw.plugin_folder(self, conf="index=" + winenv.winpath(database) + "\\idx\n")
        journal = cw.run(store, folder, ["select", f"command Corvidex.dll {cw.INDEX_SUBFOLDERS}"])
        indexed = cw.dump(os.path.join(database, "idx"))

        gone = [("taro/受信箱", "0001.eml"), ("taro/大量", "0150.eml"), ("taro/受信箱/仕事/2009年", "0001.eml"),
                ("hanako/送信済み", "0002.eml")]
        for f, name in gone:
            store.delete_message(f, name)
        emptied = ("taro/受信箱/仕事", "0002.eml")  # an empty text counts as gone
        (store.folder_dir(emptied[0]) / emptied[1]).write_bytes(b"")
        # Documents whose message path cannot be had back in code page 932: a character the code page lacks, and a
        # path longer than the client's paths can be. They are left alone, never removed on an empty lookup.
        inbox = store.folder_ctxpath("taro/受信箱")
        foreign = ["cvdx:" + inbox + ":\U0001F600.eml", "cvdx:" + inbox + ":" + "x" * 600 + ".eml"]
        cw.seed(self, os.path.join(database, "idx"), foreign)

        journal = cw.run(store, folder, [f"select {long_folder}", f"command Corvidex.dll {cw.PURGE_FOLDER}",
                                         "select", f"command Corvidex.dll {cw.PURGE_SUBFOLDERS}"])
        removed = {"cvdx:" + store.message_path(f, name) for f, name in gone + [emptied]}
        purged = cw.dump(os.path.join(database, "idx"))
        self.assertEqual(set(purged.by_uri), (set(indexed.by_uri) - removed) | set(foreign))
        # The long folder's own purge is skipped (its path cannot be a search prefix); the full purge shows the
        # removals in its counts.
        counts = [cw.summary(box.text)[0] for box in journal.msgboxes()]
        self.assertEqual(counts, [indexed.documents + 2, indexed.documents + 2 - len(removed)])
        self.assertEqual(purged.documents, counts[-1])


class Abort(unittest.TestCase):
    def test_abort_stops_the_current_folder_and_the_walk_goes_on(self):
        store = standin.Store.temporary(self)
        for i in range(1, 261):
            store.add_message("taro/大量", f"{i:04}.eml", f"Subject: {i}\r\n\r\n本文 {i}\r\n")
        for i in range(1, 4):
            store.add_message("taro/大量/子", f"{i:04}.eml", f"Subject: 子{i}\r\n\r\n子の本文 {i}\r\n")
        folder = cw.plugin_folder(self, conf="index=\n", extra_dlls=["CancelAtStatus.dll"])
        # The cancel button is clicked at the 10th message of the big folder; the dialog sees the click when the
        # job next yields, after the 100th message.
        journal = cw.run(store, folder, ["select taro/大量", f"command Corvidex.dll {cw.INDEX_SUBFOLDERS}",
                                         f"command Corvidex.dll {cw.INDEX_FOLDER}"],
                         extra_plugins=["CancelAtStatus.dll"], env={"CANCEL_AT_STATUS": "10"})
        big, child = store.folder_ctxpath("taro/大量"), store.folder_ctxpath("taro/大量/子")
        read = [call.args[0] for call in journal.calls("EDA_GetMessage")]
        first_job = [store.message_path("taro/大量", f"{i:04}.eml") for i in range(1, 101)] + \
            [store.message_path("taro/大量/子", f"{i:04}.eml") for i in range(1, 4)]
        # The second job, on the folder the walk ended in, runs to its end: the abort request was used up.
        second_job = [store.message_path("taro/大量/子", f"{i:04}.eml") for i in range(1, 4)]
        self.assertEqual(read, first_job + second_job)
        self.assertEqual(journal.final_folder, child)
        self.assertIn(["caption", [big]], [[kind, fields] for kind, fields in journal.records if kind == "caption"])

        index = cw.dump(folder / "cascket")
        self.assertEqual(set(index.by_uri), {"cvdx:" + path for path in first_job})
        self.assertEqual([cw.summary(box.text)[0] for box in journal.msgboxes()], [103, 103])


if __name__ == "__main__":
    unittest.main()
