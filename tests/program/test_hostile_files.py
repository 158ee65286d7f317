#!/usr/bin/env python3
"""The built program against settings files and server bursts that could
stop it: damaged or endless files at start-up, a burst of client ids with
many configurations, more characters than the configuration holds, and saves
under a file-size limit. Each test fails by timeout if the program blocks.

Usage: test_hostile_files.py PROGRAM GAME_SERVER OUTPUT_DIR
"""

import os
import resource
import stat
import subprocess
import sys
import threading
import unittest

from test_program import GAME_SERVER, PROGRAM, ScriptedSession, wait_for

FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "fixtures")
STORE = ".Varn_Ossic"
CONFIG_DIR = os.path.join("Library", "Varn Ossic")
LOGIN = ";slogin;%s;elogin;"
CLIENT_ID = ";suuid;%s;euuid;"
CONFIG = ";sconfig;%s;econfig;"
BURST_NAMES = ["R%d" % number for number in range(1000, 1200)]
# More characters than the records the configuration holds.
RECORDS_HELD = 200
MANY_NAMES = ["Name%d" % number for number in range(230)]
FILE_SIZE_LIMIT = 1000


def login_script(*middle):
    """Logs in as Tester, waits for the settings line, then plays middle."""
    return "\n".join(["expect torvane .*", "send " + LOGIN % "Tester", "expect tqlstatus .*"]
                     + list(middle) + ["hold", ""])


def identity(path):
    status = os.lstat(path)
    return status.st_ino, status.st_mtime_ns


class HostileFilesSession(ScriptedSession):
    """A session whose client's standard error is collected (through a
    pipe, which no file-size limit cuts short), with the configuration
    directory made."""

    def setUp(self):
        super().setUp()
        self.config_dir = os.path.join(self.home, CONFIG_DIR)
        os.makedirs(self.config_dir)

    def start_client(self, preexec_fn=None):
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        self.client = subprocess.Popen([PROGRAM, "127.0.0.1", str(self.port)], env=env, stderr=subprocess.PIPE,
                                       preexec_fn=preexec_fn)
        self.said_chunks = []
        collector = threading.Thread(target=self.collect_stderr, daemon=True)
        collector.start()
        # Cleanups run last first: stop the client, then the collector.
        self.addCleanup(self.client.stderr.close)
        self.addCleanup(collector.join)
        self.addCleanup(self.stop, self.client)

    def collect_stderr(self):
        for chunk in iter(lambda: self.client.stderr.read1(4096), b""):
            self.said_chunks.append(chunk)

    def said(self):
        return b"".join(self.said_chunks).decode("latin-1")

    def path(self, *parts):
        return os.path.join(self.home, *parts)

    def read(self, *parts):
        with open(self.path(*parts), "rb") as f:
            return f.read().decode("latin-1")

    def write(self, text, *parts):
        with open(self.path(*parts), "w", encoding="latin-1") as f:
            f.write(text)

    def wait_for_store_line(self, line):
        store = self.path(STORE)
        wait_for(lambda: (os.path.exists(store) and stat.S_ISREG(os.lstat(store).st_mode)
                          and line in self.read(STORE).splitlines()), line + " in the saved store")

    def wait_for_status_lines(self, count):
        wait_for(lambda: sum(line.startswith("tqlstatus ") for line in self.recorded()) >= count,
                 "settings line %d" % count)


class DamagedStore(HostileFilesSession):
    SCRIPT = login_script("send " + CLIENT_ID % "server-id-1")

    def test_damaged_preference_store_is_read_and_saved_clean(self):
        self.write("uuid=0123456789abcdef0123456789abcdef\n=x\n[g]\na=1\n[g]\nb=2\n", STORE)
        self.start_client()
        self.wait_for_store_line("uuid=server-id-1")
        store = self.read(STORE)
        self.assertNotIn("\n=x\n", store)
        self.assertEqual(store.count("[g]"), 1, store)
        self.assertIn("[g]\na=1\nb=2\n", store)
        self.assertNotIn("assertion", self.said())


