"""The setup program's start: verb, request, wait and exit code."""

import os
import unittest

from harness import LauncherTestCase, set_windows_version, windows_path


class SetupLaunchTest(LauncherTestCase):
    def test_exit_code_follows_the_setup_program(self):
        # Signed readings -1, -2 and -3 must not pass for anything but failure.
        for setup_code, expected in [(0, 0), (1, 1), (0xFFFFFFFF, 1), (0xFFFFFFFE, 1),
                                     (0xFFFFFFFD, 1), (0x80000000, 1)]:
            with self.subTest(setup_code=hex(setup_code)):
                tolmer = self.tolmer(setup_code)
                self.assertEqual(self.run_dravik().code, expected)
                self.assertEqual(len(tolmer.runs()), 1)
                os.remove(tolmer.path + ".record")

    def test_setup_runs_hidden_without_arguments_whatever_dravik_was_given(self):
        quoted = '"%s"' % windows_path(os.path.join(self.app, "Tolmer.exe"))
        for args in [[], ["lauch", "/S", "a b"]]:
            with self.subTest(args=args):
                tolmer = self.tolmer(0)
                self.assertEqual(self.run_dravik(*args).code, 0)
                run, = tolmer.runs()
                self.assertEqual(run["cmdline"], quoted)
                self.assertEqual(run["argc"], "1")
                self.assertEqual(run["show"], "0")  # SW_HIDE
                os.remove(tolmer.path + ".record")

    def test_shell_request_asks_for_elevation_on_vista_and_later(self):
        self.tolmer(0)
        request, = self.run_dravik(trace=True).shell_requests()
        self.assertEqual(request, {
            "mask": 0x40, "verb": "runas",
            "file": '"%s"' % windows_path(os.path.join(self.app, "Tolmer.exe")),
            "parm": "", "dir": "", "show": 0})

    def test_verb_follows_the_windows_version(self):
        # Windows 10 reports 6.2 to a program whose manifest stops at 7: still NT 6.
        self.tolmer(0)
        self.addCleanup(set_windows_version, None)
        for version, verb in [("win10", "runas"), ("win7", "runas"), ("winxp", "open"),
                              ("win2k", "open")]:
            with self.subTest(version=version):
                set_windows_version(version)
                result = self.run_dravik(trace=True)
                self.assertEqual(result.code, 0)
                self.assertEqual([r["verb"] for r in result.shell_requests()], [verb])

    def test_missing_setup_program_fails_without_starting_the_monitor(self):
        monitor = self.monitor()
        self.write_install_record()
        result = self.run_dravik(trace=True)
        self.assertEqual(result.code, 1)
        self.assertEqual(len(result.shell_requests()), 1)
        self.assertEqual(monitor.runs(), [])

    def test_failed_setup_does_not_start_the_monitor(self):
        self.tolmer(1)
        monitor = self.monitor()
        self.write_install_record()
        self.assertEqual(self.run_dravik().code, 1)
        self.assertFalse(self.wait_for(lambda: monitor.runs(), seconds=1.0))


if __name__ == "__main__":
    unittest.main()
