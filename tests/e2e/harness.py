"""Runs the real Dravik.exe under Wine with test doubles for the programs it starts.

The build hands over, in the environment:
  DRAVIK_EXE          the executable under test
  DRAVIK_DOUBLE       the recorder double (tests/doubles/recorder.c)
  DRAVIK_WINE         the Wine loader
  DRAVIK_WINEPREFIX   the build tree's throwaway prefix (kept served by the
                      `wine` CTest fixture)
  DRAVIK_WRITE_LOG    "1" when the executable writes its log lines
Each test works in a fresh folder and resets what it changed in the prefix.
"""

import getpass
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

EXE = os.environ["DRAVIK_EXE"]
DOUBLE = os.environ["DRAVIK_DOUBLE"]
WINE = os.environ["DRAVIK_WINE"]
PREFIX = os.environ["DRAVIK_WINEPREFIX"]
WRITES_LOG = os.environ.get("DRAVIK_WRITE_LOG") == "1"

PROGRAM_DATA = os.path.join(PREFIX, "drive_c", "ProgramData")
TEMP = os.path.join(PREFIX, "drive_c", "users", getpass.getuser(), "Temp")
LOG_FILE = os.path.join(TEMP, "__dvklog.txt")
DEFAULT_RECORD = os.path.join(PROGRAM_DATA, "Pelmo", "RQ", "InstallPath", "RQInstallationPath.xml")

# Generous: a run takes well under a second once the wineserver is up.
RUN_TIMEOUT = 60


def windows_path(unix_path):
    """How Windows programs under Wine see a unix path (through drive Z:)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def wine_env(**extra):
    env = dict(os.environ)
    env.update(WINEPREFIX=PREFIX, WINEDLLOVERRIDES="mscoree,mshtml=", WINEDEBUG="-all")
    env.update(extra)
    return env


def set_windows_version(version):
    """Sets the prefix's Windows version (e.g. "winxp"); None restores the default."""
    if version is None:
        args = ["reg", "delete", r"HKCU\Software\Wine", "/v", "Version", "/f"]
    else:
        args = ["reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f"]
    subprocess.run([WINE] + args, env=wine_env(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=RUN_TIMEOUT, check=False)


class Program:
    """A copy of the recorder double; reads what it recorded."""

    def __init__(self, path, exit_code=None, sleep_ms=None):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(DOUBLE, path)
        self.path = path
        if exit_code is not None:
            with open(path + ".exitcode", "w") as f:
                f.write(hex(exit_code))
        if sleep_ms is not None:
            with open(path + ".sleep", "w") as f:
                f.write(str(sleep_ms))

    def runs(self):
        """One dict per start: cmdline, argc, show, cwd (and finished)."""
        try:
            with open(self.path + ".record", encoding="latin-1") as f:
                text = f.read()
        except FileNotFoundError:
            return []
        runs = []
        for line in text.splitlines():
            key, _, value = line.partition("=")
            if key == "cmdline":
                runs.append({})
            if key == "finished":
                runs[-1]["finished"] = True
            else:
                runs[-1][key] = value
        return runs


class Result:
    def __init__(self, code, stderr):
        self.code = code
        self.stderr = stderr

    def shell_requests(self):
        """The shell requests from Wine's exec trace, as dicts of their fields."""
        found = []
        for m in re.finditer(r'SHELL_execute mask=(0x[0-9a-f]+) hwnd=\S+ verb=L"([^"]*)" '
                             r'file=L"((?:[^"\\]|\\.)*)" parm=L"((?:[^"\\]|\\.)*)" '
                             r'dir=L"((?:[^"\\]|\\.)*)" show=(0x[0-9a-f]+)', self.stderr):
            unescape = lambda s: s.replace('\\"', '"').replace("\\\\", "\\")
            found.append({"mask": int(m.group(1), 16), "verb": m.group(2),
                          "file": unescape(m.group(3)), "parm": unescape(m.group(4)),
                          "dir": unescape(m.group(5)), "show": int(m.group(6), 16)})
        return found


class LauncherTestCase(unittest.TestCase):
    """A fresh app folder with Dravik.exe, and a clean record and log per test."""

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="dravik-e2e-")
        self.app = os.path.join(self.work, "app")
        os.makedirs(self.app)
        self.exe = os.path.join(self.app, "Dravik.exe")
        shutil.copyfile(EXE, self.exe)
        self.install = os.path.join(self.work, "install")
        self.remove_record_tree()
        self.remove_log()
        self.addCleanup(self.remove_record_tree)
        self.addCleanup(shutil.rmtree, self.work, True)

    # The prefix is shared by the suites of one build tree: leave it clean.
    @staticmethod
    def remove_record_tree():
        shutil.rmtree(os.path.join(PROGRAM_DATA, "Pelmo"), ignore_errors=True)

    @staticmethod
    def remove_log():
        if os.path.isdir(LOG_FILE):
            shutil.rmtree(LOG_FILE)
        elif os.path.exists(LOG_FILE):
            os.remove(LOG_FILE)

    def tolmer(self, exit_code=0):
        return Program(os.path.join(self.app, "Tolmer.exe"), exit_code)

    def monitor(self, install=None, name="Quillet.exe", sleep_ms=None):
        folder = install if install is not None else self.install
        return Program(os.path.join(folder, "System", name), sleep_ms=sleep_ms)

    def write_record(self, content, path=DEFAULT_RECORD):
        """Writes the install-path record file; str is encoded as latin-1."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content.encode("latin-1") if isinstance(content, str) else content)

    def write_install_record(self, install=None, path=DEFAULT_RECORD):
        folder = windows_path(install if install is not None else self.install)
        self.write_record("<RQInstallationPath>%s</RQInstallationPath>" % folder, path)

    def write_common_cfg(self, content):
        with open(os.path.join(self.app, "Common.cfg"), "wb") as f:
            f.write(content.encode("latin-1") if isinstance(content, str) else content)

    def run_dravik(self, *args, trace=False, timeout=RUN_TIMEOUT, cwd=None):
        env = wine_env(WINEDEBUG="trace+exec") if trace else wine_env()
        # Files, not pipes: a started monitor inherits Wine's output handles.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run([WINE, self.exe] + list(args), env=env, stdout=out,
                                  stderr=err, cwd=cwd or self.app, timeout=timeout).returncode
            err.seek(0)
            return Result(code, err.read().decode("latin-1"))

    def log_messages(self):
        """The messages of the log, each checked for its time stamp."""
        with open(LOG_FILE, encoding="latin-1", newline="") as f:
            text = f.read().replace("\r\n", "\n")
        messages = []
        # Values may hold line breaks, so a line is only a message where a
        # time stamp begins it.
        stamp = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} "
        for chunk in re.split(r"\n(?=%s)" % stamp, text.rstrip("\n")):
            self.assertRegex(chunk, "^" + stamp + r"\[Dravik\] ")
            messages.append(chunk[24:])
        return messages

    def wait_for(self, predicate, seconds=10.0):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if predicate():
                return True
            time.sleep(0.05)
        return bool(predicate())
