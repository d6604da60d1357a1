"""Whole runs of the Linux launcher against a local MariaDB and nginx, for
bench/run_bench and bench/fleet_bench (not part of the tests).

The launcher is a build of its own (build/bench, Release, pauses off) whose
embedded defaults point at loopback: the download server
http://127.0.0.1:18490/ (nginx, run as our own process with a private config
and prefix) and the database quorvelin_bench on 127.0.0.1:33490 (a private
MariaDB started by the tests' fixture script). Every terminal is a drive of its
own under the work folder, copied from a registered template. Everything the
bench starts (servers, launchers, the programs they start) is stopped when it
ends, also on Ctrl-C.
"""

import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench")
HTTP_PORT = 18490
DB_PORT = 33490
DB = dict(name="quorvelin_bench", user="vantorim_bench", password="bench-senha")
IMPLANTER = "implantador-bench"
APPS = ["Quorvelin", "Pendrak", "Caspelo"]
# The point-of-sale program every bench terminal is set to hand over to.
BASE_APP = "Caspelo"
# The bench launcher's own version, which the online table publishes, so that
# no run updates the launcher.
LAUNCHER_VERSION = "1.0.0.0"

CONFIGURE = [
    "-DCMAKE_BUILD_TYPE=Release", "-DVANTORIM_PAUSES=OFF", "-DVANTORIM_TESTS=OFF",
    f"-DVANTORIM_SERVER_BASE_ADDRESS=http://127.0.0.1:{HTTP_PORT}/",
    f"-DVANTORIM_DB_NAME={DB['name']}", f"-DVANTORIM_DB_USER={DB['user']}",
    f"-DVANTORIM_DB_PASSWORD={DB['password']}", "-DVANTORIM_DB_SERVER=127.0.0.1", f"-DVANTORIM_DB_PORT={DB_PORT}",
    f"-DVANTORIM_FILE_VERSION={LAUNCHER_VERSION}", f"-DVANTORIM_IMPLANTER_PASSWORD={IMPLANTER}",
]


def log(text):
    print(text, flush=True)


def build():
    """Configures and builds the bench launcher and the suite's stand-in programs."""
    os.makedirs(BUILD, exist_ok=True)
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", *CONFIGURE], check=True,
                   stdout=subprocess.DEVNULL)
    targets = ["Vantorim", "Zendral", "vt_net"]
    for app in APPS:
        targets += [f"demo_{app}", f"demo_{app}_next"]
    subprocess.run(["cmake", "--build", BUILD, "-j", "2", "--target", *targets], check=True,
                   stdout=subprocess.DEVNULL)


def online_sql(suite_version):
    return f"""
DROP DATABASE IF EXISTS {DB['name']};
CREATE DATABASE {DB['name']} CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;
DROP USER IF EXISTS '{DB['user']}'@'%';
CREATE USER '{DB['user']}'@'%' IDENTIFIED BY '{DB['password']}';
GRANT ALL PRIVILEGES ON {DB['name']}.* TO '{DB['user']}'@'%';
FLUSH PRIVILEGES;
CREATE TABLE {DB['name']}.tabscoappversoes (CODIGO INT PRIMARY KEY, VANTORIM VARCHAR(30));
INSERT INTO {DB['name']}.tabscoappversoes VALUES (1, 'V1.00.00.00');
CREATE TABLE {DB['name']}.tabclientes (HANDLE INT, RAZAOSOCIAL VARCHAR(100), NOMEFANT VARCHAR(100),
  RELEASE_VANTORIM INT, SCO_VERSAO VARCHAR(30), SEGMENTO_EMPRESA VARCHAR(40), CONEXAOONLINE VARCHAR(200));
INSERT INTO {DB['name']}.tabclientes VALUES
  (53, 'Quorvelin Referência', 'Referência', 0, '{suite_version}', 'VAREJO', 'referencia.quorvelin:3306/ref'),
  (1200, 'Padaria Bench Ltda', 'Padaria Bench', 0, '{suite_version}', 'VAREJO', 'bench.quorvelin:3306/padaria1200');
CREATE TABLE {DB['name']}.tabscoclientesmodulos (CODCLI INT, CODMODULO INT);
INSERT INTO {DB['name']}.tabscoclientesmodulos VALUES (1200, 7);
CREATE TABLE {DB['name']}.tabscoreportsonline (CODIGO INT PRIMARY KEY, HANDLE INT, FILENAME VARCHAR(255),
  DIRETORIO VARCHAR(255), DATAALT DATETIME);
INSERT INTO {DB['name']}.tabscoreportsonline VALUES (1, 1200, 'cupom', 'venda', '2026-11-20 09:15:00'),
  (2, 1200, 'boleto_padaria', 'financeiro', '2026-11-21 10:00:00');
"""


