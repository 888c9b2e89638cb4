"""The byte mutations the mutation runs share: bit flips, truncation, inserted and deleted
bytes, values that stress a reader, and changed line ends."""


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
