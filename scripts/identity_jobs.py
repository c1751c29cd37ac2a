#!/usr/bin/env python3
"""Compares the panel search of two vornplan programs on generated jobs.

    scripts/identity_jobs.py NEW [OLD] [--seed N] [--count N] [--keep DIR]

Each generated job (tiny boards, often without a gap; small boards with two
panel kinds on every sheet; small rectangular boards with sides in awkward
ratios, gaps 0 to 0.1 in, one and two kinds, best and every sheet, some with
a minimum utilization their gap cannot reach; larger boards; boards typed
longer than wide; presets; a third in millimetres) runs
`vornplan search --stats`:

- NEW on one thread (VORN_THREADS=1) against NEW on two: rows and counts
  must not depend on the threads;
- with OLD given (say a build of an earlier commit), NEW against OLD.

Two runs agree when their CSVs have the same rows in the same order, field
by field by value (reals are compared as the doubles they read back as, so
a change of text form is no difference), and every count `--stats` prints
is equal (the times aside). A job no row can qualify for may be answered
at once, with no count: when both runs write no row, their counts are not
compared. Exit 0 when every job agrees; otherwise the
first differences are printed and the job files are kept.

The test suite runs a few jobs with a fixed seed; after changing the
engine, run some hundreds by hand against the build before the change.
"""

import argparse
import os
import random
import subprocess
import sys
import tempfile

SHEETS = ["48x36", "48x40", "48x42", "49x37", "49x41", "49x43", "40x48", "36x36", "24x20",
          "50.5x37.25"]


def rounded(rng, lo, hi, digits):
    return round(rng.uniform(lo, hi), digits)


def make_job(rng, t):
    """Returns (mm, text of the job file)."""
    kind = t % 7
    mm = t % 3 == 0
    f = 25.4 if mm else 1.0
    if kind == 0:  # tiny boards, often without a gap
        L, W = rounded(rng, 0.08, 0.3, 2), rounded(rng, 0.08, 0.3, 2)
        C = rng.choice([0, 0, 0.02])
        mx = (rng.choice([2.5, 3, 4]), rng.choice([2, 2.5, 3]))
        mn = rng.choice([0, 0, 1.5])
        kinds = "1"
    elif kind in (1, 2):  # small boards, two kinds, every sheet
        L, W = rounded(rng, 0.5, 1.6, 2), rounded(rng, 0.5, 1.6, 2)
        C = rng.choice([0, 0.05, 0.08, 0.1])
        mx = (rng.choice([7.5, 9, 12]), rng.choice([6, 8, 10]))
        mn = rng.choice([0, 0, 4])
        kinds = "2"
    elif kind in (5, 6):  # small rectangular boards, sides in awkward ratios
        W = rounded(rng, 0.13, 0.7, 3)
        L = round(W * rng.choice([1.37, 1.44, 1.47, 1.618, 2.3]), 3)
        C = rng.choice([0, 0, 0.02, 0.05, 0.1])
        mx = (rng.choice([2.5, 3, 3.5]), rng.choice([2, 2.5, 3])) if kind == 5 else \
            (rng.choice([2, 2.5]), rng.choice([1.6, 2]))
        mn = rng.choice([0, 0, 1.2])
        kinds = "1" if kind == 5 else "2"
    else:  # larger boards
        L, W = rounded(rng, 1.5, 7, rng.choice([0, 1, 2])), rounded(rng, 1.5, 7, 1)
        C = rng.choice([0, 0.1, 0.2])
        mx = (rng.choice([14, 18, 24]), rng.choice([12, 16, 21]))
        mn = rng.choice([0, 6, 8])
        kinds = rng.choice(["1", "2"])
    if rng.random() < 0.15:
        L, W = W, L  # typed longer than wide the other way round
    values = {
        "Set_L": L * f, "Set_W": W * f, "Set_C": C * f,
        "BorderX_L": rng.choice([0, 0.3, 0.4, 0.5]) * f,
        "BorderX_W": rng.choice([0, 0.3, 0.4, 1]) * f,
        "Min_PL": mn * f, "Min_PW": mn * f, "Max_PL": mx[0] * f, "Max_PW": mx[1] * f,
        "PLPW_ratio": rng.choice([1.5, 2, 3]),
        "Min_lv": rng.choice([0, 50, 65, 70] + ([75, 80] if kind in (5, 6) else [])),
    }
    lines = ["%s=%.12g" % kv for kv in values.items()]
    lines.append("PanelNumber=" + kinds)
    auto = rng.random() < 0.85
    lines.append("AUTOPanel=%s" % auto)
    lines.append("GoodBase=%s" % (kind not in (1, 2) and rng.random() < 0.5))
    lines.append("BothPanel=%s" % (rng.random() < 0.6))
    lines.append("BothBase=%s" % (rng.random() < 0.6))
    for s in rng.sample(SHEETS, rng.choice([1, 3, 6])):
        lines.append("Sheet=" + s)
    for _ in range(rng.randint(1, 6)):
        lines.append("Preset=%gx%g" % (rounded(rng, 5, 22, 1) * f, rounded(rng, 5, 22, 1) * f))
    return mm, "\n".join(lines) + "\n"


