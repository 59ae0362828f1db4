"""The message sequences of a run, read from the log of the writing build."""

import os
import unittest

from harness import WRITES_LOG, LauncherTestCase, windows_path

APPDATA = "C:\\ProgramData"
RELATIVE = "Pelmo\\RQ\\InstallPath\\RQInstallationPath.xml"


def resolution(install, relative=RELATIVE, base_name=None):
    """The messages of a successful monitor path resolution."""
    system = install.rstrip("\\") + "\\System" if install.endswith("\\") else install + "\\System"
    messages = [
        "[Dravik] Enter getMonitorAppPath()",
        "[Dravik] Enter getSystemPath()",
        "[Dravik] Enter getInstallPath()",
        "[Dravik] Enter getInstallPathRecordFilePath()",
        "[Dravik] Enter getInstallPathRecordFileRelativePath()",
        "[Dravik] Use default install path record file relative path.",
        "[Dravik] Install path record file relative path: " + relative,
        "[Dravik] Leave getInstallPathRecordFileRelativePath()",
        "[Dravik] Install path record file path: " + APPDATA + "\\" + relative,
        "[Dravik] Leave getInstallPathRecordFilePath()",
        "[Dravik] Install path: " + install,
        "[Dravik] Leave getInstallPath()",
        "[Dravik] System path: " + system,
        "[Dravik] Leave getSystemPath()",
        "[Dravik] Enter getMonitorAppName()",
        "[Dravik] Use default monitor base name.",
        "[Dravik] Monitor base name: " + (base_name or "Quillet"),
        "[Dravik] Monitor name: " + (base_name or "Quillet") + ".exe",
        "[Dravik] Leave getMonitorAppName()",
        "[Dravik] Monitor path: " + system + "\\" + (base_name or "Quillet") + ".exe",
        "[Dravik] Leave getMonitorAppPath()",
    ]
    if relative != RELATIVE:
        messages.remove("[Dravik] Use default install path record file relative path.")
    if base_name is not None:
        messages.remove("[Dravik] Use default monitor base name.")
    return messages


@unittest.skipUnless(WRITES_LOG, "needs the build that writes its log")
class MessagesTest(LauncherTestCase):
    def setUp(self):
        super().setUp()
        self.tolmer_path = '"%s"' % windows_path(os.path.join(self.app, "Tolmer.exe"))
        self.setup_ok = [
            "[Dravik] Enter main()",
            "[Dravik] Enter startTolmer()",
            "[Dravik] Tolmer path: " + self.tolmer_path,
            "[Dravik] Leave startTolmer()",
            "[Dravik] Enter startMonitor()",
        ]

    def test_successful_run_without_common_cfg(self):
        self.tolmer(0)
        self.monitor()
        self.write_install_record()
        install = windows_path(self.install)
        self.assertEqual(self.run_dravik().code, 0)
        self.assertEqual(self.log_messages(), self.setup_ok + resolution(install) + [
            '[Dravik] Command line: "%s\\System\\Quillet.exe" lauch' % install,
            "[Dravik] Leave startMonitor()",
            "[Dravik] Leave main()",
        ])

    def test_configured_values_replace_the_defaults(self):
        self.tolmer(0)
        self.write_common_cfg("<CommonCfg><MonitorName> Mon </MonitorName>"
                              "<InstallPathRecordFileRelativePath>Pelmo/RQ/InstallPath/"
                              "RQInstallationPath.xml</InstallPathRecordFileRelativePath>"
                              "</CommonCfg>")
        install = windows_path(self.install) + "\\"
        self.write_record("<RQInstallationPath>%s</RQInstallationPath>" % install)
        self.assertEqual(self.run_dravik().code, 0)
        messages = self.log_messages()
        expected = resolution(install, base_name=" Mon ")
        expected.remove("[Dravik] Use default install path record file relative path.")
        self.assertEqual(messages[5:5 + len(expected)], expected)
        # The configured name is not a program here: the start fails.
        self.assertEqual(messages[-3:], ["[Dravik] Failed to run the monitor!",
                                         "[Dravik] Leave startMonitor()",
                                         "[Dravik] Leave main()"])

    def test_failed_setup(self):
        self.tolmer(1)
        self.assertEqual(self.run_dravik().code, 1)
        self.assertEqual(self.log_messages(), [
            "[Dravik] Enter main()",
            "[Dravik] Enter startTolmer()",
            "[Dravik] Tolmer path: " + self.tolmer_path,
            "[Dravik] Failed to run Tolmer!",
            "[Dravik] Leave startTolmer()",
            "[Dravik] Failed to start the Tolmer!",
        ])

    def test_resolution_failures(self):
        up_to_relative_path = self.setup_ok + resolution("")[:8]
        cases = [
            ("record missing", None, [
                "[Dravik] Failed to find the install path record file!",
                "[Dravik] Leave getInstallPathRecordFilePath()",
                "[Dravik] Failed to get the install path record file path!",
                "[Dravik] Failed to get install path!",
                "[Dravik] Failed to get system path!",
            ]),
            ("record malformed", "<RQInstallationPath>x", [
                "[Dravik] Install path record file path: %s\\%s" % (APPDATA, RELATIVE),
                "[Dravik] Leave getInstallPathRecordFilePath()",
                "[Dravik] Failed to get the value of RQInstallationPath!",
                "[Dravik] Leave getInstallPath()",
                "[Dravik] Failed to get install path!",
                "[Dravik] Failed to get system path!",
            ]),
        ]
        self.tolmer(0)
        for label, record, failure in cases:
            with self.subTest(label):
                self.remove_record_tree()
                self.remove_log()
                if record is not None:
                    self.write_record(record)
                self.assertEqual(self.run_dravik().code, 0)
                self.assertEqual(self.log_messages(), up_to_relative_path + failure + [
                    "[Dravik] Failed to get the path of the monitor!",
                    "[Dravik] Leave main()",
                ])

    def test_missing_monitor(self):
        self.tolmer(0)
        self.write_install_record()
        self.assertEqual(self.run_dravik().code, 0)
        self.assertEqual(self.log_messages()[-3:], ["[Dravik] Failed to run the monitor!",
                                                    "[Dravik] Leave startMonitor()",
                                                    "[Dravik] Leave main()"])


if __name__ == "__main__":
    unittest.main()
