"""What the mutation runs share: the byte mutations (bit flips, truncation, inserted and
deleted bytes, values that stress a reader, changed line ends), running the tool, and file
digests."""
import hashlib
import os
import subprocess


def run(exe, *args, timeout=10):
    """The exit code (or "hang") and stdout + stderr of one tool run."""
    try:
        p = subprocess.run([exe, *args], capture_output=True, timeout=timeout)
        return p.returncode, (p.stdout + p.stderr).decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return "hang", ""


def digest(path):
    """The file's SHA-256, None when it does not exist."""
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def mutate(data, rnd, inserts, long_runs=False):
    data = bytearray(data)
    ops = 7 if long_runs else 6
    for _ in range(rnd.randint(1, 4)):
        op = rnd.randrange(ops)
        pos = rnd.randrange(len(data) + 1)
        if op == 0 and data:
            data[min(pos, len(data) - 1)] ^= 1 << rnd.randrange(8)
        elif op == 1:
            del data[pos:]
        elif op == 2:
            data[pos:pos] = bytes(rnd.randrange(256) for _ in range(rnd.randint(1, 8)))
        elif op == 3:
            del data[pos:pos + rnd.randint(1, 8)]
        elif op == 4:
            data[pos:pos] = rnd.choice(inserts)
        elif op == 6:
            data[pos:pos] = b"x" * rnd.choice([300, 70000])
        else:
            data = data.replace(b"\n", b"\r\n") if rnd.random() < .5 else data.replace(b"\r\n", b"\r")
    return bytes(data)
