"""Shows, for a person to read, what one run of Dravik.exe does under Wine.

demo.py <Dravik.exe> <recorder.exe> <wine loader>
"""

import getpass
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    dravik, recorder, wine = sys.argv[1:4]
    work = tempfile.mkdtemp(prefix="dravik-demo-")
    prefix = os.path.join(work, "prefix")
    prefix_tool = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine-prefix.sh")
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    try:
        print("Creating a throwaway Wine prefix in %s ..." % prefix)
        subprocess.run([prefix_tool, "start", wine, prefix], check=True)

        app = os.path.join(work, "app")
        install = os.path.join(work, "Program Files", "Pelmo")
        os.makedirs(app)
        os.makedirs(os.path.join(install, "System"))
        shutil.copy(dravik, os.path.join(app, "Dravik.exe"))
        tolmer = os.path.join(app, "Tolmer.exe")
        monitor = os.path.join(install, "System", "Quillet.exe")
        shutil.copy(recorder, tolmer)
        shutil.copy(recorder, monitor)
        record = os.path.join(prefix, "drive_c", "ProgramData", "Pelmo", "RQ", "InstallPath",
                              "RQInstallationPath.xml")
        os.makedirs(os.path.dirname(record))
        with open(record, "w") as f:
            f.write("<RQInstallationPath>%s</RQInstallationPath>\n" % windows_path(install))

        for setup_code in [0, 1]:
            with open(tolmer + ".exitcode", "w") as f:
                f.write(str(setup_code))
            for stale in [tolmer + ".record", monitor + ".record"]:
                if os.path.exists(stale):
                    os.remove(stale)
            print()
            print("=== Run with a setup program that exits with %d ===" % setup_code)
            with tempfile.TemporaryFile() as err:
                code = subprocess.run([wine, os.path.join(app, "Dravik.exe")],
                                      env=dict(env, WINEDEBUG="trace+exec"), cwd=app,
                                      stdout=subprocess.DEVNULL, stderr=err).returncode
                err.seek(0)
                trace = err.read().decode("latin-1")
            m = re.search(r'SHELL_execute mask=\S+ hwnd=\S+ verb=L"([^"]*)" '
                          r'file=L"((?:[^"\\]|\\.)*)" parm=\S+ dir=\S+ show=(0x[0-9a-f]+)', trace)
            if m:
                print("Shell request : verb %s, file %s, show state %d (SW_HIDE)"
                      % (m.group(1), m.group(2).replace('\\"', '"').replace("\\\\", "\\"),
                         int(m.group(3), 16)))
            else:
                print("Shell request : none seen in Wine's trace")
            print("Setup program : exit code %d" % setup_code)
            print("Dravik        : exit code %d" % code)
            started = ""
            for _ in range(40):
                if os.path.exists(monitor + ".record"):
                    with open(monitor + ".record", encoding="latin-1") as f:
                        started = f.readline().strip().partition("=")[2]
                    break
                time.sleep(0.05)
            print("Monitor       : %s" % ("started as " + started if started else "not started"))
        log = os.path.join(prefix, "drive_c", "users", getpass.getuser(), "Temp", "__dvklog.txt")
        print()
        print("Log file      : C:\\users\\%s\\Temp\\__dvklog.txt, i.e. %s" % (getpass.getuser(), log))
        print("                %d bytes: the shipped build opens it and writes no lines. "
              "It goes with the throwaway prefix." % os.path.getsize(log))
    finally:
        subprocess.run([prefix_tool, "stop", wine, prefix], check=False)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
