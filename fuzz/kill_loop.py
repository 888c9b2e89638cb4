#!/usr/bin/env python3
"""Writing commands of `diskarium-tool` killed at a random moment.

Each run copies a generated collection, starts one command (import, add-cd, lend, return,
restore, check --reindex), kills it with SIGKILL after a random delay, and then requires:
`check` says the data set is sound (it takes over the dead holder's lock), SQLite's
integrity_check passes, and the carrier count is the one before or the one the command would
have made. Killing leaves the data as it was or as the command finished it, never between.

    fuzz/kill_loop.py build/src/cli/diskarium-tool --runs 200 [--seed N]
"""
import argparse
import os
import random
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutation  # noqa: E402


def run(exe, *args):
    return mutation.run(exe, *args, timeout=120)


def carriers(folder):
    con = sqlite3.connect(os.path.join(folder, "WinDsKm.db"))
    try:
        return con.execute("SELECT COUNT(*) FROM MUSIKKOP").fetchone()[0]
    finally:
        con.close()


def integrity(folder, extension):
    p = subprocess.run(["sqlite3", "-cmd", f".load {extension}", os.path.join(folder, "WinDsKm.db"),
                        "PRAGMA integrity_check"], capture_output=True, timeout=120)
    return p.stdout.decode().strip()


def write_image(folder):
    with open(os.path.join(folder, "bild.bin"), "wb") as f:
        f.truncate(2352 * 75 * 200)
    with open(os.path.join(folder, "bild.cue"), "w") as f:
        f.write('FILE "bild.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'
                '  TRACK 02 AUDIO\n    INDEX 01 01:30:00\n')
    return os.path.join(folder, "bild.cue")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("--runs", type=int, default=200)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--carriers", type=int, default=20000)
    a = ap.parse_args()
    build = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(a.tool))))
    generate = os.path.join(build, "bench", "diskarium-generate")
    extension = os.path.join(build, "bench", "libdiskarium-german")
    rnd = random.Random(a.seed)
    failures = 0
    with tempfile.TemporaryDirectory() as d:
        base = os.path.join(d, "base")
        subprocess.run([generate, base, str(a.carriers), "5", "1"], check=True, capture_output=True)
        before = carriers(base)
        files = []
        for i in range(40):
            path = os.path.join(d, f"t{i}.DKM")
            rc, out = run(a.tool, "export", base, f"#{i + 1}", path)
            assert rc == 0, out
            files.append(path)
        archive = os.path.join(d, "sicherung")
        small = os.path.join(d, "klein")
        subprocess.run([generate, small, "15000", "5", "2"], check=True, capture_output=True)
        rc, out = run(a.tool, "backup", small, archive)
        assert rc == 0, out
        archive_files = sorted(os.path.join(d, n) for n in os.listdir(d) if n.startswith("sicherung"))
        image = write_image(d)
        con = sqlite3.connect(os.path.join(base, "WinDsKm.db"))
        borrower = con.execute('SELECT "Name 1" FROM VERSTAMM ORDER BY "Folgenummer" LIMIT 1').fetchone()[0]
        lent = con.execute('SELECT "Tonträgernummer" FROM MUSIKVER WHERE "Verleihstatus" = 1 LIMIT 1').fetchone()[0]
        free = con.execute('SELECT "Folgenummer Kopf" FROM MUSIKKOP WHERE "Status" IS NOT -1 LIMIT 1').fetchone()[0]
        media_type = con.execute('SELECT "Kurzbezeichnung" FROM MUSIKART WHERE "Index-Nummer" > 0 LIMIT 1').fetchone()[0]
        con.close()
        commands = {
            # Each file is its own transaction: any number of them may be in.
            "import": (["import", "DATA", *files], set(range(before, before + len(files) + 1))),
            "add-cd": (["add-cd", "DATA", image, "--type", media_type, "--group", "G", "--title", "T"],
                       {before, before + 1}),
            "lend": (["lend", "DATA", f"#{int(free)}", borrower], {before}),
            "return": (["return", "DATA", f"#{int(lent)}"], {before}),
            "restore": (["restore", archive_files[0], "DATA"], {before, 15000}),
            "check --reindex": (["check", "DATA", "--reindex"], {before}),
        }
        names = sorted(commands)
        work = os.path.join(d, "work")
        counts = {n: [0, 0] for n in names}
        # How long each command runs when left alone: kills fall within that time.
        duration = {}
        for name in names:
            shutil.rmtree(work, ignore_errors=True)
            shutil.copytree(base, work)
            start = time.monotonic()
            run(a.tool, *[work if x == "DATA" else x for x in commands[name][0]])
            duration[name] = time.monotonic() - start
        for i in range(a.runs):
            name = names[i % len(names)]
            args, allowed = commands[name]
            shutil.rmtree(work, ignore_errors=True)
            shutil.copytree(base, work)
            delay = rnd.uniform(0, duration[name])
            p = subprocess.Popen([a.tool, *[work if x == "DATA" else x for x in args]],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(delay)
            killed = p.poll() is None
            if killed:
                p.send_signal(signal.SIGKILL)
            p.wait()
            counts[name][0] += 1
            counts[name][1] += killed
            problem = None
            rc, out = run(a.tool, "check", work)
            if rc != 0:
                problem = f"check: {out[:300]}"
            else:
                result = integrity(work, extension)
                if result != "ok":
                    problem = f"integrity_check: {result[:300]}"
                elif carriers(work) not in allowed:
                    problem = f"{carriers(work)} carriers, expected one of {sorted(allowed)}"
            if problem:
                failures += 1
                print(f"run {i} ({name}, killed after {delay:.3f} s: {killed}): {problem}", flush=True)
        for n in names:
            print(f"{n}: {counts[n][0]} runs, {counts[n][1]} killed before the end "
                  f"(runs {duration[n]:.2f} s alone)")
    print(f"{a.runs} runs, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
