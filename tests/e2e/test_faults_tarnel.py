"""tarnel against faulty servers and a faulty folder: each fault gives its message or the
sound behaviour, the window keeps answering, and the installed kelvo.exe and vr.ini keep
their bytes until an update really succeeds.

As in test_tarnel.py, the updater under test is tarnel_testkey.exe (tarnel trusting the build
tree's test key) installed as tarnel.exe, and the served version file is signed with that key.
"""
import os
import shutil
import socket
import tempfile
import time
import unittest

from faults import dialog, freeze_folder, lock, make_read_only, stray_files, windows_path
from harness import HELPERS, WineTestCase
from test_tarnel import CAPTION, Server, pattern, signed_version_file, version_file

OPTION1, CHECK, UPDATE, EXIT = 1002, 1004, 1005, 1006
INSTALLED, LATEST, COUNTER, BAR = 1008, 1010, 1012, 1013
OLD_PROGRAM = b"the installed kelvo program"
SIZE = 20000
SERVED_VERSION_FILE = signed_version_file("2.0", pattern(SIZE))


def cut_short(received, announced):
    """A body cut short: Windows reports the broken connection, Wine's WinINet ends the body early."""
    return ("下载中断：与服务器的连接已断开，原文件保持不变",
            "下载不完整：收到 %s 字节，服务器声明 %s 字节，原文件保持不变" % (f"{received:,}", f"{announced:,}"))


def next_message(session, seconds=60):
    """The caption and text of the next message box, success ("提示") or error ("错误")."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for caption in ("提示", "错误"):
            try:
                return caption, dialog(session, caption, 300)
            except AssertionError:
                pass
    raise AssertionError("no message box")


def refused_port():
    """A loopback port that nothing listens on."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class TarnelFaultCase(WineTestCase):
    def setUp(self):
        super().setUp()
        self.s = self.session.install()
        shutil.copy(HELPERS / "tarnel_testkey.exe", self.s.folder / "tarnel.exe")
        self.s.write("vr.ini", version_file("1.9"))
        self.s.write("kelvo.exe", OLD_PROGRAM)
        served = tempfile.mkdtemp(prefix="varnic-faults-served-")
        self.addCleanup(shutil.rmtree, served, ignore_errors=True)
        os.makedirs(os.path.join(served, "update"))
        with open(os.path.join(served, "update", "vr.ini"), "wb") as f:
            f.write(SERVED_VERSION_FILE)
        with open(os.path.join(served, "update", "kelvo.exe"), "wb") as f:
            f.write(pattern(SIZE))
        self.server = Server(served)
        self.addCleanup(self.server.stop)

    def settings(self, version="/update/vr.ini", program="/update/kelvo.exe"):
        url = lambda path: path if path.startswith("http") else self.server.url(path)
        lines = [url(version), "\\temp\\vr.ini", url(program), "\\kelvo.exe"]
        self.s.write("Upsetting.ini", "\r\n".join(lines) + "\r\n")

    def start_tarnel(self):
        self.s.start("tarnel.exe")
        self.s.probe(("wait-visible", CAPTION, 60000))

    def reload(self, **paths):
        """New addresses in Upsetting.ini, taken up by a click on "主力服务器"."""
        self.settings(**paths)
        self.s.probe(("click", CAPTION, OPTION1))

    def check(self):
        """A version check, finished: its file is in place, and a click now lands after it."""
        fetched = self.s.folder / "temp" / "vr.ini"
        fetched.unlink(missing_ok=True)
        self.s.probe(("click", CAPTION, CHECK))
        self.s.wait_for(fetched.exists, what="the version file")
        self.s.probe(("wait-text", CAPTION, LATEST, "2.0", 30000))

    def assert_kept(self):
        self.assertEqual(self.s.read("kelvo.exe"), OLD_PROGRAM)
        self.assertEqual(self.s.read("vr.ini"), version_file("1.9"))
        self.assertEqual(stray_files(self.s), [])

    def update_succeeds(self):
        """The window still does its work: a check and an update from a sound server."""
        self.reload()
        self.check()
        self.s.probe(("click", CAPTION, UPDATE))
        self.assertEqual(dialog(self.s, "提示", 60000), "下载成功！")
        self.assertEqual(self.s.read("kelvo.exe"), pattern(SIZE))
        # the version is recorded once the success message has been closed
        self.s.wait_for(lambda: self.s.read("vr.ini") == SERVED_VERSION_FILE, what="the new version in vr.ini")


