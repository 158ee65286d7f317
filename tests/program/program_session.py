"""What the end-to-end tests share: the scripted game server and the built
program, started against it with a HOME of its own."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

STEP_TIMEOUT = 30.0


def wait_for(condition, what, timeout=STEP_TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def stop(process):
    if process.poll() is None:
        process.kill()
    process.wait()


class ScriptedSession:
    """A fresh HOME, the game server playing a script in it, and the program
    connected to that server. Everything started is stopped by the test's
    cleanups."""

    def __init__(self, test, program, game_server):
        self.test = test
        self.program = program
        self.game_server = game_server
        self.home = tempfile.mkdtemp(prefix="vusk-program-")
        test.addCleanup(shutil.rmtree, self.home, True)
        self.record = os.path.join(self.home, "record")
        open(self.record, "w").close()
        self.client = None

    def start_server(self, script_text):
        script = os.path.join(self.home, "session.script")
        with open(script, "w", encoding="latin-1") as f:
            f.write(script_text)
        server = subprocess.Popen(
            [sys.executable, self.game_server, "--script", script, "--record", self.record,
             "--timeout", str(STEP_TIMEOUT)], stdout=subprocess.PIPE)
        self.test.addCleanup(server.stdout.close)
        self.test.addCleanup(stop, server)
        self.port = int(server.stdout.readline().split()[1])

    def start_client(self, preexec_fn=None):
        """Starts the program; what it says on standard error goes to a file."""
        env = dict(os.environ, HOME=self.home, GDK_BACKEND="x11")
        self.stderr_path = os.path.join(self.home, "stderr")
        with open(self.stderr_path, "wb") as said:
            self.client = subprocess.Popen([self.program, "127.0.0.1", str(self.port)], env=env,
                                           stderr=said, preexec_fn=preexec_fn)
        self.test.addCleanup(stop, self.client)
        return self.client

    def recorded(self):
        with open(self.record, "rb") as f:
            return f.read().decode("latin-1").splitlines()

    def said(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("latin-1")

    def lines_starting(self, prefix):
        return [line for line in self.recorded() if line.startswith(prefix)]
