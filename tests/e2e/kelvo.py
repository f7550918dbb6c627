"""kelvo's main window as the end-to-end tests see it: its caption and control ids."""
CAPTION = "Varnic V1.9（BETA5）"

LABEL1, LABEL5, LABEL6, LABEL10, LABEL15, LABEL4, LABEL16 = 1001, 1002, 1003, 1004, 1005, 1006, 1007
COMMAND1, COMMAND2, COMMAND3 = 1016, 1017, 1018
LABEL7, LABEL8, LABEL9 = 1019, 1020, 1021
CHECK1, CHECK2, OP1, OP2, CB1, TEXT1, F1, BAR1 = 1022, 1023, 1024, 1025, 1026, 1027, 1028, 1029

MENU = {name: 2000 + index for index, name in enumerate(
    ["show", "dangqianrule", "fengexian2", "updatemenu", "cleanchip", "nowyouhua", "fengexian1", "exitt"])}

# Setting.ini with background cleaning and the hotkey off, so that only the test cleans.
QUIET_SETTINGS = b"E\r\n1\r\n1\r\n0\r\n0\r\n"
DEFAULT_SETTINGS = b"E\r\n0\r\n0\r\n0\r\n0\r\n"
CLEAN_ALL = "empty.exe  *"
