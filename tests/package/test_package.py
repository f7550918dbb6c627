"""The release packages: what the ZIPs hold, what the programs declare, that the 32-bit programs
load on Windows XP SP3, and the installer and uninstaller under Wine.

Reads the packages that tools/x-package made in $VARNIC_DIST (dist/ by default). The Wine tests
use $WINEPREFIX, ui_probe.exe from $VARNIC_BUILD (the 32-bit build tree) and the X display of
$DISPLAY, as the end-to-end tests do.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(HERE))

import check_xp_imports  # noqa: E402
import harness  # noqa: E402
import kelvo  # noqa: E402

DIST = pathlib.Path(os.environ.get("VARNIC_DIST", ROOT / "dist"))
VERSION = "1.9-BETA5"
ARCHES = {"win32": ("i686-w64-mingw32", 0x14C), "win64": ("x86_64-w64-mingw32", 0x8664)}
PROGRAMS = ("kelvo.exe", "tarnel.exe", "empty.exe")
FOLDER_FILES = {"kelvo.exe", "tarnel.exe", "empty.exe", "help.txt", "Upsetting.ini", "temp/"}
USER_FILES = ("Setting.ini", "AllRule.ini", "vr.ini")
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnic"


def zip_path(arch):
    return DIST / f"Varnic-{VERSION}-{arch}.zip"


def setup_path(arch):
    return DIST / f"Varnic-{VERSION}-{arch}-setup.exe"


def pe_machine(data):
    with tempfile.NamedTemporaryFile() as file:
        file.write(data)
        file.flush()
        return check_xp_imports.machine_of(file.name)


def extract(arch, into):
    with zipfile.ZipFile(zip_path(arch)) as archive:
        archive.extractall(into)
    return pathlib.Path(into) / "Varnic"


def resources_as_rc(triplet, program):
    """The program's resources as windres writes them back in .rc form."""
    return subprocess.run([f"{triplet}-windres", "-i", str(program), "-O", "rc"], check=True,
                          capture_output=True, text=True).stdout


class Zips(unittest.TestCase):
    def test_each_zip_holds_exactly_the_installation_folder(self):
        for arch, (_, machine) in ARCHES.items():
            with self.subTest(arch=arch), zipfile.ZipFile(zip_path(arch)) as archive:
                names = set(archive.namelist())
                self.assertEqual(names, {"Varnic/"} | {"Varnic/" + name for name in FOLDER_FILES})
                for program in PROGRAMS:
                    self.assertEqual(pe_machine(archive.read("Varnic/" + program)), machine, program)
                self.assertEqual(archive.read("Varnic/help.txt"), (ROOT / "apps/kelvo/help.txt").read_bytes())
                self.assertEqual(archive.read("Varnic/Upsetting.ini"),
                                 (ROOT / "apps/tarnel/Upsetting.ini").read_bytes())
                self.assertTrue(archive.getinfo("Varnic/temp/").is_dir())

    def test_the_checksum_file_matches_the_packages(self):
        import hashlib
        lines = (DIST / f"Varnic-{VERSION}-SHA256SUMS.txt").read_text().splitlines()
        sums = dict(reversed(line.split("  ", 1)) for line in lines)
        self.assertEqual(set(sums), {p.name for arch in ARCHES for p in (zip_path(arch), setup_path(arch))})
        for name, digest in sums.items():
            self.assertEqual(hashlib.sha256((DIST / name).read_bytes()).hexdigest(), digest, name)


class ProgramResources(unittest.TestCase):
    def test_every_program_carries_its_version_and_manifest(self):
        for arch, (triplet, _) in ARCHES.items():
            with tempfile.TemporaryDirectory() as scratch:
                folder = extract(arch, scratch)
                for program in PROGRAMS:
                    with self.subTest(arch=arch, program=program):
                        rc = resources_as_rc(triplet, folder / program)
                        self.assertIn("FILEVERSION 1, 9, 0, 5", rc)
                        for key, value in (("ProductName", "Varnic"), ("ProductVersion", "1.9 BETA5"),
                                           ("OriginalFilename", program)):
                            self.assertRegex(rc, rf'VALUE "{key}", L?"{re.escape(value)}"')
                        manifest = "".join(re.findall(r'^\s*"(.*)\\n"$', rc.split("RT_MANIFEST", 1)[1], re.M))
                        for needle in ('name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""',
                                       'level=""asInvoker""', "<dpiAware", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                                       "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"):
                            self.assertIn(needle, manifest)


