#!/usr/bin/env python3
"""The editor's speed as a user meets it: the real program on a virtual X
display (Xvfb, 1280 x 1024, a window manager that maximises the window), real
key events (xdotool), every measure timed to idle, that is to the moment the
editor's processes have used no CPU for 300 ms.

    scripts/perf.py --build BUILD [--base COMMIT] [--runs 3] [--quick]

With --base the same measures run for a build of that commit (made once in
BUILD/perf/COMMIT, from a worktree of this repository), interleaved run by
run with this build's, and the table gives both. --quick leaves out the
100 MB page.

Measures:
  start-up to idle                the program started with no file
  20 MB open to idle              412,000 lines through Ctrl+O, the Open
                                  dialog's file field and Enter
  CPU of that open, peak memory   the resident high-water mark meanwhile
  CPU per typed key (20 MB)       a character and a Backspace, 50 times, in
                                  the first line
  CPU per caret key (20 MB)       50 Down and 20 Page Down
  CPU per typed key (2 MB line)   the same, 10 times, at the end of a 2 MB line
  100 MB open to idle, peak       2,060,000 lines through the Open dialog
  bare QPlainTextEdit             start-up, the 20 MB and 100 MB opens (from
                                  the command line) and the keys in Qt's own widget
                                  with the same text: the floor the document
                                  sets
"""

import argparse
import contextlib
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

QUIET_S = 0.3
POLL_S = 0.005
TICK = os.sysconf("SC_CLK_TCK")


# --- pages -------------------------------------------------------------------

LINES = [
    "<p class=\"odstavec\">Příliš žluťoučký kůň úpěl.</p>",
    "  <td align=\"center\"><a href=\"stranka.html\">Odkaz</a></td>",
    "<div>&nbsp;Černá, šedá, růžová &ndash; ěščřžýáíé</div>",
    "\t<img src=\"obrazek.gif\" width=\"120\" height=\"60\" alt=\"\">",
    "",
]


