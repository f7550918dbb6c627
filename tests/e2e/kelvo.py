"""kelvo's windows as the end-to-end tests see them: captions, control ids (from the id headers), settings."""
from harness import control_ids

CAPTION = "Varnic V1.9（BETA5）"
_MAIN = control_ids("monitor/win32/main_window_ids.h")
globals().update({name.upper(): number for name, number in _MAIN.items()})  # LABEL1, COMMAND1, ... BAR1
MENU = {name: _MAIN["FirstMenuEntry"] + index for index, name in enumerate(
    ["show", "dangqianrule", "fengexian2", "updatemenu", "cleanchip", "nowyouhua", "fengexian1", "exitt"])}

EDITOR = "自定义规则"  # the rule editor
globals().update({"EDITOR_" + name.upper(): number for name, number in control_ids("rules/win32/rule_editor_ids.h").items()})
EDITOR_SAVE, EDITOR_CLOSE = EDITOR_XPBUTTON1, EDITOR_XPBUTTON2  # noqa: F821
ABOUT, ABOUT_CLOSE = "class:VarnicAbout", control_ids("about/win32/about_ids.h")["XpButton1"]  # the about window
RULE_FILES = ("AllRule.ini", "SmallGameRule.ini", "LargeGameRule.ini", "BTRule.ini")

# Setting.ini: letter, background cleaning, hotkey, tray icon, rule; "0" means on.
DEFAULT_SETTINGS = b"E\r\n0\r\n0\r\n0\r\n0\r\n"
QUIET_SETTINGS = b"E\r\n1\r\n1\r\n0\r\n0\r\n"  # no background cleaning, no hotkey: only the test cleans
