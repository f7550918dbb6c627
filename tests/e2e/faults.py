"""Faults under Wine as the Windows side sees them (docs/faults.md): a folder nobody may change is made
with the immutable flag (on Windows a folder's read-only attribute stops no write; 0555 stops no root)."""
import pathlib
import subprocess


def freeze_folder(folder, test):
    """Makes `folder` unchangeable until the test ends; call it after the session exists, so that
    the flag goes before the session removes the folder."""
    if subprocess.run(["chattr", "+i", str(folder)], stderr=subprocess.DEVNULL).returncode != 0:
        test.skipTest(f"the file system of {folder} has no immutable flag")
    test.addCleanup(subprocess.run, ["chattr", "-i", str(folder)], check=True)
    with test.assertRaises(PermissionError, msg=f"{folder} still takes new files"):
        (pathlib.Path(folder) / "write-test").touch()


def snapshot(session, *names):
    """The bytes of each named file (None for a missing one or a folder)."""
    return {name: (session.read(name) if (session.folder / name).is_file() else None) for name in names}


def stray_files(session):
    """Temporary files of a write or a download left in the folder."""
    return sorted(p.name for p in session.folder.iterdir() if ".tmp-" in p.name or p.name.endswith(".download"))


def dialog(session, caption, ms=20000):
    """The whole text of the next message box with that caption, pressing OK."""
    return session.probe(("dialog", caption, ms))[0]
