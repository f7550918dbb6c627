"""kelvo.exe end to end: a user's journeys and the faults only the real program shows. kelvo is the test
build whose memory figures hold still (1024M of 2048M free): it never cleans by itself. A box a step
raises is up once the window has handled the step: "no box now" after a "sync" proves the step silent."""
import subprocess
import unittest

import kelvo as k
from harness import TEST_BUILDS, WineTestCase


class Kelvo(WineTestCase):
    def start(self, *args, files=(), recorders=("empty",)):
        s = self.session.install("kelvo", recorders=recorders)
        for name, data in dict(files).items():
            s.write(name, data)
        s.start("kelvo.exe", *args)
        return s

    def cleans(self):
        return [call for call in self.session.calls() if call[1] == k.CLEAN_ALL]

    def test_a_fresh_folder_gets_its_files_and_consumes_the_start_up_files(self):
        s = self.start(files={"2.txt": "Welcome to the new version!", "temp/vr.ini": "[Ver]\r\nVer=2.0\r\n"})
        self.assertEqual(s.dialog("Varnic", 30000), "Welcome to the new version!")
        s.probe(("wait-visible", k.CAPTION, 30000), *(("wait-text", k.CAPTION, id, text) for id, text in (
            (k.LABEL1, "2048M"), (k.LABEL5, "1024M"), (k.LABEL6, "50%"), (k.LABEL10, "50%"))))
        self.assertEqual((s.read("Setting.ini"), s.read("AllRule.ini")), (k.DEFAULT_SETTINGS, b"1\r\n1\r\n1\r\n2\r\n"))
        self.assertEqual([name for name in k.RULE_FILES[1:] + ("2.txt", "temp/vr.ini") if s.exists(name)], [])
        s.wait_for(lambda: ("empty.exe", "empty.exe kelvo.exe", 0) in s.calls(), "the start-up clean")
        s.probe(("command", k.CAPTION, k.MENU["exitt"]), ("wait-gone", k.CAPTION))

    def test_from_the_tray_the_button_and_ctrl_e_clean_once_each_and_update_ends_kelvo(self):
        s = self.start("-sendme", files={"Setting.ini": k.HOTKEY_SETTINGS}, recorders=("empty", "tarnel"))
        # The window exists from the start but stays hidden; the tray menu brings it back.
        s.probe(("wait-window", k.CAPTION, 30000), ("wait-text", k.CAPTION, k.LABEL1, "2048M"))
        self.assertEqual(s.probe(("visible", k.CAPTION))[0], "0")
        s.probe(("command", k.CAPTION, k.MENU["show"]), ("wait-visible", k.CAPTION), ("click", k.CAPTION, k.COMMAND1))
        s.wait_for(self.cleans, "empty.exe * from the button")
        s.key("ctrl+e", k.CAPTION)
        s.wait_for(lambda: len(self.cleans()) == 2, "empty.exe * from the hotkey")
        # Unchecking "启用清理一键通" gives the keys back to the system.
        self.assertEqual(s.probe(("hotkey-free", "E"), ("click", k.CAPTION, k.CHECK2), ("sync", k.CAPTION),
                                 ("hotkey-free", "E"))[::3], ["0", "1"])
        s.probe(("click", k.CAPTION, k.LABEL7), ("wait-gone", k.CAPTION))
        s.wait_for(lambda: not s.running(), "the programs of the folder to end")
        self.assertEqual(self.cleans(), [("empty.exe", k.CLEAN_ALL, 0)] * 2)
        self.assertEqual([call[::2] for call in s.calls() if call[0] == "tarnel.exe"], [("tarnel.exe", 1)])
        self.assertEqual(s.read("Setting.ini"), k.QUIET_SETTINGS)

    def test_only_the_background_and_label15_fold_or_open_the_panel_once_per_click(self):
        s = self.start(files={"Setting.ini": k.QUIET_SETTINGS})  # Check1 unchecked
        ids = (k.LABEL8, k.COMMAND3, k.CHECK1, k.LABEL12, k.LABEL14, k.LABEL11, k.F1, k.LABEL1, k.LABEL6, k.LABEL2_0,
               k.LABEL3, k.LABEL15)
        shown = s.probe(("wait-visible", k.CAPTION, 30000), ("click", k.CAPTION, k.COMMAND3), ("sync", k.CAPTION),
                        *(("rect", k.CAPTION, id) for id in (0,) + ids), *(("click", k.CAPTION, k.COMMAND3), ("sync", k.CAPTION),
                                                                          ("rect", k.CAPTION, 0)))
        rect = {id: [int(v) for v in answer.split()] for id, answer in zip((0,) + ids, shown[3:-3])}  # the panel open
        folded = [int(v) for v in shown[-1].split()]  # the window's height in twips: 4750 folded, 7050 open
        self.assertAlmostEqual(rect[0][3] - rect[0][1] - folded[3] + folded[1], (7050 - 4750) * 96 // 1440, delta=2)
        centre = {id: ((left + right) // 2, (top + bottom) // 2) for id, (left, top, right, bottom) in rect.items()}
        background = ((rect[k.LABEL8][2] + rect[k.COMMAND3][0]) // 2, centre[k.COMMAND3][1])
        rows = (("the background", background, 1, "1"), ("Label12", centre[k.LABEL12], 1, "1"),
                ("Label14", centre[k.LABEL14], 1, "1"), ("Label11", centre[k.LABEL11], 1, "1"),
                ("the panel's frame", (rect[k.F1][0] + 10, rect[k.F1][3] - 10), 1, "1"),
                ("the background, twice", background, 2, "0"), ("Label1", centre[k.LABEL1], 1, "0"),
                ("Label6", centre[k.LABEL6], 1, "0"), ("Label2(0)", centre[k.LABEL2_0], 1, "0"),
                ("Label3", centre[k.LABEL3], 1, "0"), ("Label15, twice", centre[k.LABEL15], 2, "1"),
                ("Label15", centre[k.LABEL15], 1, "0"))
        for row, (what, (x, y), clicks, open_after) in enumerate(rows):
            s.click(x, y, clicks)
            s.click(*centre[k.CHECK1])  # input is handled in order: once Check1 flipped, the click before is done
            shown = s.probe(("wait-checked", k.CAPTION, k.CHECK1, 1 - row % 2), ("visible", k.CAPTION, k.F1))
            self.assertEqual(shown[1], open_after, f"the panel after clicks on {what}")

    def test_the_users_choices_survive_a_restart(self):
        s = self.start()
        s.probe(("wait-visible", k.CAPTION, 30000), ("click", k.CAPTION, k.COMMAND3), ("type", k.CAPTION, k.TEXT1, "q"),
                ("click", k.CAPTION, k.CHECK1), ("click", k.CAPTION, k.OP1), ("select", k.CAPTION, k.CB1, 2))
        s.wait_for(lambda: s.exists("LargeGameRule.ini") and s.read("Setting.ini") == b"Q\r\n1\r\n0\r\n1\r\n2\r\n",
                   "the settings file and the chosen rule's file")
        self.assertEqual(s.read("LargeGameRule.ini"), b"1\r\n0\r\n9\r\n5\r\n")
        # The tray's area submenu: its entries reach the window as WM_COMMAND, as the tray menu sends them.
        s.probe(*(("command", k.CAPTION, k.FIRSTAREAENTRY + entry) for entry in (4, 1)))  # standby, file cache
        s.wait_for(lambda: s.read("Areas.ini") == b"filecache\r\nstandby\r\n", "the area file")
        s.probe(("command", k.CAPTION, k.MENU["exitt"]), ("wait-gone", k.CAPTION))
        s.start("kelvo.exe")
        shown = s.probe(("wait-visible", k.CAPTION, 30000), *(("text" if id in (k.TEXT1, k.LABEL15) else "checked",
                                                              k.CAPTION, id) for id in (k.TEXT1, k.CHECK1, k.CHECK2, k.OP1, k.LABEL15)))
        self.assertEqual(shown[1:], ["Q", "0", "1", "1", "当前清理规则：大型游戏清理规则"])
        s.probe(("click", k.CAPTION, k.COMMAND1))
        s.wait_for(lambda: ("empty.exe", "empty.exe  * -filecache -standby", 0) in s.calls(), "the clean with both areas")
        self.assertEqual(s.probe(("wait-tooltip", "已释放 0M 内存", 30000)), ["已释放 0M 内存"])

    def test_the_rule_editor_edits_and_saves_a_rule(self):
        s = self.start(files={"Setting.ini": k.QUIET_SETTINGS})
        s.probe(("wait-visible", k.CAPTION, 30000), ("command", k.CAPTION, k.LABEL16), ("wait-visible", k.EDITOR))
        self.assertEqual([name for name in k.RULE_FILES if not s.exists(name)], [])
        shown = s.probe(("select", k.EDITOR, k.EDITOR_CB1, 2), ("wait-text", k.EDITOR, k.EDITOR_TEXT1, "5"),
                        ("checked", k.EDITOR, k.EDITOR_CHECK1), ("checked", k.EDITOR, k.EDITOR_CHECK2), ("text", k.EDITOR, k.EDITOR_TEXT2))
        self.assertEqual(shown[2:], ["1", "0", "9"])
        s.probe(("click", k.EDITOR, k.EDITOR_CHECK2), ("type", k.EDITOR, k.EDITOR_TEXT2, "3"),
                ("type", k.EDITOR, k.EDITOR_TEXT1, "7"), ("click", k.EDITOR, k.EDITOR_SAVE))
        self.assertEqual(s.dialog("Varnic"), "保存清理规则“大型游戏清理规则”成功！")
        self.assertEqual((s.read("LargeGameRule.ini"), s.read("AllRule.ini")), (b"1\r\n1\r\n3\r\n7\r\n", b"1\r\n1\r\n1\r\n2\r\n"))
        s.probe(("click", k.EDITOR, k.EDITOR_CLOSE), ("wait-gone", k.EDITOR))

    def test_in_a_read_only_folder_the_settings_are_read_writes_fail_silently_and_every_file_stays(self):
        s = self.session.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", b"Q\r\n1\r\n1\r\n1\r\n2\r\n")  # letter Q, gear icon, rule 2
        s.write("LargeGameRule.ini", b"1\r\n0\r\n9\r\n7\r\n")
        before = sorted((p.name, p.read_bytes()) for p in s.folder.iterdir() if p.is_file())
        # The immutable flag: a folder's read-only attribute stops no write on Windows, and 0555 stops no root.
        if subprocess.run(["chattr", "+i", s.folder], stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest(f"the file system of {s.folder} has no immutable flag")
        self.addCleanup(subprocess.run, ["chattr", "-i", s.folder], check=True)  # before the session's removal
        s.start("kelvo.exe")
        shown = s.probe(("wait-visible", k.CAPTION, 30000), ("no-dialog", "Varnic"), ("text", k.CAPTION, k.TEXT1),
                        ("checked", k.CAPTION, k.OP1), ("text", k.CAPTION, k.LABEL15), ("click", k.CAPTION, k.CHECK2),
                        ("sync", k.CAPTION), ("no-dialog", "Varnic"), ("command", k.CAPTION, k.MENU["exitt"]),
                        ("wait-gone", k.CAPTION))
        self.assertEqual(shown[2:5], ["Q", "1", "当前清理规则：大型游戏清理规则"])
        self.assertEqual(sorted((p.name, p.read_bytes()) for p in s.folder.iterdir() if p.is_file()), before)

    def test_without_empty_exe_and_tarnel_exe_each_command_names_its_component_in_a_modal_box(self):
        s = self.start(files={"Setting.ini": k.HOTKEY_SETTINGS}, recorders=())
        s.probe(("wait-visible", k.CAPTION, 30000), ("no-dialog", "Varnic"))  # start-up's own clean is silent
        for what, act, message in (
                ("the clean button", lambda: s.probe(("click", k.CAPTION, k.COMMAND1)), "内存优化组件错误！"),
                ("the tray entry", lambda: s.probe(("command", k.CAPTION, k.MENU["nowyouhua"])), "内存优化组件错误！"),
                ("Ctrl+E", lambda: s.key("ctrl+e", k.CAPTION), "内存清理组件错误！"),
                ("the update button", lambda: s.probe(("click", k.CAPTION, k.LABEL7)), "在线更新组件错误！")):
            act()
            self.assertEqual(s.probe(("wait-window", "Varnic"), ("enabled", k.CAPTION))[1], "0", f"{what}: not modal")
            self.assertEqual(s.dialog("Varnic"), message, what)
        s.probe(("wait-gone", k.CAPTION))  # the update command ends kelvo all the same
        self.assertEqual((s.read("kelvo.exe"), s.read("Setting.ini")), (TEST_BUILDS["kelvo"].read_bytes(), k.HOTKEY_SETTINGS))


if __name__ == "__main__":
    unittest.main(verbosity=2)
