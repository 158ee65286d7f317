#!/usr/bin/env python3
"""A scripted stand-in for the game server, for tests and demonstrations.

It listens on 127.0.0.1, takes one client at a time, records every line the
client sends and plays a script: bytes to send, lines to wait for, pauses,
and rules that answer the client's lines. The first line on standard output
is "PORT <number>", so a test that asked for port 0 learns the port.

Script commands, one per line ('#' starts a comment line):
    send TEXT              send TEXT (escapes below), no newline added
    sendln TEXT            send TEXT and "\\r\\n"
    chunk N                send later texts in writes of N bytes, 50 ms apart
                           (0: in one write)
    expect REGEX           wait until the client sends a line matching REGEX
                           (whole line, bytes read as ISO-8859-1)
    wait SECONDS           pause, answering lines by the rules meanwhile
    reply REGEX => TEXT    from now on, answer a matching line with TEXT
    replyclose REGEX => TEXT   the same, then close the connection
    default TEXT           answer lines that match no rule with TEXT
    hold                   keep answering until the client closes
    close                  close the connection
Escapes in TEXT: \\e (ESC), \\n, \\r, \\t, \\\\, \\xNN (any byte).

Exit status: 0 when the script ran to its end, 1 when the client did not
send an expected line in time or closed the connection early, 2 on a bad
script or arguments.
"""

import argparse
import os
import re
import select
import socket
import sys
import time

DEMO_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo.script")
CHUNK_PAUSE = 0.05
READ_SIZE = 4096
MAX_LINE = 65536


class ScriptError(Exception):
    pass


class SessionFailed(Exception):
    pass


def unescape(text):
    """Turns the script's escapes into bytes; other characters are ISO-8859-1."""
    out = bytearray()
    i = 0
    simple = {"e": 0x1B, "n": 0x0A, "r": 0x0D, "t": 0x09, "\\": 0x5C}
    while i < len(text):
        c = text[i]
        if c != "\\":
            out += c.encode("latin-1")
            i += 1
            continue
        if i + 1 >= len(text):
            raise ScriptError("lone backslash at the end of %r" % text)
        e = text[i + 1]
        if e in simple:
            out.append(simple[e])
            i += 2
        elif e == "x" and re.fullmatch(r"[0-9a-fA-F]{2}", text[i + 2:i + 4]):
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        else:
            raise ScriptError("unknown escape \\%s in %r" % (e, text))
    return bytes(out)


def parse_rule(argument, closes):
    pattern, arrow, text = argument.partition(" =>")
    if not arrow:
        raise ScriptError("a rule needs ' => ': %r" % argument)
    return (re.compile(pattern), unescape(text[1:] if text.startswith(" ") else text), closes)


