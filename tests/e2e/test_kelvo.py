"""kelvo.exe end to end: the shipped programs' smoke run; the journeys and faults only the real program shows, run by
the test build whose memory stays 1024M of 2048M free. "No box now" after a "sync" proves a step silent."""
import re
import shutil
import subprocess
import unittest

import kelvo as k
from harness import APPS, SOURCE, WineTestCase


class Smoke(WineTestCase):  # the shipped programs start and work; empty.exe's own runs: win32/empty_tool_test.cpp
    def test_kelvo_shows_its_window_and_exits_tarnel_shows_its_window_and_closes(self):
        s = self.session.install()
        for name in (APPS / "kelvo.exe", APPS / "tarnel.exe", SOURCE / "apps/tarnel/Upsetting.ini"):
            shutil.copy(name, s.folder)
        s.start("kelvo.exe")
        s.probe(("wait-visible", k.CAPTION, 30000), ("command", k.CAPTION, k.MENU["exitt"]), ("wait-gone", k.CAPTION))
        s.start("tarnel.exe")
        s.probe(("wait-visible", "Varnic 在线更新", 30000), ("close", "Varnic 在线更新"), ("wait-gone", "Varnic 在线更新"))


class Kelvo(WineTestCase):
    def start(self, *args, files=(), recorders=("empty",), locked=False):
        s = self.session.install("kelvo", recorders=recorders)
        for name, data in dict(files).items():
            s.write(name, data)
        if locked:  # the immutable flag: a read-only attribute stops no write on Windows, and 0555 stops no root
            if subprocess.run(["chattr", "+i", s.folder], stderr=subprocess.DEVNULL).returncode != 0:
                self.skipTest(f"the file system of {s.folder} has no immutable flag")
            self.addCleanup(subprocess.run, ["chattr", "-i", s.folder], check=True)  # before the session's removal
        s.start("kelvo.exe", *args)
        return s

    def test_a_users_journey_start_up_files_choices_across_a_restart_tray_button_hotkey_and_update(self):
        s = self.start(files={"2.txt": "Welcome to the new version!", "temp/vr.ini": "[Ver]\r\nVer=2.0\r\n"},
                       recorders=("empty", "tarnel"))
        self.assertEqual(s.dialog("Varnic", 30000), "Welcome to the new version!")
        s.probe(("wait-visible", k.CAPTION, 30000), *(("wait-text", k.CAPTION, id, text) for id, text in (
            (k.LABEL1, "2048M"), (k.LABEL5, "1024M"), (k.LABEL6, "50%"), (k.LABEL10, "50%"))))
        self.assertEqual((s.read("Setting.ini"), s.read("AllRule.ini")), (k.DEFAULT_SETTINGS, b"1\r\n1\r\n1\r\n2\r\n"))
        self.assertEqual([name for name in k.RULE_FILES[1:] + ("2.txt", "temp/vr.ini") if s.exists(name)], [])
        s.wait_for(lambda: ("empty.exe", "empty.exe kelvo.exe", 0) in s.calls(), "the start-up clean")
        # A letter, no background cleaning, the gear icon, a rule, and two memory areas from the tray's submenu
        # (its entries reach the window as WM_COMMAND, as the tray menu sends them): standby, file cache.
        s.probe(("click", k.CAPTION, k.COMMAND3), ("type", k.CAPTION, k.TEXT1, "q"), ("click", k.CAPTION, k.CHECK1),
                ("click", k.CAPTION, k.OP1), ("select", k.CAPTION, k.CB1, 2),
                *(("command", k.CAPTION, k.FIRSTAREAENTRY + entry) for entry in (4, 1)))
        s.wait_for(lambda: s.exists("LargeGameRule.ini") and s.exists("Areas.ini") and s.read("Areas.ini") ==
                   b"filecache\r\nstandby\r\n" and s.read("Setting.ini") == b"Q\r\n1\r\n0\r\n1\r\n2\r\n", "the settings' files")
        s.probe(("command", k.CAPTION, k.MENU["exitt"]), ("wait-gone", k.CAPTION))
        s.wait_for(lambda: not s.running(), "the programs of the folder to end")
        first = len(s.calls())
        s.start("kelvo.exe", "-sendme")  # as Windows starts it: the window stays hidden until the tray menu shows it
        shown = s.probe(("wait-window", k.CAPTION, 30000), ("wait-text", k.CAPTION, k.LABEL1, "2048M"),
                        ("visible", k.CAPTION), ("command", k.CAPTION, k.MENU["show"]), ("wait-visible", k.CAPTION),
                        *(("text" if id in (k.TEXT1, k.LABEL15) else "checked", k.CAPTION, id)
                          for id in (k.TEXT1, k.CHECK1, k.CHECK2, k.OP1, k.LABEL15)))
        self.assertEqual(shown[2:3] + shown[5:], ["0", "Q", "0", "1", "1", "当前清理规则：大型游戏清理规则"])
        areas = ("empty.exe", "empty.exe  * -filecache -standby", 0)
        s.probe(("click", k.CAPTION, k.COMMAND1))
        s.wait_for(lambda: areas in s.calls()[first:], "the button's clean with both areas")
        self.assertEqual(s.probe(("wait-tooltip", "已释放 0M 内存", 30000)), ["已释放 0M 内存"])
        s.key("ctrl+q", k.CAPTION)
        s.wait_for(lambda: s.calls()[first:].count(areas) == 2, "the hotkey's clean")
        # Unchecking "启用清理一键通" gives the keys back to the system.
        self.assertEqual(s.probe(("hotkey-free", "Q"), ("click", k.CAPTION, k.CHECK2), ("sync", k.CAPTION),
                                 ("hotkey-free", "Q"))[::3], ["0", "1"])
        s.probe(("click", k.CAPTION, k.LABEL7), ("wait-gone", k.CAPTION))
        s.wait_for(lambda: not s.running(), "the programs of the folder to end")
        self.assertEqual([call if call[0] == "empty.exe" else call[::2] for call in s.calls()[first:]],
                         [("empty.exe", "empty.exe kelvo.exe", 0), areas, areas, ("tarnel.exe", 1)])
        self.assertEqual(s.read("Setting.ini"), b"Q\r\n1\r\n1\r\n1\r\n2\r\n")

    def test_only_the_background_and_label15_fold_or_open_the_panel_once_per_click_and_the_rule_editor_saves_a_rule(self):
        s = self.start(files={"Setting.ini": k.QUIET_SETTINGS})  # Check1 unchecked
        names = ("window", "LABEL8", "COMMAND3", "CHECK1", "F1", "LABEL1", "LABEL2_0", "LABEL3", "LABEL6", "LABEL11",
                 "LABEL12", "LABEL14", "LABEL15")
        shown = s.probe(("wait-visible", k.CAPTION, 30000), ("click", k.CAPTION, k.COMMAND3), ("sync", k.CAPTION),
                        *(("rect", k.CAPTION, vars(k).get(name, 0)) for name in names),
                        ("click", k.CAPTION, k.COMMAND3), ("sync", k.CAPTION), ("rect", k.CAPTION, 0))
        rect = {name: [int(v) for v in answer.split()] for name, answer in zip(names, shown[3:])}  # the panel open
        folded = [int(v) for v in shown[-1].split()]  # the window's height in twips: 4750 folded, 7050 open
        self.assertAlmostEqual(rect["window"][3] - rect["window"][1] - folded[3] + folded[1], (7050 - 4750) * 96 // 1440, delta=2)
        at = {name: ((left + right) // 2, (top + bottom) // 2) for name, (left, top, right, bottom) in rect.items()}
        at["background"] = ((rect["LABEL8"][2] + rect["COMMAND3"][0]) // 2, at["COMMAND3"][1])
        at["F1"] = (rect["F1"][0] + 10, rect["F1"][3] - 10)  # the panel's frame, below its labels
        # What is clicked, how often, and whether the panel is open after, from the panel folded.
        for row, clicked in enumerate("background 1 1, LABEL12 1 1, LABEL14 1 1, LABEL11 1 1, F1 1 1, background 2 0, "
                                      "LABEL1 1 0, LABEL6 1 0, LABEL2_0 1 0, LABEL3 1 0, LABEL15 2 1, LABEL15 1 0".split(", ")):
            name, clicks, open_after = clicked.split()
            s.click(*at[name], clicks)
            s.click(*at["CHECK1"])  # input is handled in order: once Check1 flipped, the click before is done
            shown = s.probe(("wait-checked", k.CAPTION, k.CHECK1, 1 - row % 2), ("visible", k.CAPTION, k.F1))
            self.assertEqual(shown[1], open_after, f"the panel after {clicks} click(s) on {name}")
        s.probe(("command", k.CAPTION, k.LABEL16), ("wait-visible", k.EDITOR))
        self.assertEqual([name for name in k.RULE_FILES if not s.exists(name)], [])
        shown = s.probe(("select", k.EDITOR, k.EDITOR_CB1, 2), ("wait-text", k.EDITOR, k.EDITOR_TEXT1, "5"),
                        ("checked", k.EDITOR, k.EDITOR_CHECK1), ("checked", k.EDITOR, k.EDITOR_CHECK2), ("text", k.EDITOR, k.EDITOR_TEXT2))
        self.assertEqual(shown[2:], ["1", "0", "9"])
        s.probe(("click", k.EDITOR, k.EDITOR_CHECK2), ("type", k.EDITOR, k.EDITOR_TEXT2, "3"),
                ("type", k.EDITOR, k.EDITOR_TEXT1, "7"), ("click", k.EDITOR, k.EDITOR_SAVE))
        self.assertEqual(s.dialog("Varnic"), "保存清理规则“大型游戏清理规则”成功！")
        self.assertEqual((s.read("LargeGameRule.ini"), s.read("AllRule.ini")), (b"1\r\n1\r\n3\r\n7\r\n", b"1\r\n1\r\n1\r\n2\r\n"))
        s.probe(("click", k.EDITOR, k.EDITOR_CLOSE), ("wait-gone", k.EDITOR))

    def test_in_a_locked_folder_without_empty_and_tarnel_only_a_command_speaks_in_a_modal_box(self):
        s = self.start(files={"Setting.ini": b"Q\r\n1\r\n1\r\n1\r\n2\r\n", "LargeGameRule.ini": b"1\r\n0\r\n9\r\n7\r\n"},
                       recorders=(), locked=True)  # letter Q, no background cleaning nor hotkey, gear icon, rule 2
        files = lambda: sorted((p.name, p.read_bytes()) for p in s.folder.iterdir() if p.is_file())  # also written in place
        before = files()
        s.probe(("wait-visible", k.CAPTION, 30000), ("no-dialog", "Varnic"), ("click", k.CAPTION, k.CHECK2), ("sync", k.CAPTION),
                ("no-dialog", "Varnic"))  # the start-up clean and the settings' write fail silently
        for button, message in ((k.COMMAND1, "内存优化组件错误！"), (k.LABEL7, "在线更新组件错误！")):
            shown = s.probe(("click", k.CAPTION, button), ("wait-window", "Varnic"), ("enabled", k.CAPTION))
            self.assertEqual(shown[2], "0", f"{message}: not modal")
            self.assertEqual(s.dialog("Varnic"), message)
        s.probe(("wait-gone", k.CAPTION))  # the update command ends kelvo all the same
        self.assertEqual(files(), before)

    def test_the_display_language_decides_unless_language_ini_names_one(self):
        s = self.session.install("kelvo", "tarnel")  # without empty.exe, a clean says why in a box
        s.write("Setting.ini", k.QUIET_SETTINGS)
        english, chinese = "Varnic V1.9 (BETA5)", re.compile("[\u3000-\u9fff\uff00-\uffef]")
        for locale, language_ini, main in (("en_US.UTF-8", None, english), ("en_US.UTF-8", b"zh\r\n", k.CAPTION),
                                           ("zh_CN.UTF-8", None, k.CAPTION)):
            s.write("Language.ini", language_ini) if language_ini else (s.folder / "Language.ini").unlink()
            s.start("kelvo.exe", env=dict(s.env, LC_ALL=locale))
            s.probe(("wait-visible", main, 30000))
            if main == english:  # every text a user meets, the boxes' and the other windows' too
                texts = s.probe(("click", main, k.COMMAND1), ("dialog", "Varnic"), ("command", main, k.LABEL16),
                                ("wait-visible", "Cleaning rules"), ("type", "Cleaning rules", k.EDITOR_TEXT1, "0"),
                                ("dialog", "Varnic"), ("click", "Cleaning rules", k.EDITOR_CLOSE), ("click", main, k.LABEL8),
                                ("wait-visible", k.ABOUT), ("text", k.ABOUT, k.ABOUT_CLOSE), ("text", main, k.LABEL15))
                s.start("tarnel.exe", env=dict(s.env, LC_ALL=locale))  # without Upsetting.ini: a box says so
                texts += s.probe(("dialog", "Varnic", 30000), ("wait-window", "Varnic online update", 30000))[:1]
                self.assertEqual([texts[i] for i in (1, 5, 9, 10, 11) if chinese.search(texts[i])], [])
            s.probe(("command", main, k.MENU["exitt"]), ("wait-gone", main))

if __name__ == "__main__":
    unittest.main(verbosity=2)
