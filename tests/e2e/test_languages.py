"""kelvo and tarnel speak the Windows display language (under Wine: the locale of LC_ALL), unless
Language.ini beside them names one."""
import re
import unittest

import kelvo
from harness import WineTestCase
from kelvo import ABOUT, ABOUT_CLOSE, EDITOR_CLOSE, EDITOR_TEXT1

ENGLISH_CAPTION = "Varnic V1.9 (BETA5)"
CHINESE = re.compile("[\u3000-\u9fff\uff00-\uffef]")


class Languages(WineTestCase):
    def run_kelvo(self, locale, caption):
        s = self.session
        s.start("kelvo.exe", env=dict(s.env, LC_ALL=locale))
        s.probe(("wait-visible", caption, 30000))
        return caption

    def exit_kelvo(self, caption):
        self.session.probe(("command", caption, kelvo.MENU["exitt"]), ("wait-gone", caption, 20000))

    def test_the_display_language_decides_unless_language_ini_names_one(self):
        s = self.session.install("kelvo", "tarnel")  # without empty.exe, a clean says why in a box
        s.write("Setting.ini", kelvo.QUIET_SETTINGS)
        (s.folder / "Language.ini").unlink()
        s.start("tarnel.exe", env=dict(s.env, LC_ALL="en_US.UTF-8"))  # without Upsetting.ini: a box says so
        tarnel = s.probe(("dialog", "Varnic", 30000), ("wait-window", "Varnic online update", 30000))[0]
        main = self.run_kelvo("en_US.UTF-8", ENGLISH_CAPTION)
        texts = s.probe(("click", main, kelvo.COMMAND1), ("dialog", "Varnic", 20000), ("command", main, kelvo.LABEL16),
                        ("wait-visible", "Cleaning rules", 20000), ("type", "Cleaning rules", EDITOR_TEXT1, "0"),
                        ("dialog", "Varnic", 20000), ("click", "Cleaning rules", EDITOR_CLOSE),
                        ("click", main, kelvo.LABEL8), ("wait-visible", ABOUT, 20000), ("text", ABOUT, ABOUT_CLOSE),
                        ("text", main, kelvo.LABEL15))
        for text in [tarnel, main] + [texts[i] for i in (1, 5, 9, 10)]:
            self.assertIsNone(CHINESE.search(text), text)
        self.exit_kelvo(main)
        s.write("Language.ini", b"zh\r\n")
        self.exit_kelvo(self.run_kelvo("en_US.UTF-8", kelvo.CAPTION))
        (s.folder / "Language.ini").unlink()
        self.exit_kelvo(self.run_kelvo("zh_CN.UTF-8", kelvo.CAPTION))


if __name__ == "__main__":
    unittest.main()
