#!/usr/bin/env python3
"""The demo's summary of one run of the launcher, read from the run log and
the drive: what the run retired, updated, fetched and started.

    summary.py --drive DIR --state FILE --title TEXT [--encoding cp1252]
               [--dmutils PROGRAM] [--service NAME=STATE ...]

DIR is the folder that stands for drive C:. FILE keeps what the drive held
after the previous run (made on the first call, before the first run, with
--title ""), so each summary tells what this run changed. A service's STATE
is its state number (1 stopped, 4 running) or "gone" when it is no longer
registered; the caller reads it from the service manager it uses.
"""
import argparse
import hashlib
import json
import os
import re
import subprocess
import sys

APPLICATIONS = ["Vantorim.exe", "Quorvelin.exe", "Pendrak.exe", "Caspelo.exe"]
DATA_FOLDERS = ["Program Files (x86)/MySQL/MySQL Server 5.7/data", "Program Files/MySQL/MySQL Server 5.7/data"]
SERVICE_STATES = {"1": "stopped", "4": "running", "gone": "removed", None: "absent"}


def log_files(root):
    folder = os.path.join(root, "logs", "vantorim")
    if not os.path.isdir(folder):
        return []
    names = [n for n in os.listdir(folder) if re.fullmatch(r"log\d+\.txt", n)]
    return sorted((os.path.join(folder, n) for n in names), key=os.path.getmtime)


def log_lines(root, encoding):
    lines = []
    for path in log_files(root):
        with open(path, encoding=encoding, errors="replace", newline="") as f:
            lines.extend(line.rstrip("\r\n") for line in f.read().split("\r\n") if line)
    return lines


def versions(drive, dmutils):
    """The file version of each suite program, through dmutils GetExeVersion."""
    if not dmutils:
        return {}
    requests = "".join(json.dumps({"op": "GetExeVersion", "args": ["C:\\Quorvelin\\" + a]}) + "\n"
                       for a in APPLICATIONS)
    env = dict(os.environ, VANTORIM_DRIVE_C=drive)
    answer = subprocess.run([dmutils], input=requests, capture_output=True, text=True, env=env, check=True)
    found = {}
    for app, line in zip(APPLICATIONS, answer.stdout.splitlines()):
        result = json.loads(line).get("result", "")
        found[app] = result or None
    return found


def files_below(root, skip=("logs", "dwd")):
    found = {}
    for folder, dirs, names in os.walk(root):
        rel = os.path.relpath(folder, root)
        if rel == ".":
            dirs[:] = [d for d in dirs if d not in skip]
        for name in names:
            path = os.path.join(folder, name)
            key = os.path.normpath(os.path.join(rel, name)).replace(os.sep, "\\")
            try:
                with open(path, "rb") as f:
                    found[key] = hashlib.sha1(f.read()).hexdigest()
            except OSError:
                found[key] = None
        for name in dirs:
            found[os.path.normpath(os.path.join(rel, name)).replace(os.sep, "\\") + "\\"] = "folder"
    return found


def snapshot(args):
    root = os.path.join(args.drive, "Quorvelin")
    databases = []
    for folder in DATA_FOLDERS:
        path = os.path.join(args.drive, folder)
        if os.path.isdir(path):
            databases = sorted(os.listdir(path))
            break
    started = []
    try:
        with open(os.path.join(root, "iniciados.txt"), encoding="utf-8", errors="replace") as f:
            started = [line.strip() for line in f if line.strip()]
    except OSError:
        pass
    return {
        "log": len(log_lines(root, args.encoding)),
        "versions": versions(args.drive, args.dmutils),
        "files": files_below(root),
        "databases": databases,
        "services": dict(s.split("=", 1) for s in args.service),
        "started": started,
    }


def wrap(label, items):
    if not items:
        print(f"  {label:<9} (nothing)")
        return
    for i, item in enumerate(items):
        print(f"  {label if i == 0 else '':<9} {item}")


def report(args, before, after):
    root = os.path.join(args.drive, "Quorvelin")
    lines = log_lines(root, args.encoding)[before["log"]:]
    entries = [l.split(" ", 2)[2] if re.match(r"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d ", l) else l for l in lines]

    retired = []
    for name, state in sorted(after["services"].items()):
        was = before["services"].get(name)
        if was != state:
            retired.append(f"service {name}: {SERVICE_STATES.get(was, was)} -> {SERVICE_STATES.get(state, state)}")
    for name in before["databases"]:
        if name not in after["databases"]:
            renamed = [n for n in after["databases"] if n not in before["databases"]]
            retired.append(f"local database {name} -> {', '.join(renamed) or '(deleted)'}")
    # Files and folders of the launcher folder itself (not what they hold).
    for key in sorted(before["files"]):
        if key not in after["files"] and not key.startswith("reports") and "\\" not in key.rstrip("\\"):
            retired.append(f"C:\\Quorvelin\\{key} deleted")
    updated = []
    for app in APPLICATIONS:
        old, new = before["versions"].get(app), after["versions"].get(app)
        if old != new:
            updated.append(f"{app}: {old or '(absent)'} -> {new or '(absent)'}")

    fetched = []
    for entry in entries:
        m = re.fullmatch(r"Baixando arquivo (.*) do FTP da Quorvelin", entry)
        if m:
            fetched.append(m.group(1))

    layouts = []
    for key in sorted(set(before["files"]) | set(after["files"])):
        if not key.startswith("reports\\") or key.endswith("\\"):
            continue
        old, new = before["files"].get(key), after["files"].get(key)
        if old == new:
            continue
        what = "new" if old is None else "removed" if new is None else "changed"
        layouts.append(f"C:\\Quorvelin\\{key} {what}")

    # The custom layouts a reports swap carried over unchanged.
    if "Trocando arquivos entre as duas reports" in entries:
        for key in sorted(after["files"]):
            if "\\personalizados\\" in key and not key.endswith("\\") and before["files"].get(key) == after["files"][key]:
                layouts.append(f"C:\\Quorvelin\\{key} kept through the reports swap")

    started = after["started"][len(before["started"]):]
    outcome = [e for e in entries if e in ("Processo do Vantorim realizado com sucesso",)]
    restart = any(e == "Encerra o atual Vantorim renomeado e executa o novo baixado" for e in entries)

    print(f"== {args.title}: summary (from the run log and the drive)")
    print(f"  {'log':<9} {len(lines)} new lines in C:\\Quorvelin\\logs\\vantorim")
    wrap("retired", retired)
    wrap("updated", updated + (["the launcher updated itself and restarted"] if restart else []))
    wrap("fetched", fetched)
    wrap("reports", layouts)
    wrap("started", started)
    wrap("outcome", [f'"{e}"' for e in outcome] or ["the run did not end with success"])
    return bool(outcome) and bool(started)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--drive", required=True)
    p.add_argument("--state", required=True)
    p.add_argument("--title", required=True)
    p.add_argument("--encoding", default="utf-8")
    p.add_argument("--dmutils")
    p.add_argument("--service", action="append", default=[])
    args = p.parse_args()
    after = snapshot(args)
    ok = True
    if args.title:
        with open(args.state, encoding="utf-8") as f:
            before = json.load(f)
        ok = report(args, before, after)
    with open(args.state, "w", encoding="utf-8") as f:
        json.dump(after, f)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
