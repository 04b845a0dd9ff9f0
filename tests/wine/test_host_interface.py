"""The host interface of the plug-ins under Wine: configuration, binding of the client's API, the error box and the
information record, with testplugin.dll (made of common/ only) in the mail client stand-in."""
import struct
import unittest

import standin

PLUGIN = "testplugin.dll"
CONF = "testplugin.conf"


class HostInterfaceTest(unittest.TestCase):
    def run_plugin(self, confs={CONF: ""}, withhold=None):
        store = standin.Store.temporary(self)
        store.add_folder("taro/受信箱")
        plugins = standin.plugin_folder(self, [PLUGIN], confs)
        return standin.run_standin(store, plugins=[plugins / PLUGIN], withhold=withhold)

    def assert_load_failed_with_error_box(self, journal):
        self.assertEqual(journal.loads()[PLUGIN][0], "failed")
        boxes = journal.msgboxes()
        self.assertEqual(len(boxes), 1, journal.text)
        box = boxes[0]
        self.assertEqual((box.owner, box.text, box.buttons), ("none", "ERROR", "OK"))
        # The caption is the system's message for the error, not a fallback of ours.
        self.assertTrue(box.caption.strip(), journal.text)
        self.assertNotEqual(box.caption, "ERROR")
        self.assertFalse(box.caption.startswith("error "), box.caption)
        # A plug-in that failed to load is never called.
        self.assertEqual(journal.lines("event"), [])
        return box.caption

    def test_binding_succeeds_and_the_plugin_loads(self):
        journal = self.run_plugin()
        self.assertEqual(journal.loads(), {PLUGIN: ("ok",)})
        self.assertEqual(journal.msgboxes(), [])
        self.assertEqual(len(journal.calls("EDA_GetStaticWindows")), 1)
        self.assertEqual([fields[:2] for fields in journal.lines("event")], [[PLUGIN, "1000"], [PLUGIN, "1001"]])

    def test_a_missing_api_name_fails_the_load_with_the_error_box(self):
        captions = {}
        for name in ["EDA_GetEdmaxVersion", "EDA_GetMessageCount", "EDA_AppendMessage"]:  # last, middle, first
            with self.subTest(withhold=name):
                journal = self.run_plugin(withhold=name)
                self.assertEqual(journal.lines("withhold"), [[name, "ok"]])
                captions[name] = self.assert_load_failed_with_error_box(journal)
                self.assertEqual(journal.calls("EDA_GetStaticWindows"), [])
        self.assertEqual(len(set(captions.values())), 1, captions)  # one error code: the name was not found

    def test_configuration_file(self):
        # An existing file, even an empty one, is enough; a missing one fails the load before the API is bound.
        missing_caption = None
        for name, confs, loads in [("empty", {CONF: ""}, True),
                                   ("settings and comments", {CONF: "# comment\r\nkey = value\r\n"}, True),
                                   ("missing", {}, False),
                                   ("other plug-in's name", {"otherplugin.conf": ""}, False)]:
            with self.subTest(name):
                journal = self.run_plugin(confs=confs)
                if loads:
                    self.assertEqual(journal.loads(), {PLUGIN: ("ok",)})
                    self.assertEqual(journal.msgboxes(), [])
                else:
                    missing_caption = self.assert_load_failed_with_error_box(journal)
                    self.assertEqual(journal.calls("EDA_GetStaticWindows"), [])
        # The error of a missing file is not the error of a missing API name.
        binding_caption = self.assert_load_failed_with_error_box(self.run_plugin(withhold="EDA_GetEdmaxVersion"))
        self.assertNotEqual(missing_caption, binding_caption)

    def test_information_record_gets_exactly_the_listed_fields(self):
        journal = self.run_plugin()
        record = bytearray(b"\xcc" * 32768)
        for offset, data in journal.info(PLUGIN).items():
            record[offset:offset + len(data)] = data

        def text_at(offset):
            end = record.index(0, offset)
            self.assertLess(end - offset, 100, f"text at {offset} does not fit its slot")
            return bytes(record[offset:end + 1])

        expected = bytearray(b"\xcc" * 32768)
        fields = {0: struct.pack("<i", 10), 4: b"Testplug\0", 104: b"Ver 0.001-test\0", 204: b"Aug  9 2009\0",
                  604: b"Testplug\0"}
        # The author's name, mail address and web page are texts of the plug-in's choosing.
        for offset in (304, 404, 504):
            fields[offset] = text_at(offset)
            self.assertNotIn(b"\xcc", fields[offset])
        for offset in (10844, 10944, 21184, 21284, 21384):
            fields[offset] = b"\0"
        for offset, data in fields.items():
            expected[offset:offset + len(data)] = data
        changed = [offset for offset in range(len(record)) if record[offset] != expected[offset]]
        self.assertEqual(changed, [], f"bytes differ from the listed fields at {changed[:10]}")


if __name__ == "__main__":
    unittest.main()
