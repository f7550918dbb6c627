#!/usr/bin/env python3
"""tarnel.exe end to end under Wine: the real updater in a scratch installation folder,
talking to tests/e2e/http_server.py on 127.0.0.1, driven by tests/helpers/ui_probe.exe.

tarnel installs only what the release key signed. The tests run tarnel_testkey.exe, the same
program built to trust the build tree's test key instead (tests/updater_targets.cmake), and
sign the version files they serve with that key; the shipped tarnel.exe is run to show that
it refuses them.

Environment: VARNIC_BUILD (the i686 build tree), VARNIC_SOURCE, WINEPREFIX, DISPLAY.
"""
import base64
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

BUILD = os.environ.get("VARNIC_BUILD", "")
SOURCE = os.environ.get("VARNIC_SOURCE", os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
SHIPPED_TARNEL = os.path.join(BUILD, "apps", "tarnel.exe")
TARNEL = os.path.join(BUILD, "tests", "tarnel_testkey.exe")
TEST_KEY = os.path.join(BUILD, "tests", "test-release-key", "test-release-key.pem")
RELEASE_SIGN = os.path.join(SOURCE, "tools", "x-release-sign")
CA_BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
PROBE = os.path.join(BUILD, "tests", "ui_probe.exe")
RECORDER = os.path.join(BUILD, "tests", "command_recorder.exe")
SERVER = os.path.join(SOURCE, "tests", "e2e", "http_server.py")
CAPTION = "Varnic 在线更新"
PROGRAM_SIZE = 196608

# Control ids of the updater window (src/updater/win32/updater_window.h).
OPTION2, CHECK, UPDATE, EXIT = "1003", "1004", "1005", "1006"
INSTALLED, LATEST, COUNTER, BAR = "1008", "1010", "1012", "1013"


def pattern(count):
    return bytes((i * 7) % 251 for i in range(count))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_environment():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env["LC_ALL"] = "C.UTF-8"  # Chinese captions on the probe's command line
    return env


def version_file(version, extra=""):
    return ("[Ver]\r\nVer=%s\r\n%s" % (version, extra)).encode("ascii")


def signature(version, size, sha256, key=TEST_KEY):
    """Base64 of openssl's RSA PKCS#1 v1.5 SHA-256 signature over the canonical message."""
    message = ("Varnic update\nVer=%s\nSize=%d\nSha256=%s\n" % (version, size, sha256)).encode("ascii")
    signed = subprocess.run(["openssl", "dgst", "-sha256", "-sign", key], input=message, stdout=subprocess.PIPE,
                            check=True).stdout
    return base64.b64encode(signed).decode("ascii")


def signed_version_file(version, program, size=None, sha256=None):
    """A version file signed with the test key for `program`, or for the size and digest given."""
    size = len(program) if size is None else size
    sha256 = hashlib.sha256(program).hexdigest() if sha256 is None else sha256
    return version_file(version, "Size=%d\r\nSha256=%s\r\nSignature=%s\r\n"
                        % (size, sha256, signature(version, size, sha256)))


class Server:
    def __init__(self, root, tls=None):
        self.port_file = os.path.join(root, "port")
        if os.path.exists(self.port_file):
            os.remove(self.port_file)  # an earlier server's
        self.scheme = "https" if tls else "http"
        extra = ["--tls-cert", tls[0], "--tls-key", tls[1]] if tls else []
        self.process = subprocess.Popen(
            [sys.executable, SERVER, "--root", root, "--port-file", self.port_file, "--max-seconds", "600", *extra],
            stdout=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while not os.path.exists(self.port_file):
            if time.monotonic() > deadline or self.process.poll() is not None:
                raise RuntimeError("the test server did not start")
            time.sleep(0.05)
        with open(self.port_file) as f:
            self.port = int(f.read())

    def url(self, path):
        return "%s://127.0.0.1:%d%s" % (self.scheme, self.port, path)

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


class TarnelTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for program in (TARNEL, SHIPPED_TARNEL, PROBE, RECORDER, TEST_KEY):
            if not os.path.exists(program):
                raise RuntimeError("missing %s: build the i686 tree first" % program)

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="varnic-tarnel-")
        self.install = os.path.join(self.scratch, "install")
        self.served = os.path.join(self.scratch, "served")
        os.makedirs(os.path.join(self.install, "temp"))
        os.makedirs(os.path.join(self.served, "update"))
        shutil.copy(TARNEL, os.path.join(self.install, "tarnel.exe"))
        self.write(self.install, "vr.ini", version_file("1.9"))
        self.write(self.install, "kelvo.exe", b"the old kelvo program")
        self.server = Server(self.served)
        self.tarnel = None

    def tearDown(self):
        if self.tarnel and self.tarnel.poll() is None:
            self.probe("close", CAPTION, check=False)
            try:
                self.tarnel.wait(20)
            except subprocess.TimeoutExpired:
                self.tarnel.kill()
        self.server.stop()
        shutil.rmtree(self.scratch, ignore_errors=True)

    # --- helpers ---

    @staticmethod
    def write(folder, name, data):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(os.path.join(self.install, name), "rb") as f:
            return f.read()

    def settings(self, version_path="/update/vr.ini", program_path="/update/kelvo.exe", local_program="\\kelvo.exe"):
        lines = [self.server.url(version_path), "\\temp\\vr.ini", self.server.url(program_path), local_program]
        self.write(self.install, "Upsetting.ini", ("\r\n".join(lines) + "\r\n").encode("ascii"))

    def publish(self, version, program, **signed_over):
        """Serves `program` (None: nothing) and its version file signed with the test key."""
        self.write(self.served, "update/vr.ini", signed_version_file(version, program or b"", **signed_over))
        if program is not None:
            self.write(self.served, "update/kelvo.exe", program)

    def probe(self, *args, check=True):
        # Output through a file, not a pipe: the first Wine program of a session may start the
        # prefix's services, which inherit its handles and would hold a pipe open.
        with tempfile.TemporaryFile() as output:
            result = subprocess.run(["wine", PROBE, *args], env=wine_environment(), stdout=output,
                                    stderr=subprocess.DEVNULL, timeout=120)
            output.seek(0)
            out = output.read().decode("utf-8", "replace").strip()
        if check:
            self.assertEqual(result.returncode, 0, "probe %s: %s" % (" ".join(args), out))
        last = out.splitlines()[-1] if out else ""
        return last[3:] if last.startswith("OK ") else last

    def start(self, trusted_bundle=None):
        command = ["wine", os.path.join(self.install, "tarnel.exe")]
        if trusted_bundle:
            # Wine trusts the host's CA bundle: tarnel alone sees one that includes the test
            # server's certificate, bind-mounted in a private mount namespace.
            command = ["unshare", "--mount", "--propagation", "private", "sh", "-c",
                       'mount --bind "$1" "$2" && exec "$3" "$4"', "sh", trusted_bundle, CA_BUNDLE, *command]
        self.tarnel = subprocess.Popen(command, env=wine_environment(), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        self.probe("wait-window", CAPTION, "60000")

    def close(self):
        self.probe("click", CAPTION, EXIT)
        self.probe("wait-gone", CAPTION, "30000")
        self.tarnel.wait(30)

    def check(self, installed, latest):
        self.probe("click", CAPTION, CHECK)
        self.probe("wait-text", CAPTION, LATEST, latest, "30000")
        self.assertEqual(self.probe("text", CAPTION, INSTALLED), installed)

    def wait_for_content(self, name, expected, seconds=30):
        """The version is recorded once "下载成功！" has been closed."""
        deadline = time.monotonic() + seconds
        while self.read(name) != expected and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertEqual(self.read(name), expected)

    def wait_for_file(self, path, seconds=30):
        deadline = time.monotonic() + seconds
        while not os.path.exists(path) or os.path.getsize(path) == 0:
            self.assertLess(time.monotonic(), deadline, "no " + path)
            time.sleep(0.1)

    # --- cases ---

    def test_check_then_update_installs_the_program_and_records_the_version(self):
        program = pattern(PROGRAM_SIZE)
        self.settings()
        self.publish("2.0", program)
        self.start()
        self.check("1.9", "2.0")
        with open(os.path.join(self.served, "update", "vr.ini"), "rb") as f:
            served = f.read()
        self.assertEqual(self.read("temp/vr.ini"), served)

        self.probe("click", CAPTION, UPDATE)
        self.assertEqual(self.probe("dialog", "提示", "60000"), "下载成功！")
        self.assertEqual(self.probe("text", CAPTION, COUNTER), "196,608/196,608")
        self.assertEqual(self.probe("text", CAPTION, BAR), "100")
        self.assertEqual(self.read("kelvo.exe"), program)
        self.wait_for_content("vr.ini", served)
        self.assertFalse(os.path.exists(os.path.join(self.install, "kelvo.exe.download")))

        # The new version now reads as installed: no newer one, "更新" stays disabled.
        self.check("2.0", "2.0")
        self.probe("click", CAPTION, UPDATE)
        self.probe("no-dialog", "提示", "2000")
        self.close()

    def test_an_older_or_equal_server_version_leaves_update_disabled(self):
        self.settings()
        self.publish("1.10", pattern(5000))
        self.start()
        self.check("1.9", "1.10")
        self.probe("click", CAPTION, UPDATE)
        self.probe("no-dialog", "提示", "2000")
        self.probe("no-dialog", "错误", "500")
        self.assertEqual(self.read("kelvo.exe"), b"the old kelvo program")
        self.close()

    def test_failed_downloads_keep_the_installed_program(self):
        cases = [
            ("/update/missing.exe", "服务器返回错误：HTTP 404"),
            ("/status/500", "服务器返回错误：HTTP 500"),
            ("/drop/3000/%d" % PROGRAM_SIZE, "下载"),
        ]
        self.publish("2.0", None, size=PROGRAM_SIZE, sha256=hashlib.sha256(pattern(PROGRAM_SIZE)).hexdigest())
        for program_path, message in cases:
            with self.subTest(program_path):
                self.settings(program_path=program_path)
                self.start()
                self.check("1.9", "2.0")
                self.probe("click", CAPTION, UPDATE)
                self.assertTrue(self.probe("dialog", "错误", "60000").startswith(message))
                self.probe("no-dialog", "提示", "1000")
                self.assertEqual(self.read("kelvo.exe"), b"the old kelvo program")
                self.assertEqual(self.read("vr.ini"), version_file("1.9"))
                self.assertFalse(os.path.exists(os.path.join(self.install, "kelvo.exe.download")))
                self.close()

    def test_a_program_that_does_not_match_its_digest_is_not_installed(self):
        self.settings()
        self.publish("2.0", pattern(4096), sha256="0" * 64)
        self.start()
        self.check("1.9", "2.0")
        self.probe("click", CAPTION, UPDATE)
        self.assertIn("SHA-256", self.probe("dialog", "错误", "60000"))
        self.assertEqual(self.read("kelvo.exe"), b"the old kelvo program")
        self.close()

    def test_version_files_not_signed_by_the_trusted_key_install_nothing(self):
        program = pattern(5000)
        good = signed_version_file("2.0", program)
        cases = [
            ("unsigned", version_file("2.0", "Size=5000\r\nSha256=%s\r\n" % hashlib.sha256(program).hexdigest()),
             "版本文件没有签名，已拒绝更新。"),
            ("version raised after signing", good.replace(b"Ver=2.0", b"Ver=3.0"), "版本文件签名无效，已拒绝更新。"),
            ("digest replaced after signing", good.replace(hashlib.sha256(program).hexdigest().encode(), b"0" * 64),
             "版本文件签名无效，已拒绝更新。"),
        ]
        self.settings()
        self.write(self.served, "update/kelvo.exe", program)
        self.start()
        for name, served, message in cases:
            with self.subTest(name):
                self.write(self.served, "update/vr.ini", served)
                self.probe("click", CAPTION, CHECK)
                self.assertEqual(self.probe("dialog", "错误", "60000"), message)
                self.assertEqual(self.probe("text", CAPTION, INSTALLED), "1.9")
                self.probe("click", CAPTION, UPDATE)
                self.probe("no-dialog", "提示", "1000")
                self.assertEqual(self.read("kelvo.exe"), b"the old kelvo program")
                self.assertEqual(self.read("vr.ini"), version_file("1.9"))
                self.assertFalse(os.path.exists(os.path.join(self.install, "temp", "vr.ini")))
        self.close()

    def test_the_shipped_tarnel_refuses_files_signed_with_the_test_key(self):
        shutil.copy(SHIPPED_TARNEL, os.path.join(self.install, "tarnel.exe"))
        self.settings()
        self.publish("2.0", pattern(5000))
        self.start()
        self.probe("click", CAPTION, CHECK)
        self.assertEqual(self.probe("dialog", "错误", "60000"), "版本文件签名无效，已拒绝更新。")
        self.probe("click", CAPTION, UPDATE)
        self.probe("no-dialog", "提示", "1000")
        self.assertEqual(self.read("kelvo.exe"), b"the old kelvo program")
        self.close()

    def test_a_release_signed_by_release_sign_installs(self):
        dist = os.path.join(self.scratch, "dist")
        os.makedirs(dist)
        program = pattern(70000)
        self.write(dist, "kelvo.exe", program)
        subprocess.run([RELEASE_SIGN, TEST_KEY, dist, "--version", "2.1", "--out", os.path.join(self.served, "update"),
                        "--any-key"], check=True, stdout=subprocess.DEVNULL)
        self.settings()
        self.start()
        self.check("1.9", "2.1")
        self.probe("click", CAPTION, UPDATE)
        self.assertEqual(self.probe("dialog", "提示", "60000"), "下载成功！")
        self.assertEqual(self.read("kelvo.exe"), program)
        with open(os.path.join(self.served, "update", "vr.ini"), "rb") as f:
            self.wait_for_content("vr.ini", f.read())
        self.close()

    def test_an_update_over_https_installs_from_a_trusted_server_only(self):
        if subprocess.run(["unshare", "--mount", "true"], stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("no private mount namespace here: Wine cannot be shown the test certificate")
        tls = os.path.join(self.scratch, "tls")
        os.makedirs(tls)
        cert, key, bundle = (os.path.join(tls, name) for name in ("cert.pem", "key.pem", "bundle.crt"))
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "2",
                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1",
                        "-addext", "extendedKeyUsage=serverAuth", "-keyout", key, "-out", cert], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(bundle, "wb") as out:
            for part in (CA_BUNDLE, cert):
                with open(part, "rb") as f:
                    out.write(f.read())
        self.server.stop()
        self.server = Server(self.served, tls=(cert, key))
        program = pattern(PROGRAM_SIZE)
        self.settings()
        self.publish("2.0", program)

        # Without the certificate trusted, nothing is fetched.
        self.start()
        self.probe("click", CAPTION, CHECK)
        self.assertEqual(self.probe("dialog", "错误", "60000"), "无法连接服务器")
        self.close()

        self.start(trusted_bundle=bundle)
        self.check("1.9", "2.0")
        self.probe("click", CAPTION, UPDATE)
        self.assertEqual(self.probe("dialog", "提示", "60000"), "下载成功！")
        self.assertEqual(self.read("kelvo.exe"), program)
        self.close()

    def test_closing_starts_kelvo_in_the_tray(self):
        shutil.copy(RECORDER, os.path.join(self.install, "kelvo.exe"))
        self.settings()
        self.start()
        self.close()
        log = os.path.join(self.install, "calls.log")
        self.wait_for_file(log)
        with open(log, "rb") as f:
            lines = f.read().decode("utf-8").splitlines()
        self.assertEqual(lines, ["kelvo.exe\t%s\\kelvo.exe -sendme\t2" % windows_path(self.install)])

    def test_closing_during_a_download_keeps_the_old_program_and_starts_it(self):
        shutil.copy(RECORDER, os.path.join(self.install, "kelvo.exe"))
        original = self.read("kelvo.exe")
        self.settings(program_path="/drip/%d?chunk=1024&delay=20" % PROGRAM_SIZE)
        self.publish("2.0", None, size=PROGRAM_SIZE, sha256=hashlib.sha256(pattern(PROGRAM_SIZE)).hexdigest())
        self.start()
        self.check("1.9", "2.0")
        # Both presses are queued at once: "退出" arrives while the download yields.
        self.probe("click", CAPTION, UPDATE, "--", "click", CAPTION, EXIT)
        self.probe("wait-gone", CAPTION, "30000")
        self.tarnel.wait(30)
        self.assertEqual(self.read("kelvo.exe"), original)
        self.assertFalse(os.path.exists(os.path.join(self.install, "kelvo.exe.download")))
        log = os.path.join(self.install, "calls.log")
        self.wait_for_file(log)
        with open(log, "rb") as f:
            self.assertEqual(len(f.read().decode("utf-8").splitlines()), 1)

    def test_a_missing_settings_file_is_reported_and_the_window_stays_usable(self):
        self.start()
        self.assertEqual(self.probe("dialog", "Varnic", "30000"),
                         "加载在线更新配置文件错误！请恢复此文件或重新安装程序！")
        self.probe("click", CAPTION, CHECK)
        self.assertEqual(self.probe("dialog", "错误", "60000"), "无法连接服务器")
        self.probe("click", CAPTION, OPTION2)
        self.close()


class ReleaseSignTest(unittest.TestCase):
    """./x release-sign on its own: what it writes and what it refuses."""

    def setUp(self):
        if not os.path.exists(TEST_KEY):
            raise RuntimeError("missing %s: build the i686 tree first" % TEST_KEY)
        self.scratch = tempfile.mkdtemp(prefix="varnic-release-sign-")
        self.dist = os.path.join(self.scratch, "dist")
        os.makedirs(self.dist)
        self.program = pattern(3000)
        with open(os.path.join(self.dist, "kelvo.exe"), "wb") as f:
            f.write(self.program)

    def tearDown(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def sign(self, *args):
        return subprocess.run([RELEASE_SIGN, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def test_the_signature_covers_the_canonical_message(self):
        self.assertEqual(self.sign(TEST_KEY, self.dist, "--version", "2.0 beta", "--any-key").returncode, 0)
        with open(os.path.join(self.dist, "update", "vr.ini"), "rb") as f:
            lines = f.read().decode("ascii").split("\r\n")
        self.assertEqual(lines[:4], ["[Ver]", "Ver=2.0 beta", "Size=3000",
                                     "Sha256=" + hashlib.sha256(self.program).hexdigest()])
        self.assertTrue(lines[4].startswith("Signature=") and lines[5:] == [""])
        with open(os.path.join(self.dist, "update", "kelvo.exe"), "rb") as f:
            self.assertEqual(f.read(), self.program)
        public, sig = os.path.join(self.scratch, "public.pem"), os.path.join(self.scratch, "sig")
        subprocess.run(["openssl", "rsa", "-in", TEST_KEY, "-pubout", "-out", public], check=True,
                       stderr=subprocess.DEVNULL)
        with open(sig, "wb") as f:
            f.write(base64.b64decode(lines[4][len("Signature="):]))
        message = ("Varnic update\nVer=2.0 beta\nSize=3000\nSha256=%s\n"
                   % hashlib.sha256(self.program).hexdigest()).encode("ascii")
        verify = subprocess.run(["openssl", "dgst", "-sha256", "-verify", public, "-signature", sig], input=message,
                                stdout=subprocess.PIPE)
        self.assertEqual(verify.returncode, 0, verify.stdout)

    def test_a_key_other_than_the_release_key_needs_any_key(self):
        result = self.sign(TEST_KEY, self.dist)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(b"release key", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.dist, "update", "vr.ini")))

    def test_versions_that_would_not_read_back_are_refused(self):
        for version in (" 2.0", "2.0 ", "\"2.0\"", "2.0;x", "", "9" * 50):
            with self.subTest(version=version):
                self.assertNotEqual(self.sign(TEST_KEY, self.dist, "--version", version, "--any-key").returncode, 0)
                self.assertFalse(os.path.exists(os.path.join(self.dist, "update", "vr.ini")))

    def test_the_key_header_holds_the_public_key_blob(self):
        header = self.sign("--key-header", TEST_KEY).stdout.decode("ascii")
        blob = subprocess.run(["openssl", "rsa", "-in", TEST_KEY, "-pubout", "-outform", "MSBLOB"], check=True,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        values = bytes(int(h, 16) for h in re.findall(r"0x([0-9a-f]{2})", header.split("{", 1)[1]))
        self.assertEqual(values[:4] + values[6:], blob[:4] + blob[6:])
        self.assertEqual(values[4:6], b"\x00\x24")  # CALG_RSA_SIGN
        self.assertIn("kReleasePublicKey", header)


if __name__ == "__main__":
    unittest.main(verbosity=2)
