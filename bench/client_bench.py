#!/usr/bin/env python3
"""Measures the built client (Release) on an X server of its own (Xvfb):

  session   a server sends typical game output as fast as the client reads;
            the client's receiving rate, the CPU seconds per megabyte of the
            client and of the X server, the client's peak memory and its
            private memory per byte received
  idle      its CPU share while connected and receiving nothing
  startup   time from starting the program to the first painted frame

Usage (from the project root, after a Release build):
    bench/client_bench.py [--client build/release/varn-ossic] [--megabytes 20] [--runs 5]
"""

import argparse
import contextlib
import os
import shutil
import socket
import subprocess
import tempfile
import time

SCREEN = "1280x1024x24"
DESIGN_RATE = 10000 / 0.020  # bytes per second: one full read queue per 20 ms tick
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
WINDOW_NAME = "^Varn Ossic"


def prompt(hp, mana, move):
    """A prompt as the game sends it: the status tag, then the visible line."""
    return (b";shp;%d 120 %d 80 %d 120;ehp;" % (hp, mana, move)
            + b"\x1b[1m\x1b[31m<\x1b[0m%dhp %dm %dmv\x1b[1m\x1b[31m>\x1b[0m \r\n" % (hp, mana, move))


# A stretch of ordinary play: coloured room text, exits, channel talk and a
# combat round, with a prompt and its status tag after every line or two, as
# the game sends them; the numbers change, so the panels repaint.
GAME_OUTPUT = (
    b"\r\n\x1b[1m\x1b[32mThe Market Square\x1b[0m\r\n"
    b"\x1b[32mStalls crowd the square. A merchant shouts the price of \x1b[35mplums\x1b[32m;; a\r\n"
    b"bard tunes a lute by the well while children chase a dog between the carts.\x1b[0m\r\n"
    b"\x1b[1m\x1b[36m[Exits: north east south west]\x1b[0m\r\n"
    b"\x1b[33mA fat merchant is here, selling fruit.\x1b[0m\r\n"
    b"\x1b[33mA town guard leans on his spear.\x1b[0m\r\n\r\n"
    + prompt(95, 80, 110)
    + b"\x1b[1m\x1b[35m[gossip] Arden: anyone seen the blacksmith today?\x1b[0m\r\n" + prompt(95, 80, 110)
    + b"\x1b[1m\x1b[35m[gossip] Bryn: he went north, to the mine.\x1b[0m\r\n" + prompt(96, 80, 110)
    + b";senemyhp;80 a rat;eenemyhp;You hit the rat.\r\n" + prompt(96, 80, 109)
    + b";senemyhp;45 a rat;eenemyhp;The rat bites you!\r\n" + prompt(91, 80, 109)
    + b"\x1b[1m\x1b[31mThe rat is DEAD!\x1b[0m\r\n;senemyhp;;eenemyhp;" + prompt(91, 78, 108)
    + b"You receive 12 experience points.\r\n;sxpp;12 40 3;expp;" + prompt(92, 78, 108)
)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def peak_memory_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def private_memory_kb(pid):
    """Pages of the process that no other process shares."""
    total = 0
    with open("/proc/%d/smaps_rollup" % pid) as f:
        for line in f:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total