def parse_script(lines):
    """Returns the script as a list of (command, argument) pairs."""
    steps = []
    for number, raw in enumerate(lines, 1):
        line = raw.rstrip("\r\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        command, _, argument = line.partition(" ")
        try:
            if command in ("send", "sendln"):
                data = unescape(argument) + (b"\r\n" if command == "sendln" else b"")
                steps.append(("send", data))
            elif command == "chunk":
                steps.append(("chunk", int(argument)))
            elif command == "expect":
                steps.append(("expect", re.compile(argument)))
            elif command == "wait":
                steps.append(("wait", float(argument)))
            elif command in ("reply", "replyclose"):
                steps.append(("reply", parse_rule(argument, command == "replyclose")))
            elif command == "default":
                steps.append(("default", unescape(argument)))
            elif command in ("hold", "close"):
                steps.append((command, None))
            else:
                raise ScriptError("unknown command %r" % command)
        except (ValueError, re.error, ScriptError) as error:
            raise ScriptError("script line %d: %s" % (number, error))
    return steps


class Session:
    """One client connection playing one script."""

    def __init__(self, connection, record, timeout, echo):
        self.connection = connection
        self.record = record
        self.timeout = timeout
        self.echo = echo
        self.pending = b""
        self.unmatched = []  # lines not yet taken by an expect
        self.rules = []
        self.default = None
        self.chunk = 0
        self.open = True

    def send(self, data):
        if not self.open:
            return
        size = self.chunk or len(data) or 1
        for start in range(0, len(data), size):
            self.connection.sendall(data[start:start + size])
            if self.chunk:
                time.sleep(CHUNK_PAUSE)

    def close(self):
        if self.open:
            self.open = False
            self.connection.close()

    def on_line(self, line):
        if self.record:
            self.record.write(line + b"\n")
            self.record.flush()
        if self.echo:
            print("client: %s" % line.decode("latin-1"), flush=True)
        self.unmatched.append(line)
        text = line.decode("latin-1")
        for pattern, answer, closes in self.rules:
            if pattern.fullmatch(text):
                self.send(answer)
                if closes:
                    self.close()
                return
        if self.default is not None:
            self.send(self.default)

    def pump(self, seconds):
        """Reads and answers for up to `seconds`; False when the client closed."""
        if not self.open:
            return False
        ready, _, _ = select.select([self.connection], [], [], max(seconds, 0))
        if not ready:
            return True
        try:
            data = self.connection.recv(READ_SIZE)
        except OSError:
            data = b""
        if not data:
            self.close()
            return False
        self.pending += data
        while b"\n" in self.pending:
            line, _, self.pending = self.pending.partition(b"\n")
            self.on_line(line[:-1] if line.endswith(b"\r") else line)
        self.pending = self.pending[-MAX_LINE:]
        return True

    def expect(self, pattern):
        deadline = time.monotonic() + self.timeout
        while True:
            while self.unmatched:
                line = self.unmatched.pop(0)
                if pattern.fullmatch(line.decode("latin-1")):
                    return
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise SessionFailed("no line matching %r within %g s" % (pattern.pattern, self.timeout))
            if not self.pump(remaining):
                raise SessionFailed("client closed before a line matching %r" % pattern.pattern)

    def wait(self, seconds):
        deadline = time.monotonic() + seconds
        while self.open and time.monotonic() < deadline:
            self.pump(deadline - time.monotonic())

    def hold(self):
        while self.open:
            last = time.monotonic()
            if not self.pump(self.timeout):
                return
            if time.monotonic() - last >= self.timeout:
                raise SessionFailed("client idle for %g s" % self.timeout)

    def run(self, steps):
        for command, argument in steps:
            if command == "send":
                self.send(argument)
            elif command == "chunk":
                self.chunk = max(argument, 0)
            elif command == "expect":
                self.expect(argument)
            elif command == "wait":
                self.wait(argument)
            elif command == "reply":
                self.rules.append(argument)
            elif command == "default":
                self.default = argument
            elif command == "hold":
                self.hold()
            elif command == "close":
                self.close()
        self.close()


def serve(listener, steps, args):
    record = open(args.record, "ab") if args.record else None
    status = 0
    try:
        while True:
            listener.settimeout(args.timeout)
            try:
                connection, _ = listener.accept()
            except socket.timeout:
                print("no client within %g s" % args.timeout, file=sys.stderr)
                return 1
            connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            session = Session(connection, record, args.timeout, args.demo)
            try:
                session.run(steps)
                status = 0
            except SessionFailed as failure:
                print("session failed: %s" % failure, file=sys.stderr)
                status = 1
            except OSError as error:
                print("connection error: %s" % error, file=sys.stderr)
                status = 1
            finally:
                session.close()
            if not args.repeat:
                return status
    finally:
        if record:
            record.close()


def main():
    parser = argparse.ArgumentParser(description="Scripted game server on 127.0.0.1.")
    parser.add_argument("--port", type=int, default=0, help="port to listen on (0: pick one)")
    source = parser.add_mutually_exclusive_group(required=True)
    source.add_argument("--script", help="script file to play")
    source.add_argument("--demo", action="store_true",
                        help="play the demonstration session, again for every client")
    parser.add_argument("--record", help="append every line the client sends to this file")
    parser.add_argument("--timeout", type=float, default=None,
                        help="seconds to wait for a client or a line (20; demo 3600)")
    parser.add_argument("--repeat", action="store_true", help="serve clients one after another")
    args = parser.parse_args()
    if args.timeout is None:
        args.timeout = 3600.0 if args.demo else 20.0
    if args.demo:
        args.repeat = True
    if not 0 <= args.port <= 65535:
        parser.error("port out of range")

    try:
        with open(DEMO_SCRIPT if args.demo else args.script, encoding="latin-1") as script:
            steps = parse_script(script)
    except (OSError, ScriptError) as error:
        print(error, file=sys.stderr)
        return 2

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        listener.bind(("127.0.0.1", args.port))
    except OSError as error:
        print("cannot listen on port %d: %s" % (args.port, error), file=sys.stderr)
        return 2
    listener.listen(1)
    print("PORT %d" % listener.getsockname()[1], flush=True)
    try:
        return serve(listener, steps, args)
    except KeyboardInterrupt:
        return 0
    finally:
        listener.close()


if __name__ == "__main__":
    sys.exit(main())
