"""vornplan cam read back by an outside program: ezdxf opens every drawing,
its audit finds no error, and the entities match the plan row (from vornplan
search), the holes (from vornplan holes) and the placement list (csv).

usage: check_cam.py VORNPLAN JOBDIR DATABASE WORKDIR [--full-disk | --pictures]

--pictures draws the written DXF of a two-size plan with holes and of an array
plan with ezdxf's matplotlib add-on, above the program's own diagrams of the
same plan (vornplan draw), into WORKDIR: a screenshot to compare by eye.
"""
import csv
import io
import itertools
import os
import sqlite3
import subprocess
import sys

import ezdxf

VP, JOBS, DB, WORK = sys.argv[1:5]
FULL_DISK = "--full-disk" in sys.argv[5:]
PICTURES = "--pictures" in sys.argv[5:]
EPS = 1e-6
LAYERS = ["PANEL1", "BOARDS1", "TOOLING1", "PANEL2", "BOARDS2", "TOOLING2", "SHEET", "CUTS",
          "DIMENSIONS", "ARRAY", "UNITS", "ARRAY_TOOLING"]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL", what)


def run(*args, expect=0):
    p = subprocess.run([VP, *args], capture_output=True, text=True,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if p.returncode != expect:
        raise SystemExit(f"vornplan {' '.join(args)}: exit {p.returncode}, "
                         f"expected {expect}\n{p.stderr}")
    return p


def csv_rows(text):
    return list(csv.DictReader(io.StringIO(text)))


def search_row(job, row, mm):
    rows = csv_rows(run("search", *(["--mm"] if mm else []), job).stdout)
    r = rows[row - 1]
    return {k: (float(v) if v not in ("", "N", "L", "W") else v) for k, v in r.items()}


def holes_of(job, row, mm):
    return csv_rows(run("holes", "--job", job, "--row", str(row), "--db", DB,
                        *(["--mm"] if mm else [])).stdout)


def rects(doc, layer):
    out = []
    for e in doc.modelspace().query(f'LWPOLYLINE[layer=="{layer}"]'):
        pts = [(p[0], p[1]) for p in e.get_points()]
        check(e.closed and len(pts) == 4, f"{layer}: a closed polyline of four corners")
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        out.append((min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys)))
    return out


def near(a, b, eps=EPS):
    return abs(a - b) <= eps * max(1.0, abs(a), abs(b))


def check_pieces(name, pieces, box, sizes, gap, margins=(0, 0)):
    """Each piece has one of the sizes (either way round), lies inside the
    box keeping the margins, and no two come closer than the gap."""
    bx, by, bl, bw = box
    for (x, y, l, w) in pieces:
        check(any((near(l, a) and near(w, b)) or (near(l, b) and near(w, a)) for a, b in sizes),
              f"{name}: piece {l}x{w} is one of {sizes}")
        check(x >= bx + margins[0] - EPS and y >= by + margins[1] - EPS and
              x + l <= bx + bl - margins[0] + EPS and y + w <= by + bw - margins[1] + EPS,
              f"{name}: piece at {x},{y} inside {box} within the margins {margins}")
    for (p, q) in itertools.combinations(pieces, 2):
        apart_x = max(q[0] - (p[0] + p[2]), p[0] - (q[0] + q[2]))
        apart_y = max(q[1] - (p[1] + p[3]), p[1] - (q[1] + q[3]))
        check(max(apart_x, apart_y) >= gap - EPS, f"{name}: pieces {p} and {q} {gap} apart")


def texts(doc):
    return {e.dxf.text for e in doc.modelspace().query('TEXT[layer=="DIMENSIONS"]')}


def fmt(v):
    return "%.3f" % (round(v * 1000) / 1000)


