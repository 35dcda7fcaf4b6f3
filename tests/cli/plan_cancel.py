#!/usr/bin/env python3
"""A move on a terminal, cancelled with Ctrl+C: tarnwick-cli runs on a pseudo-terminal, stops at the question about a
file already at the target, and gets Ctrl+C there. The first press is answered No to the cancel question and the
overwrite question comes again; the second is answered Yes. Every file stays whole: the ones before the question
moved, that one and the ones after it where they were, the file at the target untouched.

Usage: plan_cancel.py TARNWICK_CLI SAMPLE_DRIVE_TOOL WORK_FOLDER
"""
import hashlib
import os
import pty
import select
import shutil
import subprocess
import sys
import time

CANCEL_QUESTION = b"Do you want to cancel current task? [y/N] "
OVERWRITE_QUESTION = b"[y]es, yes to [a]ll, [s]kip, skip a[l]l, [c]ancel? "


def digest(path):
    with open(path, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()


def fail(text, output=b""):
    sys.stderr.write(text + "\n--- the terminal showed:\n" + output.decode("utf-8", "replace") + "\n")
    sys.exit(1)


def main():
    cli, drive_tool, work = (os.path.abspath(arg) for arg in sys.argv[1:4])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "archive"))
    subprocess.run([drive_tool, "drive", "--entries", "40", "--seed", "9", "--payload", "4000"], cwd=work,
                   check=True, stdout=subprocess.DEVNULL)
    plan = subprocess.run([cli, "load", "drive/OMFI MediaFiles/msmFMID.pmr"], cwd=work, check=True,
                          capture_output=True).stdout
    with open(os.path.join(work, "plan.tsv"), "wb") as f:
        f.write(plan)
    rows = [line.split("\t") for line in plan.decode("utf-8").splitlines()[1:]]
    files = [(row[1], os.path.join(row[6], row[1])) for row in rows if row[6]]
    sums = {name: digest(path) for name, path in files}
    gate = 4
    gate_name = files[gate][0]
    with open(os.path.join(work, "archive", gate_name), "wb") as f:
        f.write(b"older take")

    pid, fd = pty.fork()
    if pid == 0:
        os.chdir(work)
        os.execv(cli, [cli, "move", "--to", "archive", "plan.tsv"])
    shown = bytearray()

    def wait_for(text, count=1):
        deadline = time.time() + 60
        while shown.count(text) < count:
            if time.time() > deadline:
                fail("no %r" % text, bytes(shown))
            ready, _, _ = select.select([fd], [], [], 0.5)
            if ready:
                try:
                    chunk = os.read(fd, 4096)
                except OSError:
                    chunk = b""
                if not chunk:
                    fail("the program ended before %r" % text, bytes(shown))
                shown.extend(chunk)

    wait_for(OVERWRITE_QUESTION)
    os.write(fd, b"\x03")
    wait_for(CANCEL_QUESTION)
    os.write(fd, b"n\r")
    wait_for(OVERWRITE_QUESTION, 2)
    os.write(fd, b"\x03")
    wait_for(CANCEL_QUESTION, 2)
    os.write(fd, b"y\r")
    while True:
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        shown.extend(chunk)
    _, status = os.waitpid(pid, 0)
    output = bytes(shown)
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 3:
        fail("exit status %r, expected 3" % status, output)
    if b" files" not in output or b"Moving files...." not in output:
        fail("no progress line", output)
    if b"tarnwick-cli move: cancelled" not in output:
        fail("no line of the cancel", output)

    for index, (name, source) in enumerate(files):
        target = os.path.join(work, "archive", name)
        if index < gate:
            if os.path.exists(source) or digest(target) != sums[name]:
                fail("%s is not whole at the target only" % name, output)
        else:
            if not os.path.exists(source) or digest(source) != sums[name]:
                fail("%s is not whole at its source" % name, output)
            if index == gate:
                with open(target, "rb") as f:
                    if f.read() != b"older take":
                        fail("the file at the target was overwritten", output)
            elif os.path.exists(target):
                fail("%s was moved after the cancel" % name, output)


if __name__ == "__main__":
    main()
