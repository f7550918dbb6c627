#!/usr/bin/env python3
"""Runs Varnic's benchmarks and writes their report. tools/x-bench builds the programs, starts
Xvfb and prepares the Wine prefix, then calls this script.

Every comparison is made side by side in one run: the measured program and its baseline run
in the same round (at the same time where they are long-lived programs), each figure is the
median of the rounds, and the goals are judged on ratios, never on absolute times.

  run_bench.py --native BUILD --windows BUILD --report FILE [--smoke]

--smoke runs each benchmark once with tiny sizes and checks only that each produced its
numbers (the machine is shared: no goal is judged there). Environment: WINEPREFIX, DISPLAY.
"""
import argparse
import base64
import datetime
import hashlib
import json
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SERVER = os.path.join(SOURCE, "tests", "e2e", "http_server.py")
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")

TARNEL_CAPTION = "Varnic 在线更新"
sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
from harness import control_ids  # noqa: E402  the ids as tarnel's window defines them

TARNEL_CHECK, TARNEL_UPDATE, TARNEL_LATEST = (str(control_ids("updater/win32/updater_ids.h")["Updater" + name])
                                              for name in ("Command2", "Command1", "Label5"))

# Setting.ini lines: hotkey letter, then "0" = on for background cleaning, the hotkey and the
# gauge tray icon, then the rule.
SETTINGS = {
    "monitor": "E\r\n1\r\n1\r\n0\r\n0\r\n",  # watching only: gauge icon, no background cleaning
    "default": "E\r\n0\r\n0\r\n0\r\n0\r\n",  # the settings of a first start
    "gear": "E\r\n1\r\n1\r\n1\r\n0\r\n",     # the program's icon in the tray instead of the gauge
}


def log(text):
    print("bench: " + text, file=sys.stderr, flush=True)


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def ratio(value, baseline):
    if value is None or not baseline:
        return None
    return value / baseline


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env["LC_ALL"] = "C.UTF-8"  # Chinese captions on the probe's command line
    return env


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_json(command, timeout, env=None):
    # Output through a file, not a pipe: Wine services started by the first program of a
    # session inherit its handles and would hold a pipe open.
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(command, stdout=output, stderr=subprocess.DEVNULL, timeout=timeout, env=env)
        output.seek(0)
        text = output.read().decode("utf-8", "replace")
    start = text.find("{")
    if start < 0:
        raise RuntimeError("%s gave no figures (exit %d): %s" % (os.path.basename(command[0 if command[0] != "wine" else 1]),
                                                                result.returncode, text[-500:]))
    return json.loads(text[start:text.rfind("}") + 1]), result.returncode


# --- /proc -------------------------------------------------------------------------------------

def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND  # utime + stime