class WindowsXpImports(unittest.TestCase):
    def test_the_32_bit_programs_import_only_what_windows_xp_sp3_exports(self):
        exports = check_xp_imports.load_exports()
        with tempfile.TemporaryDirectory() as scratch:
            folder = extract("win32", scratch)
            for program in PROGRAMS:
                with self.subTest(program=program):
                    self.assertEqual(check_xp_imports.problems_of(folder / program, exports), [])

    def test_the_check_names_what_windows_xp_cannot_load(self):
        exports = check_xp_imports.load_exports()
        cases = (
            ("i686-w64-mingw32", [], "kernel32.dll!GetTickCount64: not exported by Windows XP SP3's kernel32.dll"),
            ("i686-w64-mingw32", ["-Wl,--major-subsystem-version,6"], "requires Subsystem version 6.0"),
            ("i686-w64-mingw32", [], "dwmapi.dll is not known to exist on Windows XP SP3"),
            ("x86_64-w64-mingw32", [], "not a 32-bit Windows program"),
        )
        with tempfile.TemporaryDirectory() as scratch:
            source = pathlib.Path(scratch) / "vista.c"
            source.write_text("#include <windows.h>\n#include <dwmapi.h>\n"
                              "int main(int argc, char** argv) { BOOL on = FALSE; (void)argv;\n"
                              "  if (argc > 5) DwmIsCompositionEnabled(&on);\n"
                              "  return (int)GetTickCount64() + on; }\n")
            for number, (triplet, flags, expected) in enumerate(cases):
                with self.subTest(expected=expected):
                    program = pathlib.Path(scratch) / f"sample{number}.exe"
                    subprocess.run([f"{triplet}-gcc", "-D_WIN32_WINNT=0x0600", "-o", str(program), str(source),
                                    *flags, "-ldwmapi"], check=True)
                    found = check_xp_imports.problems_of(program, exports)
                    self.assertTrue(any(expected in problem for problem in found), found)

    def test_the_replacement_of_get_tick_count_64_counts_milliseconds_under_wine(self):
        with tempfile.TemporaryDirectory() as scratch:
            source = pathlib.Path(scratch) / "ticks.c"
            source.write_text(
                "#include <windows.h>\n#include <stdio.h>\n"
                "int main(void) { ULONGLONG before = GetTickCount64(); Sleep(300);\n"
                "  printf(\"%llu %lu\\n\", GetTickCount64() - before, GetTickCount()); return 0; }\n")
            shim = pathlib.Path(scratch) / "shim.o"
            program = pathlib.Path(scratch) / "ticks.exe"
            subprocess.run(["i686-w64-mingw32-g++", "-std=c++20", "-c", "-o", str(shim),
                            str(ROOT / "apps/common/xp_tick_count.cpp")], check=True)
            subprocess.run(["i686-w64-mingw32-gcc", "-D_WIN32_WINNT=0x0600", "-o", str(program), str(source),
                            str(shim)], check=True)
            imports, _ = check_xp_imports.read_program(program)
            self.assertNotIn(("kernel32.dll", "GetTickCount64", None), imports)
            output = subprocess.run(["wine", str(program)], env=harness.wine_env(), capture_output=True,
                                    text=True, timeout=60).stdout.split()
            elapsed, now = int(output[0]), int(output[1])
            self.assertGreaterEqual(elapsed, 250)
            self.assertLess(elapsed, 5000)
            self.assertGreater(now, 0)


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def registry_value(env, key, name):
    """The value's data as `reg query` shows it, or None when there is no such value."""
    result = subprocess.run(["wine", "reg", "query", key, "/v", name], env=env, capture_output=True, timeout=60)
    text = result.stdout.decode("utf-8", "replace")
    for line in text.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[0] == name and parts[1].startswith("REG_"):
            return parts[2]
    return None


def start_menu_shortcuts(env):
    users = pathlib.Path(env["WINEPREFIX"]) / "drive_c" / "users"
    return sorted(path.name for path in users.glob("*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Varnic/*"))