def write_pages(folder):
    pages = {}
    for name, count in (("velka.html", 412_000), ("obri.html", 2_060_000)):
        path = os.path.join(folder, name)
        block = ("\r\n".join(LINES) + "\r\n").encode("cp1250")
        with open(path, "wb") as out:
            out.write(block * (count // len(LINES)))
        pages[name] = path
    piece = ("<div class=\"odstavec\"><a href=\"stranka.html\">Příliš žluťoučký kůň</a> "
             "úpěl ďábelské ódy&nbsp;</div><td align=\"center\">Černá, šedá</td>")
    line = (piece * (2_000_000 // len(piece) + 1))[:2_000_000]
    path = os.path.join(folder, "radek.html")
    with open(path, "wb") as out:
        out.write(b'<meta charset="utf-8">' + line.encode("utf-8"))
    pages["radek.html"] = path
    return pages


# --- processes ----------------------------------------------------------------

def tree(pid):
    """The process and its descendants."""
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        try:
            with open(f"/proc/{p}/task/{p}/children") as f:
                todo += [int(c) for c in f.read().split()]
        except OSError:
            pass
    return found


def cpu_seconds(pid):
    """User and system time of the process tree, threads that ended included."""
    total = 0
    for p in tree(pid):
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total / TICK


def run_ns(pid):
    """Nanoseconds on a CPU of every thread alive in the tree: fine-grained."""
    total = 0
    for p in tree(pid):
        try:
            for task in os.listdir(f"/proc/{p}/task"):
                with open(f"/proc/{p}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
        except OSError:
            pass
    return total


def peak_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def reset_peak(pid):
    with open(f"/proc/{pid}/clear_refs", "w") as f:
        f.write("5")


def wait_idle(pid, since, limit=120.0):
    """Seconds from `since` to the last CPU use before 300 ms of none."""
    last_ns, last_use = run_ns(pid), time.monotonic()
    while True:
        time.sleep(POLL_S)
        now_ns, now = run_ns(pid), time.monotonic()
        if now_ns != last_ns:
            last_ns, last_use = now_ns, now
        elif now - last_use >= QUIET_S:
            return max(0.0, last_use - since)
        if now - since > limit:
            raise RuntimeError("the program never became idle")


# --- the display --------------------------------------------------------------

class Display:
    def __init__(self):
        for n in range(90, 140):
            if not os.path.exists(f"/tmp/.X{n}-lock"):
                break
        self.name = f":{n}"
        self.server = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("QT_QPA_PLATFORM", None)
        for _ in range(200):
            if subprocess.run(["xdotool", "getmouselocation"], env=self.env,
                              capture_output=True).returncode == 0:
                break
            time.sleep(0.05)
        self.manager = subprocess.Popen(
            ["matchbox-window-manager", "-use_titlebar", "no"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def keys(self, *keys, delay=30):
        subprocess.run(["xdotool", "key", "--delay", str(delay), *keys], env=self.env, check=True)

    def click_page(self):
        """A click into the shown page, which takes the keys from then on."""
        subprocess.run(["xdotool", "mousemove", "640", "300", "click", "1"], env=self.env,
                       check=True)

    def type(self, text, delay=30):
        subprocess.run(["xdotool", "type", "--delay", str(delay), text], env=self.env, check=True)

    def close(self):
        for p in (self.manager, self.server):
            p.terminate()
            p.wait()


# --- one build ----------------------------------------------------------------

class Session:
    """One program started on the display, in a working folder of its own."""

    def __init__(self, display, program, files=()):
        self.display = display
        self.home = tempfile.mkdtemp(prefix="zelvar-perf-")
        work = os.path.join(self.home, "work")
        data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
        shutil.copytree(data, work)
        env = dict(display.env, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                   XDG_DATA_HOME=os.path.join(self.home, "share"),
                   LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.started = time.monotonic()
        self.process = subprocess.Popen([program, *files], cwd=work, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = self.process.pid

    def idle(self, since):
        return wait_idle(self.pid, since)

    def close(self):
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def open_through_dialog(s, path):
    """Ctrl+O, the file's name in the dialog's field, Enter: seconds, CPU, peak MB."""
    s.display.keys("ctrl+o")
    s.idle(time.monotonic())
    s.display.type(path, delay=5)
    s.idle(time.monotonic())
    reset_peak(s.pid)
    before = cpu_seconds(s.pid)
    start = time.monotonic()
    s.display.keys("Return")
    took = s.idle(start)
    return took, cpu_seconds(s.pid) - before, peak_kb(s.pid) / 1024


def cpu_per_key(s, keys):
    s.idle(time.monotonic())
    before = cpu_seconds(s.pid)
    s.display.keys(*keys, delay=40)
    s.idle(time.monotonic())
    return (cpu_seconds(s.pid) - before) / len(keys) * 1000


@contextlib.contextmanager
def session(display, program, files=()):
    s = Session(display, program, files)
    try:
        yield s
    finally:
        s.close()


def typed_keys(s, keys, count):
    """CPU per key of a character and a Backspace in turn, after `keys`."""
    s.display.click_page()
    s.display.keys(keys)
    return cpu_per_key(s, ["x", "BackSpace"] * count)


def measure(display, program, bare, pages, quick):
    got = {}
    with session(display, program) as s:
        got["start-up to idle (s)"] = s.idle(s.started)
        took, cpu, peak = open_through_dialog(s, pages["velka.html"])
        got["20 MB open to idle (s)"] = took
        got["CPU of that open (s)"] = cpu
        got["peak memory of that open (MB)"] = peak
        got["CPU per typed key, 20 MB (ms)"] = typed_keys(s, "ctrl+Home", 50)
        got["CPU per Down, 20 MB (ms)"] = cpu_per_key(s, ["Down"] * 50)
        got["CPU per Page Down, 20 MB (ms)"] = cpu_per_key(s, ["Next"] * 20)
    with session(display, program, [pages["radek.html"]]) as s:
        s.idle(s.started)
        got["CPU per typed key, 2 MB line (ms)"] = typed_keys(s, "ctrl+End", 10)
    if not quick:
        with session(display, program) as s:
            s.idle(s.started)
            took, cpu, peak = open_through_dialog(s, pages["obri.html"])
            got["100 MB open to idle (s)"] = took
            got["peak memory of the 100 MB open (MB)"] = peak
    if bare:
        with session(display, bare) as s:
            start_up = s.idle(s.started)
            got["bare QPlainTextEdit: start-up (s)"] = start_up
        with session(display, bare, [pages["velka.html"]]) as s:
            got["bare QPlainTextEdit: 20 MB open (s)"] = s.idle(s.started) - start_up
            got["bare QPlainTextEdit: typed key, 20 MB (ms)"] = typed_keys(s, "ctrl+Home", 50)
            got["bare QPlainTextEdit: Down, 20 MB (ms)"] = cpu_per_key(s, ["Down"] * 50)
            got["bare QPlainTextEdit: Page Down, 20 MB (ms)"] = cpu_per_key(s, ["Next"] * 20)
        with session(display, bare, [pages["radek.html"]]) as s:
            s.idle(s.started)
            got["bare QPlainTextEdit: typed key, 2 MB line (ms)"] = typed_keys(s, "ctrl+End", 10)
        if not quick:
            with session(display, bare, [pages["obri.html"]]) as s:
                got["bare QPlainTextEdit: 100 MB open (s)"] = s.idle(s.started) - start_up
                got["bare QPlainTextEdit: peak of the 100 MB open (MB)"] = peak_kb(s.pid) / 1024
    return got


# --- builds -------------------------------------------------------------------

def build_type(build):
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith("CMAKE_BUILD_TYPE:"):
                return line.split("=", 1)[1].strip()
    return "RelWithDebInfo"


def build_base(build, commit):
    sha = subprocess.run(["git", "rev-parse", "--short", commit], check=True,
                         capture_output=True, text=True).stdout.strip()
    root = os.path.abspath(os.path.join(build, "perf", sha))
    source, binary = os.path.join(root, "source"), os.path.join(root, "build")
    if not os.path.isdir(source):
        subprocess.run(["git", "worktree", "add", "--detach", source, sha], check=True)
    subprocess.run(["cmake", "-S", source, "-B", binary, f"-DCMAKE_BUILD_TYPE={build_type(build)}",
                    "-DZELVAR_WERROR=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", binary, "-j2", "--target", "zelvar"], check=True,
                   stdout=subprocess.DEVNULL)
    return sha, os.path.join(binary, "zelvar")


def summary(values):
    return f"{statistics.median(values):.3f} ({min(values):.3f}–{max(values):.3f})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--base")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()

    program = os.path.abspath(os.path.join(args.build, "zelvar"))
    bare = os.path.abspath(os.path.join(args.build, "bench", "zelvar_bare_editor"))
    builds = [("this build", program)]
    if args.base:
        sha, base = build_base(args.build, args.base)
        builds.insert(0, (f"base {sha}", base))
    folder = tempfile.mkdtemp(prefix="zelvar-perf-pages-")
    display = Display()
    try:
        pages = write_pages(folder)
        results = {name: {} for name, _ in builds}
        for run in range(args.runs):
            for i, (name, binary) in enumerate(builds):
                with_bare = bare if os.path.exists(bare) and i == len(builds) - 1 else None
                for key, value in measure(display, binary, with_bare, pages, args.quick).items():
                    results[name].setdefault(key, []).append(value)
                print(f"run {run + 1} of {args.runs}: {name} measured", file=sys.stderr)
    finally:
        display.close()
        shutil.rmtree(folder, ignore_errors=True)

    keys = list(results[builds[-1][0]])
    width = max(len(k) for k in keys)
    print(f"Medians of {args.runs} runs (min–max), {build_type(args.build)} builds")
    print(f"{'measure':<{width}}" + "".join(f" | {name:<26}" for name, _ in builds))
    for key in keys:
        row = f"{key:<{width}}"
        for name, _ in builds:
            values = results[name].get(key)
            row += f" | {summary(values) if values else '–':<26}"
        print(row)


if __name__ == "__main__":
    main()
