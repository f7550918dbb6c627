"""kelvo's panel, rule editor and about window, driven as a user would."""
import unittest

import kelvo
from harness import WineTestCase

EDITOR = "自定义规则"
EDITOR_CB1, EDITOR_CHECK1, EDITOR_TEXT1, EDITOR_CHECK2, EDITOR_TEXT2 = 3002, 3004, 3006, 3008, 3010
EDITOR_SAVE, EDITOR_CLOSE = 3013, 3014
ABOUT = "class:VarnicAbout"
ABOUT_CLOSE = 4012
WS_CAPTION = 0x00C00000


class Panel(WineTestCase):
    def test_the_panel_opens_and_folds_with_the_window_height(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000))
        s.wait_for(lambda: s.probe(("text", kelvo.CAPTION, kelvo.LABEL1))[0] != "512M", what="the first tick")
        folded = s.probe(("client-size", kelvo.CAPTION), ("visible-child", kelvo.CAPTION, kelvo.F1))
        opened = s.probe(("click", kelvo.CAPTION, kelvo.COMMAND3), ("sync", kelvo.CAPTION), ("client-size", kelvo.CAPTION),
                         ("visible-child", kelvo.CAPTION, kelvo.F1))[1:]
        s.screenshot("kelvo_panel_open.png")
        again = s.probe(("click", kelvo.CAPTION, kelvo.COMMAND3), ("client-size", kelvo.CAPTION),
                        ("visible-child", kelvo.CAPTION, kelvo.F1))[1:]
        width, folded_height = (int(v) for v in folded[0].split())
        open_height = int(opened[1].split()[1])
        # 4750 and 7050 twips of outer height: the client grows by 2300 twips (153 pixels at 96 DPI)
        self.assertAlmostEqual(open_height - folded_height, 2300 * 96 // 1440, delta=2)
        self.assertAlmostEqual(folded_height, (4750 - 475) * 96 // 1440, delta=2)
        self.assertEqual((folded[1], opened[2], again[1]), ("0", "1", "0"))
        self.assertEqual(again[0], folded[0])


class RuleEditor(WineTestCase):
    def test_editing_and_saving_a_rule_writes_its_file(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000), ("command", kelvo.CAPTION, kelvo.LABEL16),
                ("wait-visible", EDITOR, 20000))
        for name in ("AllRule.ini", "SmallGameRule.ini", "LargeGameRule.ini", "BTRule.ini"):
            self.assertTrue(s.exists(name), name)
        check1, text1, check2, text2 = s.probe(
            ("select", EDITOR, EDITOR_CB1, 2), ("wait-text", EDITOR, EDITOR_TEXT1, "5"),
            ("checked", EDITOR, EDITOR_CHECK1), ("text", EDITOR, EDITOR_TEXT1), ("checked", EDITOR, EDITOR_CHECK2),
            ("text", EDITOR, EDITOR_TEXT2))[2:]
        self.assertEqual((check1, text1, check2, text2), ("1", "5", "0", "9"))
        s.probe(("click", EDITOR, EDITOR_CHECK2), ("type", EDITOR, EDITOR_TEXT2, "3"),
                ("type", EDITOR, EDITOR_TEXT1, "7"), ("click", EDITOR, EDITOR_SAVE))
        self.assertEqual(s.probe(("dialog", "Varnic", 20000))[0], "保存清理规则“大型游戏清理规则”成功！")
        self.assertEqual(s.read("LargeGameRule.ini"), b"1\r\n1\r\n3\r\n7\r\n")
        self.assertEqual(s.read("AllRule.ini"), b"1\r\n1\r\n1\r\n2\r\n")
        s.screenshot("kelvo_rule_editor.png")
        s.probe(("click", EDITOR, EDITOR_CLOSE), ("wait-gone", EDITOR, 20000))


class About(WineTestCase):
    def test_the_about_window_has_no_title_bar_and_closes(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        s.start("kelvo.exe")
        style = s.probe(("wait-visible", kelvo.CAPTION, 30000), ("click", kelvo.CAPTION, kelvo.LABEL8),
                        ("wait-visible", ABOUT, 20000), ("style", ABOUT))[3]
        # a title bar needs both bits of WS_CAPTION (WS_BORDER | WS_DLGFRAME)
        self.assertNotEqual(int(style.split()[0], 16) & WS_CAPTION, WS_CAPTION)
        s.wait_for(lambda: s.probe(("text", kelvo.CAPTION, kelvo.LABEL1))[0] != "512M", what="the first tick")
        s.screenshot("kelvo_about.png")
        s.probe(("click", ABOUT, ABOUT_CLOSE), ("wait-gone", ABOUT, 20000))
        # the main window stayed usable throughout
        self.assertEqual(s.probe(("visible", kelvo.CAPTION))[0], "1")


if __name__ == "__main__":
    unittest.main()
