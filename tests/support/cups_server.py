#!/usr/bin/env python3
"""CUPS scheduler for the tests: the printers of the machine, on loopback.

    cups_server.py --start --state-dir DIR --port P
    cups_server.py --stop --state-dir DIR

--start writes a cupsd.conf and cups-files.conf of its own under
STATE_DIR/server (server root, spool, cache, state and logs all inside
STATE_DIR), starts cupsd in the foreground, detached, on 127.0.0.1:P and waits
until it answers; then it makes the test queues with lpadmin and forgets any
default destination an earlier run chose. A scheduler left running by an
earlier run of the same state folder is stopped first. --stop ends it.

The clients (the suites, lpadmin, lpstat) reach it with the environment
    CUPS_SERVER=127.0.0.1:P  CUPS_SERVERROOT=STATE_DIR/client  HOME=STATE_DIR/home
so their lpoptions (the user's default destination) stay in STATE_DIR too,
never in the machine's /etc/cups or the user's home.

The queues (raw, printing to /dev/null; no job is ever sent):
    Caixa01, Etiquetas     local printers
    Fiscal@srv01           CUPS's name of a queue "Fiscal" on the server srv01
                           (CUPS refuses "\\" in a queue name; what follows
                           "@" names the server)
"""

import os
import socket
import subprocess
import sys
import time

import server_process

QUEUES = ["Caixa01", "Etiquetas", "Fiscal@srv01"]


def find(program):
    return server_process.find(program, "cups_server", "cups-daemon and cups-client")


def folders(state_dir):
    return {name: os.path.join(state_dir, name)
            for name in ("server", "spool", "cache", "state", "tmp", "log", "client", "home")}


def client_env(state_dir, port):
    env = dict(os.environ)
    env.update(CUPS_SERVER=f"127.0.0.1:{port}", CUPS_SERVERROOT=os.path.join(state_dir, "client"),
               HOME=os.path.join(state_dir, "home"))
    env.pop("LPDEST", None)
    env.pop("PRINTER", None)
    return env


def stop(state_dir):
    pid_file = os.path.join(state_dir, "cupsd.pid")
    server_process.end(server_process.read_number(pid_file), "cupsd", server_process.TERM_THEN_KILL, seconds=15,
                       poll=0.1)
    server_process.remove(pid_file)


def answers(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=1):
            return True
    except OSError:
        return False


def write_config(state_dir, port):
    d = folders(state_dir)
    for path in d.values():
        os.makedirs(path, exist_ok=True)
    with open(os.path.join(d["server"], "cups-files.conf"), "w") as f:
        f.write(f"""ServerRoot {d['server']}
RequestRoot {d['spool']}
CacheDir {d['cache']}
StateDir {d['state']}
TempDir {d['tmp']}
ErrorLog {d['log']}/error_log
AccessLog {d['log']}/access_log
PageLog {d['log']}/page_log
Printcap {d['state']}/printcap
FileDevice Yes
""")
    # Loopback only, no browsing, and every operation open to the local
    # clients without authentication: the tests add queues and choose defaults.
    with open(os.path.join(d["server"], "cupsd.conf"), "w") as f:
        f.write(f"""Listen 127.0.0.1:{port}
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
""")
    with open(os.path.join(d["client"], "client.conf"), "w") as f:
        f.write(f"ServerName 127.0.0.1:{port}\n")


def start(state_dir, port):
    os.makedirs(state_dir, exist_ok=True)
    stop(state_dir)
    if answers(port):
        sys.exit(f"cups_server: port {port} on 127.0.0.1 is taken by another program "
                 "(configure another with -DVT_TEST_CUPS_PORT=...)")
    write_config(state_dir, port)
    d = folders(state_dir)
    log_path = os.path.join(d["log"], "cupsd.out")
    server = server_process.start_detached(
        [find("cupsd"), "-f", "-c", os.path.join(d["server"], "cupsd.conf"),
         "-s", os.path.join(d["server"], "cups-files.conf")], log_path)
    server_process.write_pid(os.path.join(state_dir, "cupsd.pid"), server.pid)
    deadline = time.monotonic() + 30
    while not answers(port):
        if server.poll() is not None or time.monotonic() > deadline:
            stop(state_dir)
            sys.exit(f"cupsd did not start:\n{server_process.log_tail(log_path)}")
        time.sleep(0.1)
    env = client_env(state_dir, port)
    for queue in QUEUES:
        result = subprocess.run([find("lpadmin"), "-p", queue, "-E", "-v", "file:/dev/null"], env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=30)
        if result.returncode != 0:
            stop(state_dir)
            sys.exit(f"cups_server: lpadmin -p {queue} failed:\n" + result.stdout.decode(errors="replace"))
    for lpoptions in (os.path.join(d["home"], ".cups", "lpoptions"), os.path.join(d["client"], "lpoptions")):
        try:
            os.remove(lpoptions)
        except OSError:
            pass
    print(f"cups_server: listening on 127.0.0.1:{port} (pid {server.pid}) with {', '.join(QUEUES)}")


if __name__ == "__main__":
    server_process.main("cups_server", start, stop)
