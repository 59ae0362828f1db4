"""Broken and hostile Common.cfg and record files: no crash, no hang, the
setup program's exit code stands."""

import os
import random
import time
import unittest

from harness import LauncherTestCase, windows_path

MAX_SIZE = 64 * 1024
MAX_DEPTH = 64


def nested(depth, inner=""):
    return "<a>" * depth + inner + "</a>" * depth


def padded(text, size):
    """text with a comment that brings it to exactly size bytes."""
    filler = size - len(text) - len("<!---->")
    return text + "<!--" + "x" * filler + "-->"


def hostile_files():
    rng = random.Random(1234)
    return {
        "empty": b"",
        "binary": bytes(rng.randrange(256) for _ in range(4096)),
        "truncated": b"<RQInstallationPath>C:\\Program Fi",
        "huge": b"<RQInstallationPath>" + b"x" * (4 * 1024 * 1024),
        "deep": nested(200000).encode(),
        "deep unclosed": ("<a>" * 200000).encode(),
        "deep self-closing mix": ("<a><b/>" * 100000).encode(),
        "many attributes": padded("<a " + " ".join("n%d='v'" % i for i in range(6000)) + "/>",
                                  MAX_SIZE).encode(),
        "many siblings": padded("<r>" + "<a/>" * 16000 + "</r>", MAX_SIZE).encode(),
        "unterminated comment": b"<!--" + b"-" * 60000,
        "utf-16": "<RQInstallationPath>C:\\x</RQInstallationPath>".encode("utf-16"),
    }


class HostileFilesTest(LauncherTestCase):
    def setUp(self):
        super().setUp()
        self.tolmer(0)
        self.runner = self.monitor()

    def run_quickly(self):
        started = time.monotonic()
        result = self.run_dravik(timeout=30)
        elapsed = time.monotonic() - started
        self.assertEqual(result.code, 0)
        # A normal run takes a fraction of a second; the margin is for a
        # loaded machine, not for a slow parse.
        self.assertLess(elapsed, 5.0)

    def test_hostile_record_file(self):
        for label, content in hostile_files().items():
            with self.subTest(label):
                self.write_record(content)
                self.run_quickly()
        self.assertEqual(self.runner.runs(), [])

    def test_hostile_common_cfg_falls_back_to_defaults(self):
        self.write_install_record()
        for label, content in hostile_files().items():
            with self.subTest(label):
                self.write_common_cfg(content)
                self.run_quickly()
        self.assertTrue(self.wait_for(lambda: len(self.runner.runs()) == len(hostile_files())))

    def test_limits_are_exact(self):
        element = "<RQInstallationPath>%s</RQInstallationPath>" % windows_path(self.install)
        cases = [
            ("size at the limit", padded(element, MAX_SIZE), True),
            ("size one over", padded(element, MAX_SIZE + 1), False),
            ("depth at the limit", element + nested(MAX_DEPTH), True),
            ("depth one over", element + nested(MAX_DEPTH + 1), False),
        ]
        for label, content, starts in cases:
            with self.subTest(label):
                self.write_record(content)
                self.run_quickly()
                self.assertEqual(self.wait_for(lambda: self.runner.runs(), seconds=2.0), starts)
                if starts:
                    os.remove(self.runner.path + ".record")

    def test_hostile_files_do_not_turn_a_failed_setup_into_success(self):
        self.tolmer(1)
        contents = hostile_files()
        self.write_record(contents["deep"])
        self.write_common_cfg(contents["binary"])
        self.assertEqual(self.run_dravik().code, 1)


if __name__ == "__main__":
    unittest.main()
