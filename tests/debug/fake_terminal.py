#!/usr/bin/env python3
"""Stands in for x-terminal-emulator in the console tests: runs the command
after -e on a pseudo-terminal of its own, types FAKE_TERMINAL_INPUT there
and writes everything the terminal shows to FAKE_TERMINAL_OUT, after a first
line with the options before -e; "[closed]" ends the file once nothing holds
the terminal any more."""
import os
import subprocess
import sys

args = sys.argv[1:]
out = open(os.environ["FAKE_TERMINAL_OUT"], "wb")
cut = args.index("-e")
out.write(("options: " + " ".join(args[:cut]) + "\n").encode())
master, slave = os.openpty()
proc = subprocess.Popen(args[cut + 1:], stdin=slave, stdout=slave, stderr=slave,
                        start_new_session=True)
os.close(slave)
os.write(master, os.environ.get("FAKE_TERMINAL_INPUT", "").encode())
while True:
    try:
        data = os.read(master, 4096)
    except OSError:  # EIO: every holder of the terminal is gone
        break
    if not data:
        break
    out.write(data)
    out.flush()
proc.wait()
out.write(b"\n[closed]\n")
out.close()
