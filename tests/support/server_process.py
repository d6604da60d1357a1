"""Process helpers of the tests' servers (mariadb_server.py, cups_server.py):
finding a server program, its pid file, whether it still runs, ending it, and
starting it detached from the caller (CTest waits for every process that
holds its pipes).
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

SBIN = ["/usr/sbin", "/usr/local/sbin", "/sbin"]


def find(program, who, packages):
    """The program's path, looked for on PATH and in the sbin folders."""
    path = shutil.which(program) or shutil.which(program, path=os.pathsep.join(SBIN))
    if not path:
        sys.exit(f"{who}: {program} not found (install {packages})")
    return path


def read_number(path):
    """The integer a state file holds (a pid, a port); None when there is none."""
    try:
        with open(path) as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


def write_pid(path, pid):
    with open(path, "w") as f:
        f.write(f"{pid}\n")


def alive(pid, program):
    """True while the process runs and is still the named program (a pid the
    system gave to another program since, or a zombie, does not count)."""
    if pid is None:
        return False
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        pass  # another user's process: its /proc entries still tell
    try:
        with open(f"/proc/{pid}/stat") as f:
            if f.read().split()[2] == "Z":
                return False
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return program.encode() in f.read()
    except OSError:
        return False


def end(pid, program, signals, seconds, poll):
    """Sends each signal in turn (None: only waits) until the process is gone,
    waiting up to `seconds` after each."""
    for sig in signals:
        if not alive(pid, program):
            return
        if sig is not None:
            os.kill(pid, sig)
        deadline = time.monotonic() + seconds
        while alive(pid, program) and time.monotonic() < deadline:
            time.sleep(poll)


def remove(path):
    try:
        os.remove(path)
    except OSError:
        pass


def start_detached(command, log_path, **options):
    """The server in a session of its own, its output appended to the log."""
    with open(log_path, "ab") as log:
        return subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True,
                                close_fds=True, **options)


def log_tail(log_path, size=3000):
    with open(log_path, errors="replace") as f:
        return f.read()[-size:]


TERM_THEN_KILL = (signal.SIGTERM, signal.SIGKILL)


def main(who, start, stop, start_options=()):
    """The servers' command line: --start --state-dir DIR --port P (and the
    options named in `start_options`, all needed) calls start(state_dir,
    port, *options); --stop --state-dir DIR calls stop(state_dir)."""
    parser = argparse.ArgumentParser(prog=f"{who}.py")
    parser.add_argument("--start", action="store_true")
    parser.add_argument("--stop", action="store_true")
    parser.add_argument("--state-dir", required=True)
    parser.add_argument("--port", type=int)
    for option in start_options:
        parser.add_argument("--" + option)
    args = parser.parse_args()
    state_dir = os.path.abspath(args.state_dir)
    if args.start:
        values = [getattr(args, option.replace("-", "_")) for option in start_options]
        if not args.port or not all(values):
            sys.exit(f"{who}: --start needs " + " and ".join(["--port"] + ["--" + o for o in start_options]))
        start(state_dir, args.port, *values)
    elif args.stop:
        stop(state_dir)
        print(f"{who}: stopped")
    else:
        parser.error("--start or --stop")
