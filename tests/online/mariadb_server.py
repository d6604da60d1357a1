#!/usr/bin/env python3
"""MariaDB server for the tests: the online database on loopback.

    mariadb_server.py --start --state-dir DIR --port P --setup-sql FILE
    mariadb_server.py --stop --state-dir DIR

--start makes a private data folder in STATE_DIR/data (once; later runs reuse
it), starts mariadbd detached on 127.0.0.1:P, waits until it answers, and runs
the statements of FILE as root (the tests' databases and users). A server left
running by an earlier run of the same state folder is stopped first. --stop
shuts the server down. The server's log is STATE_DIR/server.log.
"""

import hashlib
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import server_process  # noqa: E402


def find(program):
    return server_process.find(program, "mariadb_server", "mariadb-server and mariadb-client")


def socket_path(state_dir):
    # A Unix socket path has at most 107 bytes; a deep build tree gets one in
    # the temporary folder, named after the state folder.
    path = os.path.join(state_dir, "s.sock")
    if len(path.encode()) < 100:
        return path
    tag = hashlib.sha1(state_dir.encode()).hexdigest()[:12]
    folder = os.path.join(tempfile.gettempdir(), "vt-mariadb-" + tag)
    os.makedirs(folder, exist_ok=True)
    return os.path.join(folder, "s.sock")


def read_pid(state_dir):
    return server_process.read_number(os.path.join(state_dir, "server.pid"))


def alive(pid):
    return server_process.alive(pid, "mariadbd")


def admin(state_dir, *args, timeout=30):
    return subprocess.run(
        [find("mariadb-admin"), "--no-defaults", "--protocol=socket", f"--socket={socket_path(state_dir)}",
         "--user=root", "--connect-timeout=2", *args],
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)


def stop(state_dir):
    pid = read_pid(state_dir)
    if not alive(pid):
        return
    try:
        admin(state_dir, "shutdown")
    except subprocess.TimeoutExpired:
        pass
    server_process.end(pid, "mariadbd", (None, signal.SIGTERM, signal.SIGKILL), seconds=30, poll=0.2)
    server_process.remove(os.path.join(state_dir, "server.pid"))


def port_free(port):
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False


def install(state_dir, data_dir):
    marker = os.path.join(state_dir, "installed")
    if os.path.exists(marker) and os.path.isdir(os.path.join(data_dir, "mysql")):
        return
    shutil.rmtree(data_dir, ignore_errors=True)
    os.makedirs(data_dir)
    result = subprocess.run(
        [find("mariadb-install-db"), "--no-defaults", f"--datadir={data_dir}", "--user=root",
         "--auth-root-authentication-method=normal", "--skip-test-db"],
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    if result.returncode != 0:
        sys.exit("mariadb_server: mariadb-install-db failed:\n" + result.stdout.decode(errors="replace"))
    with open(marker, "w") as f:
        f.write("ok\n")


def start(state_dir, port, setup_sql):
    os.makedirs(state_dir, exist_ok=True)
    stop(state_dir)
    if not port_free(port):
        sys.exit(f"mariadb_server: port {port} on 127.0.0.1 is taken by another program "
                 "(configure another with -DVT_TEST_MARIADB_PORT=...)")
    data_dir = os.path.join(state_dir, "data")
    install(state_dir, data_dir)
    sock = socket_path(state_dir)
    log_path = os.path.join(state_dir, "server.log")
    server = server_process.start_detached(
        [find("mariadbd"), "--no-defaults", "--user=root", f"--datadir={data_dir}", f"--socket={sock}",
         f"--port={port}", "--bind-address=127.0.0.1", "--skip-log-bin", "--innodb-buffer-pool-size=64M",
         "--skip-name-resolve", f"--pid-file={os.path.join(state_dir, 'mariadbd.pid')}"], log_path)
    server_process.write_pid(os.path.join(state_dir, "server.pid"), server.pid)
    deadline = time.monotonic() + 60
    while True:
        if server.poll() is not None:
            tail = server_process.log_tail(log_path)
            sys.exit(f"mariadb_server: mariadbd ended with code {server.returncode}:\n{tail}")
        if admin(state_dir, "ping").returncode == 0:
            break
        if time.monotonic() > deadline:
            stop(state_dir)
            sys.exit("mariadb_server: mariadbd did not answer within 60 s")
        time.sleep(0.2)
    with open(setup_sql, "rb") as f:
        result = subprocess.run(
            [find("mariadb"), "--no-defaults", "--protocol=socket", f"--socket={sock}", "--user=root",
             "--default-character-set=utf8mb4"],
            stdin=f, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    if result.returncode != 0:
        stop(state_dir)
        sys.exit("mariadb_server: setting up the test databases failed:\n" + result.stdout.decode(errors="replace"))
    print(f"mariadb_server: listening on 127.0.0.1:{port} (pid {server.pid})")


if __name__ == "__main__":
    server_process.main("mariadb_server", start, stop, ("setup-sql",))
