#!/usr/bin/env python3
"""Mutated Paradox tables through `diskarium-tool import-paradox`.

A generated source data set (build/bench/diskarium-bench-paradox --write) gets one of its
table or memo files mutated per run. A run fails on a signal, a hang over 60 s, an exit code
outside 0..2, a refused import that changed the data folder, or an accepted import that
`check` does not call sound.

    fuzz/mutate_paradox.py build/src/cli/diskarium-tool [--runs 2000] [--seed N]
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutation  # noqa: E402
from mutation import digest  # noqa: E402

TIMEOUT = 60
INSERTS = [b"\xff" * 8, b"\0" * 64, b"\x7f" * 64, b"\x80\0\0\0", b"\x7f\xff\xff\xff"]
TABLES = ["MUSIKKOP.DB", "MUSIKPOS.DB", "MUSIKVER.DB", "VERSTAMM.DB", "MUSIKTXT.DB",
          "MUSIKTXT.MB", "MUSIKGRF.DB", "MusikInformation.DB", "MUSIKART.DB", "Currency.DB"]


def run(exe, *args):
    return mutation.run(exe, *args, timeout=TIMEOUT)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("--runs", type=int, default=2000)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    build = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(a.tool))))
    writer = os.path.join(build, "bench", "diskarium-bench-paradox")
    rnd = random.Random(a.seed)
    failures = accepted = 0
    with tempfile.TemporaryDirectory() as d:
        source = os.path.join(d, "quelle")
        subprocess.run([writer, "--write", source, "150"], check=True, capture_output=True)
        data = os.path.join(d, "daten")
        assert run(a.tool, "init", data)[0] == 0
        db = os.path.join(data, "WinDsKm.db")
        work = os.path.join(d, "arbeit")
        for i in range(a.runs):
            shutil.rmtree(work, ignore_errors=True)
            shutil.copytree(source, work)
            table = rnd.choice(TABLES)
            path = os.path.join(work, table)
            with open(path, "rb") as f:
                original = f.read()
            # The header holds the layout; most damage lands in the records behind it.
            cut = min(len(original), 0x800) if rnd.random() < .8 else 0
            mutated = original[:cut] + mutation.mutate(original[cut:], rnd, INSERTS)
            with open(path, "wb") as f:
                f.write(mutated)
            before = digest(db)
            rc, out = run(a.tool, "import-paradox", work, data, "--yes")
            problem = None
            if rc == "hang" or rc < 0 or rc > 2:
                problem = f"rc={rc} {out[-300:]}"
            elif rc != 0 and digest(db) != before:
                problem = f"refused (rc={rc}) but the data changed: {out[-300:]}"
            elif rc == 0:
                accepted += 1
                crc, cout = run(a.tool, "check", data)
                if crc != 0:
                    problem = f"accepted, but check says: {cout[:300]}"
            if problem:
                failures += 1
                keep = os.path.join(tempfile.gettempdir(), f"mutate-paradox-{i}-{table}")
                with open(keep, "wb") as f:
                    f.write(mutated)
                print(f"run {i} ({table}): {problem} (kept in {keep})", flush=True)
    print(f"{a.runs} runs, {accepted} accepted, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
