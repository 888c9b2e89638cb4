#!/usr/bin/env python3
"""Mutated backup archives through `diskarium-tool restore` and `list`.

A run fails on a signal, a hang over 10 s, a data folder changed by a refused restore, or a
restore that reports success with data other than what was backed up. Failing archives are
kept in the output folder for a second look. Formats: one volume, three volumes, and one
volume without checksums in its file list (as older versions wrote it), where a changed text
file cannot be told and is counted apart.

    fuzz/mutate_backup.py build/src/cli/diskarium-tool --runs 2000 [--seed N] [--keep DIR]
"""
import argparse
import hashlib
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

TIMEOUT = 10
OTHER_DATA = "restore reported success with other data"


def tool(exe, *args):
    try:
        p = subprocess.run([exe, *args], capture_output=True, timeout=TIMEOUT)
        return p.returncode, p.stdout + p.stderr
    except subprocess.TimeoutExpired:
        return "hang", b""


def snapshot(folder):
    """Every file below folder with its content hash (hidden ones included)."""
    state = {}
    for root, _dirs, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                state[os.path.relpath(path, folder)] = hashlib.sha256(f.read()).hexdigest()
    return state


def mutate(data, rng):
    b = bytearray(data)
    kind = rng.choice(["flip", "truncate", "insert", "delete", "huge", "nul", "flips"])
    if kind in ("flip", "flips"):
        for _ in range(1 if kind == "flip" else rng.randint(2, 16)):
            i = rng.randrange(len(b))
            b[i] ^= 1 << rng.randrange(8)
    elif kind == "truncate":
        del b[rng.randrange(len(b)):]
    elif kind == "insert":
        i = rng.randrange(len(b) + 1)
        b[i:i] = bytes(rng.randrange(256) for _ in range(rng.randint(1, 64)))
    elif kind == "delete":
        i = rng.randrange(len(b))
        del b[i:i + rng.randint(1, 64)]
    elif kind == "huge":
        i = rng.randrange(max(1, len(b) - 4))
        value = rng.choice([0x7FFFFFFF, -0x80000000, -1, 0x10000000, 16385, -16385, 4097])
        b[i:i + 4] = struct.pack("<i", value)
    elif kind == "nul":
        i = rng.randrange(len(b))
        n = rng.randint(1, 256)
        b[i:i + n] = bytes(min(n, len(b) - i))
    return bytes(b), kind


