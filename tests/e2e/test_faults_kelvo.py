"""kelvo under faults of its folder and files: each fault gives its message or passes
silently, the window keeps answering, and kelvo.exe, the settings and the rule files keep
their bytes."""
import subprocess
import unittest

import kelvo
from faults import dialog, freeze_folder, lock, make_read_only, snapshot, stray_files, windows_path
from harness import WineTestCase

EDITOR = "自定义规则"
EDITOR_CB1, EDITOR_TEXT1, EDITOR_SAVE, EDITOR_CLOSE, EDITOR_RESTORE = 3002, 3006, 3013, 3014, 3015
RULE_FILES = ("AllRule.ini", "SmallGameRule.ini", "LargeGameRule.ini", "BTRule.ini")
CANNOT_SAVE = "无法保存清理规则文件："
SETTINGS = b"Q\r\n1\r\n1\r\n1\r\n2\r\n"  # letter Q, no background cleaning, no hotkey, gear icon, rule 2
LARGE_GAME_RULE = b"1\r\n0\r\n9\r\n7\r\n"


class KelvoFaultCase(WineTestCase):
    def setUp(self):
        super().setUp()
        self.s = self.session

    def start_kelvo(self):
        self.s.start("kelvo.exe")
        self.s.probe(("wait-visible", kelvo.CAPTION, 30000))

    def assert_answers(self):
        """The main window still reacts: the panel opens and folds again."""
        folded = self.s.probe(("client-size", kelvo.CAPTION))[0]
        opened, = self.s.probe(("click", kelvo.CAPTION, kelvo.COMMAND3), ("client-size", kelvo.CAPTION))[1:]
        again, = self.s.probe(("click", kelvo.CAPTION, kelvo.COMMAND3), ("client-size", kelvo.CAPTION))[1:]
        self.assertNotEqual(opened, folded)
        self.assertEqual(again, folded)

    def exit_kelvo(self):
        self.s.probe(("command", kelvo.CAPTION, kelvo.MENU["exitt"]), ("wait-gone", kelvo.CAPTION, 20000))

    def path(self, name):
        return windows_path(self.s.folder / name)


