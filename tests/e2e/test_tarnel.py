"""tarnel_testkey.exe (tarnel trusting the build tree's test key) under Wine against http_server.py;
the installed kelvo.exe is the command recorder, which logs how tarnel starts it."""
import pathlib, re, subprocess, sys, tempfile, unittest

from harness import APPS, HELPERS, SOURCE, WineTestCase, control_ids

KEYS, CAPTION, KELVO = HELPERS / "test-release-key", "Varnic 在线更新", (HELPERS / "command_recorder.exe").read_bytes()
CHECK, UPDATE, EXIT, INSTALLED, LATEST, COUNTER = (control_ids("updater/win32/updater_ids.h")["Updater" + name] for name in (
    "Command2", "Command1", "Command3", "Label4", "Label5", "L"))


def signed(version, program, any_key=True):  # the version file of a release, as ./x release-sign makes it
    with tempfile.TemporaryDirectory(prefix="varnic-sign-") as folder:
        pathlib.Path(folder, "kelvo.exe").write_bytes(program)
        subprocess.run([SOURCE / "tools/x-release-sign", KEYS / "test-release-key.pem", folder, "--version", version]
                       + ["--any-key"] * any_key, capture_output=True, check=True)
        return pathlib.Path(folder, "update", "vr.ini").read_bytes()


