"""Tests of the scripted game server, run as a separate process as the
client's tests run it."""

import os
import socket
import subprocess
import sys
import tempfile
import time
import unittest

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "game_server.py")


class Server:
    """The server started on a script, with its port read from its first line."""

    def __init__(self, script=None, extra=()):
        self.directory = tempfile.TemporaryDirectory()
        self.record = os.path.join(self.directory.name, "record")
        args = [sys.executable, SERVER, "--record", self.record, "--timeout", "5"]
        if script is None:
            args.append("--demo")
        else:
            path = os.path.join(self.directory.name, "script")
            with open(path, "wb") as f:
                f.write(script.encode("latin-1"))
            args += ["--script", path]
        self.process = subprocess.Popen(args + list(extra), stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)
        first = self.process.stdout.readline().decode()
        self.port = int(first.split()[1]) if first.startswith("PORT ") else None
        self.clients = []

    def connect(self):
        client = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.clients.append(client)
        return client

    def finish(self):
        _, err = self.process.communicate(timeout=10)
        return self.process.returncode, err.decode("latin-1")

    def recorded(self):
        with open(self.record, "rb") as f:
            return f.read()

    def close(self):
        for client in self.clients:
            client.close()
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()
        self.process.stderr.close()
        self.directory.cleanup()


def read_until(client, marker, limit=5.0):
    data = b""
    deadline = time.monotonic() + limit
    while marker not in data and time.monotonic() < deadline:
        chunk = client.recv(4096)
        if not chunk:
            break
        data += chunk
    return data


def read_pieces(client):
    """Everything until the server closes, as the reads returned it."""
    pieces = []
    while True:
        piece = client.recv(4096)
        if not piece:
            return pieces
        pieces.append(piece)


def read_to_end(client):
    return b"".join(read_pieces(client))


class ScriptedServerTest(unittest.TestCase):
    def server(self, script=None, extra=()):
        server = Server(script, extra)
        self.addCleanup(server.close)
        self.assertIsNotNone(server.port, "the server names its port first")
        self.assertGreater(server.port, 0)
        return server

    def test_sends_escaped_bytes_and_records_every_line(self):
        server = self.server("send A\\e[1m\\xff\\xfb\\x01;\\\\\\t\\r\\n\n"
                             "expect hello\n"
                             "sendln got it\n"
                             "expect bye.*\n")
        client = server.connect()
        self.assertEqual(read_until(client, b"\n"), b"A\x1b[1m\xff\xfb\x01;\\\t\r\n")
        client.sendall(b"torvane abc 1.089-mac\nhel")
        client.sendall(b"lo\r\n")
        self.assertEqual(read_until(client, b"\n"), b"got it\r\n")
        client.sendall(b"caf\xe9 \x03\nbye now\n")
        self.assertEqual(read_to_end(client), b"")
        status, err = server.finish()
        self.assertEqual(status, 0, err)
        self.assertEqual(server.recorded(),
                         b"torvane abc 1.089-mac\nhello\ncaf\xe9 \x03\nbye now\n")

    def test_chunked_text_arrives_in_several_writes(self):
        server = self.server("chunk 4\nsend 0123456789ab\nchunk 0\nsend !\n")
        client = server.connect()
        pieces = read_pieces(client)
        self.assertEqual(b"".join(pieces), b"0123456789ab!")
        self.assertGreater(len(pieces), 1)
        self.assertEqual(server.finish()[0], 0)

    def test_rules_answer_lines_and_can_close(self):
        server = self.server("reply tqping => ;sevent;tqpong;eevent;\n"
                             "reply tqlstatus .* =>\n"
                             "replyclose quit => bye\\n\n"
                             "default huh\\n\n"
                             "hold\n")
        client = server.connect()
        client.sendall(b"tqping\n")
        self.assertEqual(read_until(client, b";eevent;"), b";sevent;tqpong;eevent;")
        client.sendall(b"tqlstatus 11111111111211111191  3 12  0\nxyzzy\n")
        self.assertEqual(read_until(client, b"\n"), b"huh\n")
        client.sendall(b"quit\n")
        self.assertEqual(read_to_end(client), b"bye\n")
        status, err = server.finish()
        self.assertEqual(status, 0, err)
        self.assertIn(b"tqlstatus 11111111111211111191  3 12  0\n", server.recorded())

    def test_missing_line_fails_after_the_timeout(self):
        server = self.server("expect never\n", extra=["--timeout", "0.5"])
        client = server.connect()
        client.sendall(b"something else\n")
        status, err = server.finish()
        client.close()
        self.assertEqual(status, 1)
        self.assertIn("never", err)

    def test_client_closing_early_fails(self):
        server = self.server("expect never\n")
        server.connect().close()
        status, err = server.finish()
        self.assertEqual(status, 1)
        self.assertIn("closed", err)

    def test_bad_script_is_refused_before_listening(self):
        for script in ("fly away\n", "send \\q\n", "reply nothing\n", "wait soon\n",
                       "expect (\n"):
            server = Server(script)
            self.addCleanup(server.close)
            status, err = server.finish()
            self.assertEqual(status, 2, script)
            self.assertIsNone(server.port)
            self.assertIn("script line 1", err)

    def test_demo_session_logs_in_and_answers(self):
        server = self.server(None, extra=["--timeout", "5"])
        client = server.connect()
        client.sendall(b"torvane 0123 1.089-mac\n")
        self.assertIn(b"known? ", read_until(client, b"known? "))
        client.sendall(b"Ann\n")
        welcome = read_until(client, b"mv\x1b[1m\x1b[31m>\x1b[0m ")
        self.assertIn(b";slogin;Traveller;elogin;", welcome)
        self.assertIn(b"\x1b[1m\x1b[32mThe Town Gate", welcome)
        client.sendall(b"tqping\n")
        self.assertIn(b";sevent;tqpong;eevent;", read_until(client, b";eevent;"))
        client.sendall(b"north\n")
        self.assertIn(b"Market Square", read_until(client, b"mv\x1b[1m\x1b[31m>\x1b[0m "))
        # The client's own lines get a game's answer, not the catch-all.
        client.sendall(b"quit -check\n")
        answer = read_until(client, b"mv\x1b[1m\x1b[31m>\x1b[0m ")
        self.assertIn(b"safe place", answer)
        self.assertNotIn(b"Nothing happens", answer)
        client.sendall(b"version\n")
        answer = read_until(client, b"mv\x1b[1m\x1b[31m>\x1b[0m ")
        self.assertIn(b"demonstration server, version", answer)
        self.assertNotIn(b"Nothing happens", answer)
        client.sendall(b"quit\n")
        self.assertIn(b"Farewell", read_to_end(client))
        # The demonstration waits for the next client.
        second = server.connect()
        second.sendall(b"torvane 0123 1.089-mac\n")
        self.assertIn(b"known? ", read_until(second, b"known? "))
        second.close()


if __name__ == "__main__":
    unittest.main()