class EndlessFiles(HostileFilesSession):
    SCRIPT = login_script("send " + CLIENT_ID % "server-id-2")

    def test_configuration_files_without_end_or_writer(self):
        os.mkfifo(self.path(STORE))
        os.symlink("/dev/zero", os.path.join(self.config_dir, "varn_ossic.cfg"))
        os.mkfifo(os.path.join(self.config_dir, ".cfg"))
        self.start_client()
        self.wait_for_store_line("uuid=server-id-2")
        self.assertTrue(stat.S_ISFIFO(os.lstat(self.path(STORE + ".damaged")).st_mode))
        # The system file is saved by a tick of its own after the login; until
        # then the name is still the link to an endless file.
        system = os.path.join(CONFIG_DIR, "varn_ossic.cfg")
        wait_for(lambda: not os.path.islink(self.path(system))
                 and "<curr_config>Tester</curr_config>" in self.read(system), "the system file saved")
        self.assertTrue(os.path.islink(self.path(system + ".damaged")))
        self.assertIn("cannot use the settings file", self.said())


class ClientIdBurst(HostileFilesSession):
    # The last login comes after the burst's saves: its settings line shows
    # that the program still runs its ticks.
    SCRIPT = login_script(*(["send " + LOGIN % name for name in BURST_NAMES]
                            + ["send " + CLIENT_ID % ("burst-id-%d" % number) for number in range(100)]
                            + ["wait 2", "send " + LOGIN % BURST_NAMES[0], "expect tqlstatus .*"]))

    def test_client_id_burst_with_200_configurations(self):
        with open(os.path.join(FIXTURES, "record_config.golden"), encoding="latin-1") as f:
            golden = f.read()
        for name in BURST_NAMES:
            self.write(golden.replace("<name>Arden</name>", "<name>%s</name>" % name), CONFIG_DIR, name + ".cfg")
        records = {name: identity(os.path.join(self.config_dir, name + ".cfg")) for name in BURST_NAMES}
        self.start_client()
        self.wait_for_store_line("uuid=burst-id-99")
        self.wait_for_status_lines(2)
        for name in BURST_NAMES:
            self.assertEqual(identity(os.path.join(self.config_dir, name + ".cfg")), records[name], name)


class ManyCharacters(HostileFilesSession):
    # Zed logs in after 230 other characters, and the server switches Zed's
    # function keys on; a client id makes the program save.
    SCRIPT = login_script(*(["send " + LOGIN % name for name in MANY_NAMES]
                            + ["send " + LOGIN % "Zed", "send " + CONFIG % "fkey_buttons enable",
                               "send " + CLIENT_ID % "server-id-4"]))

    def test_a_new_character_after_230_others_saves_into_its_own_file(self):
        self.start_client()
        zed = os.path.join(CONFIG_DIR, "Zed.cfg")
        wait_for(lambda: os.path.exists(self.path(zed)), "Zed's own file")
        self.assertIn("<fkey_button_display>1</fkey_button_display>", self.read(zed))
        # The records still held are all saved; a copy unloaded unchanged
        # leaves no file, its next login copies again.
        held = MANY_NAMES[-(RECORDS_HELD - 1):]
        for name in ["Tester"] + MANY_NAMES:
            if name not in held and not os.path.exists(self.path(CONFIG_DIR, name + ".cfg")):
                continue
            record = self.read(CONFIG_DIR, name + ".cfg")
            self.assertIn("<name>%s</name>" % name, record)
            self.assertIn("<fkey_button_display>0</fkey_button_display>", record, name)


class SaveUnderFileSizeLimit(HostileFilesSession):
    SCRIPT = login_script("send " + CLIENT_ID % "server-id-3", "wait 2", "send " + LOGIN % "Tester",
                          "expect tqlstatus .*")

    def test_save_under_a_file_size_limit_is_reported_and_survived(self):
        def limit_file_size():
            resource.setrlimit(resource.RLIMIT_FSIZE, (FILE_SIZE_LIMIT, FILE_SIZE_LIMIT))

        self.start_client(preexec_fn=limit_file_size)
        wait_for(lambda: "settings not saved" in self.said(), "the failed save on standard error")
        self.wait_for_status_lines(2)
        self.assertIsNone(self.client.poll())
        self.assertRegex(self.said(), r"Varn Ossic: settings not saved, the old files are kept: "
                                      r"cannot write .*File too large")
        self.assertEqual([name for name in os.listdir(self.config_dir) if ".tmp-" in name], [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
