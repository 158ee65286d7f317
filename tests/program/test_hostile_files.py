#!/usr/bin/env python3
"""The built program against the settings files and the server bursts that
used to stop it: damaged or endless files at start-up, a burst of client
ids with many configurations, and saves under a file-size limit. Each test
fails by timeout if the program blocks.

Usage: test_hostile_files.py PROGRAM GAME_SERVER FIXTURES
"""

import os
import re
import resource
import stat
import sys
import unittest

from program_session import ScriptedSession, wait_for

PROGRAM, GAME_SERVER, FIXTURES = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)

STORE = ".Varn_Ossic"
CONFIG_DIR = os.path.join("Library", "Varn Ossic")
LOGIN = ";slogin;%s;elogin;"
CLIENT_ID = ";suuid;%s;euuid;"


def login_script(*middle):
    """Logs in as Tester, waits for the settings line, then plays middle."""
    return "\n".join(["expect torvane .*", "send " + LOGIN % "Tester", "expect tqlstatus .*"]
                     + list(middle) + ["hold", ""])


def identity(path):
    status = os.lstat(path)
    return status.st_ino, status.st_mtime_ns


class HostileFiles(unittest.TestCase):
    def setUp(self):
        self.session = ScriptedSession(self, PROGRAM, GAME_SERVER)
        self.home = self.session.home
        self.config_dir = os.path.join(self.home, CONFIG_DIR)
        os.makedirs(self.config_dir)

    def path(self, *parts):
        return os.path.join(self.home, *parts)

    def read(self, *parts):
        with open(self.path(*parts), "rb") as f:
            return f.read().decode("latin-1")

    def write(self, text, *parts):
        with open(self.path(*parts), "w", encoding="latin-1") as f:
            f.write(text)

    def store_holds(self, line):
        store = self.path(STORE)
        return lambda: (os.path.exists(store) and stat.S_ISREG(os.lstat(store).st_mode)
                        and line in self.read(STORE).splitlines())

    def status_lines(self):
        return len(self.session.lines_starting("tqlstatus "))

    def test_damaged_preference_store_is_read_and_saved_clean(self):
        self.write("uuid=0123456789abcdef0123456789abcdef\n=x\n[g]\na=1\n[g]\nb=2\n", STORE)
        self.session.start_server(login_script("send " + CLIENT_ID % "server-id-1"))
        self.session.start_client()
        wait_for(self.store_holds("uuid=server-id-1"), "the client id in the saved store")
        store = self.read(STORE)
        self.assertNotIn("\n=x\n", store)
        self.assertEqual(store.count("[g]"), 1, store)
        self.assertIn("[g]\na=1\nb=2\n", store)
        self.assertNotIn("assertion", self.session.said())

    def test_configuration_files_without_end_or_writer(self):
        os.mkfifo(self.path(STORE))
        os.symlink("/dev/zero", os.path.join(self.config_dir, "varn_ossic.cfg"))
        os.mkfifo(os.path.join(self.config_dir, ".cfg"))
        self.session.start_server(login_script("send " + CLIENT_ID % "server-id-2"))
        self.session.start_client()
        wait_for(self.store_holds("uuid=server-id-2"), "the client id in the saved store")
        self.assertTrue(stat.S_ISFIFO(os.lstat(self.path(STORE + ".damaged")).st_mode))
        system = os.path.join(self.config_dir, "varn_ossic.cfg")
        self.assertTrue(os.path.islink(system + ".damaged"))
        self.assertIn("<curr_config>Tester</curr_config>", self.read(system))
        self.assertIn("cannot use the settings file", self.session.said())

    def test_client_id_burst_with_200_configurations(self):
        with open(os.path.join(FIXTURES, "record_config.golden"), encoding="latin-1") as f:
            golden = f.read()
        names = ["R%d" % number for number in range(1000, 1200)]
        for name in names:
            self.write(golden.replace("<name>Arden</name>", "<name>%s</name>" % name), CONFIG_DIR, name + ".cfg")
        records = {name: identity(os.path.join(self.config_dir, name + ".cfg")) for name in names}
        logins = ["send " + LOGIN % name for name in names]
        ids = ["send " + CLIENT_ID % ("burst-id-%d" % number) for number in range(100)]
        # The last login comes after the burst's saves: its settings line
        # shows that the program still runs its ticks.
        self.session.start_server(login_script(*(logins + ids + ["wait 2", "send " + LOGIN % names[0],
                                                                 "expect tqlstatus .*"])))
        self.session.start_client()
        wait_for(self.store_holds("uuid=burst-id-99"), "the last client id in the saved store")
        wait_for(lambda: self.status_lines() >= 2, "the settings line after the burst")
        for name in names:
            self.assertEqual(identity(os.path.join(self.config_dir, name + ".cfg")), records[name], name)

    def test_save_under_a_file_size_limit_is_reported_and_survived(self):
        limit = 1000

        def limit_file_size():
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

        self.session.start_server(login_script("send " + CLIENT_ID % "server-id-3", "wait 2",
                                               "send " + LOGIN % "Tester", "expect tqlstatus .*"))
        self.session.start_client(preexec_fn=limit_file_size)
        wait_for(lambda: "settings not saved" in self.session.said(), "the failed save on standard error")
        wait_for(lambda: self.status_lines() >= 2, "the settings line after the failed save")
        self.assertIsNone(self.session.client.poll())
        said = self.session.said()
        self.assertRegex(said, re.compile(r"Varn Ossic: settings not saved, the old files are kept: "
                                          r"cannot write .*File too large"))
        leftovers = [name for name in os.listdir(self.config_dir) if ".tmp-" in name]
        self.assertEqual(leftovers, [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
