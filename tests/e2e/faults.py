"""Producing faults under Wine for the fault suites: locked files, read-only files and folders.

Wine honours neither a running program's lock nor Unix permissions for root, so each fault is
made the way the Windows side sees it:
  - a file held without sharing by tests/helpers/file_locker.exe (another program's lock);
  - the Windows read-only attribute set with `attrib +r` (Wine keeps it as the missing Unix
    write bits, which Win32 honours for every caller, root included);
  - a folder nobody may change: the ext4 immutable flag (chattr +i). A Windows read-only
    attribute on a folder does not stop anyone from writing into it, and a 0555 folder stops
    no root process, so an access-denied folder is made below Wine, where it is absolute.
"""
import os
import pathlib
import stat
import subprocess
import tempfile

from harness import HELPERS


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def lock(session, name, test):
    """Holds the session's file `name` open without sharing until the test ends (or release())."""
    target = session.folder / name
    marker = session.folder.parent / f"{session.folder.name}-{target.name}"
    ready, release = pathlib.Path(f"{marker}.locked"), pathlib.Path(f"{marker}.release")
    process = subprocess.Popen(["wine", str(HELPERS / "file_locker.exe"), windows_path(target), "--ready",
                                windows_path(ready), "--until", windows_path(release), "--seconds", "300"],
                               env=session.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    session.started.append(process)

    def unlock():
        release.touch()
        process.wait(30)
        for path in (ready, release):
            path.unlink(missing_ok=True)

    test.addCleanup(lambda: process.poll() is not None or unlock())
    session.wait_for(lambda: ready.exists() or process.poll() is not None, what=f"the lock on {name}")
    test.assertIsNone(process.poll(), f"file_locker could not open {name}")
    return unlock


def make_read_only(session, name, test):
    """Sets the Windows read-only attribute of the session's file `name`."""
    path = session.folder / name
    subprocess.run(["wine", "cmd", "/c", "attrib", "+r", windows_path(path)], env=session.env, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    test.assertEqual(path.stat().st_mode & (stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH), 0,
                     f"Wine did not mark {name} read-only")


def freeze_folder(folder, test):
    """Makes `folder` unchangeable (no file created, renamed or removed in it) until the test ends.

    Call it after the test's session exists: clean-ups run in reverse, so the flag is gone
    before the session removes the folder.
    """
    if subprocess.run(["chattr", "+i", str(folder)], stderr=subprocess.DEVNULL).returncode != 0:
        test.skipTest(f"the file system of {folder} has no immutable flag")
    test.addCleanup(subprocess.run, ["chattr", "-i", str(folder)], check=True)
    probe = pathlib.Path(folder) / "write-test"
    try:
        probe.touch()
    except PermissionError:
        return
    probe.unlink()
    test.fail(f"{folder} still takes new files")


def snapshot(session, *names):
    """The bytes of each named file (None for a missing one or a folder)."""
    return {name: (session.read(name) if (session.folder / name).is_file() else None) for name in names}


def stray_files(session):
    """Temporary files of a write or a download left in the folder."""
    return sorted(p.name for p in session.folder.iterdir() if ".tmp-" in p.name or p.name.endswith(".download"))


def dialog(session, caption, ms=20000):
    """The whole text of the next message box with that caption (the harness keeps only its
    first line), pressing OK."""
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(["wine", str(HELPERS / "ui_probe.exe"), "dialog", caption, str(ms)], env=session.env,
                                stdout=output, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=120)
        output.seek(0)
        text = output.read().decode("utf-8", "replace")
    if result.returncode != 0 or not text.startswith("OK "):
        raise AssertionError(f"no message box {caption}: {text.strip()}")
    # The probe's standard output is in text mode: every LF of the text came out as CR LF.
    return text[3:].removesuffix("\n").removesuffix("\r").replace("\r\r\n", "\r\n")
