"""The real programs under Wine, each test in a fresh installation folder; what runs from it ends with the test."""
import contextlib
import os
import pathlib
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

BUILD = pathlib.Path(os.environ.get("VARNIC_BUILD", "build/mingw-i686")).resolve()
SOURCE = pathlib.Path(os.environ.get("VARNIC_SOURCE", pathlib.Path(__file__).parents[2])).resolve()
APPS, HELPERS = BUILD / "apps", BUILD / "tests"
TEST_BUILDS = {"kelvo": HELPERS / "kelvo_steady.exe"}  # in place of the shipped one: never cleans by itself


def control_ids(header):  # the ids a C++ header defines once (`constexpr int kName = number;`), by name without the k
    text = (SOURCE / "src" / header).read_text(encoding="utf-8")
    return {m[1]: int(m[2]) for m in re.finditer(r"^constexpr int k(\w+) = (\d+);", text, re.M)}


def wine_env():
    return {"WINEDEBUG": "-all", "WINEPREFIX": str(BUILD / "wineprefix"), **os.environ}


class Session:
    def __init__(self):
        self.folder = pathlib.Path(tempfile.mkdtemp(prefix="varnic-e2e-"))
        self.env = wine_env()
        self.started = []

    def install(self, *programs, recorders=()):
        """The programs (their test builds where there are) speaking Chinese, the command recorder as `recorders`."""
        for program in programs:
            shutil.copy(TEST_BUILDS.get(program, APPS / f"{program}.exe"), self.folder / f"{program}.exe")
        for name in recorders:
            shutil.copy(HELPERS / "command_recorder.exe", self.folder / f"{name}.exe")
        (self.folder / "temp").mkdir(exist_ok=True)
        self.write("Language.ini", b"zh\r\n")
        return self

    def write(self, name, data):
        (self.folder / name).parent.mkdir(parents=True, exist_ok=True)
        (self.folder / name).write_bytes(data if isinstance(data, bytes) else data.encode())

    def read(self, name):
        return (self.folder / name).read_bytes()

    def exists(self, name):
        return (self.folder / name).exists()

    def start(self, program, *args, env=None):  # from elsewhere, as the start with Windows does
        process = subprocess.Popen(["wine", str(self.folder / program), *args], cwd=self.folder.parent,
                                   env=env or self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.started.append(process)
        return process

    def probe(self, *commands, timeout=120):  # ui_probe's answer to each command (a tuple)
        args = [str(part) for command in commands for part in ("--", *command)][1:]
        with tempfile.TemporaryFile() as output:  # a file: Wine's services could hold a pipe open
            result = subprocess.run(["wine", str(HELPERS / "ui_probe.exe"), *args], env=self.env, stdout=output,
                                    stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout)
            output.seek(0)
            lines = [line.partition(" ") for line in output.read().decode("utf-8", "replace").splitlines()]
        answers = [text.replace("\\\\", "\0").replace("\\r", "\r").replace("\\n", "\n").replace("\0", "\\")
                   for status, _, text in lines if status in ("OK", "ERR")]
        if result.returncode != 0 or len(answers) != len(commands):
            raise AssertionError(f"probe {commands} answered {answers}")
        return answers

    def calls(self):  # the starts the command recorder logged: (program, command line, show value)
        log = self.folder / "calls.log"
        lines = log.read_bytes().decode("utf-8").split("\r\n")[:-1] if log.exists() else []  # whole lines
        return [(program, command_line, int(show)) for program, command_line, show in (l.split("\t") for l in lines)]

    def dialog(self, caption, ms=20000):  # the whole text of the next message box with that caption, OK pressed
        return self.probe(("dialog", caption, ms))[0]

    def wait_for(self, predicate, what, timeout=30):
        deadline = time.monotonic() + timeout
        while not (value := predicate()):
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out waiting for {what}")
            time.sleep(0.1)
        return value

    def xdotool(self, *args):  # real input; a Windows screen point is a point of Wine's desktop window
        desktop = self.wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "Wine desktop"], env=self.env,
                                                       capture_output=True, text=True).stdout.split(), "Wine's desktop")
        subprocess.run(["xdotool", *(desktop[0] if arg == "DESKTOP" else str(arg) for arg in args)], check=True, env=self.env)

    def key(self, keys, window):  # Wine hands a hotkey only to a focused Wine window
        self.probe(("focus", window))
        self.xdotool("windowfocus", "--sync", "DESKTOP", "key", keys)

    def click(self, x, y, clicks=1):
        self.xdotool("mousemove", "--window", "DESKTOP", "--sync", x, y, "click", "--repeat", clicks, "--delay", 0, 1)

    def running(self):  # the processes running a program of the folder (its image is mapped from there)
        def runs_here(pid):
            with contextlib.suppress(OSError):
                return f"{self.folder}/" in pathlib.Path(f"/proc/{pid}/maps").read_text()
        return [int(pid) for pid in os.listdir("/proc") if pid.isdigit() and runs_here(pid)]

    def close(self):
        for process in self.started:
            process.kill()
        for pid in self.running():
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        for process in self.started:
            process.wait(30)
        shutil.rmtree(self.folder, ignore_errors=True)


class WineTestCase(unittest.TestCase):
    def setUp(self):
        self.session = Session()
        self.addCleanup(self.session.close)
