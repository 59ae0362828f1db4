"""A smashed stack buffer ends the process at once with 0xC0000409
(STATUS_STACK_BUFFER_OVERRUN), under Wine, through the project's own
__stack_chk_fail; an intact one changes nothing.

Environment: DRAVIK_SMASH (the test program), DRAVIK_WINE (its loader),
DRAVIK_SMASH_PREFIX (a directory for the Wine prefix). On a host that cannot
execute 32-bit code the 32-bit build skips; the x64 twin's build runs it.
"""
import os
import subprocess
import unittest

PREFIX_TOOL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                           "wine-prefix.sh")
WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}


def can_run(loader):
    try:
        return subprocess.run([loader, "--version"], capture_output=True).returncode == 0
    except OSError:
        return False


class StackSmashTest(unittest.TestCase):
    def test_overrun_ends_process_with_stack_buffer_overrun(self):
        loader, program = os.environ["DRAVIK_WINE"], os.environ["DRAVIK_SMASH"]
        if not can_run(loader):
            self.skipTest("%s cannot execute here (a kernel without 32-bit execution?); "
                          "the windows-x64 preset runs this test" % loader)
        prefix = os.environ["DRAVIK_SMASH_PREFIX"]
        env = dict(os.environ, WINEPREFIX=prefix, **WINE_ENV)
        subprocess.run([PREFIX_TOOL, "start", loader, prefix], check=True, timeout=300)
        self.addCleanup(subprocess.run, [PREFIX_TOOL, "stop", loader, prefix], check=False)
        result = subprocess.run([loader, program], env=env, capture_output=True, text=True,
                                timeout=120)
        lines = result.stdout.split()
        self.assertEqual(lines, ["calm", "0x00000000", "smash", "0xC0000409"], result.stderr)


if __name__ == "__main__":
    unittest.main()
