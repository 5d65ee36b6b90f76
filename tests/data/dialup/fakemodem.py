#!/usr/bin/python3
"""A Hayes modem on a pseudo-terminal, for tests.

Usage: fakemodem.py OUTCOME COMMAND [ARGS...]

Runs COMMAND with its standard input and output on the terminal (as pppd runs its connect
script) and answers what it sends: "AT..." gets "OK", "ATD..." gets the OUTCOME's reply:
connect (CONNECT 33600), busy, nocarrier, nodialtone, noanswer, voice; silent answers
nothing after ATD; dead answers nothing at all. Exits with the command's exit status.
"""
import os
import select
import subprocess
import sys
import time
import tty

REPLIES = {
    "connect": b"CONNECT 33600",
    "busy": b"BUSY",
    "nocarrier": b"NO CARRIER",
    "nodialtone": b"NO DIALTONE",
    "noanswer": b"NO ANSWER",
    "voice": b"VOICE",
}


def main():
    outcome = sys.argv[1]
    command = sys.argv[2:]
    master, slave = os.openpty()
    tty.setraw(slave)
    process = subprocess.Popen(command, stdin=slave, stdout=slave, close_fds=True)
    os.close(slave)
    pending = b""
    while process.poll() is None:
        ready, _, _ = select.select([master], [], [], 0.05)
        if not ready:
            continue
        try:
            data = os.read(master, 1024)
        except OSError:
            break
        pending += data
        while b"\r" in pending:
            line, pending = pending.split(b"\r", 1)
            line = line.strip().upper()
            if outcome == "dead" or not line:
                continue
            os.write(master, line + b"\r\n")
            if line.startswith(b"ATD"):
                reply = REPLIES.get(outcome)
                if reply:
                    time.sleep(0.2)
                    os.write(master, b"\r\n" + reply + b"\r\n")
            elif line.startswith(b"AT"):
                os.write(master, b"\r\nOK\r\n")
    status = process.wait()
    os.close(master)
    sys.exit(status if status >= 0 else 2)


if __name__ == "__main__":
    main()
