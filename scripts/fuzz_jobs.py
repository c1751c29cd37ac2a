#!/usr/bin/env python3
"""Fuzzes vornplan with generated job files.

Each job mixes sensible values with bad ones (negative, huge, tiny, not a
number, NaN, text, control characters, missing or repeated lines, a byte
order mark, CR / LF / CR LF line ends) and runs `vornplan search` (or
`arrays`). Every run must end by itself within --max-seconds with exit 0, 1
or 2; a refusal (1 or 2) writes one line on stderr and no CSV; every CSV row
holds finite numbers, utilizations of at most 100 % and positive sort keys.

    scripts/fuzz_jobs.py VORNPLAN [--seed N] [--count N] [--max-seconds S]

The test suite runs a small count with a fixed seed; run a large count by
hand (for example --count 3000) after changing the engine or the job reader.
"""

import argparse
import csv
import io
import math
import os
import random
import subprocess
import sys
import tempfile
import time

PANEL_FIELDS = ["Set_L", "Set_W", "Set_C", "BorderX_L", "BorderX_W", "Min_PL", "Min_PW",
                "Max_PL", "Max_PW", "PLPW_ratio", "Min_lv"]
ARRAY_FIELDS = ["Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W", "Min_SetL",
                "Min_SetW", "Max_SetL", "Max_SetW"]
BAD = ["0", "-1", "-1e-9", "1e9", "1e-320", "1e300", "nan", "inf", "-inf", "abc", "",
       "1e999", "0x10", "5e", "1,5", "0.001", "10000", "0.000999", "10000.001", "254000",
       "0.0254", "999999", "1e-9", "-0", "+3", " 7 "]
CONTROL = ["\x00", "\x01", "\x1b", "\x7f", "\t", "\x0b", "\x0c"]


def num(rng, lo, hi):
    return "%.6g" % rng.uniform(lo, hi)


def panel_values(rng, f):
    L = rng.uniform(0.4, 12)
    W = rng.uniform(0.4, L)
    mx = rng.uniform(5, 26)
    return {
        "Set_L": "%.6g" % (L * f), "Set_W": "%.6g" % (W * f),
        "Set_C": num(rng, 0, 0.3 * f), "BorderX_L": num(rng, 0, 1 * f),
        "BorderX_W": num(rng, 0, 1 * f), "Min_PL": num(rng, 0, 15 * f),
        "Min_PW": num(rng, 0, 12 * f), "Max_PL": "%.6g" % (mx * f),
        "Max_PW": num(rng, 4 * f, mx * f), "PLPW_ratio": num(rng, 1, 3),
        "Min_lv": num(rng, 0, 90),
    }


def array_values(rng, f):
    L = rng.uniform(0.2, 4)
    return {
        "Part_L": "%.6g" % (L * f), "Part_W": num(rng, 0.2 * f, L * f),
        "Part_C": num(rng, 0, 0.2 * f), "SetBorder_L": num(rng, 0, 0.5 * f),
        "SetBorder_W": num(rng, 0, 0.5 * f), "Min_SetL": num(rng, 0, 6 * f),
        "Min_SetW": num(rng, 0, 4 * f), "Max_SetL": num(rng, 2 * f, 12 * f),
        "Max_SetW": num(rng, 2 * f, 10 * f),
    }


def size(rng, lo, hi):
    if rng.random() < 0.04:
        return "%sx%s" % (rng.choice(BAD), rng.choice(BAD))
    return "%sx%s" % (num(rng, lo, hi), num(rng, lo, hi))


