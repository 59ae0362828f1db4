"""Launch overhead and footprint benchmark for Dravik.

Builds (under build/bench/):
  windows-x64/  the 64-bit twin of the shipped image, for the timed runs (this
                kind of host runs no 32-bit code, so only 64-bit Wine works);
  windows/      the shipped 32-bit image, unsigned and signed, with its linker
                map, for the size figures;
  Reference.exe the reference launcher (bench/reference.cpp), built with the
                compiler and the compile and link flags of the x64 Dravik;
  recorder.exe  tests/doubles/recorder.c, the stand-in setup program and
                monitor.

Then, in a 64-bit Wine prefix of its own served by one persistent wineserver:
  paired runs  Dravik (A) and the reference (B) alternately, A B A B ..., after
               a warm-up, on the same stand-ins and install-path record file;
  input cost   Dravik with the largest and deepest Common.cfg and record file
               that the XML size and depth limits accept, and with ones just
               over them.

Cost of one run: the launcher is the Wine loader process that runs the Windows
program (the loader execs its preloader and then runs the program in the same
unix process). Its wait4() rusage gives the cpu time (user + system) and the
peak resident set (the figure /usr/bin/time -v prints). Wine starts every
Windows child through a double fork, so the stand-ins end up as orphans; this
driver makes itself the child subreaper, reaps them and adds their rusage to
the tree figure. Wine's resident system processes of the prefix (services,
device and rpc hosts) and the wineserver are shared by all runs and not
counted. Wall time runs from the spawn of the loader to its exit: the setup
stand-in is waited for, the monitor is not.

Exit status: 0 within every budget, 1 a budget exceeded, 2 the benchmark could
not run (build failure, or a launcher that did not do its two starts).
"""

import argparse
import ctypes
import json
import os
import re
import shlex
import shutil
import statistics
import subprocess
import sys
import time

import pefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench")
TREE_X64 = os.path.join(BUILD, "windows-x64")
TREE_I686 = os.path.join(BUILD, "windows")
PREFIX = os.path.join(BUILD, "wineprefix")
LOG = os.path.join(BUILD, "build.log")

WINE = "/usr/lib/wine/wine64"
PREFIX_TOOL = os.path.join(ROOT, "tools", "wine-prefix.sh")
CC64 = "/usr/bin/x86_64-w64-mingw32-gcc-win32"
STRIP = "/usr/bin/i686-w64-mingw32-strip"

# Budgets.
MAX_CPU_RATIO = 1.05
MAX_SIGNED_IMAGE = 1_100_000  # bytes (1.1 MB, decimal)
MAX_INPUT_WALL = 2.0  # seconds per run
MAX_INPUT_EXTRA_RSS = 64 * 1024 * 1024  # bytes over a normal run

# Paired runs that may be repeated because a start failed.
MAX_DISCARDED = 3

# The XML limits of config/XmlConfig.h.
XML_MAX_SIZE = 64 * 1024
XML_MAX_DEPTH = 64

# Layout inside the prefix (drive C:).
BENCH_WIN = r"C:\bench"
INSTALL_WIN = BENCH_WIN + r"\install"
MONITOR_WIN = INSTALL_WIN + r"\System\Quillet.exe"
DRIVE_C = os.path.join(PREFIX, "drive_c")
BENCH_DIR = os.path.join(DRIVE_C, "bench")
DRAVIK_DIR = os.path.join(BENCH_DIR, "dravik")
REFERENCE_DIR = os.path.join(BENCH_DIR, "reference")
SYSTEM_DIR = os.path.join(BENCH_DIR, "install", "System")
RECORD_FILE = os.path.join(DRIVE_C, "ProgramData", "Pelmo", "RQ", "InstallPath",
                           "RQInstallationPath.xml")
