#!/usr/bin/env python3
"""Mutated carrier files, template files and settings files through `diskarium-tool`.

A run fails on a signal, a hang over 10 s, an exit code outside 0..2, a refused import that
changed the database, or a data set that `check` no longer calls sound afterwards. Settings
files are read by `carriers`, `statistics` and `check`, which must neither crash nor hang.

    fuzz/mutate_files.py build/src/cli/diskarium-tool [--runs 2000] [--seed N] [--format F]
"""
import argparse
import os
import random
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutation  # noqa: E402
from mutation import digest  # noqa: E402

TIMEOUT = 10


def run(exe, *args):
    return mutation.run(exe, *args, timeout=TIMEOUT)

CARRIER = ("[Tonträger]\r\nText 1=\"Abba\"\r\nText 2=\"Gold\"\r\nTonträgerart=\"LP\"\r\n"
           "Nummer=7\r\nKaufpreis=9.99\r\nKaufdatum=29.12.2004\r\nTonträgerstatus=\"Vorhanden\"\r\n"
           "Musikrichtung=\"Pop\"\r\nWährung=\"EUR\"\r\nLaufzeit=6.15\r\nLiederanzahl=2\r\n"
           "[Export-Info]\r\nLiederanzahl=2\r\n[Lied 1]\r\nSeite=1\r\nNummer=1\r\n"
           "Titel=\"Waterloo\"\r\nLaufzeit=2.45\r\nMusikrichtung=\"Pop\"\r\nTanzstil=\"\"\r\n"
           "[Lied 2]\r\nSeite=1\r\nNummer=2\r\nTitel=\"SOS\"\r\nLaufzeit=3.30\r\n"
           "[Text]\r\nZeile 1=\"erste\"\r\n").encode("cp1252")

SETTINGS = ("[Application]\r\nShowToolbar=1\r\nButton Type=2\r\nGlobal Numbering=0\r\n"
            "[Records]\r\nSinger Sort Order=\"Gruppe/Interpret/Text 1\"\r\n"
            "[Currency]\r\nOld=2\r\nNew=1\r\nDate1=37256\r\n[TT Rename]\r\n1=0\r\n2=1\r\n"
            "[Fremd]\r\nSchlüssel=Wert ä\r\n").encode("cp1252")


INSERTS = [b"99999999999999999999", b"-1", b"\0\0", b"\r", b"\n", b"=", b"[", b"\"", b"1e308",
           b"4294967296", b"\xff\xfe"]


def mutate(data, rnd):
    return mutation.mutate(data, rnd, INSERTS, long_runs=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("--runs", type=int, default=2000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--format", choices=["dkm", "dkmt", "ini", "all"], default="all")
    a = ap.parse_args()
    rnd = random.Random(a.seed)
    formats = ["dkm", "dkmt", "ini"] if a.format == "all" else [a.format]
    failures = {f: 0 for f in formats}
    with tempfile.TemporaryDirectory() as d:
        base = os.path.join(d, "base")
        assert run(a.tool, "init", base)[0] == 0
        seed_dkm = os.path.join(d, "seed.DKM")
        open(seed_dkm, "wb").write(CARRIER)
        assert run(a.tool, "import", base, seed_dkm)[0] == 0
        seed_dkmt = os.path.join(d, "seed.DKMT")
        rc, out = run(a.tool, "template", "export", base, "1", seed_dkmt, "--type", "2")
        assert rc == 0, out
        seeds = {"dkm": CARRIER, "dkmt": open(seed_dkmt, "rb").read(), "ini": SETTINGS}
        work = os.path.join(d, "work")
        db = os.path.join(work, "WinDsKm.db")
        for fmt in formats:
            for i in range(a.runs):
                shutil.rmtree(work, ignore_errors=True)
                shutil.copytree(base, work)
                before = digest(db)
                data = mutate(seeds[fmt], rnd)
                problem = None
                if fmt == "ini":
                    open(os.path.join(work, "WinDsKm.InI"), "wb").write(data)
                    for args in (["carriers", work], ["statistics", work, "1"], ["check", work]):
                        rc, out = run(a.tool, *args)
                        if rc == "hang" or rc < 0 or rc > 2:
                            problem = f"{args[0]}: rc={rc} {out[:200]}"
                            break
                else:
                    path = os.path.join(d, "input." + fmt.upper())
                    open(path, "wb").write(data)
                    args = (["import", work, path] if fmt == "dkm"
                            else ["template", "import", work, path, "--type", "2"])
                    rc, out = run(a.tool, *args)
                    if rc == "hang" or rc < 0 or rc > 2:
                        problem = f"rc={rc} {out[:200]}"
                    elif rc != 0 and digest(db) != before:
                        problem = f"refused (rc={rc}) but the database changed: {out[:200]}"
                    else:
                        crc, cout = run(a.tool, "check", work)
                        if crc != 0:
                            problem = f"check after rc={rc}: {cout[:300]}"
                if problem:
                    failures[fmt] += 1
                    keep = os.path.join(tempfile.gettempdir(), f"mutate-{fmt}-{i}.bin")
                    open(keep, "wb").write(data)
                    print(f"{fmt} run {i}: {problem} (input kept in {keep})")
            print(f"{fmt}: {a.runs} runs, {failures[fmt]} failures", flush=True)
    return 1 if any(failures.values()) else 0


if __name__ == "__main__":
    sys.exit(main())
