"""kelvo's windows as the end-to-end tests see them: captions, control ids (as main_window_ids.h and
rule_editor_window.h number them), settings files."""
CAPTION = "Varnic V1.9（BETA5）"
(LABEL1, LABEL5, LABEL6, LABEL10, LABEL15, LABEL4, LABEL16, LABEL2_0, LABEL2_1, LABEL2_4, LABEL3, LABEL12, LABEL13,
 LABEL14, LABEL11, COMMAND1, COMMAND2, COMMAND3, LABEL7, LABEL8, LABEL9, CHECK1, CHECK2, OP1, OP2, CB1, TEXT1, F1,
 BAR1) = range(1001, 1030)
MENU = {name: 2000 + index for index, name in enumerate(
    ["show", "dangqianrule", "fengexian2", "updatemenu", "cleanchip", "nowyouhua", "fengexian1", "exitt"])}

EDITOR = "自定义规则"  # the rule editor
EDITOR_CB1, EDITOR_CHECK1, EDITOR_TEXT1, EDITOR_CHECK2, EDITOR_TEXT2 = 3002, 3004, 3006, 3008, 3010
EDITOR_SAVE, EDITOR_CLOSE = 3013, 3014
ABOUT, ABOUT_CLOSE = "class:VarnicAbout", 4012  # the about window
RULE_FILES = ("AllRule.ini", "SmallGameRule.ini", "LargeGameRule.ini", "BTRule.ini")

# Setting.ini: letter, background cleaning, hotkey, tray icon, rule; "0" means on.
DEFAULT_SETTINGS = b"E\r\n0\r\n0\r\n0\r\n0\r\n"
QUIET_SETTINGS = b"E\r\n1\r\n1\r\n0\r\n0\r\n"  # no background cleaning, no hotkey: only the test cleans
HOTKEY_SETTINGS = b"E\r\n1\r\n0\r\n0\r\n0\r\n"  # no background cleaning, the hotkey on
CLEAN_ALL = "empty.exe  *"
