"""After a successful setup: the record file, Common.cfg and the monitor's start."""

import os
import unittest

from harness import DEFAULT_RECORD, PROGRAM_DATA, LauncherTestCase, windows_path


class WholeRunTest(LauncherTestCase):
    def setUp(self):
        super().setUp()
        self.tolmer(0)

    def expect_monitor_started(self, monitor, install_text, name="Quillet.exe"):
        self.assertTrue(self.wait_for(lambda: monitor.runs()), "monitor not started")
        run, = monitor.runs()
        self.assertEqual(run["cmdline"], '"%s\\System\\%s" lauch' % (install_text, name))
        self.assertEqual(run["argc"], "2")
        # The monitor inherits the launcher's current folder.
        self.assertEqual(run["cwd"], windows_path(self.app))

    def test_defaults_without_common_cfg(self):
        monitor = self.monitor()
        self.write_install_record()
        self.assertEqual(self.run_dravik().code, 0)
        self.expect_monitor_started(monitor, windows_path(self.install))

    def test_each_setting_from_common_cfg(self):
        record = os.path.join(PROGRAM_DATA, "Vendor", "Sub", "record.xml")
        cases = [
            # (Common.cfg body, record file, monitor file name)
            ("<MonitorName>Watcher</MonitorName>", DEFAULT_RECORD, "Watcher.exe"),
            ("<InstallPathRecordFileRelativePath>Vendor/Sub\\record.xml"
             "</InstallPathRecordFileRelativePath>", record, "Quillet.exe"),
            ("<MonitorName>Both.exe</MonitorName><InstallPathRecordFileRelativePath>"
             "Vendor/Sub/record.xml</InstallPathRecordFileRelativePath>", record, "Both.exe.exe"),
        ]
        self.addCleanup(lambda: __import__("shutil").rmtree(
            os.path.join(PROGRAM_DATA, "Vendor"), ignore_errors=True))
        for body, record_path, name in cases:
            with self.subTest(body=body):
                self.write_common_cfg("<CommonCfg>%s</CommonCfg>" % body)
                install = os.path.join(self.work, "install-" + name)
                monitor = self.monitor(install, name)
                self.write_install_record(install, record_path)
                self.assertEqual(self.run_dravik().code, 0)
                self.expect_monitor_started(monitor, windows_path(install), name)
                os.remove(record_path)

    def test_install_folder_forms(self):
        # Forward slashes in the install folder stay as written; a final '\'
        # gets no second one, a final '/' does.
        plain = windows_path(os.path.join(self.work, "with blanks"))
        cases = [
            ("blanks", plain, plain),
            ("trailing backslash", plain + "\\", plain),
            ("trailing slash", plain + "/", plain + "/"),
            ("forward slashes", plain.replace("\\", "/"), plain.replace("\\", "/")),
        ]
        monitor = self.monitor(os.path.join(self.work, "with blanks"))
        for label, written, started in cases:
            with self.subTest(label):
                self.write_record("<RQInstallationPath>%s</RQInstallationPath>" % written)
                self.assertEqual(self.run_dravik().code, 0)
                self.assertTrue(self.wait_for(lambda: monitor.runs()))
                self.assertEqual(monitor.runs()[0]["cmdline"],
                                 '"%s\\System\\Quillet.exe" lauch' % started)
                os.remove(monitor.path + ".record")

    def test_white_space_around_install_folder_is_kept(self):
        # The padded folder names no real folder, so nothing starts and the
        # exit code stays with the setup program.
        monitor = self.monitor()
        self.write_record("<RQInstallationPath>\n  %s\n</RQInstallationPath>"
                          % windows_path(self.install))
        result = self.run_dravik(trace=True)
        self.assertEqual(result.code, 0)
        self.assertFalse(self.wait_for(lambda: monitor.runs(), seconds=1.0))

    def test_no_usable_record_starts_nothing_and_keeps_exit_code(self):
        cases = {
            "missing": None,
            "malformed": "<RQInstallationPath>C:\\x</RQInstall",
            "no element": "<Other>%s</Other>" % windows_path(self.install),
            "empty element": "<RQInstallationPath></RQInstallationPath>",
        }
        monitor = self.monitor()
        for label, content in cases.items():
            with self.subTest(label):
                self.remove_record_tree()
                if content is not None:
                    self.write_record(content)
                self.assertEqual(self.run_dravik().code, 0)
        self.assertFalse(self.wait_for(lambda: monitor.runs(), seconds=1.0))

    def test_empty_install_folder_never_starts_a_relative_path(self):
        # A double where a relative "System\Quillet.exe" would resolve.
        relative = self.monitor(self.app)
        self.write_record("<RQInstallationPath><![CDATA[]]></RQInstallationPath>")
        self.assertEqual(self.run_dravik().code, 0)
        self.assertFalse(self.wait_for(lambda: relative.runs(), seconds=1.0))

    def test_missing_monitor_keeps_exit_code_zero(self):
        self.write_install_record()
        self.assertEqual(self.run_dravik().code, 0)

    def test_monitor_outlives_the_launcher(self):
        monitor = self.monitor(sleep_ms=3000)
        self.write_install_record()
        self.assertEqual(self.run_dravik().code, 0)
        self.assertTrue(self.wait_for(lambda: monitor.runs()))
        self.assertNotIn("finished", monitor.runs()[0])
        self.assertTrue(self.wait_for(lambda: "finished" in monitor.runs()[0], seconds=15))

    def test_command_line_limit(self):
        # The quoted path, a blank and "lauch" must fit 260 bytes with the
        # terminator: a monitor path of 251 characters does, 252 does not.
        base = windows_path(self.work) + "\\"
        suffix = "\\System\\Quillet.exe"
        for length, starts in [(251, True), (252, False)]:
            with self.subTest(length=length):
                folder_name = "d" * (length - len(base) - len(suffix))
                install = os.path.join(self.work, folder_name)
                monitor = self.monitor(install)
                self.write_install_record(install)
                self.assertEqual(len(windows_path(monitor.path)), length)
                self.assertEqual(self.run_dravik().code, 0)
                self.assertEqual(self.wait_for(lambda: monitor.runs(), seconds=2.0), starts)


if __name__ == "__main__":
    unittest.main()
