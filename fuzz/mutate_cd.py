#!/usr/bin/env python3
"""Mutation run for disc images: feeds mutated cue sheets and data files to `diskarium-tool discid`.

A run fails on a signal, on a hang over 10 s, or on exit 0 with a track count or length the
mutated image cannot hold. Usage: mutate_cd.py TOOL [RUNS] [SEED]"""
import os, re, random, subprocess, sys, tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutation  # noqa: E402

CUE = b'FILE "bild.bin" BINARY\r\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n'

INSERTS = [b"99:59:74", b"4294967295", b"\0\0", b"\r", b"TRACK 99 AUDIO\n"]


def mutate(data, rnd):
    return mutation.mutate(data, rnd, INSERTS)

def main():
    tool, runs = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rnd = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    failures = 0
    with tempfile.TemporaryDirectory() as d:
        for i in range(runs):
            cue = mutate(CUE, rnd)
            binsize = rnd.choice([0, 1, 2351, 2352 * 150, 2352 * 400 + rnd.randrange(2352)])
            with open(os.path.join(d, "bild.cue"), "wb") as f:
                f.write(cue)
            with open(os.path.join(d, "bild.bin"), "wb") as f:
                f.truncate(binsize)
            target = os.path.join(d, rnd.choice(["bild.cue", "bild.bin"]))
            try:
                p = subprocess.run([tool, "discid", target, "--verbose"], capture_output=True, timeout=10)
            except subprocess.TimeoutExpired:
                failures += 1
                print(f"run {i}: hang", cue)
                continue
            out = p.stdout.decode("utf-8", "replace")
            if p.returncode < 0 or p.returncode > 2 or (p.returncode == 0 and (re.search(r"\s-\d", out) or binsize < 2352)):
                failures += 1
                print(f"run {i}: rc={p.returncode} bin={binsize}", cue, out[:300])
    print(f"{runs} runs, {failures} failures")
    return 1 if failures else 0

if __name__ == "__main__":
    sys.exit(main())
