"""kelvo in a fresh folder: caption, live figures, start-up files, the clean button, exit."""
import unittest

import kelvo
from harness import WineTestCase


def megabytes(n):
    # halves away from zero, as the window rounds
    return int(n / 1024 / 1024 + 0.5)


class StartUpInAFreshFolder(WineTestCase):
    def test_shows_live_figures_and_leaves_the_default_files(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000))
        s.wait_for(lambda: s.probe(("text", kelvo.CAPTION, kelvo.LABEL1))[0] != "512M", what="the first tick")
        total, available, load = (int(v) for v in s.probe(("memory",))[0].split())
        label1, label5, label6, label10, visible = s.probe(
            ("text", kelvo.CAPTION, kelvo.LABEL1), ("text", kelvo.CAPTION, kelvo.LABEL5),
            ("text", kelvo.CAPTION, kelvo.LABEL6), ("text", kelvo.CAPTION, kelvo.LABEL10), ("visible", kelvo.CAPTION))
        self.assertEqual(label1, f"{megabytes(total)}M")
        # available memory moves between two readings: allow a little drift
        self.assertAlmostEqual(int(label5[:-1]), megabytes(available), delta=max(64, megabytes(available) // 20))
        self.assertTrue(label6.endswith("%") and label10.endswith("%"))
        self.assertEqual(int(label6[:-1]) + int(label10[:-1]), 100)
        self.assertAlmostEqual(int(label6[:-1]), load, delta=5)
        self.assertEqual(visible, "1")
        self.assertEqual(s.read("Setting.ini"), kelvo.DEFAULT_SETTINGS)
        self.assertEqual(s.read("AllRule.ini"), b"1\r\n1\r\n1\r\n2\r\n")
        for other in ("SmallGameRule.ini", "LargeGameRule.ini", "BTRule.ini"):
            self.assertFalse(s.exists(other), other)
        self.assertIn(("empty.exe", "empty.exe kelvo.exe", 0), s.calls())
        s.screenshot("kelvo_main_window.png")

    def test_consumes_the_one_shot_message_and_the_updaters_leftover(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        s.write("2.txt", "Welcome to the new version!")
        s.write("temp/vr.ini", "[Ver]\r\nVer=2.0\r\n")
        s.start("kelvo.exe")
        self.assertEqual(s.probe(("dialog", "Varnic", 30000))[0], "Welcome to the new version!")
        s.probe(("wait-visible", kelvo.CAPTION, 30000))
        self.assertFalse(s.exists("2.txt"))
        self.assertFalse(s.exists("temp/vr.ini"))
        # the clean button starts exactly one hidden empty.exe with "*"
        s.probe(("click", kelvo.CAPTION, kelvo.COMMAND1))
        s.wait_for(lambda: any(c[1] == kelvo.CLEAN_ALL for c in s.calls()), what="empty.exe *")
        s.probe(("no-dialog", "Varnic", 1500))
        self.assertEqual([c for c in s.calls() if c[1] == kelvo.CLEAN_ALL], [("empty.exe", kelvo.CLEAN_ALL, 0)])
        # exit through the tray menu: the process ends and the settings are written
        s.probe(("command", kelvo.CAPTION, kelvo.MENU["exitt"]), ("wait-gone", kelvo.CAPTION, 20000))
        self.assertEqual(s.read("Setting.ini"), kelvo.QUIET_SETTINGS)


class StartUpVariants(WineTestCase):
    def test_minus_sendme_shows_no_window(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.start("kelvo.exe", "-sendme")
        s.probe(("wait-window", kelvo.CAPTION, 30000))
        # the first tick comes only after start-up has finished (and would have shown the window)
        s.wait_for(lambda: s.probe(("text", kelvo.CAPTION, kelvo.LABEL1))[0] != "512M", what="the first tick")
        self.assertEqual(s.probe(("visible", kelvo.CAPTION))[0], "0")
        s.probe(("command", kelvo.CAPTION, kelvo.MENU["show"]))
        s.wait_for(lambda: s.probe(("visible", kelvo.CAPTION))[0] == "1", what="the window to come back")

    def test_without_the_cleaning_tool_the_button_reports_it(self):
        s = self.session.install("kelvo")
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000), ("click", kelvo.CAPTION, kelvo.COMMAND1))
        self.assertEqual(s.probe(("dialog", "Varnic", 20000))[0], "内存优化组件错误！")


if __name__ == "__main__":
    unittest.main()
