"""The release that tools/x-package made in dist/release: its files, reproducible and signed, its
manifests, what Windows XP needs, and the installers under Wine (as the end-to-end tests run)."""
import hashlib
import itertools
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time
import unittest
import zipfile

import yaml

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path[:0] = [str(ROOT / "tests" / "e2e"), str(ROOT / "tools")]

import check_xp_imports  # noqa: E402
import harness  # noqa: E402
import kelvo  # noqa: E402

RELEASE, SCRATCH, SIGNED = ROOT / "dist/release", ROOT / "build/package-test", ROOT / "build/package-test/signed"
PROJECT = (ROOT / "CMakeLists.txt").read_text()
VERSION = re.search(r"project\(Varnic VERSION ([0-9.]+)", PROJECT)[1]
STAGE = re.search(r'set\(VARNIC_STAGE "(\w*)"\)', PROJECT)[1]
TEXT = f"{VERSION} {STAGE}".strip()
NAME = TEXT.replace(" ", "-")  # in file names: Varnic-1.9-BETA5-win32.zip
SETTINGS = dict(re.findall(r"^(\w+)=(.*)$", (ROOT / "installer/release.conf").read_text(), re.M))
ARCHES = {"win32": ("i686-w64-mingw32", 0x14C, "x86", "32bit"), "win64": ("x86_64-w64-mingw32", 0x8664, "x64", "64bit")}
PROGRAMS = ("kelvo.exe", "tarnel.exe", "empty.exe")
FOLDER = {"kelvo.exe", "tarnel.exe", "empty.exe", "help.txt", "help-en.txt", "Upsetting.ini", "vr.ini", "temp/"}
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnic"
START_MENU = "*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Varnic"
MAIN = "class:VarnicMainWindow"  # kelvo in the display language: its caption in Chinese or English
VERIFY = ("osslsigncode", "verify", "-CAfile", str(SCRATCH / "cert.pem"))  # fails on a missing or bad signature


def run(*command, **options):
    return subprocess.run(command, check=True, capture_output=True, text=True, **options).stdout


def sha256(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


def setUpModule():  # the release again, signed with a certificate made for this run
    shutil.rmtree(SCRATCH, ignore_errors=True)
    SCRATCH.mkdir(parents=True)
    env = dict(os.environ, VARNIC_SIGN_PASSWORD="throwaway password")
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Varnic test",
        "-keyout", "key.pem", "-out", "cert.pem", cwd=SCRATCH)
    run("openssl", "pkcs12", "-export", "-inkey", "key.pem", "-in", "cert.pem", "-out", "test.pfx",
        "-passout", "env:VARNIC_SIGN_PASSWORD", cwd=SCRATCH, env=env)
    run(str(ROOT / "tools/x-package"), "--no-build", "--sign", str(SCRATCH / "test.pfx"), "--out", str(SIGNED), env=env)


