"""Running the real programs under Wine for the end-to-end tests.

ctest sets VARNIC_BUILD (the 32-bit build tree), VARNIC_SOURCE, WINEPREFIX and the display
(Xvfb started by ./x test). Each test gets a fresh installation folder; the Wine processes of
the prefix are ended when the test's session closes.
"""
import os
import pathlib
import shutil
import subprocess
import tempfile
import time
import unittest

BUILD = pathlib.Path(os.environ.get("VARNIC_BUILD", "build/mingw-i686")).resolve()
SOURCE = pathlib.Path(os.environ.get("VARNIC_SOURCE", ".")).resolve()
APPS = BUILD / "apps"
HELPERS = BUILD / "tests"
SCREENSHOTS = BUILD / "screenshots"


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEPREFIX", str(BUILD / "wineprefix"))
    return env


class ProbeError(AssertionError):
    pass


class Session:
    """One installation folder and the Wine programs started in it."""

    def __init__(self):
        self.folder = pathlib.Path(tempfile.mkdtemp(prefix="varnic-e2e-"))
        self.env = wine_env()
        self.started = []
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)
        # A wine server started by the first program would keep that program's output pipes
        # open for its whole life; start it here with no pipes at all.
        subprocess.run(["wineserver", "-p"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    # -- installation ------------------------------------------------------------------------
    def install(self, *programs, recorders=()):
        """Copies the built programs, and the command recorder under the names in `recorders`.
        The programs speak Chinese, as on a Chinese Windows, whatever the host's locale."""
        for program in programs:
            shutil.copy(APPS / f"{program}.exe", self.folder / f"{program}.exe")
        for name in recorders:
            shutil.copy(HELPERS / "command_recorder.exe", self.folder / f"{name}.exe")
        (self.folder / "temp").mkdir(exist_ok=True)
        self.write("Language.ini", b"zh\r\n")
        return self

    def write(self, name, data):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data if isinstance(data, bytes) else data.encode("ascii"))
        return path

    def read(self, name):
        return (self.folder / name).read_bytes()

    def exists(self, name):
        return (self.folder / name).exists()

    # -- programs ------------------------------------------------------------------------------
    def start(self, program, *args, env=None):
        process = subprocess.Popen(["wine", str(self.folder / program), *args], cwd=self.folder, env=env or self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.started.append(process)
        return process

    def probe(self, *commands, check=True, timeout=120):
        """Runs ui_probe with the commands (each a tuple); answers the result of each."""
        args = []
        for command in commands:
            if args:
                args.append("--")
            args.extend(str(part) for part in command)
        with tempfile.TemporaryFile() as output:
            result = subprocess.run(["wine", str(HELPERS / "ui_probe.exe"), *args], env=self.env, stdout=output,
                                    stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout)
            output.seek(0)
            lines = output.read().decode("utf-8", "replace").splitlines()
        lines = [line for line in lines if line.startswith(("OK", "ERR"))]
        if check and (result.returncode != 0 or len(lines) != len(commands)):
            raise ProbeError(f"probe {commands} answered {lines}")
        return [line[3:] for line in lines]

    def calls(self):
        """The starts the command recorder saw: (program, command line, show value)."""
        log = self.folder / "calls.log"
        if not log.exists():
            return []
        rows = []
        for line in log.read_bytes().decode("utf-8").split("\r\n"):
            if line:
                program, command_line, show = line.split("\t")
                rows.append((program, command_line, int(show)))
        return rows

    def wait_for(self, predicate, timeout=30, what="condition"):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = predicate()
            if value:
                return value
            time.sleep(0.2)
        raise AssertionError(f"timed out waiting for {what}")

    def screenshot(self, name):
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        path = SCREENSHOTS / name
        subprocess.run(["import", "-window", "root", str(path)], check=True, env=self.env)
        return path

    def key(self, keys):
        subprocess.run(["xdotool", "key", keys], check=True, env=self.env)

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        for process in self.started:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(self.folder, ignore_errors=True)


class WineTestCase(unittest.TestCase):
    def setUp(self):
        self.session = Session()
        self.addCleanup(self.session.close)