class Servers:
    """The private MariaDB and nginx; stop() ends both."""

    def __init__(self, work):
        self.work = work
        self.db_state = os.path.join(BUILD, "mariadb")
        self.www = os.path.join(work, "www")
        self.nginx_dir = os.path.join(work, "nginx")
        self.access_log = os.path.join(self.nginx_dir, "access.log")
        self.nginx = None
        self.db_started = False

    def start(self):
        os.makedirs(self.db_state, exist_ok=True)
        sql = os.path.join(self.work, "online.sql")
        with open(sql, "w") as f:
            f.write(online_sql("V2.03.11.00"))
        subprocess.run([sys.executable, os.path.join(ROOT, "tests", "online", "mariadb_server.py"), "--start",
                        "--state-dir", self.db_state, "--port", str(DB_PORT), "--setup-sql", sql],
                       check=True, stdout=subprocess.DEVNULL)
        self.db_started = True
        # A fleet opens many connections at once.
        self.root_sql("SET GLOBAL max_connections = 1000")
        self.start_nginx()

    def start_nginx(self):
        os.makedirs(os.path.join(self.nginx_dir, "tmp"), exist_ok=True)
        temp = "".join(f"  {k}_temp_path {self.nginx_dir}/tmp/{k};\n"
                       for k in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        conf = os.path.join(self.nginx_dir, "nginx.conf")
        with open(conf, "w") as f:
            f.write(("user root root;\n" if os.geteuid() == 0 else "") + f"""worker_processes 1;
pid {self.nginx_dir}/nginx.pid;
error_log {self.nginx_dir}/error.log warn;
events {{ worker_connections 4096; }}
http {{
  log_format bench '$request_method $status $body_bytes_sent $request_time $uri';
  access_log {self.access_log} bench;
  sendfile on;
  tcp_nopush on;
  default_type application/octet-stream;
{temp}  server {{
    listen 127.0.0.1:{HTTP_PORT};
    root {self.www};
    location = /_nginx_status {{ stub_status; access_log off; }}
  }}
}}
""")
        self.nginx = subprocess.Popen(["/usr/sbin/nginx", "-p", self.nginx_dir + "/", "-c", conf,
                                       "-e", os.path.join(self.nginx_dir, "error.log"), "-g", "daemon off;"],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if self.nginx.poll() is not None:
                sys.exit(f"nginx ended at once; see {self.nginx_dir}/error.log (port {HTTP_PORT} taken?)")
            if subprocess.run(["curl", "-s", "-o", "/dev/null", f"http://127.0.0.1:{HTTP_PORT}/_nginx_status"]
                              ).returncode == 0:
                return
            time.sleep(0.05)
        sys.exit("nginx does not answer")

    def socket(self):
        path = os.path.join(self.db_state, "s.sock")
        if len(path.encode()) < 100:
            return path
        import hashlib
        import tempfile
        tag = hashlib.sha1(self.db_state.encode()).hexdigest()[:12]
        return os.path.join(tempfile.gettempdir(), "vt-mariadb-" + tag, "s.sock")

    def root_sql(self, statement):
        out = subprocess.run(["mariadb", "--no-defaults", f"--socket={self.socket()}", "-uroot", "-N", "-B", "-e",
                              statement], check=True, stdout=subprocess.PIPE, text=True).stdout
        return out

    def set_suite_version(self, version):
        self.root_sql(f"UPDATE {DB['name']}.tabclientes SET SCO_VERSAO = '{version}'")

    def db_counters(self):
        out = self.root_sql("SHOW GLOBAL STATUS WHERE Variable_name IN ('Connections', 'Questions')")
        values = dict(line.split("\t") for line in out.strip().splitlines())
        return int(values["Connections"]), int(values["Questions"])

    def access_lines(self, offset):
        """The access log's lines from offset on, and the new offset."""
        with open(self.access_log, "rb") as f:
            f.seek(offset)
            data = f.read()
        return data.decode().splitlines(), offset + len(data)

    def access_size(self):
        try:
            return os.path.getsize(self.access_log)
        except OSError:
            return 0

    def stop(self):
        if self.nginx and self.nginx.poll() is None:
            self.nginx.terminate()
            try:
                self.nginx.wait(10)
            except subprocess.TimeoutExpired:
                self.nginx.kill()
        if self.db_started:
            subprocess.run([sys.executable, os.path.join(ROOT, "tests", "online", "mariadb_server.py"), "--stop",
                            "--state-dir", self.db_state], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.db_started = False


def zip_into(zip_path, folder, names):
    if os.path.exists(zip_path):
        os.remove(zip_path)
    subprocess.run(["zip", "-q", "-r", zip_path, *names], cwd=folder, check=True)


def publish(servers, suite_folder, reports_text, layouts=60):
    """The suite's packages in nginx's document root: the three programs of
    suite_folder and a reports package of a few dozen layouts."""
    upd = os.path.join(servers.www, "Quorvelin", "upd")
    os.makedirs(upd, exist_ok=True)
    for app in APPS:
        zip_into(os.path.join(upd, app + ".zip"), suite_folder, [app + ".exe"])
    pack = os.path.join(servers.work, "pack")
    shutil.rmtree(pack, ignore_errors=True)
    for folder in ("venda", "financeiro", "estoque"):
        os.makedirs(os.path.join(pack, "reports", folder, "personalizados"))
    for i in range(layouts):
        folder = ("venda", "financeiro", "estoque")[i % 3]
        with open(os.path.join(pack, "reports", folder, f"layout{i:03}.fr3"), "w") as f:
            f.write(f"layout {i} {reports_text}\n" * (20 + i * 7))
    zip_into(os.path.join(upd, "reports.zip"), pack, ["reports"])
    for folder, name, text in (("venda", "cupom.fr3", "cupom da Padaria Bench"),
                               ("financeiro", "boleto_padaria.fr3", "boleto da Padaria Bench")):
        path = os.path.join(servers.www, "nuvem", "reports", "1200", folder)
        os.makedirs(path, exist_ok=True)
        with open(os.path.join(path, name), "w") as f:
            f.write(text + "\n")


def new_drive(path):
    bin_dir = os.path.join(BUILD, "bin")
    q = os.path.join(path, "Quorvelin")
    os.makedirs(q)
    os.makedirs(os.path.join(path, "Windows", "System32"))
    for name in ("Vantorim.exe", "Zendral.dll"):
        shutil.copy2(os.path.join(bin_dir, name), q)
    shutil.copy2(os.path.join(bin_dir, "net.exe"), os.path.join(path, "Windows", "System32"))
    os.symlink(os.path.realpath(os.path.join(bin_dir, "libmySQL.dll")), os.path.join(q, "libmySQL.dll"))
    with open(os.path.join(q, "Config.ini"), "w", newline="") as f:
        f.write("[CONEXAO]\r\nAplicativoBasesExterno=%s\r\n" % BASE_APP)


def copy_drive(template, path):
    shutil.rmtree(path, ignore_errors=True)
    subprocess.run(["cp", "-a", template, path], check=True)


class Run:
    """One launcher on its drive."""

    def __init__(self, drive, answers=None, trace=None):
        self.drive = drive
        self.answers = answers
        self.trace = trace
        self.proc = None
        self.started = 0.0
        self.seconds = None
        self.code = None

    def start(self):
        env = dict(os.environ, VANTORIM_DRIVE_C=self.drive)
        exe = os.path.join(self.drive, "Quorvelin", "Vantorim.exe")
        command = [exe]
        if self.trace:
            command = ["strace", "-f", "-c", "-w", "-o", self.trace] + command
        self.console = open(os.path.join(os.path.dirname(self.drive), os.path.basename(self.drive) + ".console"), "w")
        self.started = time.monotonic()
        self.proc = subprocess.Popen(command, env=env, stdin=subprocess.PIPE if self.answers else subprocess.DEVNULL,
                                     stdout=self.console, stderr=subprocess.STDOUT)
        if self.answers:
            self.proc.stdin.write(self.answers.encode())
            self.proc.stdin.close()

    def poll(self):
        if self.seconds is None and self.proc.poll() is not None:
            self.seconds = time.monotonic() - self.started
            self.code = self.proc.returncode
            self.console.close()
        return self.seconds is not None

    def wait(self, timeout=300):
        deadline = time.monotonic() + timeout
        while not self.poll():
            if time.monotonic() > deadline:
                self.proc.kill()
            time.sleep(0.002)

    def succeeded(self):
        """Ended with 0 and handed over to the point-of-sale program."""
        # The started program creates its line's file before it writes the
        # line, so the file can be there and still empty: wait for the line.
        # A run that failed is not waited for.
        if self.code != 0:
            return False
        started = os.path.join(self.drive, "Quorvelin", "iniciados.txt")
        for _ in range(500):
            try:
                with open(started) as f:
                    if BASE_APP + ".exe" in f.read():
                        return True
            except OSError:
                pass
            time.sleep(0.01)
        return False

    def reset_handover(self):
        try:
            os.remove(os.path.join(self.drive, "Quorvelin", "iniciados.txt"))
        except OSError:
            pass


def processes_under(folder):
    """The processes whose command line names a path below folder."""
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmd = f.read().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        if folder + "/" in cmd:
            pids.append(int(entry))
    return pids


def stop_processes_under(folder):
    for sig in (signal.SIGTERM, signal.SIGTERM, signal.SIGKILL):
        pids = processes_under(folder)
        if not pids:
            return
        for pid in pids:
            try:
                os.kill(pid, sig)
            except OSError:
                pass
        time.sleep(0.3)


def percentile(values, p):
    values = sorted(values)
    if not values:
        return 0.0
    k = (len(values) - 1) * p / 100
    lo, hi = int(k), min(int(k) + 1, len(values) - 1)
    return values[lo] + (values[hi] - values[lo]) * (k - lo)


def http_figures(lines):
    """Requests by method, bytes served and the server's time from access-log lines."""
    heads = gets = 0
    sent = 0
    seconds = 0.0
    for line in lines:
        parts = line.split()
        if len(parts) < 4:
            continue
        heads += parts[0] == "HEAD"
        gets += parts[0] == "GET"
        sent += int(parts[2])
        seconds += float(parts[3])
    return dict(heads=heads, gets=gets, bytes=sent, seconds=seconds)


def prepare(work, servers):
    """The registered template terminal: a first run registers it (the
    implanter's answers on standard input) and fetches the suite; a second
    run must then have nothing to do."""
    publish(servers, os.path.join(BUILD, "demo_suite"), "2.3.11")
    template = os.path.join(work, "template")
    new_drive(template)
    first = Run(template, answers=f"{IMPLANTER}\n1200\ns\n")
    first.start()
    first.wait()
    if not first.succeeded():
        sys.exit(f"the registering run failed (exit {first.code}); see {template}.console and the run log")
    first.reset_handover()
    again = Run(template)
    again.start()
    again.wait()
    if not again.succeeded():
        sys.exit(f"the second run failed (exit {again.code}); see {template}.console")
    again.reset_handover()
    shutil.rmtree(os.path.join(template, "Quorvelin", "logs"), ignore_errors=True)
    return template


def set_kind(servers, kind):
    """"steady": nothing to update; "update": the company moved to the next
    suite version, whose packages the server then holds."""
    if kind == "steady":
        servers.set_suite_version("V2.03.11.00")
        publish(servers, os.path.join(BUILD, "demo_suite"), "2.3.11")
    else:
        servers.set_suite_version("V2.03.12.00")
        publish(servers, os.path.join(BUILD, "demo_suite", "next"), "2.3.12")


def syscall_profile(path):
    """strace -c -w's table as (seconds, calls, name), largest first."""
    rows = []
    with open(path) as f:
        for line in f:
            m = re.match(r"\s*[\d.]+\s+([\d.]+)\s+\d+\s+(\d+)\s+(?:\d+\s+)?(\w+)\s*$", line)
            if m and m.group(3) != "total":
                rows.append((float(m.group(1)), int(m.group(2)), m.group(3)))
    return sorted(rows, reverse=True)


CATEGORIES = {
    "waits on the network (DB and HTTP answers)": {"poll", "ppoll", "select", "pselect6", "recvfrom", "recvmsg",
                                                   "recv", "connect", "sendto", "sendmsg", "epoll_wait"},
    "file operations": {"openat", "open", "close", "read", "write", "pread64", "pwrite64", "rename", "renameat",
                        "renameat2", "unlink", "unlinkat", "mkdir", "mkdirat", "rmdir", "newfstatat", "fstat",
                        "stat", "lstat", "statx", "getdents64", "ftruncate", "flock", "fsync", "fdatasync",
                        "lseek", "chmod", "fchmod", "fchmodat", "utimensat", "readlink", "readlinkat",
                        "access", "faccessat", "faccessat2", "copy_file_range", "sendfile", "fcntl"},
    "starting programs": {"execve", "clone", "clone3", "fork", "vfork", "wait4", "waitid"},
    "pauses": {"nanosleep", "clock_nanosleep"},
}


def categorised(rows):
    totals = {name: 0.0 for name in CATEGORIES}
    totals["other system calls"] = 0.0
    for seconds, _, name in rows:
        for category, names in CATEGORIES.items():
            if name in names:
                totals[category] += seconds
                break
        else:
            totals["other system calls"] += seconds
    return totals


def main_guard(work, body):
    """Runs body(servers) with everything stopped at the end, Ctrl-C included."""
    def on_signal(signum, _frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    os.chmod(work, 0o755)
    servers = Servers(work)
    try:
        servers.start()
        body(servers)
    except KeyboardInterrupt:
        print("\ninterrupted; stopping what the bench started", file=sys.stderr)
        return 130
    finally:
        stop_processes_under(work)
        servers.stop()
    return 0


def median_and_spread(values):
    return statistics.median(values), min(values), max(values)
