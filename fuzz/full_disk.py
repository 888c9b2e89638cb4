#!/usr/bin/env python3
"""Every writing command of `diskarium-tool` on a nearly full disk (a small tmpfs; needs root).

The data folder (or the target file) lies on a tmpfs that holds the data with only a few
kilobytes to spare. A run fails on a signal or a hang, on exit 0 when a file was not
written completely, on a refusal that changed the data, on a file left half written, or on a
data set `check` does not call sound afterwards. English texts in the output are counted.

    sudo fuzz/full_disk.py build/src/cli/diskarium-tool
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutation  # noqa: E402
from mutation import digest  # noqa: E402

TIMEOUT = 120
ENGLISH = re.compile(r"\b(disk|full|error|unable|failed|cannot|database|file)\b", re.I)


def run(exe, *args):
    return mutation.run(exe, *args, timeout=TIMEOUT)


def size_of(folder):
    return sum(os.path.getsize(os.path.join(r, f)) for r, _d, fs in os.walk(folder) for f in fs)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("--spare", default="4,16,64,256", help="free kilobytes to try")
    a = ap.parse_args()
    build = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(a.tool))))
    generate = os.path.join(build, "bench", "diskarium-generate")
    failures = runs = english = 0
    with tempfile.TemporaryDirectory() as d:
        base = os.path.join(d, "base")
        subprocess.run([generate, base, "1500", "5", "1"], check=True, capture_output=True)
        dkm = []
        for i in range(30):
            path = os.path.join(d, f"t{i}.DKM")
            assert run(a.tool, "export", base, f"#{i + 1}", path)[0] == 0
            dkm.append(path)
        dkmt = os.path.join(d, "v.DKMT")
        assert run(a.tool, "template", "export", base, "1", dkmt, "--type", "2")[0] == 0
        archive = os.path.join(d, "s.bck")
        assert run(a.tool, "backup", base, archive)[0] == 0
        with open(os.path.join(d, "bild.bin"), "wb") as f:
            f.truncate(2352 * 75 * 120)
        with open(os.path.join(d, "bild.cue"), "w") as f:
            f.write('FILE "bild.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'
                    '  TRACK 02 AUDIO\n    INDEX 01 01:00:00\n')
        import sqlite3
        con = sqlite3.connect(os.path.join(base, "WinDsKm.db"))
        borrower = con.execute('SELECT "Name 1" FROM VERSTAMM LIMIT 1').fetchone()[0]
        lent = int(con.execute('SELECT "Tonträgernummer" FROM MUSIKVER WHERE "Verleihstatus" = 1 LIMIT 1').fetchone()[0])
        free = int(con.execute('SELECT "Folgenummer Kopf" FROM MUSIKKOP WHERE "Status" IS NOT -1 LIMIT 1').fetchone()[0])
        kind = con.execute('SELECT "Kurzbezeichnung" FROM MUSIKART WHERE "Index-Nummer" > 0 LIMIT 1').fetchone()[0]
        con.close()
        # (name, arguments, what lies on the small disk: "data" or "target")
        commands = [
            ("import", ["import", "DATA", *dkm], "data"),
            ("add-cd", ["add-cd", "DATA", os.path.join(d, "bild.cue"), "--type", kind, "--group", "G",
                        "--title", "T"], "data"),
            ("lend", ["lend", "DATA", f"#{free}", borrower], "data"),
            ("return", ["return", "DATA", f"#{lent}"], "data"),
            ("template import", ["template", "import", "DATA", dkmt, "--type", "2"], "data"),
            ("labels set", ["labels", "DATA", "set", "10110", "Künstler"], "data"),
            ("check --reindex", ["check", "DATA", "--reindex"], "data"),
            ("restore", ["restore", archive, "DATA"], "data"),
            ("export", ["export", base, "#1", "TARGET/x.DKM"], "target"),
            ("backup", ["backup", base, "TARGET/s.bck"], "target"),
            ("init", ["init", "TARGET/neu"], "target"),
        ]
        mount = os.path.join(d, "klein")
        os.makedirs(mount)
        for spare in [int(s) for s in a.spare.split(",")]:
            for name, args, place in commands:
                runs += 1
                needed = size_of(base) if place == "data" else 0
                size_kb = needed // 1024 + spare + 8
                subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size_kb}k", "tmpfs", mount],
                               check=True)
                try:
                    data = os.path.join(mount, "daten") if place == "data" else base
                    if place == "data":
                        try:
                            shutil.copytree(base, data)
                        except OSError:
                            print(f"{name}, {spare} KB: the data set does not fit; skipped")
                            continue
                    before = digest(os.path.join(data, "WinDsKm.db"))
                    full = [x.replace("DATA", data).replace("TARGET", mount) for x in args]
                    rc, out = run(a.tool, *full)
                    problem = None
                    if rc == "hang" or rc < 0 or rc > 2:
                        problem = f"rc={rc}"
                    elif place == "data":
                        if rc != 0 and digest(os.path.join(data, "WinDsKm.db")) != before \
                                and name not in ("import",):
                            problem = "refused, but the database changed"
                        else:
                            crc, cout = run(a.tool, "check", data)
                            if crc != 0 and "Platz" not in cout and "full" not in cout:
                                problem = f"check afterwards: {cout[:200]}"
                    else:
                        leftovers = [f for f in os.listdir(mount) if f.startswith(".")]
                        if leftovers:
                            problem = f"half-written files left: {leftovers}"
                        elif rc == 0 and name == "export" and os.path.getsize(os.path.join(mount, "x.DKM")) == 0:
                            problem = "exit 0 with an empty file"
                    if rc != 0 and ENGLISH.search(out.split("(")[0]) and "Fehler" not in out[:8]:
                        english += 1
                    print(f"{name}, {spare} KB free: rc={rc} {out.strip().splitlines()[-1][:150] if out.strip() else ''}"
                          + (f"  <-- {problem}" if problem else ""), flush=True)
                    if problem:
                        failures += 1
                finally:
                    subprocess.run(["umount", mount], check=True)
    print(f"{runs} runs, {failures} failures, {english} refusals with English words")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