class FaultyServers(TarnelFaultCase):
    def test_a_version_check_that_fails_changes_nothing(self):
        self.settings(version="http://127.0.0.1:%d/update/vr.ini" % refused_port())
        self.start_tarnel()
        cases = [(None, "无法连接服务器"),
                 ("/status/404", "服务器返回错误：HTTP 404"),
                 ("/status/500", "服务器返回错误：HTTP 500"),
                 ("/drop/10/40", cut_short(10, 40))]
        for path, message in cases:
            with self.subTest(path or "refused"):
                if path:
                    self.reload(version=path)
                self.s.probe(("click", CAPTION, CHECK))
                text = dialog(self.s, "错误", 60000)
                self.assertIn(text, message if isinstance(message, tuple) else (message,))
                self.assertEqual(self.s.probe(("text", CAPTION, LATEST))[0], "")
                self.assertFalse(self.s.exists("temp/vr.ini"))
                # "更新" stays disabled: a click does nothing.
                self.s.probe(("click", CAPTION, UPDATE), ("no-dialog", "错误", 500), ("no-dialog", "提示", 500))
                self.assert_kept()
        self.update_succeeds()

    def test_a_program_transfer_that_fails_keeps_the_installed_program(self):
        refused = "http://127.0.0.1:%d/update/kelvo.exe" % refused_port()
        cases = [(refused, "无法连接服务器"),
                 ("/status/404", "服务器返回错误：HTTP 404"),
                 ("/status/500", "服务器返回错误：HTTP 500"),
                 ("/drop/3000/%d" % SIZE, cut_short(3000, SIZE)),
                 ("/length/%d/%d" % (SIZE, SIZE - 1000), cut_short(SIZE - 1000, SIZE))]
        self.settings()
        self.start_tarnel()
        for path, message in cases:
            with self.subTest(path):
                self.reload(program=path)
                self.check()
                self.s.probe(("click", CAPTION, UPDATE))
                text = dialog(self.s, "错误", 60000)
                self.assertIn(text, message if isinstance(message, tuple) else (message,))
                self.s.probe(("no-dialog", "提示", 500))
                self.assert_kept()
        self.update_succeeds()

    def test_more_bytes_than_announced_are_never_installed(self):
        # The announced 20,000 bytes are the signed program; 1,000 more follow.
        self.settings(program="/length/%d/%d" % (SIZE, SIZE + 1000))
        self.start_tarnel()
        self.check()
        self.s.probe(("click", CAPTION, UPDATE))
        caption, text = next_message(self.s)
        if caption == "提示":  # the read stopped at the announced length (Windows, and Wine here)
            self.assertEqual(text, "下载成功！")
            self.assertEqual(self.s.read("kelvo.exe"), pattern(SIZE))
        else:  # the extra bytes were read: refused
            self.assertEqual(text, "下载不完整：收到 21,000 字节，服务器声明 20,000 字节，原文件保持不变")
            self.assert_kept()

    def test_ten_kilobytes_of_headers_still_give_the_length(self):
        self.settings(program="/bigheaders/%d?size=10240" % SIZE)
        self.start_tarnel()
        self.check()
        self.s.probe(("click", CAPTION, UPDATE))
        self.assertEqual(dialog(self.s, "提示", 60000), "下载成功！")
        self.assertEqual(self.s.probe(("text", CAPTION, COUNTER), ("text", CAPTION, BAR)), ["20,000/20,000", "100"])
        self.assertEqual(self.s.read("kelvo.exe"), pattern(SIZE))

    def test_a_server_that_drips_one_byte_a_second_leaves_the_window_usable(self):
        self.settings(program="/drip/%d?chunk=1&delay=1000" % SIZE)
        self.start_tarnel()
        self.check()
        self.s.probe(("click", CAPTION, UPDATE))
        self.s.wait_for(lambda: self.s.exists("kelvo.exe.download"), what="the transfer to begin")
        # While bytes trickle in, the window answers and "退出" ends the transfer and the program.
        self.assertEqual(self.s.probe(("text", CAPTION, INSTALLED))[0], "1.9")
        self.s.probe(("click", CAPTION, EXIT), ("wait-gone", CAPTION, 20000))
        self.assert_kept()


