"""kelvo remembers the user's choices across a restart and answers its Ctrl+letter hotkey."""
import subprocess
import unittest

import kelvo
from harness import WineTestCase

HOTKEY_ONLY = b"E\r\n1\r\n0\r\n0\r\n0\r\n"  # background cleaning off, hotkey on


class Hotkey(WineTestCase):
    def test_ctrl_e_cleans_and_empties_the_clipboard(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", HOTKEY_ONLY)
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000), ("clip-set", "keep me?"), ("focus", kelvo.CAPTION))
        self.assertEqual(s.probe(("clip-formats",))[0] != "0", True)
        # Wine hands a hotkey only to a focused Wine window: focus the virtual desktop and press.
        desktop = subprocess.run(["xdotool", "search", "--name", "Wine desktop"], capture_output=True, text=True,
                                 env=s.env).stdout.split()
        self.assertTrue(desktop, "the Wine virtual desktop is not on the display")
        subprocess.run(["xdotool", "windowfocus", desktop[0]], check=True, env=s.env)
        s.key("ctrl+e")
        s.wait_for(lambda: any(c[1] == kelvo.CLEAN_ALL for c in s.calls()), what="empty.exe * from the hotkey")
        self.assertEqual(s.probe(("clip-formats",))[0], "0")
        self.assertEqual([c for c in s.calls() if c[1] == kelvo.CLEAN_ALL], [("empty.exe", kelvo.CLEAN_ALL, 0)])


class Settings(WineTestCase):
    def test_the_users_choices_survive_a_restart(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000), ("click", kelvo.CAPTION, kelvo.COMMAND3),
                ("type", kelvo.CAPTION, kelvo.TEXT1, "q"), ("click", kelvo.CAPTION, kelvo.CHECK1),
                ("click", kelvo.CAPTION, kelvo.OP1), ("select", kelvo.CAPTION, kelvo.CB1, 2))
        s.wait_for(lambda: s.read("Setting.ini") == b"Q\r\n1\r\n0\r\n1\r\n2\r\n", what="the settings file")
        self.assertEqual(s.read("LargeGameRule.ini"), b"1\r\n0\r\n9\r\n5\r\n")
        s.probe(("command", kelvo.CAPTION, kelvo.MENU["exitt"]), ("wait-gone", kelvo.CAPTION, 20000))

        s.start("kelvo.exe")
        text1, check1, op1, label15 = s.probe(
            ("wait-visible", kelvo.CAPTION, 30000), ("text", kelvo.CAPTION, kelvo.TEXT1),
            ("checked", kelvo.CAPTION, kelvo.CHECK1), ("checked", kelvo.CAPTION, kelvo.OP1),
            ("text", kelvo.CAPTION, kelvo.LABEL15))[1:]
        self.assertEqual((text1, check1, op1), ("Q", "0", "1"))
        self.assertEqual(label15, "当前清理规则：大型游戏清理规则")


if __name__ == "__main__":
    unittest.main()
