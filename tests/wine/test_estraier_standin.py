"""The stand-in full-text library under Wine: the behaviour table, its binary interface, its storage across
processes and after a killed job, and est-dump."""
import os
import re
import subprocess
import unittest

import winenv

NOVECTOR = os.path.join(winenv.BIN, "novector", "estraier.dll")


def entry_point_names():
    """The 153 names in binding order, from the plug-in's own list of entry points."""
    with open(os.path.join(winenv.SOURCE, "corvidex", "estraier_api.h"), encoding="utf-8") as header:
        return re.findall(r"^\s*X\((est_\w+),", header.read(), re.M)


def objdump(path):
    tool = "x86_64-w64-mingw32-objdump" if winenv.BUILD.rstrip("/").endswith("win64") else "i686-w64-mingw32-objdump"
    return subprocess.run([tool, "-p", path], check=True, capture_output=True, text=True, errors="replace").stdout


def exported_names(dump):
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    return re.findall(r"^\s*\[\s*\d+\]\s+(\S+)\s*$", table[1], re.M) if len(table) == 2 else []


def imported_from(dump, dll):
    """The names that the binary imports from dll (case ignored)."""
    names = set()
    for block in re.split(r"\n\s*DLL Name: ", dump)[1:]:
        if block.split("\n", 1)[0].strip().lower() == dll.lower():
            names.update(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\S+)\s*$", block, re.M))
    return names


class BinaryInterface(unittest.TestCase):
    def test_exports_every_entry_point_undecorated_and_allocates_with_msvcrt(self):
        names = entry_point_names()
        self.assertEqual(len(names), 153)
        dump = objdump(winenv.binary("estraier.dll"))
        self.assertEqual(sorted(exported_names(dump)), sorted(names))
        msvcrt = imported_from(dump, "msvcrt.dll")
        self.assertIn("malloc", msvcrt)
        self.assertIn("free", msvcrt)

    def test_variant_lacks_only_the_last_entry_point(self):
        self.assertTrue(os.path.exists(NOVECTOR), NOVECTOR)
        exported = set(exported_names(objdump(NOVECTOR)))
        self.assertEqual(set(entry_point_names()) - exported, {"est_vector_cosine"})


class BehaviourTable(unittest.TestCase):
    def run_table(self, env=None):
        scratch = winenv.temporary_folder(self)
        result = winenv.run(winenv.binary("estraier-behaviour.exe"), [winenv.winpath(scratch)], env=env, timeout=600)
        return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r\n", "\n")

    def test_every_case_passes_against_the_stand_in(self):
        code, output = self.run_table()
        self.assertEqual(code, 0, output)
        self.assertRegex(output, r"(?m)^\d+ passed, 0 failed$")

    def test_a_library_without_vector_cosine_fails_the_export_case_only(self):
        code, output = self.run_table({"ESTRAIER_LIBRARY": winenv.winpath(NOVECTOR)})
        self.assertEqual(code, 1, output)
        self.assertEqual(re.findall(r"(?m)^\[FAILED\] (\S+)", output), ["ExportsEveryEntryPoint"], output)
        self.assertIn("est_vector_cosine", output)


class StorageAcrossProcesses(unittest.TestCase):
    def fill(self, database, *args):
        return winenv.run(winenv.binary("estraier-fill.exe"), [winenv.winpath(database), *args])

    def dump(self, database):
        result = winenv.run(winenv.binary("est-dump.exe"), [winenv.winpath(database)])
        return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8", "replace")

    def test_est_dump_lists_what_another_process_stored(self):
        # A Japanese folder name reaches the library in the system's code page, as the plug-in's index path does.
        database = os.path.join(winenv.temporary_folder(self), "索引", "cascket")
        os.mkdir(os.path.dirname(database))
        self.assertEqual(self.fill(database).returncode, 0)
        code, output, errors = self.dump(database)
        self.assertEqual(code, 0, errors)
        self.assertIn(f"# database: {winenv.winpath(database)}\n", output)
        self.assertIn("# documents: 2\n", output)
        blocks = output.split("\n\n")[1:]
        self.assertEqual(len(blocks), 2, output)
        first = blocks[0].splitlines()
        self.assertEqual(first[0], "[document 1]")
        attributes = [line for line in first[1:] if "=" in line and not line.startswith(("text:", "hidden:"))]
        self.assertEqual(attributes, sorted(attributes))
        self.assertIn("@uri=cvdx:Z:\\store\\受信箱:0001.eml", first)
        self.assertIn("@title=会議の件", first)
        self.assertIn("hidden: 会議の件", first)
        self.assertIn("text: 明日の会議は10時からです。", first)  # full-width digits folded
        self.assertRegex(blocks[0], r"(?m)^@digest=[0-9a-f]{32}$")
        self.assertTrue(blocks[1].startswith("[document 2]\n"))

    def test_a_killed_job_leaves_a_database_with_everything_flushed(self):
        database = os.path.join(winenv.temporary_folder(self), "cascket")
        self.assertEqual(self.fill(database, "--abandon").returncode, 3)
        code, output, errors = self.dump(database)
        self.assertEqual(code, 0, errors)
        self.assertIn("受信箱:0001.eml", output)
        self.assertIn("受信箱:0002.eml", output)
        # The next job opens it as a writer and replaces the two messages under new ids.
        self.assertEqual(self.fill(database).returncode, 0)
        code, output, errors = self.dump(database)
        self.assertEqual(code, 0, errors)
        self.assertIn("# documents: 2\n", output)
        self.assertEqual(re.findall(r"(?m)^\[document (\d+)\]$", output), ["3", "4"])

    def test_est_dump_refuses_a_folder_without_a_database(self):
        code, output, errors = self.dump(winenv.temporary_folder(self))
        self.assertEqual(code, 2)
        self.assertIn("I/O problem", errors)


if __name__ == "__main__":
    unittest.main()