class FaultyFolder(TarnelFaultCase):
    def test_kelvo_exe_locked_or_read_only_is_not_replaced(self):
        in_use = "文件" + windows_path(self.s.folder / "kelvo.exe") + "正在使用,无法进行操作"
        self.settings()
        self.start_tarnel()

        # Held by another program before the update starts: refused before any byte is read.
        unlock = lock(self.s, "kelvo.exe", self)
        self.check()
        counter = self.s.probe(("text", CAPTION, COUNTER))[0]
        self.s.probe(("click", CAPTION, UPDATE))
        self.assertEqual(dialog(self.s, "错误", 60000), in_use)
        self.assertEqual(self.s.probe(("text", CAPTION, COUNTER))[0], counter)  # no byte was read
        unlock()
        self.assert_kept()

        # Taken while the transfer runs: the finished download is not moved over it.
        self.reload(program="/drip/%d?chunk=1024&delay=1000" % SIZE)
        self.check()
        self.s.probe(("click", CAPTION, UPDATE))
        # The download file exists once the target was found writable; 20 s of bytes are to come.
        self.s.wait_for(lambda: self.s.exists("kelvo.exe.download"), what="the transfer to begin")
        unlock = lock(self.s, "kelvo.exe", self)
        self.assertNotEqual(self.s.probe(("text", CAPTION, COUNTER))[0], "20,000/20,000", "locked too late")
        self.assertEqual(dialog(self.s, "错误", 60000), in_use)
        unlock()
        self.assert_kept()

        # Read-only.
        make_read_only(self.s, "kelvo.exe", self)
        self.reload()
        self.check()
        self.s.probe(("click", CAPTION, UPDATE))
        self.assertEqual(dialog(self.s, "错误", 60000), in_use)
        self.assert_kept()
        os.chmod(self.s.folder / "kelvo.exe", 0o644)
        self.update_succeeds()

    def test_without_the_temp_folder_the_check_names_its_file(self):
        shutil.rmtree(self.s.folder / "temp")
        self.settings()
        self.start_tarnel()
        for attempt in range(2):
            self.s.probe(("click", CAPTION, CHECK))
            self.assertEqual(dialog(self.s, "错误", 60000),
                             "文件" + windows_path(self.s.folder / "temp" / "vr.ini") + "正在使用,无法进行操作")
            self.assertEqual(self.s.probe(("text", CAPTION, LATEST))[0], "")
            self.s.probe(("click", CAPTION, UPDATE), ("no-dialog", "错误", 500))
            self.assert_kept()
        (self.s.folder / "temp").mkdir()
        self.update_succeeds()

    def test_a_read_only_installation_folder(self):
        self.settings()
        freeze_folder(self.s.folder, self)
        self.start_tarnel()
        self.check()  # the version file goes to "\temp", which is writable
        self.s.probe(("click", CAPTION, UPDATE))
        self.assertEqual(dialog(self.s, "错误", 60000),
                         "文件" + windows_path(self.s.folder / "kelvo.exe") + "正在使用,无法进行操作")
        self.assert_kept()
        self.check()
        self.s.probe(("click", CAPTION, EXIT), ("wait-gone", CAPTION, 20000))
        self.assert_kept()


if __name__ == "__main__":
    unittest.main(verbosity=2)
