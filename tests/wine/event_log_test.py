#!/usr/bin/env python3
"""One event a run, in the Application log: read where Wine shows it.

Wine's ReportEventW stores nothing, but with WINEDEBUG=+eventlog it prints
each event's type and identifier, then its strings, on the process's Unix
standard error, which a Windows parent cannot read: so the program is
started from here. A window run's Complete is driven by the Windows test
that completes a run.

Usage: event_log_test.py BUILD_DIR PROGRAM INSTALL_STAND_IN TYPE2_MDB WINDOWS_TESTS
"""
import os
import re
import shutil
import subprocess
import sys
import unittest

BUILD, PROGRAM, INSTALLER, DATABASE, WINDOWS_TESTS = sys.argv[1:6]
WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine-run.sh")
# The prefix this test's lane runs in (made when it is not there yet).
DRIVE_C = os.path.join(subprocess.run([WINE_RUN, BUILD, "--prefix"], capture_output=True, check=True, text=True)
                       .stdout.strip(), "drive_c")
APP = r"C:\selvane-tests\p30"  # a folder whose ORNA.mdb the harness maps for mdbtools
KEVA = r"C:\selvane-tests\keva-events"

INFORMATION, WARNING, ERROR = 0x0004, 0x0002, 0x0001
EVENT = re.compile(r"ReportEventW \(\w+,0x(\w+),0x\w+,0x(\w+),\w+,0x(\w+),")
STRING = re.compile(r':eventlog:ReportEventW L"(.*)"(\.\.\.)?$')


def unix(path):
    return os.path.join(DRIVE_C, *path[3:].split("\\"))


def decoded(text):
    """A string as Wine's debugstr_w writes it, read back."""
    return re.sub(r"\\([0-9a-f]{4}|.)",
                  lambda m: chr(int(m.group(1), 16)) if len(m.group(1)) == 4 else
                  {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1), m.group(1)), text)


def events(stderr):
    """Each event: its type, its identifier and its strings (a long one cut short, as Wine prints it)."""
    found = []
    for line in stderr.decode("utf-8", "replace").splitlines():
        if m := EVENT.search(line):
            found.append((int(m.group(1), 16), int(m.group(2), 16), []))
        elif (m := STRING.search(line)) and found:
            found[-1][2].append(decoded(m.group(1)))
    return found


def run(*command, env=None):
    result = subprocess.run([WINE_RUN, BUILD, *command], capture_output=True, timeout=300,
                            env=dict(os.environ, WINEDEBUG="+eventlog", **(env or {})))
    return result.returncode, events(result.stderr)