def handles_of(path):
    """Every object's handle (group 5, a DIMSTYLE's 105), header excluded."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    pairs = list(zip(lines[0::2], lines[1::2]))
    out, section = [], None
    for k, (code, value) in enumerate(pairs):
        if code.strip() == "2" and pairs[k - 1] == ("  0", "SECTION"):
            section = value
        elif section != "HEADER" and code.strip() in ("5", "105"):
            out.append(value)
    return out


def read_dxf(path, mm):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    check(len(auditor.errors) == 0,
          f"{path}: audit errors {[e.message for e in auditor.errors]}")
    # Clean as written: nothing the audit has to mend (owners, handles).
    check(len(auditor.fixes) == 0,
          f"{path}: audit fixes {[e.message for e in auditor.fixes]}")
    handles = handles_of(path)
    check(len(handles) == len(set(handles)), f"{path}: a handle given twice")
    check(int(doc.header["$HANDSEED"], 16) > max(int(h, 16) for h in handles),
          f"{path}: $HANDSEED {doc.header['$HANDSEED']} not above every handle")
    check(doc.dxfversion >= "AC1015", f"{path}: AutoCAD 2000 or later, not {doc.dxfversion}")
    check(doc.header["$INSUNITS"] == (4 if mm else 1), f"{path}: $INSUNITS")
    names = {l.dxf.name for l in doc.layers}
    check(set(LAYERS) <= names, f"{path}: layers {sorted(names)}")
    return doc


def array_holes(length, width, factor):
    """The array presets of the database placed on a length x width array by
    their edge rule: (x, y from the top-left corner, diameter); a hole off
    the outline is left out."""
    db = sqlite3.connect(f"file:{DB}?mode=ro", uri=True)
    out = []
    for edge, e, o, d in db.execute("SELECT Level_Edge, EdgeSize, OtherSize, Diameter FROM "
                                    "SetTooling WHERE Type = 'Array' ORDER BY SerialNumber"):
        e, o, d = e * factor, o * factor, d * factor
        along_l, along_w = (o if o >= 0 else length + o), (o if o >= 0 else width + o)
        x, y = {"Top_Edge": (along_l, e), "Bottom_Edge": (along_l, width - e),
                "Left_Edge": (e, along_w), "Right_Edge": (length - e, along_w),
                "Top_Center": (length / 2 + o, e), "Bottom_Center": (length / 2 + o, width - e),
                "Left_Center": (e, width / 2 + o),
                "Right_Center": (length - e, width / 2 + o)}[edge]
        if -EPS <= x <= length + EPS and -EPS <= y <= width + EPS:
            out.append((x, y, d))
    db.close()
    return out


def check_plan(name, job, row, mm=False, array=None):
    """array: (array job, array row, array search row) for an array plan."""
    dxf, placements = os.path.join(WORK, name + ".dxf"), os.path.join(WORK, name + ".csv")
    extra = ["--array", array[0], "--array-row", str(array[1])] if array else []
    run("cam", "--job", job, "--row", str(row), "--db", DB, "-o", dxf, "--placements",
        placements, *(["--mm"] if mm else []), *extra)
    r = search_row(job if not array else array[3], row, mm)
    holes = holes_of(job if not array else array[3], row, mm)
    doc = read_dxf(dxf, mm)
    two = r["Panel2"] != ""

    # Panel 1 at the origin with its boards, holes at (X, Panel_W - Y).
    (panel1,) = rects(doc, "PANEL1")
    check(near(panel1[0], 0) and near(panel1[1], 0) and near(panel1[2], r["Panel_L"]) and
          near(panel1[3], r["Panel_W"]), f"{name}: panel 1 outline {panel1}")
    boards1 = rects(doc, "BOARDS1")
    check(len(boards1) == r["Panel"], f"{name}: {len(boards1)} boards, the row says {r['Panel']}")
    check_pieces(name + " boards1", boards1, panel1, [(r["Set_L"], r["Set_W"])], r["Set_C"],
                 (r["Border_L"], r["Border_W"]) if r["Up"] == "N" else (0, 0))
    circles = doc.modelspace().query('CIRCLE[layer=="TOOLING1"]')
    want = sorted((float(h["Xcoordinate"]), r["Panel_W"] - float(h["Ycoordinate"]),
                   float(h["Diameter"]) / 2) for h in holes if h["PanelType"] == "Panel1")
    got = sorted((c.dxf.center[0], c.dxf.center[1], c.dxf.radius) for c in circles)
    check(len(want) > 0 and len(got) == len(want) and
          all(all(near(a, b) for a, b in zip(g, w)) for g, w in zip(got, want)),
          f"{name}: panel 1 holes {got} != {want}")

    outlines = [panel1]
    if two:
        (panel2,) = rects(doc, "PANEL2")
        outlines.append(panel2)
        check(near(panel2[1], 0) and near(panel2[2], r["Panel_L2"]) and
              near(panel2[3], r["Panel_W2"]), f"{name}: panel 2 outline {panel2}")
        boards2 = rects(doc, "BOARDS2")
        check(len(boards2) == r["Panel2"], f"{name}: panel 2 boards")
        check_pieces(name + " boards2", boards2, panel2, [(r["Set_L"], r["Set_W"])], r["Set_C"])
        want2 = sorted((panel2[0] + float(h["Xcoordinate"]),
                        r["Panel_W2"] - float(h["Ycoordinate"]), float(h["Diameter"]) / 2)
                       for h in holes if h["PanelType"] == "Panel2")
        got2 = sorted((c.dxf.center[0], c.dxf.center[1], c.dxf.radius)
                      for c in doc.modelspace().query('CIRCLE[layer=="TOOLING2"]'))
        check(len(got2) == len(want2) and
              all(all(near(a, b) for a, b in zip(g, w)) for g, w in zip(got2, want2)),
              f"{name}: panel 2 holes")
    else:
        check(not rects(doc, "PANEL2") and not rects(doc, "BOARDS2"),
              f"{name}: one panel size draws no panel 2")

    # The sheet with one closed polyline per panel cut from it.
    (sheet,) = rects(doc, "SHEET")
    outlines.append(sheet)
    check(near(sheet[2], r["Base_L"]) and near(sheet[3], r["Base_W"]), f"{name}: sheet {sheet}")
    cuts = rects(doc, "CUTS")
    n = r["P_La"] * r["P_Wb"] + r["P_Lb"] * r["P_Wa"]
    n += (r["P_La2"] * r["P_Wb2"] + r["P_Lb2"] * r["P_Wa2"]) if two else r["P_sLa"] * r["P_sWb"]
    check(len(cuts) == n and n > 0, f"{name}: {len(cuts)} cuts, the row says {n}")
    sizes = [(r["Panel_L"], r["Panel_W"])] + ([(r["Panel_L2"], r["Panel_W2"])] if two else [])
    check_pieces(name + " cuts", cuts, sheet, sizes, 0)
    if two:
        # The first panel-2 cut's length is marked where the cutting diagram
        # marks it: above the sheet when the cuts stand beside panel 1's,
        # below it when they stand below.
        cuts2 = [c for c in cuts if (near(c[2], r["Panel_L2"]) and near(c[3], r["Panel_W2"])) or
                 (near(c[2], r["Panel_W2"]) and near(c[3], r["Panel_L2"]))]
        first = min(cuts2, key=lambda c: (c[0], -c[1]))
        marks = [e.dxf.insert for e in doc.modelspace().query('TEXT[layer=="DIMENSIONS"]')
                 if e.dxf.text == fmt(first[2]) and first[0] - EPS <= e.dxf.insert[0]]
        beside = r["P_up"] == "L"
        check(any((y > sheet[1] + sheet[3]) if beside else (y < sheet[1]) for _, y, _ in marks),
              f"{name}: panel-2 cut length {fmt(first[2])} marked "
              f"{'above' if beside else 'below'} the sheet: {marks}")

    if array:
        a = array[2]
        (outline,) = rects(doc, "ARRAY")
        outlines.append(outline)
        check(near(outline[2], a["Set_L"]) and near(outline[3], a["Set_W"]),
              f"{name}: array outline {outline}")
        units = rects(doc, "UNITS")
        check(len(units) == a["Panel"], f"{name}: {len(units)} units, the array says {a['Panel']}")
        check_pieces(name + " units", units, outline, [(a["Part_L"], a["Part_W"])], a["Part_C"],
                     (a["SetBorder_L"], a["SetBorder_W"]))
        # The array's tooling holes from the database's array presets, drawn
        # at (X, Set_W - Y) from the array's lower-left corner.
        want = sorted((outline[0] + x, outline[1] + a["Set_W"] - y, d / 2)
                      for x, y, d in array_holes(a["Set_L"], a["Set_W"], 25.4 if mm else 1))
        got = sorted((c.dxf.center[0], c.dxf.center[1], c.dxf.radius)
                     for c in doc.modelspace().query('CIRCLE[layer=="ARRAY_TOOLING"]'))
        check(len(want) > 0 and len(got) == len(want) and
              all(all(near(u, v) for u, v in zip(g, w)) for g, w in zip(got, want)),
              f"{name}: array holes {got} != {want}")
    else:
        check(not rects(doc, "ARRAY") and
              not doc.modelspace().query('CIRCLE[layer=="ARRAY_TOOLING"]'),
              f"{name}: no array and no array holes without an array")

    # The drawings stand side by side, none over another.
    for p, q in itertools.combinations(outlines, 2):
        check(p[0] + p[2] < q[0] or q[0] + q[2] < p[0], f"{name}: outlines {p} and {q} overlap")
    for v in ["Panel_L", "Panel_W", "Base_L", "Base_W", "Set_L", "Set_W"]:
        check(fmt(r[v]) in texts(doc), f"{name}: a dimension reads {fmt(r[v])} ({v})")

    # The placement list: the same boards, lower-left first.
    with open(placements, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    check(rows[0] == ["panel", "board", "x", "y", "length", "width", "rotated"],
          f"{name}: CSV header {rows[0]}")
    body = rows[1:]
    check([int(x[1]) for x in body if x[0] == "1"] == list(range(1, len(boards1) + 1)),
          f"{name}: panel 1 boards numbered from 1")
    listed = sorted((float(x[2]), float(x[3]), float(x[4]), float(x[5]))
                    for x in body if x[0] == "1")
    check(len(listed) == len(boards1) and
          all(all(near(a, b) for a, b in zip(p, q)) for p, q in zip(listed, sorted(boards1))),
          f"{name}: CSV panel 1 rows are the drawn boards")
    for x in body:
        turned = near(float(x[4]), r["Set_W"]) and not near(r["Set_L"], r["Set_W"])
        check(x[6] == ("1" if turned else "0"), f"{name}: rotated flag of {x}")
    order = [(float(x[3]), float(x[2])) for x in body if x[0] == "1"]
    check(order == sorted(order), f"{name}: boards listed by y, then x")
    if two:
        check(sum(1 for x in body if x[0] == "2") == r["Panel2"], f"{name}: panel 2 rows")
    return doc


def all_points(doc):
    pts = []
    for e in doc.modelspace():
        if e.dxftype() == "LWPOLYLINE":
            pts += [(e.dxf.layer, round(p[0], 6), round(p[1], 6)) for p in e.get_points()]
        elif e.dxftype() == "CIRCLE":
            pts.append((e.dxf.layer, round(e.dxf.center[0], 6), round(e.dxf.center[1], 6),
                        round(e.dxf.radius, 6)))
    return sorted(pts)


def main_checks():
    os.makedirs(WORK, exist_ok=True)
    j1, j2 = os.path.join(JOBS, "j1.job"), os.path.join(JOBS, "j2.job")
    one = check_plan("one", j1, 1)
    check_plan("two", j2, 1)
    check_plan("two_below", j2, 7)
    check_plan("one_row3", j1, 3)

    # Best packing: a row laid out beyond the blocks (block counts 0) is drawn
    # and listed board by board, as many boards as the row holds.
    packed_job = os.path.join(WORK, "j2_routed.job")
    with open(j2) as f, open(packed_job, "w") as g:
        g.write(f.read() + "\nBestPacking=Routed\n")
    blocks = ("Set_La", "Set_Wb", "Set_Lb", "Set_Wa", "Set_sLa", "Set_sWb")
    packed = [n for n, r in enumerate(csv_rows(run("search", packed_job).stdout), 1)
              if all(r[k] == "0" for k in blocks)]
    check(len(packed) > 0, "packed: a search row laid out beyond the blocks")
    for n in packed[:2]:
        check_plan(f"packed_row{n}", packed_job, n)
    # Panel 2 of a two-size row laid out beyond the blocks (boards of
    # 4.6 x 3.1 in: some panels 2 hold more than their blocks): drawn and
    # listed board by board too.
    packed2_job = os.path.join(WORK, "j2_routed_panel2.job")
    with open(j2) as f, open(packed2_job, "w") as g:
        for line in f:
            k, _, v = line.strip().partition("=")
            g.write({"Set_L": "Set_L=4.6\n", "Set_W": "Set_W=3.1\n"}.get(k, line))
        g.write("\nBestPacking=Routed\n")
    blocks2 = tuple(k + "2" for k in blocks)
    packed2 = [n for n, r in enumerate(csv_rows(run("search", packed2_job).stdout), 1)
               if r["Panel2"] not in ("", "0") and all(r[k] == "0" for k in blocks2)]
    check(len(packed2) > 0, "packed: a two-size row with panel 2 beyond the blocks")
    for n in packed2[:2]:
        check_plan(f"packed_panel2_row{n}", packed2_job, n)
    # vornplan draw of such a panel 2 draws its boards: not the picture of
    # its block counts (all 0) drawn by hand, which a block row's panel 2
    # matches.
    rows2 = csv_rows(run("search", packed2_job).stdout)
    block2 = next(n for n, r in enumerate(rows2, 1)
                  if r["Panel2"] not in ("", "0") and n not in packed2)
    for n, same in ((packed2[0], False), (block2, True)):
        r = rows2[n - 1]
        job_png = draw(os.path.join(WORK, f"panel2_row{n}.png"), "--job", packed2_job,
                       "--row", str(n), "--view", "panel2")
        hand_png = draw(os.path.join(WORK, f"panel2_row{n}_counts.png"),
                        "--container", f"{r['Panel_L2']}x{r['Panel_W2']}",
                        "--margins", f"{r['Border_L2']}x{r['Border_W2']}",
                        "--piece", f"{r['Set_L']}x{r['Set_W']}", "--spacing", r["Set_C"],
                        "--counts", ",".join(r[k] for k in blocks2), "--pattern", r["Up2"])
        with open(job_png, "rb") as f, open(hand_png, "rb") as g:
            check((f.read() == g.read()) == same,
                  f"draw panel 2 of row {n}: {'not ' if same else ''}the counts' picture")

    # Millimetres: the same drawing, every length times 25.4.
    scale = {"Set_L", "Set_W", "Set_C", "BorderX_L", "BorderX_W", "Min_PL", "Min_PW", "Max_PL",
             "Max_PW", "Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W", "Min_SetL",
             "Min_SetW", "Max_SetL", "Max_SetW"}

    def in_mm(job, name):
        out = os.path.join(WORK, name)
        with open(job) as f, open(out, "w") as g:
            for line in f:
                k, _, v = line.strip().partition("=")
                g.write(f"{k}={float(v) * 25.4!r}\n" if k in scale else line)
        return out

    mm_job = in_mm(j1, "j1mm.job")
    mm = check_plan("one_mm", mm_job, 1, mm=True)
    check_plan("two_mm", in_mm(j2, "j2mm.job"), 1, mm=True)
    inch_pts = [(p[0], *(round(v * 25.4, 3) for v in p[1:])) for p in all_points(one)]
    mm_pts = [(p[0], *(round(v, 3) for v in p[1:])) for p in all_points(mm)]
    # Panels, boards, cuts and holes scale; the gaps between drawings need not.
    layers = {"PANEL1", "BOARDS1", "TOOLING1"}
    check([p for p in inch_pts if p[0] in layers] == [p for p in mm_pts if p[0] in layers],
          "mm: panel 1 is the inch drawing times 25.4")

    # An array plan: units 1.5 x 0.8 in a picked array, the array the board.
    array_job = os.path.join(WORK, "array.job")
    with open(array_job, "w") as f:
        f.write("Part_L=1.5\nPart_W=0.8\nPart_C=0.1\nSetBorder_L=0.2\nSetBorder_W=0.25\n"
                "Min_SetL=2\nMin_SetW=1.5\nMax_SetL=5\nMax_SetW=4\n")
    arrays = csv_rows(run("arrays", array_job).stdout)
    a = {k: float(v) for k, v in arrays[0].items()}
    handed = os.path.join(WORK, "j1array.job")
    with open(j1) as f, open(handed, "w") as g:
        for line in f:
            k = line.partition("=")[0]
            g.write(f"Set_L={a['Set_L']!r}\n" if k == "Set_L" else
                    f"Set_W={a['Set_W']!r}\n" if k == "Set_W" else line)
    check_plan("array", j1, 1, array=(array_job, 1, a, handed))

    # The same array plan in millimetres: the array's holes scale too.
    array_mm = in_mm(array_job, "array_mm.job")
    a = {k: float(v) for k, v in csv_rows(run("arrays", "--mm", array_mm).stdout)[0].items()}
    handed_mm = os.path.join(WORK, "j1array_mm.job")
    with open(mm_job) as f, open(handed_mm, "w") as g:
        for line in f:
            k = line.partition("=")[0]
            g.write(f"Set_L={a['Set_L']!r}\n" if k == "Set_L" else
                    f"Set_W={a['Set_W']!r}\n" if k == "Set_W" else line)
    check_plan("array_mm", mm_job, 1, mm=True, array=(array_mm, 1, a, handed_mm))

    # Refused arguments write nothing.
    for args, pattern in [(["-o", os.path.join(WORK, "x.txt")], ".dxf file"),
                          (["--row", "100000", "-o", os.path.join(WORK, "x.dxf")], "rows 1 to"),
                          (["--array", array_job, "-o", os.path.join(WORK, "x.dxf")],
                           "go together")]:
        full = ["cam", "--job", j1, "--db", DB] + (["--row", "1"] if "--row" not in args else [])
        p = run(*full, *args, expect=2)
        check(pattern in p.stderr, f"refused {args}: message {p.stderr!r}")
        check(not os.path.exists(os.path.join(WORK, "x.dxf")), f"refused {args}: no file")


def full_disk():
    """A full disk: the write is refused and the old files stay as they were."""
    disk = os.path.join(WORK, "disk")
    os.makedirs(disk, exist_ok=True)
    subprocess.run(["umount", disk], capture_output=True)
    m = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                       capture_output=True, text=True)
    if m.returncode != 0:
        print("SKIPPED: cannot mount a small tmpfs for a full disk:", m.stderr.strip())
        if os.environ.get("CI"):
            raise SystemExit("a full disk cannot be made on CI")
        raise SystemExit(77)
    try:
        dxf, placements = os.path.join(disk, "plan.dxf"), os.path.join(disk, "boards.csv")
        with open(dxf, "w") as f:
            f.write("old drawing\n")
        with open(placements, "w") as f:
            f.write("old list\n")
        try:
            with open(os.path.join(disk, "filler"), "wb") as f:
                while True:
                    f.write(b"\0" * 1024)
                    f.flush()
        except OSError:
            pass
        j1 = os.path.join(JOBS, "j1.job")
        p = run("cam", "--job", j1, "--row", "1", "--db", DB, "-o", dxf, expect=1)
        check("No space left" in p.stderr and "plan.dxf" in p.stderr,
              f"full disk: the message names the file and the reason: {p.stderr!r}")
        with open(dxf) as f:
            check(f.read() == "old drawing\n", "full disk: the old drawing is intact")
        check(sorted(os.listdir(disk)) == ["boards.csv", "filler", "plan.dxf"],
              f"full disk: nothing half-written remains: {os.listdir(disk)}")
        # The drawing fits once there is room, the list then meets a full disk.
        os.remove(os.path.join(disk, "filler"))
        with open(os.path.join(disk, "filler"), "wb") as f:
            f.write(b"\0" * (64 * 1024 - 40 * 1024 - 8192))
        p = subprocess.run([VP, "cam", "--job", j1, "--row", "1", "--db", DB, "-o", dxf,
                            "--placements", placements], capture_output=True, text=True)
        with open(placements) as f:
            check(f.read() == "old list\n" or p.returncode == 0,
                  "full disk: the old list is intact when its write fails")
    finally:
        subprocess.run(["umount", disk], capture_output=True)


def render_dxf(doc, ax):
    """Draws the model space on a white ground as a CAD viewer shows it;
    returns the entities the outside renderer skipped and the number it drew
    of each type."""
    from ezdxf.addons.drawing import Frontend, RenderContext
    from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
    from ezdxf.addons.drawing.properties import LayoutProperties

    skipped, drawn = [], {}

    class Recording(Frontend):
        def skip_entity(self, entity, msg):
            skipped.append((entity.dxftype(), msg))
            super().skip_entity(entity, msg)

        def draw_entity(self, entity, properties):
            drawn[entity.dxftype()] = drawn.get(entity.dxftype(), 0) + 1
            super().draw_entity(entity, properties)

    msp = doc.modelspace()
    look = LayoutProperties.from_layout(msp)
    look.set_colors("#ffffff")
    Recording(RenderContext(doc), MatplotlibBackend(ax, adjust_figure=False)).draw_layout(
        msp, finalize=True, layout_properties=look)
    return skipped, drawn


def beside_diagrams(name, dxf, diagrams):
    """The whole DXF as ezdxf draws it on top; below, each outline of it
    (diagrams: title, picture, the outline's layer) above the program's own
    diagram of the same outline."""
    import logging
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.image
    # The text style names the CAD font "txt"; matplotlib has no such font,
    # draws the texts in its own and would say so for every text.
    logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)
    import matplotlib.pyplot as plt

    doc = ezdxf.readfile(dxf)
    fig = plt.figure(figsize=(6 * len(diagrams), 15), dpi=100)
    whole = fig.add_axes([0.01, 0.70, 0.98, 0.29])
    skipped, drawn = render_dxf(doc, whole)
    written = {}
    for e in doc.modelspace():
        written[e.dxftype()] = written.get(e.dxftype(), 0) + 1
    check(not skipped and drawn == written,
          f"{name}: ezdxf drew {drawn} of {written}, skipped {skipped}")
    width = 0.98 / len(diagrams)
    for k, (title, png, layer) in enumerate(diagrams):
        (x, y, l, w), = rects(doc, layer)
        ax = fig.add_axes([0.01 + k * width, 0.36, width - 0.01, 0.32])
        render_dxf(doc, ax)
        pad = 0.2 * max(l, w)
        ax.set_aspect("equal", adjustable="box")
        ax.set_xlim(x - pad, x + l + pad)
        ax.set_ylim(y - pad, y + w + pad)
        ax.set_title(f"DXF drawn by ezdxf: layer {layer}", fontsize=11)
        ax = fig.add_axes([0.01 + k * width, 0.01, width - 0.01, 0.32])
        ax.imshow(matplotlib.image.imread(png))
        ax.set_title(title, fontsize=11)
        ax.axis("off")
    out = os.path.join(WORK, name + "_dxf_beside_diagrams.png")
    fig.savefig(out)
    plt.close(fig)
    check(os.path.getsize(out) > 10000, f"{name}: {out} written")
    print("wrote", out)


def draw(out, *args):
    run("draw", "--size", "640x480", "-o", out, *args)
    return out


def holes_arg(holes):
    return ";".join(f"{x!r},{y!r},{d!r}" for x, y, d in holes)


def pictures():
    try:
        import matplotlib  # noqa: F401  (Debian python3-matplotlib)
    except ImportError as e:
        print("SKIPPED: matplotlib is not installed:", e)
        if os.environ.get("CI"):
            raise SystemExit("python3-matplotlib is missing on CI")
        raise SystemExit(77)
    os.makedirs(WORK, exist_ok=True)
    j2 = os.path.join(JOBS, "j2.job")

    # Two-size plans with holes on both panels: panel-2 cuts beside panel 1's
    # (row 1, "L") and below them (row 7, "W").
    for row in (1, 7):
        name = f"j2_row{row}"
        dxf = os.path.join(WORK, name + ".dxf")
        run("cam", "--job", j2, "--row", str(row), "--db", DB, "-o", dxf, "--placements",
            os.path.join(WORK, name + ".csv"))
        holes = holes_of(j2, row, False)
        diagrams = []
        for view, kind in [("panel1", "Panel1"), ("panel2", "Panel2"), ("cut", None)]:
            own = [(float(h["Xcoordinate"]), float(h["Ycoordinate"]), float(h["Diameter"]))
                   for h in holes if h["PanelType"] == kind and h["Xcoordinate"]]
            diagrams.append((f"vornplan draw --view {view}",
                             draw(os.path.join(WORK, f"{name}_{view}.png"), "--job", j2, "--row",
                                  str(row), "--view", view,
                                  *(["--holes", holes_arg(own)] if own else [])),
                             {"panel1": "PANEL1", "panel2": "PANEL2", "cut": "SHEET"}[view]))
        beside_diagrams(name, dxf, diagrams)

    # An array plan: the array, its units and holes, the panel of arrays.
    array_job = os.path.join(WORK, "array.job")
    with open(array_job, "w") as f:
        f.write("Part_L=1.5\nPart_W=0.8\nPart_C=0.1\nSetBorder_L=0.2\nSetBorder_W=0.25\n"
                "Min_SetL=2\nMin_SetW=1.5\nMax_SetL=5\nMax_SetW=4\n")
    a = {k: float(v) for k, v in csv_rows(run("arrays", array_job).stdout)[0].items()}
    j1 = os.path.join(JOBS, "j1.job")
    handed = os.path.join(WORK, "j1array.job")
    with open(j1) as f, open(handed, "w") as g:
        for line in f:
            k = line.partition("=")[0]
            g.write(f"Set_L={a['Set_L']!r}\n" if k == "Set_L" else
                    f"Set_W={a['Set_W']!r}\n" if k == "Set_W" else line)
    dxf = os.path.join(WORK, "array_plan.dxf")
    run("cam", "--job", j1, "--row", "1", "--db", DB, "--array", array_job, "--array-row", "1",
        "-o", dxf)
    own = [(float(h["Xcoordinate"]), float(h["Ycoordinate"]), float(h["Diameter"]))
           for h in holes_of(handed, 1, False) if h["PanelType"] == "Panel1"]
    counts = ",".join(str(int(a[c])) for c in ["Part_La", "Part_Wb", "Part_Lb", "Part_Wa"])
    diagrams = [
        ("vornplan draw --view panel1",
         draw(os.path.join(WORK, "array_plan_panel1.png"), "--job", handed, "--row", "1",
              "--view", "panel1", "--holes", holes_arg(own)), "PANEL1"),
        ("the array (vornplan draw, as the window's array view)",
         draw(os.path.join(WORK, "array_plan_array.png"), "--kind", "Panel", "--pattern", "N",
              "--container", f"{a['Set_L']!r}x{a['Set_W']!r}",
              "--margins", f"{a['SetBorder_L']!r}x{a['SetBorder_W']!r}",
              "--piece", f"{a['Part_L']!r}x{a['Part_W']!r}", "--spacing", repr(a["Part_C"]),
              "--counts", counts + ",0,0",
              "--holes", holes_arg(array_holes(a["Set_L"], a["Set_W"], 1))), "ARRAY"),
        ("vornplan draw --view cut",
         draw(os.path.join(WORK, "array_plan_cut.png"), "--job", handed, "--row", "1",
              "--view", "cut"), "SHEET"),
    ]
    beside_diagrams("array_plan", dxf, diagrams)


if FULL_DISK:
    full_disk()
elif PICTURES:
    pictures()
else:
    main_checks()
if failures:
    raise SystemExit(f"{len(failures)} checks failed")
print("all checks passed")