def run(program, job, mm, threads):
    env = dict(os.environ, VORN_THREADS=str(threads))
    args = [program, "search", "--stats"] + (["--mm"] if mm else []) + [job]
    done = subprocess.run(args, capture_output=True, env=env, timeout=600)
    # Layouts depend on the size alone: how often one is computed again
    # follows how long the caches keep it, not what the search finds.
    counts = [l for l in done.stderr.decode().splitlines()
              if not l.startswith("time ") and "LayoutPieces" not in l]
    return done.returncode, done.stdout.decode(), counts


def field(text):
    try:
        return float(text)
    except ValueError:
        return text


def rows(run):
    return max(0, len(run[1].splitlines()) - 1)


def difference(a, b):
    """The first difference between two runs, or None."""
    if a[0] != b[0]:
        return "exit %d against %d" % (a[0], b[0])
    if a[2] != b[2] and not (rows(a) == rows(b) == 0):
        return "counts differ: %s against %s" % (a[2], b[2])
    rows_a, rows_b = a[1].splitlines(), b[1].splitlines()
    if len(rows_a) != len(rows_b):
        return "%d lines against %d" % (len(rows_a), len(rows_b))
    for n, (x, y) in enumerate(zip(rows_a, rows_b)):
        if x == y:
            continue
        fx, fy = x.split(","), y.split(",")
        if len(fx) != len(fy) or any(field(p) != field(q) for p, q in zip(fx, fy)):
            return "line %d: %s against %s" % (n + 1, x, y)
    return None


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("new")
    ap.add_argument("old", nargs="?")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=400)
    ap.add_argument("--keep", help="folder for the job files (default: a temporary one)")
    args = ap.parse_args()
    rng = random.Random(args.seed)
    folder = args.keep or tempfile.mkdtemp(prefix="vorn-identity-")
    os.makedirs(folder, exist_ok=True)
    faults = total = 0
    for t in range(args.count):
        mm, text = make_job(rng, t)
        path = os.path.join(folder, "job%04d.job" % t)
        with open(path, "w") as out:
            out.write(text)
        two = run(args.new, path, mm, 2)
        total += rows(two)
        checks = [("one thread", run(args.new, path, mm, 1))]
        if args.old:
            checks.append(("old build", run(args.old, path, mm, 1)))
        differs = False
        for name, other in checks:
            fault = difference(two, other)
            if fault:
                differs = True
                print("%s (%s): %s" % (path, name, fault))
        faults += differs
        if not differs and not args.keep:
            os.remove(path)
    print("%d jobs, %d rows, %d differences" % (args.count, total, faults))
    if not faults and not args.keep:
        os.rmdir(folder)
    sys.stdout.flush()
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