@contextlib.contextmanager
def x_server():
    """An Xvfb of our own (so that its CPU time is the client's alone);
    yields its process with DISPLAY set to it."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                               "-nolisten", "tcp"], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number
        yield server
    finally:
        server.terminate()
        server.wait()


@contextlib.contextmanager
def running_client(client):
    """The client started against a listening socket of ours, with a fresh
    HOME; yields the process and the listener, and stops both."""
    home = tempfile.mkdtemp(prefix="vusk-bench-")
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    listener.settimeout(60)
    env = dict(os.environ, HOME=home, GDK_BACKEND="x11")
    process = subprocess.Popen([client, "127.0.0.1", str(listener.getsockname()[1])], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        yield process, listener
    finally:
        process.kill()
        process.wait()
        listener.close()
        shutil.rmtree(home, True)


def read_line(connection, pending):
    while b"\n" not in pending[0]:
        data = connection.recv(4096)
        if not data:
            raise RuntimeError("the client closed the connection")
        pending[0] += data
    line, _, pending[0] = pending[0].partition(b"\n")
    return line.rstrip(b"\r")


def accept_client(listener):
    """The client's connection, past its identification line and logged in
    (so its status panels show), its settings line read."""
    connection, _ = listener.accept()
    pending = [b""]
    read_line(connection, pending)
    connection.sendall(b";tlogin;")
    while not read_line(connection, pending).startswith(b"tqlstatus "):
        pass
    return connection, pending


def measure_session(client, megabytes, server):
    with running_client(client) as (process, listener):
        connection, pending = accept_client(listener)
        total = megabytes * 1000 * 1000
        block = GAME_OUTPUT * (65536 // len(GAME_OUTPUT))
        time.sleep(1)  # the window is up and painted
        start_private = private_memory_kb(process.pid)
        start_time, start_cpu = time.monotonic(), cpu_seconds(process.pid)
        start_server_cpu = cpu_seconds(server.pid)
        sent = 0
        while sent < total:
            connection.sendall(block)
            sent += len(block)
        # The login makes the client answer with its settings line on the
        # tick after it has parsed everything before it.
        connection.sendall(b";tlogin;")
        while not read_line(connection, pending).startswith(b"tqlstatus "):
            pass
        seconds = time.monotonic() - start_time
        cpu = cpu_seconds(process.pid) - start_cpu
        server_cpu = cpu_seconds(server.pid) - start_server_cpu
        private_growth = private_memory_kb(process.pid) - start_private
        return dict(sent=sent, seconds=seconds, cpu=cpu, server_cpu=server_cpu,
                    peak=peak_memory_kb(process.pid), start_private=start_private,
                    private_growth=private_growth)


def measure_idle(client, seconds=10):
    """CPU share of one core while connected and receiving nothing."""
    with running_client(client) as (process, listener):
        accept_client(listener)
        time.sleep(1)
        start_time, start_cpu = time.monotonic(), cpu_seconds(process.pid)
        time.sleep(seconds)
        return (cpu_seconds(process.pid) - start_cpu) / (time.monotonic() - start_time)


def window_has_painted(window):
    """True once the window shows anything but the frame's black."""
    shot = subprocess.run(["import", "-window", window, "ppm:-"], capture_output=True)
    if shot.returncode != 0:
        return False
    data = shot.stdout
    header_end = 0
    for _ in range(4):  # P6, width, height, maximum
        while data[header_end:header_end + 1].isspace():
            header_end += 1
        while not data[header_end:header_end + 1].isspace():
            header_end += 1
    return data[header_end + 1:].strip(b"\0") != b""


def find_window():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", WINDOW_NAME],
                           capture_output=True, text=True)
    return found.stdout.split()[0] if found.returncode == 0 and found.stdout.split() else None


def measure_startup(client):
    """Seconds to the mapped window and to its first painted content."""
    start = time.monotonic()
    with running_client(client):
        window = None
        while window is None:
            if time.monotonic() - start > 60:
                raise RuntimeError("no window within 60 s")
            window = find_window()
        mapped = time.monotonic() - start
        while not window_has_painted(window):
            if time.monotonic() - start > 60:
                raise RuntimeError("nothing painted within 60 s")
        return mapped, time.monotonic() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--client", default="build/release/varn-ossic")
    parser.add_argument("--megabytes", type=int, default=20)
    parser.add_argument("--sessions", type=int, default=3, help="session measurements (median)")
    parser.add_argument("--runs", type=int, default=5, help="start-up measurements")
    parser.add_argument("--session-only", action="store_true")
    args = parser.parse_args()

    with x_server() as server:
        sessions = sorted((measure_session(args.client, args.megabytes, server)
                           for _ in range(args.sessions)),
                          key=lambda s: s["cpu"] + s["server_cpu"])
        s = sessions[len(sessions) // 2]
        megabytes = s["sent"] / 1e6
        print("session (median of %d by CPU): %.1f MB in %.2f s = %.0f bytes/s (design rate %.0f, %.0f%%)"
              % (len(sessions), megabytes, s["seconds"], s["sent"] / s["seconds"], DESIGN_RATE,
                 100 * s["sent"] / s["seconds"] / DESIGN_RATE))
        print("session: client %.2f CPU s (%.1f%% of one core), X server %.2f CPU s"
              % (s["cpu"], 100 * s["cpu"] / s["seconds"], s["server_cpu"]))
        print("session: CPU s per MB: client %.3f + X server %.3f = %.3f"
              % (s["cpu"] / megabytes, s["server_cpu"] / megabytes,
                 (s["cpu"] + s["server_cpu"]) / megabytes))
        print("session: peak memory %.1f MB; private memory %.1f MB before, grew %.2f bytes per byte received"
              % (s["peak"] / 1024, s["start_private"] / 1024, s["private_growth"] * 1024 / s["sent"]))
        if args.session_only:
            return

        print("idle: %.1f%% of one core while connected" % (100 * measure_idle(args.client)))

        startups = sorted(measure_startup(args.client) for _ in range(args.runs))
        mapped, painted = startups[len(startups) // 2]
        print("start-up (median of %d): window mapped after %.0f ms, first painted frame after %.0f ms"
              % (args.runs, 1000 * mapped, 1000 * painted))


if __name__ == "__main__":
    main()
