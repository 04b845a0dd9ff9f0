"""The bundled sample store and the store generator (tools/make-store): the committed store is what the generator
writes, it holds the kinds of messages the plug-ins must cope with, and generated corpora have the promised shape."""
import os
import subprocess
import sys
import tempfile
import unittest

import winenv

GENERATOR = os.path.join(winenv.SOURCE, "tools", "make-store", "make_store.py")
SAMPLE = os.path.join(winenv.SOURCE, "samples", "store")


def generate(test, *args):
    out = os.path.join(winenv.temporary_folder(test, "make-store-"), "store")
    subprocess.run([sys.executable, GENERATOR, *args, "--out", out], check=True)
    return out


def files(root):
    """{relative path: bytes} of every file below root."""
    result = {}
    for directory, _, names in os.walk(root):
        for name in names:
            path = os.path.join(directory, name)
            with open(path, "rb") as file:
                result[os.path.relpath(path, root)] = file.read()
    return result


class SampleStoreTest(unittest.TestCase):
    def test_committed_sample_is_what_the_generator_writes(self):
        self.assertEqual(files(generate(self, "--sample")), files(SAMPLE))

    def test_sample_holds_the_messages_plugins_must_cope_with(self):
        messages = {path: data for path, data in files(SAMPLE).items() if path.endswith(".eml")}
        self.assertGreaterEqual(len(messages), 35)
        accounts = {path.split(os.sep)[1] for path in messages}
        self.assertEqual(accounts, {"taro", "hanako"})
        texts = {path: data.decode("cp932") for path, data in messages.items()}  # every file is code page 932
        self.assertEqual(sum(1 for data in messages.values() if not data), 1, "one empty file")
        self.assertEqual(sum(1 for text in texts.values() if text and "\r\n\r\n" not in text), 1,
                         "one message of header lines only")
        self.assertTrue(any("ﾊﾝｶｸ ｶﾀｶﾅ" in text for text in texts.values()), "half-width katakana")
        self.assertTrue(any("Subject: =?ISO-2022-JP?B?" in text for text in texts.values()))
        self.assertTrue(any(line.startswith("Subject: ") and not line.isascii()
                            for text in texts.values() for line in text.split("\r\n")), "a raw Japanese subject")
        for field in ["From:", "To:", "Cc:", "Date:", "Subject:", "Message-ID:", "X-Mailer:"]:
            self.assertTrue(any(f"\r\n{field} " in "\r\n" + text for text in texts.values()), field)
        nested = {os.path.dirname(path) for path in messages if path.count(os.sep) >= 4}
        self.assertTrue(nested, "folders below folders")

    def test_generated_corpus(self):
        first = generate(self, "--messages", "400")
        self.assertEqual(files(first), files(generate(self, "--messages", "400")), "same arguments, same store")
        counts = {}
        for path in files(first):
            counts[os.path.dirname(path)] = counts.get(os.path.dirname(path), 0) + 1
        self.assertEqual(sum(counts.values()), 400)
        self.assertGreater(max(counts.values()), 250)
        self.assertTrue(any(folder.count(os.sep) >= 4 for folder in counts), "nested folders")


if __name__ == "__main__":
    unittest.main()