class ReadOnlyAndLockedFiles(KelvoFaultCase):
    def test_a_read_only_installation_folder(self):
        s = self.s.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", SETTINGS)
        s.write("AllRule.ini", b"1\r\n1\r\n1\r\n2\r\n")
        s.write("LargeGameRule.ini", LARGE_GAME_RULE)
        before = snapshot(s, "kelvo.exe", "Setting.ini", *RULE_FILES)
        freeze_folder(s.folder, self)

        self.start_kelvo()
        # The settings are read as they stand; nothing is reported.
        self.assertEqual(s.probe(("text", kelvo.CAPTION, kelvo.TEXT1), ("checked", kelvo.CAPTION, kelvo.OP1),
                                 ("text", kelvo.CAPTION, kelvo.LABEL15)),
                         ["Q", "1", "当前清理规则：大型游戏清理规则"])
        s.probe(("no-dialog", "Varnic", 1500))
        # A choice that writes the settings fails silently.
        s.probe(("click", kelvo.CAPTION, kelvo.CHECK2), ("no-dialog", "Varnic", 1000))

        # The rule editor: the two missing rule files cannot be made; saving names all four.
        s.probe(("command", kelvo.CAPTION, kelvo.LABEL16), ("wait-visible", EDITOR, 20000))
        s.probe(("select", EDITOR, EDITOR_CB1, 2), ("wait-text", EDITOR, EDITOR_TEXT1, "7"),
                ("click", EDITOR, EDITOR_SAVE))
        self.assertEqual(dialog(s, "Varnic", 20000),
                         CANNOT_SAVE + "\r\n".join(self.path(name) for name in RULE_FILES))
        s.probe(("click", EDITOR, EDITOR_RESTORE))
        self.assertEqual(dialog(s, "Varnic", 20000),
                         CANNOT_SAVE + "\r\n".join(self.path(name) for name in
                                                    ("AllRule.ini", "BTRule.ini", "SmallGameRule.ini",
                                                     "LargeGameRule.ini")))
        s.probe(("click", EDITOR, EDITOR_CLOSE), ("wait-gone", EDITOR, 20000))
        self.assert_answers()
        self.exit_kelvo()
        self.assertEqual(snapshot(s, "kelvo.exe", "Setting.ini", *RULE_FILES), before)
        self.assertEqual(stray_files(s), [])

    def test_a_read_only_folder_without_settings_or_rules(self):
        s = self.s.install("kelvo", recorders=["empty"])
        freeze_folder(s.folder, self)
        self.start_kelvo()
        # The default files cannot be made: the controls keep their first state, unreported.
        self.assertEqual(s.probe(("text", kelvo.CAPTION, kelvo.TEXT1), ("checked", kelvo.CAPTION, kelvo.OP2)),
                         ["E", "1"])
        s.probe(("no-dialog", "Varnic", 1500))
        self.assert_answers()
        self.exit_kelvo()
        self.assertEqual(sorted(p.name for p in s.folder.iterdir()), ["Language.ini", "empty.exe", "kelvo.exe", "temp"])

    def test_a_read_only_settings_file(self):
        s = self.s.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", SETTINGS)
        make_read_only(s, "Setting.ini", self)
        self.start_kelvo()
        # Read as usual; the writes that follow every change and the exit fail silently.
        self.assertEqual(s.probe(("text", kelvo.CAPTION, kelvo.TEXT1), ("checked", kelvo.CAPTION, kelvo.OP1)),
                         ["Q", "1"])
        s.probe(("click", kelvo.CAPTION, kelvo.COMMAND3), ("click", kelvo.CAPTION, kelvo.OP2),
                ("select", kelvo.CAPTION, kelvo.CB1, 3), ("no-dialog", "Varnic", 1000))
        self.assertEqual(s.probe(("text", kelvo.CAPTION, kelvo.LABEL15))[0], "当前清理规则：BT下载清理规则")
        s.probe(("click", kelvo.CAPTION, kelvo.COMMAND1))
        s.wait_for(lambda: any(c[1] == kelvo.CLEAN_ALL for c in s.calls()), what="a clean after the failed writes")
        self.exit_kelvo()
        self.assertEqual(s.read("Setting.ini"), SETTINGS)
        self.assertEqual(stray_files(s), [])

    def test_a_locked_settings_file(self):
        s = self.s.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", SETTINGS)
        unlock = lock(s, "Setting.ini", self)
        self.start_kelvo()
        # Unreadable: the controls keep their first state (letter E, remaining-memory icon), unreported.
        self.assertEqual(s.probe(("text", kelvo.CAPTION, kelvo.TEXT1), ("checked", kelvo.CAPTION, kelvo.OP2)),
                         ["E", "1"])
        s.probe(("no-dialog", "Varnic", 1000))
        s.probe(("click", kelvo.CAPTION, kelvo.COMMAND3), ("click", kelvo.CAPTION, kelvo.OP1),
                ("no-dialog", "Varnic", 500))
        self.assert_answers()
        # Closing the window hides it to the tray and writes the settings: that write fails too.
        s.probe(("close", kelvo.CAPTION))
        s.wait_for(lambda: s.probe(("visible", kelvo.CAPTION))[0] == "0", what="the window in the tray")
        s.probe(("command", kelvo.CAPTION, kelvo.MENU["show"]))
        s.wait_for(lambda: s.probe(("visible", kelvo.CAPTION))[0] == "1", what="the window back")
        self.exit_kelvo()
        unlock()
        self.assertEqual(s.read("Setting.ini"), SETTINGS)
        self.assertEqual(stray_files(s), [])


class RuleFileFaults(KelvoFaultCase):
    def test_a_rule_file_replaced_by_a_folder(self):
        s = self.s.install("kelvo", recorders=["empty"])
        settings = b"E\r\n1\r\n1\r\n0\r\n3\r\n"  # rule 3, the one whose file is a folder
        s.write("Setting.ini", settings)
        s.write("BTRule.ini/inside.txt", "kept")
        self.start_kelvo()
        self.assertEqual(s.probe(("text", kelvo.CAPTION, kelvo.LABEL15))[0], "当前清理规则：BT下载清理规则")
        s.probe(("no-dialog", "Varnic", 1000))

        s.probe(("command", kelvo.CAPTION, kelvo.LABEL16), ("wait-visible", EDITOR, 20000))
        # The other three rules are saved; the folder is named and left alone.
        s.probe(("select", EDITOR, EDITOR_CB1, 1), ("wait-text", EDITOR, EDITOR_TEXT1, "5"),
                ("type", EDITOR, EDITOR_TEXT1, "6"), ("click", EDITOR, EDITOR_SAVE))
        self.assertEqual(dialog(s, "Varnic"), CANNOT_SAVE + self.path("BTRule.ini"))
        self.assertEqual(s.read("SmallGameRule.ini"), b"1\r\n1\r\n5\r\n6\r\n")
        s.probe(("click", EDITOR, EDITOR_RESTORE))
        self.assertEqual(dialog(s, "Varnic"), CANNOT_SAVE + self.path("BTRule.ini"))
        self.assertEqual(s.read("SmallGameRule.ini"), b"1\r\n1\r\n5\r\n5\r\n")
        s.probe(("click", EDITOR, EDITOR_CLOSE), ("wait-gone", EDITOR, 20000))
        self.assert_answers()
        self.exit_kelvo()
        self.assertTrue((s.folder / "BTRule.ini").is_dir())
        self.assertEqual(s.read("BTRule.ini/inside.txt"), b"kept")
        self.assertEqual(s.read("Setting.ini"), settings)

    def test_read_only_and_locked_rule_files_are_named_and_kept(self):
        s = self.s.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        rules = {"AllRule.ini": b"1\r\n1\r\n1\r\n2\r\n", "SmallGameRule.ini": b"1\r\n1\r\n5\r\n5\r\n",
                 "LargeGameRule.ini": LARGE_GAME_RULE, "BTRule.ini": b"0\r\n0\r\n9\r\n9\r\n"}
        for name, data in rules.items():
            s.write(name, data)
        make_read_only(s, "LargeGameRule.ini", self)
        self.start_kelvo()
        s.probe(("command", kelvo.CAPTION, kelvo.LABEL16), ("wait-visible", EDITOR, 20000))
        unlock = lock(s, "BTRule.ini", self)
        s.probe(("select", EDITOR, EDITOR_CB1, 0), ("type", EDITOR, EDITOR_TEXT1, "3"),
                ("click", EDITOR, EDITOR_SAVE))
        self.assertEqual(dialog(s, "Varnic", 20000),
                         CANNOT_SAVE + self.path("LargeGameRule.ini") + "\r\n" + self.path("BTRule.ini"))
        self.assertEqual(s.read("AllRule.ini"), b"1\r\n1\r\n1\r\n3\r\n")
        s.probe(("click", EDITOR, EDITOR_CLOSE), ("wait-gone", EDITOR, 20000))
        self.assert_answers()
        self.exit_kelvo()
        unlock()
        self.assertEqual(s.read("LargeGameRule.ini"), LARGE_GAME_RULE)
        self.assertEqual(s.read("BTRule.ini"), rules["BTRule.ini"])
        self.assertEqual(s.read("Setting.ini"), kelvo.QUIET_SETTINGS)