class EventLog(unittest.TestCase):
    def setUp(self):
        self.tearDown()
        os.makedirs(unix(APP + r"\service"))
        os.makedirs(unix(KEVA))
        shutil.copy(PROGRAM, unix(APP + r"\selvane-init.exe"))
        shutil.copy(DATABASE, unix(APP + r"\ORNA.mdb"))
        shutil.copy(INSTALLER, unix(APP + r"\service\install.exe"))
        with open(unix(APP + r"\acl.bat"), "wb") as batch:
            batch.write(b"@echo off\r\n")

    def tearDown(self):
        for folder in (APP, KEVA):
            shutil.rmtree(unix(folder), ignore_errors=True)

    def setup(self, *switches):
        return run(APP + r"\selvane-init.exe", *switches)

    def test_each_outcome_is_one_event_of_its_type(self):
        cases = [  # switches, installer's exit code, acl.bat there, exit code, type, identifier, outcome
            (["/VERYSILENT", "/DIR=" + KEVA + "\\"], None, True, 0, INFORMATION, 1000, "初期設定が完了しました。"),
            (["/VERYSILENT", "/WAIT", "/DIR=" + KEVA], "3010", True, 3010, WARNING, 1001,
             "初期設定が完了しました。サーバを再起動してください。"),
            (["/VERYSILENT", "/DIR=" + KEVA], None, False, 1603, ERROR, 1002,
             "初期設定を中止しました。 バッチファイル " + APP + r"\acl.bat"),
            (["/VERYSLIENT", "/DIR=" + KEVA], None, True, 1639, ERROR, 1003, "不明なスイッチです: /VERYSLIENT"),
        ]
        for switches, installer_exit, acl_there, exit_code, kind, identifier, outcome in cases:
            with self.subTest(switches=switches):
                self.setUp()
                if installer_exit:
                    with open(unix(APP + r"\service\install-exit.txt"), "w") as file:
                        file.write(installer_exit)
                if not acl_there:
                    os.remove(unix(APP + r"\acl.bat"))
                code, found = self.setup(*switches)
                # The Unix parent sees only the exit code's low 8 bits.
                self.assertEqual(code, exit_code % 256)
                self.assertEqual(len(found), 1, found)
                self.assertEqual(found[0][:2], (kind, identifier))
                strings = found[0][2]
                self.assertTrue(outcome.startswith(strings[0]) or strings[0].startswith(outcome), strings[0])
                self.assertEqual(strings[1:], [str(exit_code), KEVA, APP, "1.0.0", APP + r"\selvane-init.log"])

    def test_verify_and_whatif_record_nothing(self):
        for switches in (["/VERIFY", "/DIR=" + KEVA], ["/VERYSILENT", "/WHATIF", "/DIR=" + KEVA]):
            code, found = self.setup(*switches)
            self.assertIn(code, (0, 1), switches)
            self.assertEqual(found, [], switches)

    def test_a_program_path_with_a_percent_registers_no_message_file(self):
        key = r"HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Selvane"
        subprocess.run([WINE_RUN, BUILD, "reg", "delete", key, "/f"], capture_output=True, timeout=300)
        app = r"C:\selvane-tests\p%windir%"
        try:
            os.makedirs(unix(app))
            shutil.copy(PROGRAM, unix(app + r"\selvane-init.exe"))
            code, found = run(app + r"\selvane-init.exe", "/VERYSILENT", "/DIR=" + KEVA)
            self.assertEqual(len(found), 1, found)  # still recorded, with its strings
            self.assertEqual(found[0][:2], (ERROR, 1002))
            query = subprocess.run([WINE_RUN, BUILD, "reg", "query", key, "/v", "EventMessageFile"],
                                   capture_output=True, timeout=300)
            self.assertNotIn(b"%", query.stdout, query.stdout)
            with open(unix(app + r"\selvane-init.log"), encoding="utf-8-sig") as log:
                self.assertIn("イベントのメッセージファイルを登録しませんでした", log.read())
        finally:
            shutil.rmtree(unix(app), ignore_errors=True)

    def test_a_program_file_others_can_change_registers_no_message_file(self):
        key = r"HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Selvane"
        subprocess.run([WINE_RUN, BUILD, "reg", "delete", key, "/f"], capture_output=True, timeout=300)
        os.chmod(unix(APP + r"\selvane-init.exe"), 0o757)  # Wine: Everyone may write it
        code, found = self.setup("/VERYSILENT", "/DIR=" + KEVA)
        self.assertEqual(code, 1603 & 0xFF)  # the run refuses a program of its own tree that others may change
        self.assertEqual(found[0][:2], (ERROR, 1002))  # still recorded, with its strings
        query = subprocess.run([WINE_RUN, BUILD, "reg", "query", key, "/v", "EventMessageFile"],
                               capture_output=True, timeout=300)
        self.assertNotIn(b"selvane-init.exe", query.stdout, query.stdout)
        with open(unix(APP + r"\selvane-init.log"), encoding="utf-8-sig") as log:
            self.assertIn("管理者以外のアカウントが変更できるためです", log.read())

    def test_a_windows_complete_is_recorded(self):
        code, found = run(WINDOWS_TESTS, "--gtest_filter=TrailingBackslashOrNot/CompleteWithFolder.*/0",
                          env={"SELVANE_PROGRAM": PROGRAM})
        self.assertEqual(code, 0)
        self.assertEqual(len(found), 1, found)
        self.assertEqual(found[0][:2], (INFORMATION, 1000))
        self.assertEqual(found[0][2][:3], ["初期設定が完了しました。", "0", r"C:\selvane-tests\keva"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