class Tarnel(WineTestCase):
    def install(self, version_file, program, program_path="/update/kelvo.exe", tls=None):  # over version 1.9
        self.s, served = self.session.install(recorders=("kelvo",)), self.session.folder / "served"
        for name, data in (("vr.ini", b"[Ver]\r\nVer=1.9\r\n"), ("tarnel.exe", (HELPERS / "tarnel_testkey.exe").read_bytes()),
                           ("served/update/vr.ini", version_file), ("served/update/kelvo.exe", program)):
            self.s.write(name, data)
        port_file = served / ("port-%s" % tls)
        tls_files = ["--tls-cert", str(KEYS / (tls + ".pem")), "--tls-key", str(KEYS / (tls + "-key.pem"))] if tls else []
        server = subprocess.Popen([sys.executable, str(SOURCE / "tests/e2e/http_server.py"), "--root", str(served),
                                   "--port-file", str(port_file), *tls_files], stdout=subprocess.DEVNULL)
        self.addCleanup(server.wait, 10)
        self.addCleanup(port_file.unlink)
        url = "%s://127.0.0.1:%s" % ("https" if tls else "http",
                                     self.s.wait_for(lambda: port_file.exists() and port_file.read_text().strip(), what="the port"))
        self.s.write("Upsetting.ini", "%s/update/vr.ini\r\n\\temp\\vr.ini\r\n%s%s\r\n\\kelvo.exe\r\n" % (url, url, program_path))

    def start(self, *wrapper):
        self.s.started.append(subprocess.Popen([*wrapper, "wine", str(self.s.folder / "tarnel.exe")], env=self.s.env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.s.probe(("wait-visible", CAPTION, 60000))

    def update(self, latest, program):
        self.s.probe(("click", CAPTION, CHECK), ("wait-text", CAPTION, LATEST, latest, 30000), ("click", CAPTION, UPDATE))
        self.assertEqual(self.s.probe(("dialog", "提示", 60000))[0], "下载成功！")
        self.assertEqual(self.s.read("kelvo.exe"), program)
        self.s.wait_for(lambda: self.s.exists("vr.ini") and self.s.read("vr.ini") == self.s.read("served/update/vr.ini"),
                        what="the version recorded")

    def exit_starts_kelvo(self):
        self.s.probe(("click", CAPTION, EXIT), ("wait-gone", CAPTION, 30000))
        folder = "Z:" + str(self.s.folder).replace("/", "\\")
        self.assertEqual(self.s.wait_for(self.s.calls, what="kelvo's start"), [("kelvo.exe", folder + "\\kelvo.exe -sendme", 2)])

    def test_an_update_installs_the_signed_program_exit_starts_it_and_the_shipped_tarnel_refuses_the_test_key(self):
        program = KELVO + b"\0" * 4096  # a new release that still records its start
        self.install(signed("1.5", program), program)
        (self.s.folder / "vr.ini").unlink()  # even so, nothing older than tarnel itself is offered
        self.start()
        self.s.probe(("click", CAPTION, CHECK), ("wait-text", CAPTION, LATEST, "1.5", 30000))
        self.assertEqual(self.s.probe(("enabled", CAPTION, UPDATE)), ["0"])
        self.s.write("served/update/vr.ini", signed("2.0", program))
        self.update("2.0", program)
        self.assertEqual(self.s.probe(("text", CAPTION, COUNTER), ("enabled", CAPTION, UPDATE)), ["{0:,}/{0:,}".format(len(program)), "0"])
        self.exit_starts_kelvo()
        self.s.write("tarnel.exe", (APPS / "tarnel.exe").read_bytes())  # the shipped tarnel trusts the release key alone
        self.start()
        self.s.probe(("click", CAPTION, CHECK))
        self.assertEqual(self.s.probe(("dialog", "错误", 60000))[0], "版本文件签名无效，已拒绝更新。")
        self.assertEqual(self.s.probe(("text", CAPTION, INSTALLED), ("text", CAPTION, LATEST)), ["2.0", ""])

    def test_https_needs_a_certificate_the_system_trusts_for_that_name(self):
        program = b"a new kelvo over https"
        # Wine keeps trusting a certificate it was once shown as trusted: this one never is.
        self.install(signed("2.0", program), program, tls="untrusted")
        self.start()
        self.s.probe(("click", CAPTION, CHECK))
        self.assertEqual(self.s.probe(("dialog", "错误", 60000))[0], "无法连接服务器")
        self.s.probe(("click", CAPTION, EXIT), ("wait-gone", CAPTION, 30000))
        if subprocess.run(["unshare", "--mount", "true"], stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("no private mount namespace here: Wine cannot be shown the test certificate")
        self.install(signed("2.0", program), program, tls="trusted")
        # Wine trusts the host's CA bundle: tarnel alone sees one with the certificate, bind-mounted over it.
        bundle, host = self.s.folder / "bundle.crt", pathlib.Path("/etc/ssl/certs/ca-certificates.crt")
        bundle.write_bytes(host.read_bytes() + (KEYS / "trusted.pem").read_bytes())
        self.start("unshare", "--mount", "--propagation", "private", "sh", "-c",
                   'mount --bind "$1" "$2" && shift 2 && exec "$@"', "sh", bundle, host)
        self.update("2.0", program)

    def test_a_dripping_server_leaves_the_window_usable_and_exit_ends_the_transfer(self):
        program = bytes(range(256)) * 80
        self.install(signed("2.0", program), program, program_path="/bytes/20480?chunk=1024&delay=1000")
        self.start()
        self.s.probe(("click", CAPTION, CHECK), ("wait-text", CAPTION, LATEST, "2.0", 30000), ("click", CAPTION, UPDATE))
        counter = lambda: self.s.probe(("text", CAPTION, COUNTER))[0]
        self.s.wait_for(lambda: re.fullmatch(r"[1-9][\d,]*/20,480", text := counter()) and text != "20,480/20,480",
                        what="the counter to move during the transfer")
        self.exit_starts_kelvo()
        self.assertEqual((self.s.read("kelvo.exe"), self.s.exists("kelvo.exe.download")), (KELVO, False))


class ReleaseSign(unittest.TestCase):
    def test_release_sign_refuses_a_version_that_reads_otherwise_than_it_looks_and_keys_tarnel_refuses(self):
        for version in ("1.10", "1.9.5", "2.00", "v2.0", "1e3", " 2.0", "2.0;x", "", "9" * 50):
            with self.assertRaises(subprocess.CalledProcessError, msg=version):
                signed(version, b"")
        for version in ("2", "2.0", "1.91 beta"):
            self.assertIn(("\r\nVer=%s\r\n" % version).encode(), signed(version, b""))
        self.assertRaises(subprocess.CalledProcessError, signed, "2.0", b"", any_key=False)  # not the release key


if __name__ == "__main__":
    unittest.main(verbosity=2)