def without_checksums(archive):
    """The archive as a writer without checksums makes it: the file list loses its sha256."""
    pos = 0

    def take(n):
        nonlocal pos
        pos += n
        return archive[pos - n:pos]

    title_length = struct.unpack("<i", take(4))[0]
    take(title_length + 8)
    name_length = struct.unpack("<i", take(4))[0]
    assert take(name_length) == b"FILE:LIST"
    take(4)
    start = pos
    assert take(4) == b"EC2\0"
    text = b""
    while True:
        n = struct.unpack("<i", take(4))[0]
        if n == 0:
            break
        block = take(abs(n))
        text += zlib.decompress(block) if n > 0 else block
    text = re.sub(rb"\tsha256:[0-9a-f]+", b"", text)
    packed = zlib.compress(text, 1)
    part = b"EC2\0" + struct.pack("<i", len(packed)) + packed + struct.pack("<i", 0)
    return archive[:start] + part + archive[pos:]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("--runs", type=int, default=2000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--keep", default=None, help="folder for failing archives")
    args = ap.parse_args()
    exe = os.path.abspath(args.tool)
    rng = random.Random(args.seed)
    work = tempfile.mkdtemp(prefix="mutate-backup-")
    keep = args.keep or os.path.join(work, "failures")
    os.makedirs(keep, exist_ok=True)

    source = os.path.join(work, "source")
    assert tool(exe, "init", source)[0] == 0
    # Incompressible bytes give stored blocks, which carry no check of their own.
    with open(os.path.join(source, "cddbhosts.txt"), "wb") as f:
        f.write(rng.randbytes(60000))
    before = os.path.join(work, "before")
    assert tool(exe, "init", before)[0] == 0

    archives = {}
    single = os.path.join(work, "single.bck")
    assert tool(exe, "backup", source, single)[0] == 0
    archives["single"] = [single]
    multi = os.path.join(work, "multi.bck")
    assert tool(exe, "backup", source, multi, "--max-size", "40000")[0] == 0
    volumes = [multi]
    n = 2
    while os.path.exists(multi[:-4] + ".%03d" % n):
        volumes.append(multi[:-4] + ".%03d" % n)
        n += 1
    assert len(volumes) > 1, "the archive did not spread over volumes"
    archives["multi"] = volumes
    # The same single archive as older versions wrote it: no checksums in its file list.
    old = os.path.join(work, "old.bck")
    with open(single, "rb") as f, open(old, "wb") as g:
        g.write(without_checksums(f.read()))
    archives["without checksums"] = [old]

    # What an intact archive restores (opening the source for the second backup may have
    # touched its database header since the first).
    expected = {}
    for fmt, paths in archives.items():
        reference = os.path.join(work, "reference-" + fmt)
        shutil.copytree(before, reference)
        assert tool(exe, "restore", paths[0], reference)[0] == 0
        expected[fmt] = {
            k: v for k, v in snapshot(reference).items() if k in ("WinDsKm.db", "cddbhosts.txt")}
        assert len(expected[fmt]) == 2

    failures = {}
    undetectable = {}
    runs = {}
    for run in range(args.runs):
        fmt = ("single", "multi", "without checksums")[run % 3]
        originals = archives[fmt]
        case = os.path.join(work, "case")
        shutil.rmtree(case, ignore_errors=True)
        os.makedirs(case)
        victim = rng.randrange(len(originals))
        paths = []
        for i, path in enumerate(originals):
            target = os.path.join(case, os.path.basename(path))
            with open(path, "rb") as f:
                data = f.read()
            if i == victim:
                data, kind = mutate(data, rng)
            with open(target, "wb") as f:
                f.write(data)
            paths.append(target)
        data_dir = os.path.join(case, "daten")
        shutil.copytree(before, data_dir)
        state = snapshot(data_dir)
        problem = None
        rc, out = tool(exe, "restore", paths[0], data_dir)
        if rc == "hang" or rc < 0:
            problem = "restore %s" % rc
        elif rc != 0 and snapshot(data_dir) != state:
            problem = "refused restore changed the data folder"
        elif rc == 0:
            after = snapshot(data_dir)
            differs = [k for k, v in expected[fmt].items() if after.get(k) != v]
            if differs == ["cddbhosts.txt"]:
                problem = OTHER_DATA
            elif differs:
                problem = "restore reported success with another database"
        if problem is None:
            rc, out2 = tool(exe, "list", paths[0])
            if rc == "hang" or rc < 0:
                problem = "list %s" % rc
            out += out2
        key = "%s restore/list" % fmt
        runs[key] = runs.get(key, 0) + 1
        if problem == OTHER_DATA and fmt == "without checksums":
            # Such an archive has nothing to compare a text file with: counted, not failed.
            # A changed database must be found by SQLite's full check all the same.
            undetectable[key] = undetectable.get(key, 0) + 1
        elif problem:
            failures.setdefault(key, []).append(problem)
            dest = os.path.join(keep, "run%05d-%s" % (run, kind))
            shutil.copytree(case, dest, ignore=shutil.ignore_patterns("daten"))
            with open(os.path.join(dest, "problem.txt"), "w") as f:
                f.write(problem + "\n" + out.decode("utf-8", "replace"))
            print("run %d (%s, %s): %s" % (run, fmt, kind, problem), flush=True)

    print("format | runs | failures | other data restored without a checksum to tell")
    for key in sorted(runs):
        print("%s | %d | %d | %d" % (key, runs[key], len(failures.get(key, [])),
                                     undetectable.get(key, 0)))
    total = sum(len(v) for v in failures.values())
    print("%d passed, %d failed" % (sum(runs.values()) - total, total))
    if not total:
        shutil.rmtree(work, ignore_errors=True)
    else:
        print("failing cases in", keep)
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main())
