#!/usr/bin/env python3
"""Times `vornconv temperature` over a file of 10^6 resistances.

Usage: cli_throughput.py VORNCONV_PROGRAM [LINES]

The resistances are those of IEC Pt100 temperatures uniform over
-200..850 degC, written as the shortest decimals that read back exactly.
Prints the best of five runs in lines per second.
"""
import os
import random
import subprocess
import sys
import tempfile
import time


def pt100(t):
    a, b, c = 3.9083e-3, -5.775e-7, -4.183e-12
    k = (t * c) * (t - 100.0) if t < 0 else 0.0
    return ((((k + b) * t) + a) * t + 1.0) * 100.0


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    program = sys.argv[1]
    lines = int(sys.argv[2]) if len(sys.argv) == 3 else 1_000_000
    rng = random.Random(1)
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
        path = f.name
        f.write("".join(f"{pt100(rng.uniform(-200.0, 850.0))!r}\n" for _ in range(lines)))
    try:
        best = float("inf")
        for _ in range(5):
            with open(path, "rb") as data, open(os.devnull, "wb") as sink:
                start = time.perf_counter()
                subprocess.run([program, "temperature"], stdin=data, stdout=sink, check=True)
                best = min(best, time.perf_counter() - start)
        print(f"{lines} lines in {best:.3f} s: {lines / best / 1e6:.2f} million lines per second")
    finally:
        os.unlink(path)


if __name__ == "__main__":
    main()