def make_job(rng):
    """Returns (command, mm, bytes of the job file)."""
    array = rng.random() < 0.15
    mm = rng.random() < 0.25
    f = 25.4 if mm else 1.0
    values = array_values(rng, f) if array else panel_values(rng, f)
    # Most jobs carry one or two bad values; some none.
    for _ in range(rng.choice([0, 0, 0, 0, 0, 1, 1, 2, 3])):
        values[rng.choice(list(values))] = rng.choice(BAD)
    lines = ["%s=%s" % kv for kv in values.items()]
    if not array:
        lines.append("PanelNumber=%s" % rng.choice(["1"] * 20 + ["2"] * 10 + ["0", "3", "abc", ""]))
        for flag in ["AUTOPanel", "GoodBase", "BothPanel", "BothBase"]:
            lines.append("%s=%s" % (flag, rng.choice(["True", "True", "False", "true", ""])))
        for _ in range(rng.choice([0, 1, 2, 3, 6])):
            lines.append("Sheet=" + size(rng, 20, 50))
        for _ in range(rng.choice([0, 1, 3])):
            lines.append("Preset=" + size(rng, 6, 26))
    rng.shuffle(lines)
    if rng.random() < 0.1 and lines:
        del lines[rng.randrange(len(lines))]
    if rng.random() < 0.1 and lines:
        lines.append(rng.choice(lines))
    if rng.random() < 0.1:
        lines.insert(rng.randrange(len(lines) + 1), "# comment")
    if rng.random() < 0.08 and lines:
        i = rng.randrange(len(lines))
        at = rng.randrange(len(lines[i]) + 1)
        lines[i] = lines[i][:at] + rng.choice(CONTROL) + lines[i][at:]
    end = rng.choice(["\n", "\r\n", "\r"])
    text = end.join(lines) + (end if rng.random() < 0.8 else "")
    data = text.encode("utf-8")
    if rng.random() < 0.15:
        data = b"\xef\xbb\xbf" + data
    return ("arrays" if array else "search"), mm, data


def check_csv(out):
    """Returns a fault text, or None."""
    rows = list(csv.reader(io.StringIO(out)))
    if not rows:
        return "no CSV header"
    header = rows[0]
    for r in rows[1:]:
        if len(r) != len(header):
            return "a row of %d fields under %d names" % (len(r), len(header))
        rec = dict(zip(header, r))
        for name, text in rec.items():
            if text in ("", "N", "L", "W"):
                continue
            try:
                v = float(text)
            except ValueError:
                return "%s is not a number: %r" % (name, text)
            if not math.isfinite(v):
                return "%s is %s" % (name, text)
        for name in ("Base_lv", "Panel_lv", "Panel_lv2"):
            if rec.get(name) and float(rec[name]) > 100 + 1e-9:
                return "%s = %s above 100 %%" % (name, rec[name])
        for name in ("Base_down", "Panel_down", "Panel_Down"):
            if rec.get(name) and not float(rec[name]) > 0:
                return "%s = %s is not positive" % (name, rec[name])
    return None


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("vornplan")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=200)
    ap.add_argument("--max-seconds", type=float, default=10.0)
    ap.add_argument("--keep", help="folder to keep the failing job files in")
    a = ap.parse_args()

    rng = random.Random(a.seed)
    exits = {}
    faults = []
    slowest = (0.0, None)
    total = 0.0
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "fuzz.job")
        for n in range(a.count):
            command, mm, data = make_job(rng)
            with open(path, "wb") as fh:
                fh.write(data)
            args = [a.vornplan, command] + (["--mm"] if mm else []) + [path]
            t0 = time.monotonic()
            try:
                p = subprocess.run(args, capture_output=True, timeout=a.max_seconds * 6)
                code = p.returncode
            except subprocess.TimeoutExpired:
                code = None
            took = time.monotonic() - t0
            total += took
            if took > slowest[0]:
                slowest = (took, n)
            exits[code] = exits.get(code, 0) + 1
            fault = None
            if code is None or took > a.max_seconds:
                fault = "ran %.1f s" % took
            elif code not in (0, 1, 2):
                fault = "exit %s: %s" % (code, p.stderr.decode("utf-8", "replace")[-300:])
            elif code == 0:
                fault = check_csv(p.stdout.decode("utf-8"))
            else:
                err = p.stderr.decode("utf-8", "replace")
                if p.stdout or err.count("\n") != 1:
                    fault = "refusal without exactly one line: %r" % err[:300]
            if fault:
                faults.append((n, fault))
                if a.keep:
                    os.makedirs(a.keep, exist_ok=True)
                    with open(os.path.join(a.keep, "job%05d.job" % n), "wb") as fh:
                        fh.write(data)
                print("job %d (%s%s): %s" % (n, command, " --mm" if mm else "", fault))
    print("%d jobs, seed %d: exits %s; %.1f s in all, slowest %.2f s (job %s); %d faults"
          % (a.count, a.seed, dict(sorted(exits.items(), key=lambda kv: str(kv[0]))), total,
             slowest[0], slowest[1], len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
