#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs a command that asks for a passphrase on its terminal (as age -p does), answering every prompt.

    tty_passphrase.py PASSPHRASE COMMAND [ARG...]

The command gets a pseudo-terminal as its controlling terminal (what /dev/tty opens) while its standard
input and output stay as they were, so it can sit in a pipeline; its exit status is passed on."""
import fcntl
import os
import sys
import termios


def main() -> int:
    passphrase, command = sys.argv[1].encode() + b"\n", sys.argv[2:]
    controller, terminal = os.openpty()
    pid = os.fork()
    if pid == 0:
        os.close(controller)
        os.setsid()
        fcntl.ioctl(terminal, termios.TIOCSCTTY, 0)
        # Kept open across exec: a terminal that nobody holds is hung up before the command opens it.
        os.set_inheritable(terminal, True)
        os.execvp(command[0], command)
    os.close(terminal)
    seen = b""
    while True:
        try:
            data = os.read(controller, 4096)
        except OSError:  # every holder of the terminal closed it: the command has ended
            break
        if not data:
            break
        seen += data
        # Each prompt ends with a colon; answer once per prompt.
        while b":" in seen:
            before, _, seen = seen.partition(b":")
            if b"assphrase" in before:
                os.write(controller, passphrase)
    _, status = os.waitpid(pid, 0)
    return os.waitstatus_to_exitcode(status)


if __name__ == "__main__":
    sys.exit(main())
