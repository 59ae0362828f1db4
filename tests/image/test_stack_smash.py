"""A smashed stack buffer ends the process at once with 0xC0000409
(STATUS_STACK_BUFFER_OVERRUN), under Wine, through the project's own
__stack_chk_fail; an intact one changes nothing.

Environment: DRAVIK_SMASH (the image's architecture), DRAVIK_WINE (its loader),
DRAVIK_SMASH_X64 and DRAVIK_WINE64 (the 64-bit twin, for hosts that cannot
run 32-bit code), DRAVIK_SMASH_PREFIX (a directory for the Wine prefixes).
"""
import os
import subprocess
import unittest

WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}


def can_run(loader):
    try:
        return subprocess.run([loader, "--version"], capture_output=True).returncode == 0
    except OSError:
        return False


def pick():
    """(loader, program, Wine architecture) that this host can run."""
    wine, smash = os.environ["DRAVIK_WINE"], os.environ["DRAVIK_SMASH"]
    if can_run(wine):
        return wine, smash, "win64" if wine.endswith("64") else "win32"
    wine64, smash64 = os.environ.get("DRAVIK_WINE64", ""), os.environ.get("DRAVIK_SMASH_X64", "")
    if smash64 and can_run(wine64):
        print("%s cannot run here (no 32-bit execution): using the x64 twin" % wine)
        return wine64, smash64, "win64"
    return None


class StackSmashTest(unittest.TestCase):
    def test_overrun_ends_process_with_stack_buffer_overrun(self):
        choice = pick()
        if choice is None:
            self.skipTest("no Wine loader can run the test program on this host")
        loader, program, arch = choice
        env = dict(os.environ, **WINE_ENV)
        env["WINEPREFIX"] = os.path.join(os.environ["DRAVIK_SMASH_PREFIX"], arch)
        os.makedirs(os.environ["DRAVIK_SMASH_PREFIX"], exist_ok=True)
        if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
            subprocess.run([loader, "wineboot", "-i"], env=dict(env, WINEARCH=arch),
                           capture_output=True, check=True, timeout=300)
        result = subprocess.run([loader, program], env=env, capture_output=True, text=True,
                                timeout=120)
        lines = result.stdout.split()
        self.assertEqual(lines, ["calm", "0x00000000", "smash", "0xC0000409"], result.stderr)


if __name__ == "__main__":
    unittest.main()
