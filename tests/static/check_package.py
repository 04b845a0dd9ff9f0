"""The Windows package: the zip that users unpack next to the mail client."""
import os
import subprocess
import tempfile
import unittest
import zipfile

import check_binaries

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
EXPECTED = {"README.txt", "Corvidex.dll", "Corvidex.conf", "Pickwire.dll", "Pickwire.conf", "corvidex-search.exe",
            "pickwire-send.exe"}


@unittest.skipIf(check_binaries.ARCH == "x86_64", "the package holds the 32-bit binaries")
class Package(unittest.TestCase):
    def test_zip_holds_the_plugins_programs_and_readme_only(self):
        with tempfile.TemporaryDirectory() as work:
            output = os.path.join(work, "package.zip")
            env = dict(os.environ, BUILD_ROOT=os.path.dirname(os.path.abspath(check_binaries.BUILD)))
            subprocess.run([os.path.join(SOURCE, "scripts", "package.sh"), output], env=env, check=True,
                           stdout=subprocess.DEVNULL)
            with zipfile.ZipFile(output) as package:
                self.assertEqual(set(package.namelist()), EXPECTED)
                package.extractall(work)
                readme = package.read("README.txt").decode("utf-8-sig")
            self.assertIn("estraier.dll", readme)
            self.assertIn("インストール", readme)
            self.assertIn("Installing", readme)
            for name in EXPECTED:
                if name.endswith((".dll", ".exe")):
                    with self.subTest(binary=name):
                        imported = check_binaries.imports(check_binaries.objdump(os.path.join(work, name)))
                        self.assertLessEqual(imported, check_binaries.SYSTEM_DLLS)


if __name__ == "__main__":
    unittest.main()