class StartUpFiles(KelvoFaultCase):
    def test_a_one_megabyte_message_is_cut_shown_once_and_removed(self):
        s = self.s.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        line = b"0123456789 message line of the one-shot file ".ljust(98, b".") + b"\r\n"
        shown = (line * 700)[:65400]
        s.write("2.txt", shown + b"#" * (1024 * 1024 - len(shown)))
        s.start("kelvo.exe")
        text = dialog(s, "Varnic", 60000)
        # The probe reads at most 8191 characters of a box's text: the start must be the file's start.
        self.assertGreater(len(text), 4000)
        self.assertEqual(text, shown.decode("ascii")[:len(text)])
        s.probe(("wait-visible", kelvo.CAPTION, 30000))
        self.assertFalse(s.exists("2.txt"))
        self.assert_answers()
        self.exit_kelvo()
        s.start("kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000), ("no-dialog", "Varnic", 1500))


class MissingPrograms(KelvoFaultCase):
    def test_without_empty_exe_each_clean_names_the_component(self):
        s = self.s.install("kelvo")
        s.write("Setting.ini", b"E\r\n1\r\n0\r\n0\r\n0\r\n")  # the hotkey on, background cleaning off
        self.start_kelvo()
        s.probe(("no-dialog", "Varnic", 1500))  # start-up's own clean is skipped silently
        s.probe(("click", kelvo.CAPTION, kelvo.COMMAND1))
        self.assertEqual(dialog(s, "Varnic", 20000), "内存优化组件错误！")
        s.probe(("command", kelvo.CAPTION, kelvo.MENU["nowyouhua"]))
        self.assertEqual(dialog(s, "Varnic", 20000), "内存优化组件错误！")
        s.probe(("focus", kelvo.CAPTION))
        desktop = subprocess.run(["xdotool", "search", "--name", "Wine desktop"], capture_output=True, text=True,
                                 env=s.env).stdout.split()
        self.assertTrue(desktop, "the Wine virtual desktop is not on the display")
        subprocess.run(["xdotool", "windowfocus", desktop[0]], check=True, env=s.env)
        s.key("ctrl+e")
        self.assertEqual(dialog(s, "Varnic", 20000), "内存清理组件错误！")
        self.assert_answers()
        self.exit_kelvo()

    def test_without_tarnel_exe_the_update_commands_report_it_and_end_kelvo(self):
        s = self.s.install("kelvo", recorders=["empty"])
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        program = s.read("kelvo.exe")
        for how in (("click", kelvo.CAPTION, kelvo.LABEL7), ("command", kelvo.CAPTION, kelvo.MENU["updatemenu"])):
            with self.subTest(how[0]):
                self.start_kelvo()
                s.probe(how)
                self.assertEqual(dialog(s, "Varnic", 20000), "在线更新组件错误！")
                s.probe(("wait-gone", kelvo.CAPTION, 20000))
                self.assertEqual(s.read("kelvo.exe"), program)
                self.assertEqual(s.read("Setting.ini"), kelvo.QUIET_SETTINGS)
        self.assertEqual([c for c in s.calls() if c[0] != "empty.exe"], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