class Installer(harness.WineTestCase):
    def setUp(self):
        super().setUp()
        # Wine's menu builder reads the shortcuts' programs for their icons in a process of its
        # own, at its own pace; while it holds them the uninstaller cannot remove the folder.
        self.session.env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"

    def install(self, arch, *options):
        target = self.session.folder / "Varnic"
        subprocess.run(["wine", str(setup_path(arch)), "/S", *options, "/D=" + windows_path(target)],
                       env=self.session.env, check=True, timeout=120, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return target

    def uninstall(self, target):
        # Started as it is, the uninstaller copies itself away, starts the copy with _?=<folder>
        # and ends at once. Doing the same here lets the test wait for the copy itself.
        copy = self.session.folder / "uninstall-copy.exe"
        shutil.copy(target / "uninstall.exe", copy)
        subprocess.run(["wine", str(copy), "/S", "_?=" + windows_path(target)], env=self.session.env, check=True,
                       timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        copy.unlink()

    def assert_installed(self, target, arch):
        s = self.session
        names = {path.name + ("/" if path.is_dir() else "") for path in target.iterdir()}
        self.assertEqual(names, FOLDER_FILES | {"uninstall.exe"})
        self.assertEqual(check_xp_imports.machine_of(target / "kelvo.exe"), ARCHES[arch][1])
        self.assertEqual(start_menu_shortcuts(s.env), ["Varnic 帮助.lnk", "Varnic.lnk", "卸载 Varnic.lnk"])
        self.assertEqual(registry_value(s.env, UNINSTALL_KEY, "InstallLocation"), windows_path(target))

    def assert_uninstalled_keeping_user_files(self, target):
        s = self.session
        left = sorted(path.name for path in target.iterdir())
        self.assertEqual(left, sorted(USER_FILES))
        self.assertIsNone(registry_value(s.env, RUN_KEY, "Varnic"))
        self.assertIsNone(registry_value(s.env, UNINSTALL_KEY, "DisplayName"))
        self.assertEqual(start_menu_shortcuts(s.env), [])

    def test_silent_install_runs_kelvo_from_the_folder_and_the_uninstaller_keeps_the_users_files(self):
        s = self.session
        target = self.install("win32", "/AUTORUN")
        self.assert_installed(target, "win32")
        self.assertEqual(registry_value(s.env, RUN_KEY, "Varnic"), f'"{windows_path(target)}\\kelvo.exe" -sendme')

        s.start("Varnic/kelvo.exe")
        s.probe(("wait-visible", kelvo.CAPTION, 30000))
        s.wait_for(lambda: (target / "Setting.ini").exists(), what="Setting.ini in the installation folder")
        s.probe(("command", kelvo.CAPTION, kelvo.MENU["exitt"]), ("wait-gone", kelvo.CAPTION, 20000))
        (target / "vr.ini").write_bytes(b"[Ver]\r\nVer=1.9\r\n")

        self.uninstall(target)
        self.assert_uninstalled_keeping_user_files(target)

    def test_the_uninstaller_ends_a_running_kelvo_before_removing_it(self):
        s = self.session
        target = self.install("win64")
        self.assert_installed(target, "win64")
        self.assertIsNone(registry_value(s.env, RUN_KEY, "Varnic"))  # not chosen: off by default
        (target / "vr.ini").write_bytes(b"[Ver]\r\nVer=1.9\r\n")
        s.start("Varnic/kelvo.exe", "-sendme")
        s.probe(("wait-window", kelvo.CAPTION, 30000))
        s.wait_for(lambda: (target / "AllRule.ini").exists(), what="the rule file")

        self.uninstall(target)
        s.probe(("wait-gone", kelvo.CAPTION, 20000))
        self.assert_uninstalled_keeping_user_files(target)

    def test_installing_again_keeps_the_users_update_settings(self):
        target = self.install("win32")
        edited = b"http://updates.example/\r\n"
        (target / "Upsetting.ini").write_bytes(edited)
        (target / "kelvo.exe").write_bytes(b"old")
        self.install("win32")
        self.assertEqual((target / "Upsetting.ini").read_bytes(), edited)
        self.assertEqual(check_xp_imports.machine_of(target / "kelvo.exe"), ARCHES["win32"][1])
        self.uninstall(target)
        self.assertFalse(target.exists())


if __name__ == "__main__":
    unittest.main(verbosity=2)