def status_kb(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return None


def resident_by_mapping(pid):
    """Resident kB per mapped file (anonymous memory under "[anonymous]")."""
    sizes = {}
    name = None
    with open("/proc/%d/smaps" % pid) as f:
        for line in f:
            fields = line.split()
            if not fields:
                continue
            if "-" in fields[0] and not fields[0].endswith(":"):
                name = os.path.basename(fields[5]) if len(fields) > 5 else "[anonymous]"
            elif fields[0] == "Rss:":
                sizes[name] = sizes.get(name, 0) + int(fields[1])
    return sizes


def find_windows_process(exe_name, folder_name):
    """The pid of the Wine process running FOLDER_NAME/EXE_NAME: its first argument is the
    program's own path (the loader's is "wine")."""
    endings = [("/" + folder_name + "/" + exe_name).lower(), ("\\" + folder_name + "\\" + exe_name).lower()]
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                first = f.read().split(b"\0")[0].decode("utf-8", "replace").strip().lower()
        except OSError:
            continue
        if any(first.endswith(ending) for ending in endings):
            return int(entry)
    return None


def find_wineserver():
    """The wineserver of our prefix: it works in a folder named after the prefix's device and
    inode numbers."""
    info = os.stat(os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine")))
    folder = "server-%x-%x" % (info.st_dev, info.st_ino)
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % entry) as f:
                if not f.read().startswith("wineserver"):
                    continue
            if os.path.basename(os.readlink("/proc/%s/cwd" % entry)) == folder:
                return int(entry)
        except OSError:
            continue
    return None


def safe_cpu(pid):
    try:
        return cpu_seconds(pid) if pid else None
    except OSError:
        return None


# --- 1. core tick ------------------------------------------------------------------------------

def bench_core_tick(args):
    program = os.path.join(args.native, "bench", "core_tick_bench")
    repetitions = 1 if args.smoke else 9
    command = [program, "--benchmark_format=json", "--benchmark_repetitions=%d" % repetitions,
               "--benchmark_min_time=%s" % ("0.01" if args.smoke else "0.2")]
    if not args.smoke:
        command.append("--benchmark_enable_random_interleaving=true")
    data, code = run_json(command, timeout=900)
    if code != 0:
        raise RuntimeError("core_tick_bench failed")
    times, allocs = {}, {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = b["run_name"]
        times.setdefault(name, []).append(b["cpu_time"])
        allocs[name] = b.get("allocs")
    results = {}
    for probe, label in (("0", "system"), ("1", "fixed")):
        base = median(times["Baseline/" + probe])
        for check in ("Off", "On"):
            tick = median(times["TickCheck1%s/%s" % (check, probe)])
            results["%s_%s" % (label, check.lower())] = {
                "tick_ns": tick, "baseline_ns": base, "ratio": ratio(tick, base),
                "tick_allocs": allocs["TickCheck1%s/%s" % (check, probe)], "baseline_allocs": allocs["Baseline/" + probe]}
    results["repetitions"] = repetitions
    return results


# --- 6. progress bar ---------------------------------------------------------------------------

def bench_progress(args):
    program = os.path.join(args.native, "bench", "progress_paint_bench")
    data, code = run_json([program, "50" if args.smoke else "2000"], timeout=120)
    if code != 0:
        raise RuntimeError("progress_paint_bench failed")
    for scenario in data.values():
        scenario["ratio"] = ratio(scenario["incremental_paints"], scenario["full_paints"])
    return data


# --- 4. process counting -----------------------------------------------------------------------

COUNT_WAYS = (("kept_list", "the process list in a kept buffer (NtQuerySystemInformation), kelvo's count"),
              ("process_only", "process-only Toolhelp snapshot, kelvo's count before"),
              ("full", "all-inclusive Toolhelp snapshot"),
              ("enum_processes", "EnumProcesses"),
              ("performance_info", "GetPerformanceInfo's ProcessCount"))


def bench_process_count(args):
    program = os.path.join(args.windows, "bench", "process_count_bench.exe")
    rounds, calls = (1, 5) if args.smoke else (9, 200)
    data, code = run_json(["wine", program, str(rounds), str(calls)], timeout=900, env=wine_env())
    if code != 0:
        raise RuntimeError("process_count_bench: the ways of counting disagreed or failed")
    results = {"rounds": rounds, "calls": calls, "processes": data["processes"]}
    base = data["process_only_us"]
    for way, _ in COUNT_WAYS:
        times = data[way + "_us"]
        results[way] = {"us": median(times), "ratio": median([t / b for t, b in zip(times, base) if b])}
    return results


# --- 7. UI thread blocked by a clean ------------------------------------------------------------

def bench_clean_block(args, scratch):
    folder = prepare_kelvo(args, scratch, "gear", "clean")
    program = os.path.join(args.windows, "bench", "clean_block_bench.exe")
    clicks = 3 if args.smoke else 30
    data, code = run_json(["wine", program, windows_path(folder), str(clicks)], timeout=600, env=wine_env())
    if code != 0:
        raise RuntimeError("clean_block_bench: not every click was handled (%s)" % data)
    times, starts = data["ms"], data["start_alone_ms"]
    return {"clicks": len(times), "median_ms": median(times), "max_ms": max(times), "ms": times,
            "start_ms": median(starts), "starts": starts}


# --- 3. handles --------------------------------------------------------------------------------

def bench_handles(args, scratch):
    program = os.path.join(args.windows, "bench", "handles_bench.exe")
    first, total = (2, 4) if args.smoke else (20, 2000)
    results = {}
    for name in ("default", "gear"):
        folder = os.path.join(scratch, "handles-" + name)
        os.makedirs(folder)
        with open(os.path.join(folder, "Setting.ini"), "w", newline="") as f:
            f.write(SETTINGS[name])
        data, code = run_json(["wine", program, windows_path(folder), str(first), str(total)], timeout=1200,
                              env=wine_env())
        if code != 0 or not data.get("probe_works"):
            raise RuntimeError("handles_bench: the object counts cannot be trusted (%s)" % data)
        results[name] = data
    return results


# --- 2. idle -----------------------------------------------------------------------------------

class IdleProgram:
    def __init__(self, folder, exe):
        self.folder, self.exe = folder, exe
        self.process = subprocess.Popen(["wine", os.path.join(folder, exe)], cwd=folder, env=wine_env(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = None

    def find(self):
        if self.pid is None:
            self.pid = find_windows_process(self.exe, os.path.basename(self.folder))
        return self.pid

    def stop(self):
        for pid in {self.pid, self.process.pid} - {None}:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        try:
            self.process.wait(20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(10)


def shipped_copy(program, target):
    """The program as the release package ships it: stripped of its symbols (under Wine an image
    whose sections are not page-aligned in the file is read whole into the process's memory, so
    symbols would count as resident memory)."""
    shutil.copy(program, target)
    subprocess.run(["i686-w64-mingw32-strip", "--strip-all", target], check=True)


def prepare_kelvo(args, scratch, name, round_index):
    folder = os.path.join(scratch, "idle-%s-%s" % (name, round_index))
    os.makedirs(os.path.join(folder, "temp"))
    shipped_copy(args.kelvo, os.path.join(folder, "kelvo.exe"))
    # Cleans reach a recorder instead of the working-set tool: the tick is measured, not the tool.
    shutil.copy(args.recorder, os.path.join(folder, "empty.exe"))
    with open(os.path.join(folder, "Setting.ini"), "w", newline="") as f:
        f.write(SETTINGS[name])
    return folder


def count_calls_per_tick(folder, exe, ticks, results, name):
    """Runs the program with Wine's relay trace and counts the API calls its window thread (the
    one that reads the memory figures) makes between two of its memory reads (one tick), for
    TICKS ticks after those of start-up. Programs it starts trace into the same stream; their
    lines, as those of its other threads, carry other thread ids and are left out. The trace is
    read as it comes and never stored."""
    env = wine_env()
    env["WINEDEBUG"] = "+relay"
    process = subprocess.Popen(["wine", os.path.join(folder, exe)], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    skip = 10  # the ticks of start-up, which does its own work between them (fonts, the tray)
    calls, marks, ticks_functions, thread = 0, [], [], None
    deadline = time.monotonic() + 240
    try:
        for raw in process.stderr:
            at = raw.find(b":Call ")
            if at < 0 or (thread is not None and raw[:at] != thread):
                continue
            calls += 1
            function = raw[at + 6:raw.find(b"(", at)].decode("ascii", "replace")
            if skip <= len(marks) < skip + ticks:
                functions = ticks_functions[-1]
                functions[function] = functions.get(function, 0) + 1
            if function.endswith("GlobalMemoryStatusEx"):
                thread = raw[:at]
                marks.append(calls)
                ticks_functions.append({})
                if len(marks) > skip + ticks or time.monotonic() > deadline:
                    break
    finally:
        pid = find_windows_process(exe, os.path.basename(folder))
        for victim in {pid, process.pid} - {None}:
            try:
                os.kill(victim, signal.SIGTERM)
            except ProcessLookupError:
                pass
        process.stderr.close()
        process.wait(30)
    per_tick = [b - a for a, b in zip(marks[skip:], marks[skip + 1:])]
    typical = median(per_tick)
    # The calls of the typical ticks, by function: a tick that also did rarer work (a paint of
    # the whole window, a clean) is left out so that it does not colour the average.
    usual = [f for f in ticks_functions[skip - 1:skip - 1 + len(per_tick)]
             if typical is not None and sum(f.values()) <= 1.5 * typical]
    average = {}
    for functions in usual:
        for function, count in functions.items():
            average[function] = average.get(function, 0) + count / len(usual)
    results[name] = {"median": typical, "ticks": len(per_tick), "values": per_tick,
                     "functions": {f: round(c, 1) for f, c in average.items()}}


def calls_per_tick(args, scratch, ticks):
    folders = {"bare": os.path.join(scratch, "calls-bare")}
    os.makedirs(folders["bare"])
    shipped_copy(os.path.join(args.windows, "bench", "bare_monitor.exe"), os.path.join(folders["bare"], "bare_monitor.exe"))
    for name in ("gear", "monitor", "default"):
        folders[name] = prepare_kelvo(args, scratch, name, "calls")
    results = {}
    threads = [threading.Thread(target=count_calls_per_tick,
                                args=(folder, "bare_monitor.exe" if name == "bare" else "kelvo.exe", ticks, results, name))
               for name, folder in folders.items()]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return results


def bench_idle(args, scratch):
    rounds, seconds, settle = (1, 3, 1) if args.smoke else (3, 60, 5)
    # Four programs at once: the bare monitor and kelvo with three settings, so that the
    # differences between the kelvo runs show what each option costs.
    kelvo_runs = ("gear", "monitor", "default")
    samples = {"bare": [], "gear": [], "monitor": [], "default": []}
    shared = []
    for round_index in range(rounds):
        bare_folder = os.path.join(scratch, "idle-bare-%d" % round_index)
        os.makedirs(bare_folder)
        shipped_copy(os.path.join(args.windows, "bench", "bare_monitor.exe"), os.path.join(bare_folder, "bare_monitor.exe"))
        programs = {"bare": IdleProgram(bare_folder, "bare_monitor.exe")}
        for name in kelvo_runs:
            programs[name] = IdleProgram(prepare_kelvo(args, scratch, name, round_index), "kelvo.exe")
        try:
            deadline = time.monotonic() + 90
            while not all(p.find() for p in programs.values()):
                if time.monotonic() > deadline:
                    raise RuntimeError("the idle programs did not start: %s" %
                                       {n: p.pid for n, p in programs.items()})
                time.sleep(0.2)
            time.sleep(settle)  # start-up done; from here on they only tick
            wineserver = find_wineserver()
            start = {n: cpu_seconds(p.pid) for n, p in programs.items()}
            rss_start = {n: status_kb(p.pid, "VmRSS") for n, p in programs.items()}
            server_start = safe_cpu(wineserver)
            time.sleep(seconds)
            for name, program in programs.items():
                samples[name].append({"cpu": cpu_seconds(program.pid) - start[name],
                                      "peak_kb": status_kb(program.pid, "VmHWM"),
                                      "rss_start_kb": rss_start[name],
                                      "rss_kb": status_kb(program.pid, "VmRSS")})
            server_end = safe_cpu(wineserver)
            if round_index == 0:
                mappings = {n: resident_by_mapping(programs[n].pid) for n in ("bare", "monitor", "default")}
            if server_start is not None and server_end is not None:
                shared.append(server_end - server_start)
        finally:
            for program in programs.values():
                program.stop()
        for name in kelvo_runs:
            # The recorder standing in for empty.exe logs one line per start: the start-up's
            # own "empty.exe kelvo.exe" and every clean.
            log_file = os.path.join(programs[name].folder, "calls.log")
            if os.path.exists(log_file):
                with open(log_file, "rb") as f:
                    samples[name][-1]["cleans"] = sum(1 for line in f if b" *\t" in line)
        log("idle round %d: %s" % (round_index + 1, {n: s[-1] for n, s in samples.items()}))
    results = {"rounds": rounds, "seconds": seconds, "wineserver_cpu": median(shared),
               "image_kb": {"kelvo": os.path.getsize(os.path.join(programs["default"].folder, "kelvo.exe")) / 1024,
                            "bare": os.path.getsize(os.path.join(bare_folder, "bare_monitor.exe")) / 1024}}
    log("counting calls per tick")
    results["calls_per_tick"] = calls_per_tick(args, scratch, 2 if args.smoke else 20)
    # Where kelvo's resident memory goes beyond the bare program's, largest first.
    names = set(mappings["bare"]) | set(mappings["monitor"])
    extra = sorted(((mappings["monitor"].get(n, 0) - mappings["bare"].get(n, 0), n) for n in names), reverse=True)
    results["extra_by_mapping_kb"] = [[n, kb] for kb, n in extra if kb > 0][:10]
    # What background cleaning (the first-start settings) keeps resident beyond the gauge icon alone.
    names = set(mappings["monitor"]) | set(mappings["default"])
    extra = sorted(((mappings["default"].get(n, 0) - mappings["monitor"].get(n, 0), n) for n in names), reverse=True)
    results["cleaning_extra_by_mapping_kb"] = [[n, kb] for kb, n in extra if kb > 0][:6]
    results["image_resident_kb"] = {"kelvo": mappings["monitor"].get("kelvo.exe", 0),
                                    "bare": mappings["bare"].get("bare_monitor.exe", 0)}
    for name, values in samples.items():
        results[name] = {"cpu": median([v["cpu"] for v in values]),
                         "peak_kb": median([v["peak_kb"] for v in values]),
                         "growth_kb": median([v["rss_kb"] - v["rss_start_kb"] for v in values]),
                         "samples": values}
    for name in kelvo_runs:
        # Ratios per round (side by side), then their median.
        per_round = [ratio(k["cpu"], b["cpu"]) for k, b in zip(samples[name], samples["bare"])]
        results[name]["cpu_ratio"] = median(per_round)
        results[name]["cpu_ratios"] = per_round
        results[name]["peak_extra_kb"] = median([k["peak_kb"] - b["peak_kb"]
                                                 for k, b in zip(samples[name], samples["bare"])])
    return results


# --- 5. tarnel transfer ------------------------------------------------------------------------

class Server:
    """tests/e2e/http_server.py on 127.0.0.1; it stops when its port file is removed."""

    def __init__(self, root):
        self.port_file = os.path.join(root, "port")
        self.process = subprocess.Popen([sys.executable, SERVER, "--root", root, "--port-file", self.port_file],
                                        stdout=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while not os.path.exists(self.port_file):
            if time.monotonic() > deadline or self.process.poll() is not None:
                raise RuntimeError("the test server did not start")
            time.sleep(0.05)
        with open(self.port_file) as f:
            self.port = int(f.read())

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def stop(self):
        os.remove(self.port_file)
        self.process.wait(10)


def signed_version_file(key, version, program_file):
    """The update's version file, signed with the build tree's test key (tarnel installs only
    signed updates; the benchmark runs tarnel_testkey, which trusts that key)."""
    with open(program_file, "rb") as f:
        program = f.read()
    size, sha256 = len(program), hashlib.sha256(program).hexdigest()
    message = ("Varnic update\nVer=%s\nSize=%d\nSha256=%s\n" % (version, size, sha256)).encode("ascii")
    signed = subprocess.run(["openssl", "dgst", "-sha256", "-sign", key], input=message, stdout=subprocess.PIPE,
                            check=True).stdout
    return ("[Ver]\r\nVer=%s\r\nSize=%d\r\nSha256=%s\r\nSignature=%s\r\n"
            % (version, size, sha256, base64.b64encode(signed).decode("ascii"))).encode("ascii")


def same_bytes(a, b):
    return subprocess.run(["cmp", "-s", a, b]).returncode == 0


def run_curl(url, target):
    start = time.perf_counter()
    result = subprocess.run(["curl", "-s", "-S", "-f", "-o", target, "-w", "%{time_total}", url],
                            capture_output=True, text=True, timeout=300)
    wall = time.perf_counter() - start
    if result.returncode != 0:
        raise RuntimeError("curl failed: " + result.stderr)
    return float(result.stdout), wall


def run_download_bench(args, url, target, server, size, sha256):
    program = os.path.join(args.windows, "bench", "download_bench.exe")
    wineserver = find_wineserver()
    before = (safe_cpu(wineserver), safe_cpu(server.process.pid))
    start = time.perf_counter()
    with tempfile.TemporaryFile() as output:
        process = subprocess.Popen(["wine", program, url, windows_path(target), str(size), sha256], stdout=output,
                                   stderr=subprocess.DEVNULL, env=wine_env())
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        wall = time.perf_counter() - start
        output.seek(0)
        text = output.read().decode("utf-8", "replace")
    after = (safe_cpu(wineserver), safe_cpu(server.process.pid))
    data = json.loads(text[text.find("{"):text.rfind("}") + 1])
    if process.returncode != 0 or not data["ok"]:
        raise RuntimeError("download_bench failed: %s" % text)
    data["process_wall"] = wall
    data["client_cpu"] = usage.ru_utime + usage.ru_stime
    data["wineserver_cpu"] = after[0] - before[0] if None not in (after[0], before[0]) else None
    data["http_server_cpu"] = after[1] - before[1] if None not in (after[1], before[1]) else None
    return data


def probe(args, *command, timeout=120):
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(["wine", args.probe, *command], stdout=output, stderr=subprocess.DEVNULL,
                                env=wine_env(), timeout=timeout)
        output.seek(0)
        text = output.read().decode("utf-8", "replace").strip()
    if result.returncode != 0:
        raise RuntimeError("probe %s: %s" % (" ".join(command), text))
    return text


def run_tarnel(args, scratch, server, size, source_file):
    """One update by the real tarnel.exe, driven through its window. The transfer is timed from
    the moment its temporary file appears to the moment the complete file has replaced the
    installed one, both seen from outside by polling the folder."""
    install = os.path.join(scratch, "tarnel-install")
    os.makedirs(os.path.join(install, "temp"))
    shutil.copy(args.tarnel, os.path.join(install, "tarnel.exe"))
    with open(os.path.join(install, "Language.ini"), "wb") as f:  # the Chinese captions the probe looks for
        f.write(b"zh\r\n")
    with open(os.path.join(install, "vr.ini"), "wb") as f:
        f.write(b"[Ver]\r\nVer=1.9\r\n")
    with open(os.path.join(install, "kelvo.exe"), "wb") as f:
        f.write(b"the old kelvo program")
    lines = [server.url("/update/vr.ini"), "\\temp\\vr.ini", server.url("/update/kelvo.exe"), "\\kelvo.exe"]
    with open(os.path.join(install, "Upsetting.ini"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
    tarnel = subprocess.Popen(["wine", os.path.join(install, "tarnel.exe")], env=wine_env(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    installed = os.path.join(install, "kelvo.exe")
    temporary = installed + ".download"
    try:
        probe(args, "wait-window", TARNEL_CAPTION, "60000")
        probe(args, "click", TARNEL_CAPTION, TARNEL_CHECK, "--", "wait-text", TARNEL_CAPTION, TARNEL_LATEST, "2.0",
              "30000")
        seen = {}

        def watch():
            deadline = time.monotonic() + 300
            while time.monotonic() < deadline:
                now = time.perf_counter()
                if "start" not in seen and os.path.exists(temporary):
                    seen["start"] = now
                if os.path.exists(installed) and os.path.getsize(installed) == size and not os.path.exists(temporary):
                    seen["end"] = now
                    return
                time.sleep(0.002)

        watcher = threading.Thread(target=watch)
        watcher.start()
        clicked = time.perf_counter()
        probe(args, "click", TARNEL_CAPTION, TARNEL_UPDATE)
        watcher.join()
        # A tiny file can come and go between two looks: then the click is the start.
        seen.setdefault("start", clicked)
        if "end" not in seen:
            raise RuntimeError("tarnel did not install the file")
        box = probe(args, "dialog", "提示", "60000")
        return {"seconds": seen["end"] - seen["start"], "identical": same_bytes(installed, source_file),
                "message": box.splitlines()[-1] if box else ""}
    finally:
        try:
            os.kill(tarnel.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        tarnel.wait(30)


def bench_transfer(args, scratch):
    size = 64 * 1024 if args.smoke else 20 * 1024 * 1024
    rounds = 1 if args.smoke else 5
    served = os.path.join(scratch, "served")
    os.makedirs(os.path.join(served, "update"))
    source_file = os.path.join(served, "update", "kelvo.exe")
    with open(source_file, "wb") as f:
        f.write(os.urandom(size))
    with open(source_file, "rb") as f:
        sha256 = hashlib.sha256(f.read()).hexdigest()
    with open(os.path.join(served, "update", "vr.ini"), "wb") as f:
        f.write(signed_version_file(args.test_key, "2.0", source_file))
    out = os.path.join(scratch, "downloads")
    os.makedirs(out)
    server = Server(served)
    url = server.url("/update/kelvo.exe")
    rounds_data = []
    try:
        for round_index in range(rounds):
            curl_target = os.path.join(out, "curl-%d.bin" % round_index)
            bench_target = os.path.join(out, "bench-%d.bin" % round_index)
            if round_index % 2 == 0:
                curl_time, curl_wall = run_curl(url, curl_target)
                bench = run_download_bench(args, url, bench_target, server, size, sha256)
            else:
                bench = run_download_bench(args, url, bench_target, server, size, sha256)
                curl_time, curl_wall = run_curl(url, curl_target)
            bench["curl_seconds"], bench["curl_wall"] = curl_time, curl_wall
            bench["identical"] = same_bytes(bench_target, source_file) and same_bytes(curl_target, source_file)
            rounds_data.append(bench)
            log("transfer round %d: DownLoad %.3f s, curl %.3f s" % (round_index + 1, bench["seconds"], curl_time))
        attribution = {}
        if not args.smoke:
            program = os.path.join(args.windows, "bench", "download_bench.exe")
            for mode, key in (("--raw", "raw"), ("--blocking", "blocking")):
                runs = [run_json(["wine", program, mode, url, "65536"], timeout=300, env=wine_env())[0] for _ in range(3)]
                attribution[key + "_seconds"] = median([r["seconds"] for r in runs])
                attribution[key + "_reads"] = runs[0]["read_calls"]
            yields = rounds_data[0]["yield_calls"]
            attribution["peek_calls"] = yields
            attribution["peek_seconds"] = median(
                [run_json(["wine", program, "--peek", str(yields)], timeout=300, env=wine_env())[0]["seconds"]
                 for _ in range(3)])
        curl_time, _ = run_curl(url, os.path.join(out, "curl-tarnel.bin"))
        tarnel = run_tarnel(args, scratch, server, size, source_file)
        tarnel["curl_seconds"] = curl_time
        tarnel["ratio"] = ratio(tarnel["seconds"], curl_time)
        log("tarnel: %.3f s, curl %.3f s" % (tarnel["seconds"], curl_time))
    finally:
        server.stop()

    def med(key):
        return median([r[key] for r in rounds_data])

    result = {"size": size, "rounds": rounds, "identical": all(r["identical"] for r in rounds_data),
              "ratio": median([ratio(r["seconds"], r["curl_seconds"]) for r in rounds_data]),
              "process_ratio": median([ratio(r["process_wall"], r["curl_wall"]) for r in rounds_data]),
              "attribution": attribution, "tarnel": tarnel}
    for key in ("seconds", "curl_seconds", "process_wall", "curl_wall", "read_seconds", "yield_seconds",
                "write_seconds", "digest_seconds", "connect_seconds", "commit_seconds", "progress_seconds",
                "client_cpu", "wineserver_cpu", "http_server_cpu"):
        result[key] = med(key)
    for key in ("read_calls", "yield_calls", "write_calls", "digest_calls"):
        result[key] = rounds_data[0][key]
    return result


# --- the report --------------------------------------------------------------------------------

def machine():
    model = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    commit = subprocess.run(["git", "-C", SOURCE, "rev-parse", "--short", "HEAD"], capture_output=True,
                            text=True).stdout.strip()
    return {"nproc": os.cpu_count(), "cpu": model, "wine": wine, "kernel": platform.release(),
            "commit": commit or "unknown", "load": os.getloadavg()}


def fmt(value, digits=2, unit=""):
    if value is None:
        return "n/a"
    return ("%." + str(digits) + "f%s") % (value, unit)


def verdict(met, miss_text=""):
    return "met" if met else "**missed**" + (" (" + miss_text + ")" if miss_text else "")


def ratio_verdict(value, goal):
    if value is None:
        return "n/a"
    if value <= goal:
        return "met"
    return verdict(False, "by %.0f %%" % ((value / goal - 1) * 100))


def transfer_rows(transfer):
    """Rows 5: a 20 MB transfer by DownLoad, by its bench process and by the real tarnel window."""
    rows = []

    def row(name, measured, baseline, ratio_text, goal, result):
        rows.append("| 5 | %s | %s | %s | %s | %s | %s |" % (name, measured, baseline, ratio_text, goal, result))

    same = lambda identical: "; bytes identical" if identical else "; **bytes differ**"
    row("tarnel transfer of %d MB, DownLoad / curl" % (transfer["size"] // (1024 * 1024)),
        fmt(transfer["seconds"], 3, " s"), fmt(transfer["curl_seconds"], 3, " s (curl)"), fmt(transfer["ratio"]) + " x",
        "≤ 1.5 x, identical", ratio_verdict(transfer["ratio"], 1.5) + same(transfer["identical"]))
    row("tarnel transfer: whole download_bench process, Wine's start included / curl process",
        fmt(transfer["process_wall"], 3, " s"), fmt(transfer["curl_wall"], 3, " s (curl process)"),
        fmt(transfer["process_ratio"]) + " x", "report", "reported")
    t = transfer["tarnel"]
    if t:
        row("the real tarnel.exe window, clicked through / curl", fmt(t["seconds"], 3, " s"),
            fmt(t["curl_seconds"], 3, " s (curl)"), fmt(t["ratio"]) + " x", "≤ 2 x, identical",
            ratio_verdict(t["ratio"], 2.0) + same(t["identical"]))
    return rows


def transfer_note(transfer):
    """Where the transfer's time goes, counted."""
    a, t = transfer["attribution"], transfer.get("tarnel") or {}
    mb = transfer["size"] / (1024 * 1024)
    state = "met" if transfer["ratio"] is not None and transfer["ratio"] <= 1.5 else "missed"
    window = "met" if t.get("ratio") is not None and t["ratio"] <= 2 else "missed"
    return (
        "- **tarnel transfer** (goal %s for DownLoad, %s for the window): DownLoad took %s s for %s MB against %s s "
        "for curl (%s x), the real tarnel %s s against %s s (%s x). DownLoad reads what has arrived "
        "(InternetQueryDataAvailable, then a read of no more than that, which never waits), writes and hashes it in "
        "pieces of up to 64 KB, and shows the count and serves the window's messages about 30 times a second. "
        "Counted in one DownLoad: %d reads (%.0f bytes each: Wine's WinINet answers from its 8 KB read buffer, so a "
        "read never gets more), %d writes and SHA-256 steps, %d counts shown with a turn of the message loop. Time: "
        "reads %s s, SHA-256 %s s, file writes %s s, turns of the message loop %s s, connection %s s. Taken apart in "
        "the same run: the same reads alone (no file, digest or window) take %s s; reads that wait for a whole 64 KB "
        "piece take %s s in %d reads, but they would freeze the window for as long as a slow server takes to send "
        "a piece (the dripping-server case), so tarnel does not use them; %s empty PeekMessage calls take %s s. So "
        "the cost is per WinINet call (two per read: under Wine each goes through the wineserver) and the SHA-256 "
        "that checks the signed digest (CryptoAPI, %.0f MB/s here), neither of which curl has; how much a read "
        "gets is WinINet's answer to InternetQueryDataAvailable, 8 KB at most under Wine. The real "
        "tarnel adds its window: the counter and the bar repainted about 30 times a second. CPU during one "
        "DownLoad: the client %s s, the wineserver %s s, the Python HTTP server %s s."
        % (state, window, fmt(transfer["seconds"], 3), fmt(mb, 0), fmt(transfer["curl_seconds"], 3),
           fmt(transfer["ratio"]), fmt(t.get("seconds"), 3), fmt(t.get("curl_seconds"), 3), fmt(t.get("ratio")),
           transfer["read_calls"], transfer["size"] / max(transfer["read_calls"], 1), transfer["write_calls"],
           transfer["yield_calls"], fmt(transfer["read_seconds"], 3), fmt(transfer["digest_seconds"], 3),
           fmt(transfer["write_seconds"], 3), fmt(transfer["yield_seconds"], 3), fmt(transfer["connect_seconds"], 3),
           fmt(a.get("raw_seconds"), 3), fmt(a.get("blocking_seconds"), 3), a.get("blocking_reads", 0),
           a.get("peek_calls", "n/a"), fmt(a.get("peek_seconds"), 3), mb / max(transfer["digest_seconds"], 1e-9),
           fmt(transfer["client_cpu"], 2), fmt(transfer["wineserver_cpu"], 2), fmt(transfer["http_server_cpu"], 2)))


def table_row(number, name, measured, baseline, ratio_text, goal, result):
    return "| %s | %s | %s | %s | %s | %s | %s |" % (number, name, measured, baseline, ratio_text, goal, result)


def core_rows(core):
    rows = []
    for key, label in (("system_off", "Check1 off"), ("system_on", "Check1 on"),
                       ("fixed_off", "Check1 off, fixed memory figures"), ("fixed_on", "Check1 on, fixed memory figures")):
        c = core[key]
        rows.append(table_row("1", "Core tick, " + label, fmt(c["tick_ns"], 0, " ns") + " (%.0f allocs)" % c["tick_allocs"],
                              fmt(c["baseline_ns"], 0, " ns") + " (%.0f allocs)" % c["baseline_allocs"],
                              fmt(c["ratio"]) + " x", "≤ 2 x", ratio_verdict(c["ratio"], 2.0)))
    return rows


IDLE_RUNS = (("default", "kelvo idle, first-start settings (E 0 0 0 0: background cleaning on, gauge icon)"),
             ("monitor", "kelvo idle, gauge icon, background cleaning off (E 1 1 0 0)"),
             ("gear", "kelvo idle, gear icon, background cleaning off (E 1 1 1 0)"))
MEMORY_GOAL_MB = 4


def idle_rows(idle):
    rows = []
    b = idle["bare"]
    for name, label in IDLE_RUNS:
        k = idle[name]
        rows.append(table_row("2", label + ": CPU / bare 500 ms monitor", fmt(k["cpu"], 2, " s"), fmt(b["cpu"], 2, " s"),
                              fmt(k["cpu_ratio"]) + " x", "≤ 1.5 x", ratio_verdict(k["cpu_ratio"], 1.5)))
    for name, label in IDLE_RUNS:
        k = idle[name]
        extra = k["peak_extra_kb"] / 1024 if k["peak_extra_kb"] is not None else None
        rows.append(table_row("2", label + ": peak memory − bare", fmt(k["peak_kb"] / 1024, 1, " MB"),
                              fmt(b["peak_kb"] / 1024, 1, " MB"), "+" + fmt(extra, 1, " MB"), "≤ +%d MB" % MEMORY_GOAL_MB,
                              "met" if extra is not None and extra <= MEMORY_GOAL_MB
                              else verdict(False, "by %s" % fmt(None if extra is None else extra - MEMORY_GOAL_MB, 1, " MB"))))
    return rows


def handles_rows(handles):
    rows = []
    for name, label in (("default", "gauge icon, background cleaning"), ("gear", "gear icon")):
        h = handles[name]
        a, z = h["after_first"], h["after_all"]
        for kind in ("gdi", "user"):
            rows.append(table_row("3", "Handles, %s: %s objects" % (label, kind.upper()),
                                  "%d after %d ticks" % (z[kind], h["total_ticks"]),
                                  "%d after %d ticks" % (a[kind], h["first_ticks"]), "%+d" % (z[kind] - a[kind]),
                                  "equal", verdict(z[kind] == a[kind])))
    return rows


def count_rows(count):
    return [table_row("4", "Process count: " + label, fmt(count[way]["us"], 0, " µs/call"),
                      fmt(count["process_only"]["us"], 0, " µs/call (process-only snapshot)"),
                      fmt(count[way]["ratio"]) + " x", "report", "reported")
            for way, label in COUNT_WAYS if way != "process_only"]


def progress_rows(bar):
    rows = []
    for name, label in (("monitor", "kelvo's bar1 following free memory"), ("download", "tarnel's pb1 rising 0 to 100")):
        p = bar[name]
        rows.append(table_row("6", "Progress bar, %s: paints per setting" % label,
                              fmt(p["incremental_paints"], 2) + " incremental", fmt(p["full_paints"], 2) + " full repaint",
                              fmt(p["ratio"]) + " x", "report", "reported"))
    return rows


def clean_rows(clean):
    return [table_row("7", "UI thread blocked by one clean (clean button pressed with the mouse on the real window, "
                      "to the next message handled)", fmt(clean["median_ms"], 2, " ms") + " (median of %d)" % clean["clicks"],
                      fmt(clean["start_ms"], 2, " ms (empty.exe started alone)"),
                      fmt(ratio(clean["median_ms"], clean["start_ms"])) + " x", "≤ 5 ms",
                      "met" if clean["median_ms"] <= 5 else verdict(False, "by %s ms" % fmt(clean["median_ms"] - 5, 2)))]


def how_core(core):
    return ("- Row 1 uses this machine's memory figures (sysinfo, the Linux counterpart of GlobalMemoryStatusEx) "
            "in tick and baseline alike; the rows with fixed figures leave out the system call and show the core's own "
            "work (Google Benchmark, %d repetitions interleaved at random, median CPU time). The process count of "
            "Check1 is a port there (a steady count); its Win32 cost is row 4." % core["repetitions"])


def how_idle(idle):
    return ("- Row 2: kelvo and the bare program run at the same time for %d s in each of %d rounds (median of the "
            "per-round ratios). CPU seconds are utime + stime of the Wine process of each program (from "
            "/proc/PID/stat) over the measured period after start-up; peak memory is VmHWM. Work that Wine's server "
            "does for a program is not in its own figure (the wineserver spent %s s CPU over the same period for all "
            "four programs together). Cleans go to a recorder standing in for empty.exe. Calls per tick are counted in "
            "a separate short run under Wine's relay trace, which slows the programs but not what they call."
            % (idle["seconds"], idle["rounds"], fmt(idle["wineserver_cpu"], 2)))


def how_handles(handles):
    return ("- Row 3: the real main window and ports (programs are not started), ticks delivered as WM_TIMER messages "
            "with the message loop's work after each. Wine 8 answers GetGuiResources with 0 (reported as %d), so the "
            "objects are counted by probing every handle value: GDI by GetObjectType, USER as the process's windows, "
            "menus and icons. The benchmark first proves that the probe sees one new bitmap, menu and icon." %
            handles["default"]["after_all"]["gdi_reported"])


def how_count(count):
    return ("- Row 4: %d calls of each way in each of %d rounds, the ways in rotating order within a round (median "
            "per call; ratio against the process-only snapshot of the same round). After the rounds the benchmark "
            "checks that every way gives the same count (%d processes) while the machine is still."
            % (count["calls"], count["rounds"], count["processes"]))


def how_progress(bar):
    return ("- Row 6 counts PaintPicture calls on a counting canvas; it is deterministic. A value equal to the bar's own "
            "is not set again (as kelvo's view does).")


def how_clean(clean):
    return ("- Row 7: the real main window and ports in a program of its own (clean_block_bench), its empty.exe a "
            "recorder that is really started. Each of %d clicks is a SendInput mouse press at the clean button's place "
            "on the screen; the time runs from the moment the message loop takes the button's WM_LBUTTONUP until it "
            "takes a message posted right behind it." % clean["clicks"])


def core_notes(core):
    off, on, fixed = core["system_off"], core["system_on"], core["fixed_off"]
    state = "met" if max(off["ratio"], on["ratio"]) <= 2 else "missed"
    return [
        "- **Core tick** (goal %s with the memory read in tick and baseline alike): %s x the baseline with Check1 off, "
        "%s x with Check1 on. Without the system call (fixed figures) the core's own work is %s x the bare "
        "formatting. Counted cause: the tick makes %.0f heap allocation(s) per call, the baseline %.0f; the tick "
        "writes four labels, the bar, three lines of tray tip and, with the gauge icon chosen and its figures "
        "changed, eleven drawing steps, where the baseline only formats the figures. The tray tip is built in a "
        "buffer kept between ticks, and Check2's tooltip and the caption of the tray entry nowyouhua are remade "
        "only when the hotkey letter changes. A tick costs %s ns of CPU every 500 ms."
        % (state, fmt(off["ratio"]), fmt(on["ratio"]), fmt(fixed["ratio"]), fixed["tick_allocs"],
           fixed["baseline_allocs"], fmt(off["tick_ns"], 0))]


def idle_notes(idle):
    b = idle["bare"]
    missed = [n for n, _ in IDLE_RUNS if idle[n]["cpu_ratio"] is None or idle[n]["cpu_ratio"] > 1.5]
    calls = idle.get("calls_per_tick", {})

    def top(name, than=None, n=6):
        """The functions called most per tick, or those called most more often than in THAN."""
        mine = calls.get(name, {}).get("functions", {})
        other = calls.get(than, {}).get("functions", {}) if than else {}
        increase = sorted(((count - other.get(function, 0), function) for function, count in mine.items()),
                          reverse=True)
        return ", ".join("%s %s" % (function.split(".")[-1].strip(), fmt(count, 0))
                         for count, function in increase[:n] if count >= 0.5) or "none"

    def per_tick(name):
        return fmt(calls.get(name, {}).get("median"), 0)

    cleans = median([sample.get("cleans") for sample in idle["default"].get("samples", [])])
    cpu = "; ".join("%s %s s (%s x; rounds %s)" % (label.split(" (")[0].replace("kelvo idle, ", ""), fmt(idle[n]["cpu"]),
                                                 fmt(idle[n]["cpu_ratio"]),
                                                 ", ".join(fmt(r) for r in idle[n].get("cpu_ratios", [])))
                    for n, label in IDLE_RUNS)
    notes = [
        "- **kelvo idle, CPU** (goal %s): in %d s the bare program used %s s; kelvo with the %s. At 10 ms per clock "
        "tick of the kernel's accounting these are small numbers. Counted with Wine's relay trace (API calls between "
        "two memory reads, median of the ticks after start-up): the bare program makes %s calls per tick; kelvo makes "
        "%s with the gear icon, %s with the gauge icon and %s with the first-start settings. With the gear icon the "
        "calls are the view's reflection of what a tick changed (most frequent per tick: %s). The gauge icon is "
        "drawn and handed to the tray only when its digits (the available MB) or its bar's length changed: on a "
        "tick where neither did it costs no GDI call (calls added per tick, median: %s). Background cleaning adds "
        "the process count of the process-count trigger, now one NtQuerySystemInformation call into a kept buffer "
        "(row 4) instead of a Toolhelp snapshot (calls added per tick: %s; at row 4's %s µs per call its 120 "
        "counts a minute come to %s s), and the rule's timed clean (%s in the "
        "measured minute, started through the recorder). The tray's own work happens in Wine's explorer.exe and the "
        "wineserver (%s s CPU in the same period, shared by all four programs), not in kelvo's figure."
        % ("met for every setting" if not missed else "missed for " + ", ".join(missed), idle["seconds"],
           fmt(b["cpu"]), cpu, per_tick("bare"), per_tick("gear"), per_tick("monitor"), per_tick("default"),
           top("gear"), top("monitor", "gear", 5), top("default", "monitor", 5), fmt(idle.get("count_us"), 0),
           fmt(None if idle.get("count_us") is None else idle["count_us"] * 120 / 1e6, 2),
           "n/a" if cleans is None else "%d" % cleans, fmt(idle["wineserver_cpu"]))]
    m, d = idle["monitor"], idle["default"]
    extra = ", ".join("%s %.1f MB" % (name, kb / 1024) for name, kb in idle.get("extra_by_mapping_kb", [])[:8])
    worst = max(m["peak_extra_kb"] or 0, d["peak_extra_kb"] or 0) / 1024
    notes.append(
        "- **kelvo idle, memory** (goal +%d MB, %s): kelvo's peak is %s MB against the bare program's %s MB "
        "(+%s MB with the gauge icon, +%s MB with the first-start settings). Resident memory beyond the bare "
        "program's, by mapping (from /proc/PID/smaps, gauge icon): %s. The OLE picture decoder (ole32, oleaut32 and "
        "OLE's start) is loaded only when a back.gif or back.jpg is there. kelvo.exe itself (the shipped, stripped "
        "program, %s MB on disk) is %s MB of it (the bare one %s MB): its sections are page-aligned in the file "
        "(the programs link with a file alignment of 4096 bytes), so Wine maps the image from the file as Windows "
        "does, and only the pages touched are resident (the code run, the icons shown and the background picture "
        "of the screen's scale, with the neighbouring pages Linux maps on each fault); with the MinGW linker's "
        "512-byte alignment Wine read the whole image into the process's own memory (2.2 MB, the second "
        "background picture of 0.6 MB included). Of the anonymous memory, 1.5 MB is two copies (the DIB and its "
        "pixels on the Unix side) of three 256 x 256 pictures: the information, warning and error icons that Wine's "
        "comctl32 holds at their full size for tooltip titles (found by reading the regions' pixels; they are "
        "there in a kelvo started to the tray too, before any tooltip shows; Windows holds them small). What "
        "remains is the memory of its own (windows, the gauge surface, the built-in background picture, the "
        "process-list buffer), the Chinese font that the captions need (mapped from the font file; on Windows "
        "the system font cache is shared between programs) and the libraries a real window with "
        "common controls, tooltips and a tray icon loads (comctl32, shell32 and shlwapi, shared between programs "
        "on Windows). With the first-start settings the peak is higher still: background cleaning starts "
        "empty.exe (%s in the measured minute), and under Wine every start adds threads (the start's own and the "
        "thread-pool thread that waits for the tool's end, each with Wine's per-thread stacks) and the process "
        "creation's work in kelvo's process; resident at the end beyond the gauge icon's, by mapping: %s. Over the "
        "measured %d s the resident memory changed by %s KB for kelvo with the gauge icon "
        "(%s KB for the bare program), and row 3 shows no objects "
        "leaking."
        % (MEMORY_GOAL_MB, "met" if worst <= MEMORY_GOAL_MB else "missed", fmt(m["peak_kb"] / 1024, 1),
           fmt(b["peak_kb"] / 1024, 1), fmt((m["peak_extra_kb"] or 0) / 1024, 1), fmt((d["peak_extra_kb"] or 0) / 1024, 1),
           extra, fmt(idle["image_kb"]["kelvo"] / 1024, 1),
           fmt(idle.get("image_resident_kb", {}).get("kelvo", 0) / 1024, 1),
           fmt(idle.get("image_resident_kb", {}).get("bare", 0) / 1024, 1),
           "n/a" if cleans is None else "%d" % cleans,
           ", ".join("%s %.1f MB" % (n, kb / 1024) for n, kb in idle.get("cleaning_extra_by_mapping_kb", [])) or "none",
           idle["seconds"],
           fmt(m.get("growth_kb"), 0), fmt(b.get("growth_kb"), 0)))
    return notes


def handles_notes(handles):
    if any(h["after_all"][k] != h["after_first"][k] for h in handles.values() for k in ("gdi", "user")):
        return ["- **Handles**: the counts changed between the two readings; see the table."]
    return []


def count_notes(count):
    us = {way: fmt(count[way]["us"], 0) for way, _ in COUNT_WAYS}
    return [
        "- **Process count** (reported): for the same %d processes the process list in a kept buffer costs %s µs "
        "per call, the process-only Toolhelp snapshot %s µs, the all-inclusive one %s µs, EnumProcesses %s µs and "
        "GetPerformanceInfo %s µs. By design on Windows: all of them start from the same system call "
        "(NtQuerySystemInformation with SystemProcessInformation, which copies every process with its threads); "
        "Toolhelp then copies the list into a new shared section and maps it for each Process32First/Next, "
        "EnumProcesses allocates its own buffer and copies the ids out, GetPerformanceInfo makes further system "
        "calls for the memory and handle figures. Under Wine the snapshot is heavier still (its entries are "
        "converted one by one, about 17,000 heap calls per snapshot in the relay trace). kelvo takes the cheapest "
        "exact one: the process list, its buffer kept from one count to the next (it grows only when the list "
        "outgrows it), the call looked up in ntdll at run time; should it be missing or fail, a process-only "
        "snapshot gives the count, which keeps Windows XP working. The trigger needs the count on every tick while "
        "background cleaning is on, whatever the rule (a rule with the trigger off still counts changes, and a "
        "later rule continues from them), so the count is not skipped."
        % (count["processes"], us["kept_list"], us["process_only"], us["full"], us["enum_processes"],
           us["performance_info"])]


def clean_notes(clean):
    return [
        "- **UI blocked by a clean** (goal ≤ 5 ms, %s): a press of the clean button keeps the window from its next "
        "message for %s ms (median of %d clicks, most %s ms). The click hands the start of empty.exe to a thread "
        "of its own and returns; that thread posts the outcome back (the failure box, or the wait for the tool's "
        "end that reports what it freed), which the window handles as one more message. The same start made on "
        "the window's thread, as the click did before, takes %s ms (median; %s x the click's time now): under "
        "Wine CreateProcess returns only when the new process, a new Unix process running Wine's loader, has "
        "been set up and registered with the wineserver. What the click still costs is the thread's creation "
        "and the button's own drawing."
        % ("met" if clean["median_ms"] <= 5 else "missed", fmt(clean["median_ms"], 2), clean["clicks"],
           fmt(clean["max_ms"], 2), fmt(clean["start_ms"], 2), fmt(ratio(clean["start_ms"], clean["median_ms"])))]


def progress_notes(bar):
    p = bar["monitor"]
    return [
        "- **Progress bar** (reported): for tarnel's rising bar the incremental drawing paints %s pictures per "
        "setting against %s for a full repaint (%s x). For kelvo's bar, which goes up and down, %s against %s (%s x): "
        "%s %% of its settings repaint from the frame, because a fall repaints by design and the bar keeps the "
        "highest value seen as its last value, so every later setting below it repaints as well (the control's "
        "drawing rules). A rise above that value paints %s pictures."
        % (fmt(bar["download"]["incremental_paints"]), fmt(bar["download"]["full_paints"]), fmt(bar["download"]["ratio"]),
           fmt(p["incremental_paints"]), fmt(p["full_paints"]), fmt(p["ratio"]),
           fmt(p["incremental_repaints_from_scratch"] * 100, 0), fmt(bar["download"]["incremental_paints_per_rise"]))]


# Each measured group: its row number, its rows, the line of "How to read it" that starts with
# "- Row N" (none for the transfer, whose reading is in the first line), and its notes with the
# beginnings by which a partial run finds them again.
GROUPS = {
    "core": ("1", core_rows, how_core, core_notes, ("- **Core tick**",)),
    "idle": ("2", idle_rows, how_idle, idle_notes, ("- **kelvo idle, CPU**", "- **kelvo idle, memory**")),
    "handles": ("3", handles_rows, how_handles, handles_notes, ("- **Handles**",)),
    "process_count": ("4", count_rows, how_count, count_notes, ("- **Process count**",)),
    "transfer": ("5", transfer_rows, None, lambda t: [transfer_note(t)], ("- **tarnel transfer**",)),
    "progress": ("6", progress_rows, how_progress, progress_notes, ("- **Progress bar**",)),
    "clean": ("7", clean_rows, how_clean, clean_notes, ("- **UI blocked by a clean**",)),
}
ORDER = ("core", "idle", "handles", "process_count", "transfer", "progress", "clean")


def merge_report(path, results, info, finished):
    """After a run of some benchmarks only: their rows, readings and notes replace the old ones in
    the report, and the other rows stay as they were measured."""
    with open(path) as f:
        lines = f.read().rstrip("\n").split("\n")
    numbers = [GROUPS[key][0] for key in ORDER if key in results]
    for key in ORDER:
        if key not in results:
            continue
        number, rows, how, notes, beginnings = GROUPS[key]
        figures = results[key]
        table = [i for i, line in enumerate(lines) if line.startswith("| ")]
        old = [i for i in table if lines[i].startswith("| %s |" % number)]
        # In place of the old rows, or before the first row of a higher number.
        at = old[0] if old else next((i for i in table[2:] if int(lines[i].split("|")[1]) > int(number)),
                                     table[-1] + 1)
        lines = [line for i, line in enumerate(lines) if i not in old]
        lines[at:at] = rows(figures)
        if how:
            prefix = "- Row %s" % number
            old = [i for i, line in enumerate(lines) if line.startswith(prefix)]
            at = old[0] if old else lines.index("## Where the goals are missed, and why") - 1
            lines = [line for i, line in enumerate(lines) if i not in old]
            lines.insert(at, how(figures))
        old = [i for i, line in enumerate(lines) if line.startswith(beginnings)]
        following = [i for i, line in enumerate(lines) if any(line.startswith(b) for k in ORDER[ORDER.index(key) + 1:]
                                                              for b in GROUPS[k][4])]
        at = old[0] if old else (following[0] if following else len(lines))
        lines = [line for i, line in enumerate(lines) if i not in old]
        lines[at:at] = notes(figures)
    note = "- Rows %s were measured again on " % ", ".join(numbers)
    lines = [line for line in lines if not line.startswith(note)]
    lines.insert(lines.index("## Results") - 1, note + "%s: commit %s, load average %.2f %.2f %.2f."
                 % (finished, info["commit"], *info["load"]))
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def write_report(path, results, info, started, finished):
    rows, hows, notes = [], [], []
    for key in ORDER:
        number, make_rows, how, make_notes, _ = GROUPS[key]
        rows += make_rows(results[key])
        if how:
            hows.append(how(results[key]))
        notes += make_notes(results[key])
    lines = [
        "# Varnic benchmarks",
        "",
        "Produced by `./x bench` (tools/x-bench, bench/run_bench.py) on %s, finished %s." % (started, finished),
        "",
        "## Machine",
        "",
        "- %d processors: %s" % (info["nproc"], info["cpu"]),
        "- %s, Linux %s, commit %s" % (info["wine"], info["kernel"], info["commit"]),
        "- load average at the start: %.2f %.2f %.2f (the machine is shared; ratios, not times, carry the result)"
        % tuple(info["load"]),
        "",
        "## Results",
        "",
        "| # | Benchmark | Measured | Baseline | Ratio | Goal | Result |",
        "|---|---|---|---|---|---|---|",
    ] + rows + [
        "",
        "## How to read it",
        "",
        "- Each ratio is measured against a baseline taken in the same run, side by side; DownLoad and curl against "
        "the same local server in alternating order in each of %d rounds." % results["transfer"]["rounds"],
        "- Absolute times vary with the machine's load; compare ratios only.",
    ] + hows + [
        "",
        "## Where the goals are missed, and why",
        "",
    ] + notes
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--native", required=True, help="native release build tree")
    parser.add_argument("--windows", required=True, help="i686 build tree with the benchmarks")
    parser.add_argument("--report", required=True)
    parser.add_argument("--json", help="where the raw figures go (default: beside the report)")
    parser.add_argument("--smoke", action="store_true")
    parser.add_argument("--only", help="comma-separated subset: core,progress,count,handles,idle,clean,transfer; "
                                       "kelvo stands for core,count,handles,idle,clean")
    parser.add_argument("--from-json", help="write the report from the figures of an earlier run")
    args = parser.parse_args()
    if args.from_json:
        with open(args.from_json) as f:
            saved = json.load(f)
        write_report(args.report, saved["results"], saved["machine"], saved["started"], saved["finished"])
        return
    args.native, args.windows = os.path.abspath(args.native), os.path.abspath(args.windows)
    args.kelvo = os.path.join(args.windows, "apps", "kelvo.exe")
    # tarnel built to trust the build tree's test key instead of the release key.
    args.tarnel = os.path.join(args.windows, "tests", "tarnel_testkey.exe")
    args.test_key = os.path.join(args.windows, "tests", "test-release-key", "test-release-key.pem")
    args.probe = os.path.join(args.windows, "tests", "ui_probe.exe")
    args.recorder = os.path.join(args.windows, "tests", "command_recorder.exe")
    for program in (args.kelvo, args.tarnel, args.test_key, args.probe, args.recorder):
        if not os.path.exists(program):
            raise SystemExit("missing " + program)

    started = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    info = machine()
    wanted = set((args.only or "core,progress,count,handles,idle,clean,transfer").replace(
        "kelvo", "core,count,handles,idle,clean").split(","))
    scratch = tempfile.mkdtemp(prefix="varnic-bench-")
    results = {}
    try:
        steps = [("core", "core", lambda: bench_core_tick(args)),
                 ("progress", "progress", lambda: bench_progress(args)),
                 ("count", "process_count", lambda: bench_process_count(args)),
                 ("handles", "handles", lambda: bench_handles(args, scratch)),
                 ("idle", "idle", lambda: bench_idle(args, scratch)),
                 ("clean", "clean", lambda: bench_clean_block(args, scratch)),
                 ("transfer", "transfer", lambda: bench_transfer(args, scratch))]
        for short, key, step in steps:
            if short not in wanted:
                continue
            log("running " + short)
            began = time.monotonic()
            results[key] = step()
            log("%s done in %.0f s" % (short, time.monotonic() - began))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    finished = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    if "idle" in results and "process_count" in results:  # what the trigger's counts cost a minute
        results["idle"]["count_us"] = results["process_count"]["kept_list"]["us"]
    os.makedirs(os.path.dirname(os.path.abspath(args.report)), exist_ok=True)
    with open(args.json or os.path.splitext(args.report)[0] + ".json", "w") as f:
        json.dump({"machine": info, "started": started, "finished": finished, "results": results}, f, indent=1)
    if len(results) == len(steps):
        write_report(args.report, results, info, started, finished)
        log("report: " + args.report)
    elif not args.smoke:
        merge_report(args.report, results, info, finished)


if __name__ == "__main__":
    main()