COMMON_CFG = os.path.join(DRAVIK_DIR, "Common.cfg")
RECORD_RELATIVE = "Pelmo/RQ/InstallPath/RQInstallationPath.xml"
NORMAL_RECORD = "<RQInstallationPath>%s</RQInstallationPath>" % INSTALL_WIN


class BenchError(Exception):
    """The benchmark cannot give figures (exit status 2)."""


class RunFault(BenchError):
    """A run did not make the starts that it should have made."""


def say(text):
    print(text, file=sys.stderr, flush=True)


# ---------------------------------------------------------------- building

def run_logged(args, cwd=ROOT):
    with open(LOG, "a") as log:
        log.write("$ %s\n" % " ".join(shlex.quote(a) for a in args))
        log.flush()
        if subprocess.run(args, cwd=cwd, stdout=log, stderr=subprocess.STDOUT).returncode != 0:
            raise BenchError("failed: %s (see %s)" % (" ".join(args), LOG))


def build_trees():
    os.makedirs(BUILD, exist_ok=True)
    open(LOG, "w").close()
    say("building Dravik (windows-x64 and windows presets) ...")
    run_logged(["cmake", "--preset", "windows-x64", "-B", TREE_X64,
                "-DDRAVIK_BUILD_E2E_TESTS=OFF", "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"])
    run_logged(["cmake", "--build", TREE_X64, "--target", "Dravik"])
    # The image's own link writes the map that the size figures come from.
    run_logged(["cmake", "--preset", "windows", "-B", TREE_I686, "-DDRAVIK_BUILD_E2E_TESTS=OFF",
                "-DCMAKE_EXE_LINKER_FLAGS="])
    run_logged(["cmake", "--build", TREE_I686])


def dravik_compile_flags(tree):
    """Compile flags of launch/main.cpp in a build tree, without the paths."""
    with open(os.path.join(tree, "compile_commands.json")) as f:
        entries = json.load(f)
    main = [e for e in entries if e["file"].replace("\\", "/").endswith("launch/main.cpp")]
    if not main:
        raise BenchError("launch/main.cpp missing from %s/compile_commands.json" % tree)
    args = shlex.split(main[0]["command"])
    compiler, flags, skip = args[0], [], False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg in ("-o", "-c", "-MT", "-MF", "-isystem", "-I"):
            skip = True
        elif arg in ("-MD", "-MMD") or arg.startswith("-I"):
            pass
        else:
            flags.append(arg)
    return compiler, flags


def dravik_link_flags(tree):
    """FLAGS and LINK_FLAGS of the Dravik.exe link, without any map request."""
    with open(os.path.join(tree, "build.ninja")) as f:
        text = f.read()
    block = re.search(r"^build Dravik\.exe: .*?\n((?:  .*\n)+)", text, re.M)
    if not block:
        raise BenchError("no Dravik.exe link in %s/build.ninja" % tree)
    flags = []
    for name in ("FLAGS", "LINK_FLAGS"):
        m = re.search(r"^  %s = (.*)$" % name, block.group(1), re.M)
        if m:
            flags += shlex.split(m.group(1))
    kept = []
    for arg in flags:
        if arg.startswith("-Wl,"):
            parts, out, skip = arg[4:].split(","), [], False
            for part in parts:
                if skip:
                    skip = False
                elif part == "-Map":
                    skip = True
                elif not part.startswith("-Map="):
                    out.append(part)
            if out:
                kept.append("-Wl," + ",".join(out))
        else:
            kept.append(arg)
    return kept


