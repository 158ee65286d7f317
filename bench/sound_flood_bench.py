#!/usr/bin/env python3
"""Measures the built client (Release) against a flood of sound requests:
10,000 distinct names, each a 9.9-second effect already in the sound pack,
asked for three times over. For each pass: how long the client takes to
handle it (the time its tags take at one 10,000-byte read per tick is the
least), and its resident memory; then its peak.

Sound plays into an ALSA file sink writing to /dev/null. Needs sox and an X
display (run it under xvfb-run).

Usage (from the project root, after a Release build):
    xvfb-run -a python3 bench/sound_flood_bench.py [--client build/release/varn-ossic]
"""

import argparse
import os
import shutil
import socket
import subprocess
import tempfile
import time

from client_bench import accept_client, read_line

NAMES = 10000
PASSES = 3
TICK_BYTES = 10000
TICK_SECONDS = 0.020
SETTLE_SECONDS = 3


def memory_mb(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key):
                return int(line.split()[1]) / 1024
    return 0


def until_settings_line(connection, pending):
    """A login makes the client answer with its settings line on the tick
    after it has handled everything before it."""
    connection.sendall(b";tlogin;")
    while not read_line(connection, pending).startswith(b"tqlstatus "):
        pass


def make_home():
    """A HOME whose sound pack holds one 9.9-second effect under every name,
    with ALSA's default device writing to /dev/null."""
    home = tempfile.mkdtemp(prefix="vusk-flood-")
    pack = os.path.join(home, "Library", "Varn Ossic", "soundpack")
    os.makedirs(pack)
    first = os.path.join(pack, "e0.ogg")
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "1", first, "synth", "9.9", "whitenoise", "vol", "0.5"],
                   check=True)
    for i in range(1, NAMES):
        os.link(first, os.path.join(pack, "e%d.ogg" % i))
    with open(os.path.join(home, ".asoundrc"), "w") as f:
        f.write('pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }\n')
    return home


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--client", default="build/release/varn-ossic")
    args = parser.parse_args()

    home = make_home()
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    listener.settimeout(60)
    env = dict(os.environ, HOME=home, GDK_BACKEND="x11")
    client = subprocess.Popen([args.client, "127.0.0.1", str(listener.getsockname()[1])], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        connection, pending = accept_client(listener)
        time.sleep(SETTLE_SECONDS)
        print("resident at start: %.0f MB" % memory_mb(client.pid, "VmRSS:"))
        tags = b"".join(b";ssound;e%d;esound;" % i for i in range(NAMES))
        least = len(tags) / TICK_BYTES * TICK_SECONDS
        for number in range(1, PASSES + 1):
            start = time.monotonic()
            connection.sendall(tags)
            until_settings_line(connection, pending)
            seconds = time.monotonic() - start
            time.sleep(SETTLE_SECONDS)  # decoding in the background ends
            print("pass %d: handled in %.2f s (at least %.2f s); resident %.0f MB"
                  % (number, seconds, least, memory_mb(client.pid, "VmRSS:")))
        print("peak resident: %.0f MB" % memory_mb(client.pid, "VmHWM:"))
    finally:
        client.kill()
        client.wait()
        listener.close()
        shutil.rmtree(home, True)


if __name__ == "__main__":
    main()
