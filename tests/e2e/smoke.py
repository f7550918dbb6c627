"""The programs of this build tree (the 64-bit one) start and work: kelvo shows its window and
exits from its tray menu, empty.exe trims kelvo, tarnel shows its window and closes."""
import shutil
import subprocess
import unittest

from harness import APPS, SOURCE, WineTestCase
from kelvo import CAPTION, MENU


class Smoke(WineTestCase):
    def test_each_program_starts_and_works(self):
        s = self.session.install()
        for name in (APPS / "kelvo.exe", APPS / "empty.exe", APPS / "tarnel.exe", SOURCE / "apps/tarnel/Upsetting.ini"):
            shutil.copy(name, s.folder)
        s.start("kelvo.exe")
        s.probe(("wait-visible", CAPTION, 30000))
        empty = subprocess.run(["wine", s.folder / "empty.exe", "kelvo.exe"], env=s.env, capture_output=True, timeout=120)
        self.assertEqual(empty.returncode, 0, empty.stderr)
        s.probe(("command", CAPTION, MENU["exitt"]), ("wait-gone", CAPTION))
        s.start("tarnel.exe")
        s.probe(("wait-visible", "Varnic 在线更新", 30000), ("close", "Varnic 在线更新"), ("wait-gone", "Varnic 在线更新"))


if __name__ == "__main__":
    unittest.main()
