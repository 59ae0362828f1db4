"""The log file: opened for appending before the run, never in the way."""

import os
import unittest

from harness import LOG_FILE, WRITES_LOG, LauncherTestCase


class LogFileTest(LauncherTestCase):
    def setUp(self):
        super().setUp()
        self.tolmer(0)
        self.monitor()
        self.write_install_record()

    @unittest.skipIf(WRITES_LOG, "the writing build appends lines")
    def test_first_run_leaves_an_empty_log_file(self):
        self.assertEqual(self.run_dravik().code, 0)
        self.assertEqual(os.path.getsize(LOG_FILE), 0)

    @unittest.skipIf(WRITES_LOG, "the writing build appends lines")
    def test_existing_log_is_left_byte_for_byte(self):
        content = b"earlier run\r\n\x00\xff no newline at the end"
        with open(LOG_FILE, "wb") as f:
            f.write(content)
        for setup_code in [0, 1]:
            self.tolmer(setup_code)
            self.run_dravik()
            with open(LOG_FILE, "rb") as f:
                self.assertEqual(f.read(), content)

    def test_unopenable_log_changes_nothing(self):
        # A folder of that name cannot be opened as a file, even by root.
        os.makedirs(LOG_FILE)
        self.addCleanup(self.remove_log)
        for setup_code, expected in [(0, 0), (1, 1)]:
            with self.subTest(setup_code=setup_code):
                self.tolmer(setup_code)
                self.assertEqual(self.run_dravik().code, expected)
        self.assertTrue(os.path.isdir(LOG_FILE))
        self.assertEqual(os.listdir(LOG_FILE), [])

    @unittest.skipUnless(WRITES_LOG, "only the writing build appends")
    def test_writing_build_appends_to_an_existing_log(self):
        with open(LOG_FILE, "wb") as f:
            f.write(b"kept\r\n")
        self.run_dravik()
        with open(LOG_FILE, "rb") as f:
            text = f.read()
        self.assertTrue(text.startswith(b"kept\r\n"))
        self.assertIn(b"[Dravik] Enter main()", text)


if __name__ == "__main__":
    unittest.main()