def build_reference():
    compiler, flags = dravik_compile_flags(TREE_X64)
    link = dravik_link_flags(TREE_X64)
    obj = os.path.join(BUILD, "reference.obj")
    exe = os.path.join(BUILD, "Reference.exe")
    monitor = MONITOR_WIN.replace("\\", "\\\\")
    run_logged([compiler] + flags + ['-DREFERENCE_MONITOR="%s"' % monitor, "-c",
                os.path.join(ROOT, "bench", "reference.cpp"), "-o", obj], cwd=TREE_X64)
    # With the stack protector on, the guard word and handler are the project's.
    guard = [os.path.join(TREE_X64, "libdravik_stack_guard.a")]
    guard = guard if any(f.startswith("-fstack-protector") for f in flags) else []
    run_logged([compiler] + link + [obj, "-o", exe] + guard + ["-lshell32", "-lkernel32"],
               cwd=TREE_X64)
    recorder = os.path.join(BUILD, "recorder.exe")
    run_logged([CC64, "-O2", "-Wall", "-Wextra", "-Werror", "-mwindows",
                os.path.join(ROOT, "tests", "doubles", "recorder.c"), "-o", recorder, "-lshell32"])
    return exe, recorder


# ---------------------------------------------------------------- Wine

def wine_env():
    env = dict(os.environ)
    env.update(WINEPREFIX=PREFIX, WINEARCH="win64", WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def start_wine():
    subprocess.run([PREFIX_TOOL, "start", WINE, PREFIX], timeout=300, check=True)


def stop_wine():
    subprocess.run([PREFIX_TOOL, "stop", WINE, PREFIX], timeout=60, check=False)


def windows_path(unix_path):
    rel = os.path.relpath(unix_path, DRIVE_C)
    return "C:\\" + rel.replace("/", "\\")


def cpu_of(rusage):
    return rusage.ru_utime + rusage.ru_stime


class Runner:
    """Runs one launcher at a time and accounts for every process it starts."""

    def __init__(self):
        libc = ctypes.CDLL(None, use_errno=True)
        if libc.prctl(36, 1, 0, 0, 0) != 0:  # PR_SET_CHILD_SUBREAPER
            raise BenchError("cannot become the child subreaper")
        self.env = wine_env()
        # Wine's messages of the last run (the monitor inherits them too).
        self.messages = os.path.join(BUILD, "last-run.txt")
        self.output = [(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
                       (os.POSIX_SPAWN_OPEN, 2, self.messages,
                        os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)]

    @staticmethod
    def resident(pid):
        """Wine's system processes and the server live as long as the prefix."""
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                cmd = f.read().lower()
        except OSError:
            return False
        return b"\\windows\\system32\\" in cmd or b"wineserver" in cmd

    @staticmethod
    def live_children():
        me = os.getpid()
        found = []
        for name in os.listdir("/proc"):
            if not name.isdigit():
                continue
            try:
                with open("/proc/%s/stat" % name) as f:
                    stat = f.read()
            except OSError:
                continue
            fields = stat[stat.rindex(")") + 2:].split()
            if int(fields[1]) == me and fields[0] != "Z":
                found.append(int(name))
        return found

    def run(self, exe):
        argv = [WINE, windows_path(exe)]
        start = time.perf_counter()
        pid = os.posix_spawn(WINE, argv, self.env, file_actions=self.output)
        _, status, usage = os.wait4(pid, 0)
        wall = time.perf_counter() - start
        tree_cpu = cpu_of(usage)
        tree_rss = usage.ru_maxrss
        deadline = time.monotonic() + 30
        while True:
            while True:
                try:
                    other, _, other_usage = os.wait4(-1, os.WNOHANG)
                except ChildProcessError:
                    other = 0
                if other == 0:
                    break
                tree_cpu += cpu_of(other_usage)
                tree_rss = max(tree_rss, other_usage.ru_maxrss)
            waiting = [p for p in self.live_children() if not self.resident(p)]
            if not waiting:
                break
            if time.monotonic() > deadline:
                raise BenchError("processes of a run did not end: %s" % waiting)
            time.sleep(0.005)
        return {"code": os.waitstatus_to_exitcode(status), "wall": wall,
                "cpu": cpu_of(usage), "rss": usage.ru_maxrss * 1024,
                "tree_cpu": tree_cpu, "tree_rss": tree_rss * 1024}

    @staticmethod
    def reap_all():
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            try:
                if os.wait4(-1, os.WNOHANG)[0] == 0:
                    if not Runner.live_children():
                        return
                    time.sleep(0.05)
            except ChildProcessError:
                return


# ---------------------------------------------------------------- the stage

def starts(stand_in):
    """The command lines that a stand-in has recorded so far."""
    try:
        with open(stand_in + ".record", encoding="latin-1") as f:
            return [l[8:] for l in f.read().splitlines() if l.startswith("cmdline=")]
    except FileNotFoundError:
        return []


class Stage:
    def __init__(self, dravik, reference, recorder):
        shutil.rmtree(BENCH_DIR, ignore_errors=True)
        for folder in (DRAVIK_DIR, REFERENCE_DIR, SYSTEM_DIR, os.path.dirname(RECORD_FILE)):
            os.makedirs(folder, exist_ok=True)
        self.dravik = os.path.join(DRAVIK_DIR, "Dravik.exe")
        self.reference = os.path.join(REFERENCE_DIR, "Reference.exe")
        shutil.copyfile(dravik, self.dravik)
        shutil.copyfile(reference, self.reference)
        self.setup = {self.dravik: os.path.join(DRAVIK_DIR, "Tolmer.exe"),
                      self.reference: os.path.join(REFERENCE_DIR, "Tolmer.exe")}
        # Quillet is the default monitor; QuilletCfg is named by a Common.cfg
        # only, so its start proves that the file was accepted.
        self.monitors = {"Quillet": os.path.join(SYSTEM_DIR, "Quillet.exe"),
                         "QuilletCfg": os.path.join(SYSTEM_DIR, "QuilletCfg.exe")}
        for path in list(self.setup.values()) + list(self.monitors.values()):
            shutil.copyfile(recorder, path)
        self.normal_inputs()

    def normal_inputs(self):
        if os.path.exists(COMMON_CFG):
            os.remove(COMMON_CFG)
        with open(RECORD_FILE, "w", encoding="latin-1") as f:
            f.write(NORMAL_RECORD)

    def run(self, runner, exe, monitor="Quillet"):
        """One run; checks that it made exactly the expected two starts."""
        before = {p: len(starts(p)) for p in [self.setup[exe]] + list(self.monitors.values())}
        result = runner.run(exe)
        if result["code"] != 0:
            raise RunFault("%s exited with %d" % (os.path.basename(exe), result["code"]))
        if len(starts(self.setup[exe])) != before[self.setup[exe]] + 1:
            raise RunFault("%s did not start its setup program" % os.path.basename(exe))
        for name, path in self.monitors.items():
            made = starts(path)[before[path]:]
            wanted = 1 if name == monitor else 0
            if len(made) != wanted or (made and not made[0].endswith('" lauch')):
                raise RunFault("%s: %s started %d times (expected %d) %s" % (
                    os.path.basename(exe), name, len(made), wanted, made))
        return result


# ---------------------------------------------------------------- inputs

def exactly(head, filler, tail, size):
    """head + repeated filler + spaces + tail, size bytes long."""
    room = size - len(head) - len(tail)
    count = room // len(filler)
    return head + filler * count + " " * (room - count * len(filler)) + tail


def attributes(head, tail, size):
    """One start tag with as many distinct attributes as fit in size bytes."""
    letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
    names = [a + b for a in letters for b in letters]
    room = size - len(head) - len(tail)
    parts, used = [], 0
    for name in names:
        attr = " %s=''" % name
        if used + len(attr) > room:
            break
        parts.append(attr)
        used += len(attr)
    return head + "".join(parts) + " " * (room - used) + tail


def nested(head, tail, size, levels):
    """head, levels nested elements around filler text, tail; size bytes."""
    opening, closing = "<d>" * levels, "</d>" * levels
    return exactly(head + opening, "x", closing + tail, size)


def input_cases():
    """(name, file, content, monitor that the run must start or None)."""
    settings = ("<InstallPathRecordFileRelativePath>%s</InstallPathRecordFileRelativePath>"
                "<MonitorName>QuilletCfg</MonitorName>" % RECORD_RELATIVE)
    size, over = XML_MAX_SIZE, XML_MAX_SIZE + 1
    # Common.cfg: the settings come after the padding, so each lookup walks it.
    cfg_elements = lambda n: exactly("<CommonCfg>", "<a/>", settings + "</CommonCfg>", n)
    cfg_attributes = attributes("<CommonCfg", ">" + settings + "</CommonCfg>", size)
    # The root counts as one level.
    cfg_deep = lambda levels: nested("<CommonCfg>" + settings, "</CommonCfg>", size, levels - 1)
    record_head = "<RQInstallationPath>" + INSTALL_WIN
    record_elements = lambda n: exactly(record_head, "<a/>", "</RQInstallationPath>", n)
    record_attributes = attributes("<RQInstallationPath", ">" + INSTALL_WIN +
                                   "</RQInstallationPath>", size)
    record_deep = lambda levels: nested(record_head, "</RQInstallationPath>", size, levels - 1)
    return [
        ("Common.cfg 64 KiB of elements", COMMON_CFG, cfg_elements(size), "QuilletCfg"),
        ("Common.cfg 64 KiB of attributes", COMMON_CFG, cfg_attributes, "QuilletCfg"),
        ("Common.cfg 64 KiB, depth 64", COMMON_CFG, cfg_deep(XML_MAX_DEPTH), "QuilletCfg"),
        ("Common.cfg 64 KiB + 1 (refused)", COMMON_CFG, cfg_elements(over), "Quillet"),
        ("Common.cfg depth 65 (refused)", COMMON_CFG, cfg_deep(XML_MAX_DEPTH + 1), "Quillet"),
        ("record 64 KiB of elements", RECORD_FILE, record_elements(size), "Quillet"),
        ("record 64 KiB of attributes", RECORD_FILE, record_attributes, "Quillet"),
        ("record 64 KiB, depth 64", RECORD_FILE, record_deep(XML_MAX_DEPTH), "Quillet"),
        ("record 64 KiB + 1 (refused)", RECORD_FILE, record_elements(over), None),
        ("record depth 65 (refused)", RECORD_FILE, record_deep(XML_MAX_DEPTH + 1), None),
    ]


# ---------------------------------------------------------------- the image

def section_name(pe, section):
    name = section.Name.rstrip(b"\0").decode("latin-1")
    if name.startswith("/") and name[1:].isdigit() and pe.FILE_HEADER.PointerToSymbolTable:
        strings = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
        start = strings + int(name[1:])
        end = pe.__data__.find(b"\0", start)
        name = pe.__data__[start:end].decode("latin-1")
    return name


def image_breakdown(path):
    """Bytes of the file by what they hold."""
    pe = pefile.PE(path, fast_load=True)
    total = os.path.getsize(path)
    parts = {"headers": pe.sections[0].PointerToRawData if pe.sections else total}
    # A stripped image keeps 8 characters of a long name (".eh_fram").
    kinds = {".text": "code", ".eh_frame": "unwind tables", ".eh_fram": "unwind tables",
             ".pdata": "unwind tables",
             ".xdata": "unwind tables", ".rsrc": "resources", ".reloc": "relocations"}
    for section in pe.sections:
        name = section_name(pe, section)
        kind = kinds.get(name, "debug sections" if name.startswith((".debug", ".zdebug"))
                         else "data")
        parts[kind] = parts.get(kind, 0) + section.SizeOfRawData
    if pe.FILE_HEADER.PointerToSymbolTable:
        strings = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
        string_size = int.from_bytes(pe.__data__[strings:strings + 4], "little")
        parts["symbol table"] = 18 * pe.FILE_HEADER.NumberOfSymbols + string_size
    security = pe.OPTIONAL_HEADER.DATA_DIRECTORY[4]
    parts["signature"] = security.Size
    parts["other"] = total - sum(parts.values())
    pe.close()
    return total, parts


def find_images(tree):
    """Every Dravik*.exe that the build tree holds: (path, signed)."""
    found = []
    for folder, dirs, files in os.walk(tree):
        dirs[:] = [d for d in dirs if d not in ("CMakeFiles", "wineprefix")]
        for name in files:
            lower = name.lower()
            # Dravik-linked.exe is the link's output before the post-link step.
            if lower.startswith("dravik") and lower.endswith(".exe") and "-linked" not in lower:
                path = os.path.join(folder, name)
                pe = pefile.PE(path, fast_load=True)
                signed = pe.OPTIONAL_HEADER.DATA_DIRECTORY[4].Size > 0
                pe.close()
                found.append((path, signed))
    return sorted(found)


def map_contributors(map_path):
    """Bytes of file-backed output per input file, from a GNU ld map."""
    with open(map_path, encoding="latin-1") as f:
        text = f.read()
    text = text[text.index("Linker script and memory map"):]
    sizes = {}
    output = None
    pending = None
    for line in text.splitlines():
        head = re.match(r"^(\.\S+|/\d+)(\s+0x[0-9a-f]+\s+0x[0-9a-f]+)?", line)
        if head and not line.startswith(" "):
            output = head.group(1)
            continue
        m = re.match(r"^ (\S+)\s*$", line)
        if m and not line.startswith(" *"):
            pending = m.group(1)
            continue
        m = re.match(r"^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
        if m and (m.group(1) or pending):
            section = m.group(1) or pending
            pending = None
            if section.startswith("*") or output in (".bss",) or output is None:
                continue
            if output.startswith((".debug", ".zdebug", ".stab")):
                continue
            size = int(m.group(3), 16)
            if size:
                sizes[m.group(4)] = sizes.get(m.group(4), 0) + size
            continue
        pending = None
    return sizes


def group_of(input_file):
    name = os.path.basename(input_file.split("(")[0])
    if name.endswith(".res"):
        return "resources"
    if input_file.startswith("CMakeFiles/") or name.startswith("libdravik_"):
        return "Dravik's own code"
    if name == "libtinyxml.a":
        return "TinyXML"
    if name.startswith("libstdc++"):
        return "libstdc++"
    if name.startswith(("libgcc", "crtbegin", "crtend")):
        return "libgcc"
    if name in ("crt2.o", "libmingw32.a", "libmingwex.a", "libmsvcrt.a", "libmoldname.a"):
        return "mingw C run time"
    if name.endswith(".a"):
        return "import libraries"
    if name == "dll stuff":
        return "import tables (linker)"
    return "linker-generated"


def short(input_file):
    m = re.match(r"^(.*/)?([^/(]+)\((.*)\)$", input_file)
    return "%s(%s)" % (m.group(2), m.group(3)) if m else os.path.basename(input_file)


# ---------------------------------------------------------------- report

def median(values):
    return statistics.median(values)


def mib(n):
    return n / (1024 * 1024)


def table(rows, header):
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(len(header))]
    line = lambda r: "  ".join(str(c).rjust(w) if i else str(c).ljust(w)
                               for i, (c, w) in enumerate(zip(r, widths)))
    print(line(header))
    print("  ".join("-" * w for w in widths))
    for r in rows:
        print(line(r))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--pairs", type=int, default=25, help="timed pairs (at least 20)")
    parser.add_argument("--warmup", type=int, default=3, help="untimed pairs first")
    parser.add_argument("--repeats", type=int, default=5, help="runs per input case")
    options = parser.parse_args()
    if options.pairs < 20:
        parser.error("--pairs must be at least 20")

    began = time.monotonic()
    build_trees()
    reference, recorder = build_reference()
    dravik = os.path.join(TREE_X64, "Dravik.exe")
    start_wine()
    failures = []
    try:
        runner = Runner()
        stage = Stage(dravik, reference, recorder)
        say("warm-up: %d pairs" % options.warmup)
        for _ in range(options.warmup):
            stage.run(runner, stage.dravik)
            stage.run(runner, stage.reference)
        say("timed: %d pairs" % options.pairs)
        pairs, discarded = [], []
        while len(pairs) < options.pairs:
            try:
                pairs.append((stage.run(runner, stage.dravik),
                              stage.run(runner, stage.reference)))
            except RunFault as fault:
                # A process start under Wine fails now and then on a loaded
                # machine; a launcher at fault fails again and again.
                discarded.append(str(fault))
                with open(runner.messages, encoding="latin-1") as f:
                    say("pair discarded: %s\n%s" % (fault, f.read()[-2000:]))
                if len(discarded) > MAX_DISCARDED:
                    raise BenchError("too many failed runs: %s" % "; ".join(discarded))
        say("input cost: %d runs per case" % options.repeats)
        cases = []
        for name, path, content, monitor in input_cases():
            # Each run with the input follows a normal run, its own baseline.
            runs, normal = [], []
            for _ in range(options.repeats):
                normal.append(stage.run(runner, stage.dravik))
                with open(path, "w", encoding="latin-1") as f:
                    f.write(content)
                runs.append(stage.run(runner, stage.dravik, monitor))
                stage.normal_inputs()
            cases.append((name, len(content), runs, normal))
    finally:
        stop_wine()
        Runner.reap_all()

    # ---- paired runs
    a = [p[0] for p in pairs]
    b = [p[1] for p in pairs]
    ratio = lambda key: median([x[key] / y[key] for x, y in pairs])
    print()
    print("Paired runs: %d pairs A B after %d warm-up pairs (%d discarded); x64 builds under "
          "64-bit Wine" % (len(pairs), options.warmup, len(discarded)))
    rows = []
    for label, key, scale, unit in (("cpu, launcher process", "cpu", 1000, "ms"),
                                    ("cpu, whole tree", "tree_cpu", 1000, "ms"),
                                    ("wall", "wall", 1000, "ms"),
                                    ("peak RSS, launcher", "rss", 1 / 1024 / 1024, "MiB"),
                                    ("peak RSS, largest in tree", "tree_rss", 1 / 1024 / 1024,
                                     "MiB")):
        rows.append((label + " (" + unit + ")", "%.2f" % (median([x[key] for x in a]) * scale),
                     "%.2f" % (median([x[key] for x in b]) * scale), "%.3f" % ratio(key)))
    table(rows, ("median of", "A Dravik", "B reference", "A/B (pairwise)"))
    cpu_ratio = ratio("cpu")
    if cpu_ratio > MAX_CPU_RATIO:
        failures.append("median cpu ratio A/B %.3f > %.2f" % (cpu_ratio, MAX_CPU_RATIO))

    # ---- input cost
    print()
    print("Input cost: Dravik x64, medians of %d runs with the input, each after a normal run"
          % options.repeats)
    rows = []
    for name, size, runs, normal in cases:
        wall = median([r["wall"] for r in runs])
        cpu = median([r["cpu"] for r in runs])
        rss = median([r["rss"] for r in runs])
        extra_wall = wall - median([r["wall"] for r in normal])
        extra_cpu = cpu - median([r["cpu"] for r in normal])
        extra_rss = rss - median([r["rss"] for r in normal])
        rows.append((name, size, "%.1f" % (wall * 1000), "%+.1f" % (extra_wall * 1000),
                     "%.1f" % (cpu * 1000), "%+.1f" % (extra_cpu * 1000), "%.2f" % mib(rss),
                     "%+.2f" % mib(extra_rss)))
        if wall > MAX_INPUT_WALL:
            failures.append("%s: run takes %.2f s > %.1f s" % (name, wall, MAX_INPUT_WALL))
        if extra_rss > MAX_INPUT_EXTRA_RSS:
            failures.append("%s: %.1f MiB over a normal run" % (name, mib(extra_rss)))
    table(rows, ("input", "bytes", "wall ms", "vs normal", "cpu ms", "vs normal", "RSS MiB",
                 "vs normal"))

    # ---- the image
    print()
    print("Image: shipped i686 build (preset windows), %s" % os.path.relpath(TREE_I686, ROOT))
    images = find_images(TREE_I686)
    if not images:
        raise BenchError("no Dravik image in %s" % TREE_I686)
    kinds = ["headers", "code", "unwind tables", "data", "relocations", "resources",
             "debug sections", "symbol table", "signature", "other"]
    breakdowns = [(os.path.relpath(p, TREE_I686), signed) + image_breakdown(p)
                  for p, signed in images]
    unsigned = [p for p, signed in images if not signed]
    if unsigned and any(b[3].get("symbol table") or b[3].get("debug sections")
                        for b in breakdowns):
        # What stripping would leave: for information, no budget applies.
        stripped = os.path.join(BUILD, "Dravik-stripped.exe")
        run_logged([STRIP, "-o", stripped, unsigned[0]])
        breakdowns.append(("stripped copy", None) + image_breakdown(stripped))
    rows = [(k,) + tuple(b[3].get(k, 0) for b in breakdowns) for k in kinds]
    rows.append(("total",) + tuple(b[2] for b in breakdowns))
    state = {True: "signed", False: "unsigned", None: "information"}
    table(rows, ("bytes", ) + tuple("%s (%s)" % (b[0], state[b[1]]) for b in breakdowns))
    print("x64 builds of the timed runs: Dravik.exe %d bytes, Reference.exe %d bytes"
          % (os.path.getsize(dravik), os.path.getsize(reference)))
    signed = [b for b in breakdowns if b[1]]
    if signed:
        size, what = max(b[2] for b in signed), "signed image"
    else:
        size = max(b[2] for b in breakdowns if b[1] is False)
        what = "unsigned image (no signed image built)"
        print("no signed image in the tree: the budget is checked on the unsigned one")
    if size > MAX_SIGNED_IMAGE:
        failures.append("%s %d bytes > %d" % (what, size, MAX_SIGNED_IMAGE))

    maps = sorted(os.path.join(d, f) for d, _, fs in os.walk(TREE_I686) for f in fs
                  if f.endswith(".map"))
    if maps:
        sizes = map_contributors(maps[0])
        groups = {}
        for input_file, n in sizes.items():
            groups[group_of(input_file)] = groups.get(group_of(input_file), 0) + n
        print()
        print("Bytes by origin (linker map %s; every section stored in the file)"
              % os.path.relpath(maps[0], ROOT))
        table([(g, n) for g, n in sorted(groups.items(), key=lambda i: -i[1])],
              ("origin", "bytes"))
        print()
        print("Largest contributors")
        table([(short(f), n) for f, n in sorted(sizes.items(), key=lambda i: -i[1])[:15]],
              ("input", "bytes"))
    else:
        print("no linker map found")

    print()
    print("Budgets: cpu A/B <= %.2f; signed image <= %d bytes; an input run <= %.0f s and "
          "<= %d MiB over a normal run" % (MAX_CPU_RATIO, MAX_SIGNED_IMAGE, MAX_INPUT_WALL,
                                             MAX_INPUT_EXTRA_RSS // (1024 * 1024)))
    for failure in failures:
        print("OVER BUDGET: " + failure)
    print("%s in %.0f s" % ("FAILED" if failures else "within budget",
                            time.monotonic() - began))
    return 1 if failures else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except BenchError as error:
        say("benchmark: %s" % error)
        sys.exit(2)