class Packages(unittest.TestCase):
    def test_each_zip_holds_the_installation_folder_in_order_with_the_commits_time(self):
        stamp = int(run("git", "-C", str(ROOT), "log", "-1", "--format=%ct"))
        commit = time.gmtime(stamp + stamp % 2)[:6]  # to the two seconds of the format, rounded up
        for arch, (_, machine, _, _) in ARCHES.items():
            with self.subTest(arch), zipfile.ZipFile(RELEASE / f"Varnic-{NAME}-{arch}.zip") as archive:
                self.assertEqual(archive.namelist(), sorted({"Varnic/"} | {"Varnic/" + name for name in FOLDER}))
                self.assertEqual({entry.date_time for entry in archive.infolist()}, {commit})
                self.assertEqual(archive.read("Varnic/vr.ini"), f"[Ver]\r\nVer={VERSION}\r\n".encode())
                for name in ("help.txt", "help-en.txt", "Upsetting.ini"):
                    self.assertEqual(archive.read("Varnic/" + name), next(ROOT.glob("apps/*/" + name)).read_bytes())
                for name in PROGRAMS:  # the folder beside the packages is what they hold
                    self.assertTrue(archive.read("Varnic/" + name) == (RELEASE / arch / name).read_bytes(), name)
                    self.assertEqual(check_xp_imports.machine_of(RELEASE / arch / name), machine, name)

    def test_the_checksums_cover_every_file_of_the_release(self):
        for release in (RELEASE, SIGNED):
            lines = (release / f"Varnic-{NAME}-SHA256SUMS.txt").read_text().splitlines()
            sums = dict(reversed(line.split("  ", 1)) for line in lines)
            files = {str(path.relative_to(release)) for path in release.rglob("*") if path.is_file()}
            self.assertEqual(set(sums) | {f"Varnic-{NAME}-SHA256SUMS.txt"}, files)
            for name, digest in sums.items():
                self.assertEqual(sha256(release / name), digest, name)

    def test_every_program_carries_its_version_and_manifest(self):
        numbers = ", ".join(VERSION.split(".") + ["0", re.sub(r"\D", "", STAGE) or "0"])
        for (arch, (triplet, *_)), program in itertools.product(ARCHES.items(), PROGRAMS):
            with self.subTest(arch=arch, program=program):
                rc = run(f"{triplet}-windres", "-i", str(RELEASE / arch / program), "-O", "rc")
                self.assertIn(f"FILEVERSION {numbers}", rc)
                for key, value in (("ProductName", "Varnic"), ("ProductVersion", TEXT), ("OriginalFilename", program)):
                    self.assertRegex(rc, rf'VALUE "{key}", L?"{re.escape(value)}"')
                manifest = "".join(re.findall(r'^\s*"(.*)\\n"$', rc.split("RT_MANIFEST", 1)[1], re.M))
                for needle in ('name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""', 'level=""asInvoker""',
                               "<dpiAware", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"):
                    self.assertIn(needle, manifest)

    def test_the_manifests_name_the_packages_with_their_hashes(self):
        url = SETTINGS["download_base"].replace("{version}", NAME) + f"/Varnic-{NAME}-"
        folder = RELEASE / f"winget/manifests/v/Varnic/Varnic/{NAME}"
        winget = {kind: yaml.safe_load((folder / f"Varnic.Varnic{name}.yaml").read_text(encoding="utf-8"))
                  for kind, name in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.zh-CN"))}
        for kind, manifest in winget.items():
            self.assertEqual([manifest[key] for key in ("PackageIdentifier", "PackageVersion", "ManifestType",
                                                        "ManifestVersion")], ["Varnic.Varnic", NAME, kind, "1.6.0"])
        installer, scoop = winget["installer"], json.loads((RELEASE / "scoop/varnic.json").read_text(encoding="utf-8"))
        self.assertEqual([installer["InstallerType"], installer["Scope"], winget["version"]["DefaultLocale"],
                          scoop["version"]], ["nullsoft", "user", winget["defaultLocale"]["PackageLocale"], NAME])
        for arch, (_, _, winget_arch, scoop_arch) in ARCHES.items():
            entry = next(entry for entry in installer["Installers"] if entry["Architecture"] == winget_arch)
            self.assertEqual([entry["InstallerUrl"], entry["InstallerSha256"].lower()],
                             [f"{url}{arch}-setup.exe", sha256(RELEASE / f"Varnic-{NAME}-{arch}-setup.exe")])
            self.assertEqual(scoop["architecture"][scoop_arch],
                             {"url": f"{url}{arch}.zip", "hash": sha256(RELEASE / f"Varnic-{NAME}-{arch}.zip")})
        listed = {scoop["extract_dir"] + "/" + name for name in scoop["bin"] + [link[0] for link in scoop["shortcuts"]]}
        self.assertLessEqual(listed, set(zipfile.ZipFile(RELEASE / f"Varnic-{NAME}-win32.zip").namelist()))

    def test_the_signed_programs_and_installers_verify(self):
        for arch, name in itertools.product(ARCHES, PROGRAMS + ("setup",)):
            run(*VERIFY, str(SIGNED / f"Varnic-{NAME}-{arch}-setup.exe" if name == "setup" else SIGNED / arch / name))


class Reproducible(unittest.TestCase):
    def test_a_second_build_tree_at_another_path_gives_the_same_programs(self):
        # Programs only, without ccache (it could hand back the first tree's objects); kept for warm runs.
        tree = ROOT / "build/second build tree of mingw-i686"
        env = {name: value for name, value in os.environ.items() if "COMPILER_LAUNCHER" not in name}
        if not (tree / "build.ninja").exists():
            run("cmake", "-S", str(ROOT), "-B", str(tree), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                f"-DCMAKE_TOOLCHAIN_FILE={ROOT}/cmake/toolchain-i686-w64-mingw32.cmake", env=env)
        run("cmake", "--build", str(tree), "--target", "kelvo", "tarnel", "empty", env=dict(env, CCACHE_DISABLE="1"))
        for name in PROGRAMS + ("vr.ini",):
            self.assertTrue((tree / "apps" / name).read_bytes() == (ROOT / "dist/win32" / name).read_bytes(), name)

    def test_packing_again_later_elsewhere_gives_the_same_release(self):
        # Later (after the signed packing), elsewhere, another umask: other times, paths, permissions.
        again = SCRATCH / "packed again"
        run(str(ROOT / "tools/x-package"), "--no-build", "--out", str(again), preexec_fn=lambda: os.umask(0o027))
        sums = f"Varnic-{NAME}-SHA256SUMS.txt"  # of every file of the release (the test above)
        self.assertEqual((again / sums).read_text(), (RELEASE / sums).read_text())


class WindowsXp(unittest.TestCase):
    def test_the_check_names_what_windows_xp_cannot_load(self):
        cases = (("i686-w64-mingw32", [], "kernel32.dll!GetTickCount64: not exported by Windows XP SP3's kernel32.dll"),
                 ("i686-w64-mingw32", ["-Wl,--major-subsystem-version,6"], "requires Subsystem version 6.0"),
                 ("i686-w64-mingw32", [], "dwmapi.dll is not known to exist on Windows XP SP3"),
                 ("x86_64-w64-mingw32", [], "not a 32-bit Windows program"))
        source = SCRATCH / "vista.c"
        source.write_text("#include <windows.h>\n#include <dwmapi.h>\nint main(int argc, char** argv) {\n"
                          "  BOOL on = FALSE; (void)argv; if (argc > 5) DwmIsCompositionEnabled(&on);\n"
                          "  return (int)GetTickCount64() + on; }\n")
        for number, (triplet, flags, expected) in enumerate(cases):
            with self.subTest(expected):
                program = SCRATCH / f"sample{number}.exe"
                run(f"{triplet}-gcc", "-D_WIN32_WINNT=0x0600", "-o", str(program), str(source), *flags, "-ldwmapi")
                found = check_xp_imports.problems_of(program, check_xp_imports.load_exports())
                self.assertTrue(any(expected in problem for problem in found), found)

    def test_the_replacement_of_get_tick_count_64_counts_milliseconds_under_wine(self):
        source, shim, program = (SCRATCH / name for name in ("ticks.c", "shim.o", "ticks.exe"))
        source.write_text("#include <windows.h>\n#include <stdio.h>\nint main(void) {\n"
                          "  ULONGLONG before = GetTickCount64(); Sleep(300);\n"
                          "  printf(\"%llu %lu\\n\", GetTickCount64() - before, GetTickCount()); return 0; }\n")
        run("i686-w64-mingw32-g++", "-std=c++20", "-c", "-o", str(shim), str(ROOT / "apps/common/xp_tick_count.cpp"))
        run("i686-w64-mingw32-gcc", "-D_WIN32_WINNT=0x0600", "-o", str(program), str(source), str(shim))
        elapsed, now = map(int, run("wine", str(program), env=harness.wine_env(), timeout=60).split())
        self.assertTrue(250 <= elapsed < 5000 and now > 0, (elapsed, now))


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def registry_value(env, key, name):
    """The string value as `reg export` writes it (in UTF-16: any language), or None when there is none."""
    file = SCRATCH / "exported.reg"
    file.unlink(missing_ok=True)
    subprocess.run(["wine", "reg", "export", key, windows_path(file), "/y"], env=env, capture_output=True, timeout=60)
    found = re.search(rf'^"{name}"="(.*)"$', file.read_text(encoding="utf-16") if file.exists() else "", re.M)
    return found and re.sub(r"\\(.)", r"\1", found[1])


class Installer(harness.WineTestCase):
    def setUp(self):
        super().setUp()
        # Wine's menu builder reads the shortcuts' programs at its own pace: the uninstaller could not remove them.
        self.session.env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"
        self.target = self.session.folder / "Varnic"
        self.users = pathlib.Path(self.session.env["WINEPREFIX"]) / "drive_c/users"
        self.wine("reg", "delete", RUN_KEY, "/v", "Varnic", "/f", check=False)  # what a failed run left
        shutil.rmtree(next(self.users.glob(START_MENU), SCRATCH / "no such folder"), ignore_errors=True)

    def wine(self, program, *args, check=True):  # no pipes: Wine's services would hold them open
        subprocess.run(["wine", str(program), *args], env=self.session.env, check=check, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def install(self, release, arch, *options):
        self.wine(release / f"Varnic-{NAME}-{arch}-setup.exe", "/S", *options, "/D=" + windows_path(self.target))
        self.assertEqual({path.name + "/" * path.is_dir() for path in self.target.iterdir()},
                         FOLDER | {"uninstall.exe"})
        self.assertEqual((self.target / "vr.ini").read_bytes(), f"[Ver]\r\nVer={VERSION}\r\n".encode())
        self.assertEqual(check_xp_imports.machine_of(self.target / "kelvo.exe"), ARCHES[arch][1])
        self.assertEqual(sorted(path.name for path in self.users.glob(START_MENU + "/*")),
                         ["Varnic 帮助.lnk", "Varnic.lnk", "卸载 Varnic.lnk"])
        winget = yaml.safe_load(next(RELEASE.glob("winget/**/*.installer.yaml")).read_text(encoding="utf-8"))
        entry = dict(winget["AppsAndFeaturesEntries"][0], InstallLocation=windows_path(self.target))
        for name, value in entry.items():  # what winget finds the installation by
            if name != "ProductCode":
                self.assertEqual(registry_value(self.session.env, UNINSTALL_KEY, name), value, name)

    def uninstall(self, *user_files):
        # As the uninstaller would (copy itself away, start the copy with _?=), to wait for the copy itself.
        (self.target / "temp/vr.ini").write_bytes(b"[Ver]\r\nVer=2.0\r\n")  # an update's leftover goes too
        shutil.copy(self.target / "uninstall.exe", copy := self.session.folder / "uninstall-copy.exe")
        self.wine(copy, "/S", "_?=" + windows_path(self.target))
        self.assertEqual(sorted(path.name for path in self.target.glob("*")), sorted(user_files))
        self.assertEqual(self.target.exists(), bool(user_files))  # an empty folder goes
        self.assertIsNone(registry_value(self.session.env, RUN_KEY, "Varnic"))
        self.assertIsNone(registry_value(self.session.env, UNINSTALL_KEY, "DisplayName"))
        self.assertEqual(list(self.users.glob(START_MENU)), [])

    def test_installing_over_any_version_and_again_after_uninstalling_runs_kelvo_from_the_folder(self):
        s = self.session
        self.install(RELEASE, "win32")
        edited = b"http://updates.example/\r\n"  # the user's update server; a newer version was installed
        (self.target / "Upsetting.ini").write_bytes(edited)
        (self.target / "kelvo.exe").write_bytes(b"newer")
        (self.target / "vr.ini").write_bytes(b"[Ver]\r\nVer=2.0\r\n")
        self.install(RELEASE, "win32")  # its programs and its version again
        self.assertEqual((self.target / "Upsetting.ini").read_bytes(), edited)
        self.uninstall()
        self.install(RELEASE, "win32", "/AUTORUN")
        self.assertEqual(registry_value(s.env, RUN_KEY, "Varnic"), f'"{windows_path(self.target)}\\kelvo.exe" -sendme')
        running = s.start("Varnic/kelvo.exe")
        s.probe(("wait-visible", MAIN, 30000))
        s.wait_for(lambda: (self.target / "Setting.ini").exists(), what="Setting.ini in the installation folder")
        s.probe(("command", MAIN, kelvo.MENU["exitt"]), ("wait-gone", MAIN, 20000))
        running.wait(timeout=60)  # the process ends after its window: until then its program cannot go
        self.uninstall("Setting.ini", "AllRule.ini")

    def test_the_signed_uninstaller_ends_a_running_kelvo_before_removing_it(self):
        s = self.session
        self.install(SIGNED, "win64")
        self.assertIsNone(registry_value(s.env, RUN_KEY, "Varnic"))  # not chosen: off by default
        run(*VERIFY, str(self.target / "uninstall.exe"))  # made at installation from what makensis signed
        s.start("Varnic/kelvo.exe", "-sendme")
        s.probe(("wait-window", MAIN, 30000))
        s.wait_for(lambda: (self.target / "AllRule.ini").exists(), what="the rule file")
        self.uninstall("Setting.ini", "AllRule.ini")
        s.probe(("wait-gone", MAIN, 20000))


if __name__ == "__main__":
    unittest.main(verbosity=2)
