#!/usr/bin/env python3
"""The README's pictures: kelvo's main window with its panel open in Chinese and in English, the
rule editor, and the progress bar in its eight looks.

Runs the installation folder given as the first argument (dist/win32 by default), and the
progress bar's window from the build tree of $VARNIC_BUILD, under Wine in the Wine prefix of
$WINEPREFIX, on the X display of $DISPLAY, and writes PNG files cropped to each window into the
folder given as the second argument (docs/screenshots by default).
"""
import hashlib
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import harness  # noqa: E402
import kelvo  # noqa: E402

EDITOR = "自定义规则"
ENGLISH_CAPTION = "Varnic V1.9 (BETA5)"
LOOKS = "Xp_ProgressBar looks"
PROGRAM_FILES = ("kelvo.exe", "tarnel.exe", "empty.exe", "help.txt", "help-en.txt", "Upsetting.ini")


def grab(session, caption, target):
    """Writes the window with that caption, as it is on screen, to `target`."""
    left, top, right, bottom = (int(v) for v in session.probe(("rect", caption))[0].split())
    with tempfile.TemporaryDirectory() as scratch:
        screen = pathlib.Path(scratch) / "screen.png"
        subprocess.run(["import", "-window", "root", str(screen)], check=True, env=session.env)
        subprocess.run(["convert", str(screen), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                        "-strip", str(target)], check=True)
    return target


def grab_when_still(session, caption, target, timeout=10):
    """Grabs until two pictures in a row agree, so that the window has finished painting."""
    deadline = time.monotonic() + timeout
    previous = None
    while True:
        digest = hashlib.sha256(grab(session, caption, target).read_bytes()).digest()
        if digest == previous or time.monotonic() > deadline:
            return target
        previous = digest
        time.sleep(0.3)


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "dist" / "win32")
    output = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else ROOT / "docs" / "screenshots")
    output.mkdir(parents=True, exist_ok=True)
    session = harness.Session()
    try:
        for name in PROGRAM_FILES:
            shutil.copy(folder / name, session.folder / name)
        (session.folder / "temp").mkdir(exist_ok=True)
        shutil.copy(harness.BUILD / "tools" / "screenshots" / "progress_bar_looks.exe", session.folder)
        session.start("progress_bar_looks.exe")
        session.probe(("wait-visible", LOOKS, 30000))
        grab_when_still(session, LOOKS, output / "progress_bar_looks.png")
        session.probe(("close", LOOKS), ("wait-gone", LOOKS, 10000))
        session.write("Setting.ini", kelvo.QUIET_SETTINGS)
        for language, caption, picture in (("zh", kelvo.CAPTION, "main_window_panel_open.png"),
                                           ("en", ENGLISH_CAPTION, "main_window_english.png")):
            session.write("Language.ini", f"{language}\r\n")
            session.start("kelvo.exe")
            session.probe(("wait-visible", caption, 30000), ("click", caption, kelvo.COMMAND3))
            session.wait_for(lambda: session.probe(("visible", caption, kelvo.F1))[0] == "1",
                             what="the panel")
            grab_when_still(session, caption, output / picture)
            if language == "zh":
                session.probe(("command", caption, kelvo.LABEL16), ("wait-visible", EDITOR, 20000))
                grab_when_still(session, EDITOR, output / "rule_editor.png")
            session.probe(("command", caption, kelvo.MENU["exitt"]), ("wait-gone", caption, 20000))
    finally:
        session.close()
    for name in ("progress_bar_looks.png", "main_window_panel_open.png", "main_window_english.png", "rule_editor.png"):
        print(output / name)


if __name__ == "__main__":
    main()
