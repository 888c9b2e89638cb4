#!/usr/bin/env python3
"""Mutated carrier files, template files and settings files through `diskarium-tool`.

A run fails on a signal, a hang over 10 s, an exit code outside 0..2, a refused import that
changed the database, or a data set that `check` no longer calls sound afterwards. Settings
files are read by `carriers`, `statistics`, `check` and `add-cd`, which must neither crash nor
hang; `add-cd` under global numbering rewrites the file, which must keep every line it does not
own (the keys the program writes itself are learned from a run on an almost empty file).

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

SETTINGS = ("[Application]\r\nShowToolbar=1\r\nButton Type=2\r\nGlobal Numbering=1\r\n"
            "Global Number=41\r\n; Kommentar bleibt\r\n"
            "[Records]\r\nSinger Sort Order=\"Gruppe/Interpret/Text 1\"\r\n"
            "[Currency]\r\nOld=2\r\nNew=1\r\nDate1=37256\r\n[TT Rename]\r\n1=0\r\n2=1\r\n"
            "[Fremd]\r\nSchlüssel=Wert ä\r\n").encode("cp1252")


INSERTS = [b"99999999999999999999", b"-1", b"\0\0", b"\r", b"\n", b"=", b"[", b"\"", b"1e308",
           b"4294967296", b"\xff\xfe"]


def mutate(data, rnd):
    return mutation.mutate(data, rnd, INSERTS, long_runs=True)


def decode(data):
    """The text of a settings file as the program reads it: UTF-8 after a BOM, else
    Windows-1252 with the five undefined bytes as the C1 controls of the same value."""
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8", errors="replace")
    out = []
    for b in data:
        try:
            out.append(bytes([b]).decode("cp1252"))
        except UnicodeDecodeError:
            out.append(chr(b))
    return "".join(out)


def lines_with_keys(data):
    """(line, section, key) for every line, split at any line end as the program does."""
    text = decode(data).replace("\r\n", "\n").replace("\r", "\n")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    section, result = None, []
    for line in lines:
        t = line.strip()
        if len(t) >= 2 and t[0] == "[" and t[-1] == "]":
            section = t[1:-1].strip().lower()
            result.append((line, None, None))
            continue
        eq = t.find("=")
        key = t[:eq].strip().lower() if eq > 0 and not t.startswith(";") else None
        result.append((line, section, key))
    return result


def foreign_lines_lost(old, new, owned):
    """Lines of the old file that are not the program's own keys and are missing from the new
    file (in order)."""
    kept = [line for line, _s, _k in lines_with_keys(new)]
    lost, at = [], 0
    for line, section, key in lines_with_keys(old):
        if key is not None and (section, key) in owned:
            continue
        try:
            at = kept.index(line, at) + 1
        except ValueError:
            lost.append(line)
    return lost


def make_image(folder):
    with open(os.path.join(folder, "bild.bin"), "wb") as f:
        f.truncate(2352 * 75 * 40)
    cue = os.path.join(folder, "bild.cue")
    with open(cue, "w") as f:
        f.write('FILE "bild.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'
                '  TRACK 02 AUDIO\n    INDEX 01 00:20:00\n')
    return cue


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
        image = make_image(d)
        add_cd = ["add-cd", None, image, "--type", "LP", "--group", "G", "--title", "T",
                  "--allow-duplicate"]
        # The keys the program owns: what add-cd writes into a file that names only numbering.
        owned_probe = os.path.join(d, "owned")
        shutil.copytree(base, owned_probe)
        probe_ini = os.path.join(owned_probe, "WinDsKm.InI")
        open(probe_ini, "wb").write(b"[Application]\r\nGlobal Numbering=1\r\n")
        rc, out = run(a.tool, *[owned_probe if x is None else x for x in add_cd])
        assert rc == 0, out
        owned = {(section, key) for _l, section, key in lines_with_keys(open(probe_ini, "rb").read())
                 if key is not None}
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
                    ini = os.path.join(work, "WinDsKm.InI")
                    open(ini, "wb").write(data)
                    for args in (["carriers", work], ["statistics", work, "1"], ["check", work],
                                 [work if x is None else x for x in add_cd]):
                        rc, out = run(a.tool, *args)
                        if rc == "hang" or rc < 0 or rc > 2:
                            problem = f"{args[0]}: rc={rc} {out[:200]}"
                            break
                    if not problem and rc == 0:
                        lost = foreign_lines_lost(data, open(ini, "rb").read(), owned)
                        if lost:
                            problem = f"add-cd lost settings lines: {lost[:3]}"
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
