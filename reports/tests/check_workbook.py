"""Reads a report workbook with openpyxl and compares it with expectations.

usage: check_workbook.py WORKBOOK EXPECTATIONS.json
Prints one line per difference and exits 1 when there is any.
"""
import json
import re
import sys

import openpyxl


def main():
    path, expect_path = sys.argv[1], sys.argv[2]
    with open(expect_path, encoding="utf-8") as f:
        expect = json.load(f)
    problems = []
    wb = openpyxl.load_workbook(path)
    cached = openpyxl.load_workbook(path, data_only=True)

    if wb.sheetnames[:2] != ["Sheet1", "Data"]:
        problems.append("sheets are %r" % wb.sheetnames)
    page, data = wb["Sheet1"], wb["Data"]

    # The Data sheet: every expected text, and nothing else in B2.. and C-H.
    expected_cells = expect.get("data")
    for row in range(2, 60) if expected_cells is not None else []:
        for col in "BCDEFGH":
            ref = "%s%d" % (col, row)
            got = data[ref].value
            want = expected_cells.get(ref)
            if got != want and not (want == "" and got is None):
                problems.append("Data!%s is %r, expected %r" % (ref, got, want))
            if want is not None and want != "" and data[ref].data_type != "s":
                problems.append("Data!%s is not text" % ref)

    if "company" in expect and page["A1"].value != expect["company"]:
        problems.append("Sheet1!A1 is %r, expected %r" % (page["A1"].value, expect["company"]))

    # Every hole has its line on the page: a formula that reads its number
    # cell, showing the hole's line.
    for ref, want in expect.get("hole_lines", {}).items():
        pattern = re.compile(r"Data!\$?%s\$?%s(?!\d)" % (ref[0], ref[1:]))
        cells = [c for row in page.iter_rows() for c in row
                 if isinstance(c.value, str) and pattern.search(c.value)]
        if not cells:
            problems.append("no line of the page reads Data!%s" % ref)
        for c in cells:
            shown = cached["Sheet1"][c.coordinate].value
            if shown != want:
                problems.append("Sheet1!%s shows %r, expected %r" % (c.coordinate, shown, want))

    # Sheet1's formulas read the Data sheet, and each Data value is shown.
    shown = set()
    for row in page.iter_rows():
        for cell in row:
            if isinstance(cell.value, str) and cell.value.startswith("="):
                refs = re.findall(r"(\w+)!\$?([A-Z]+)\$?(\d+)", cell.value)
                if not refs:
                    problems.append("Sheet1!%s does not read the Data sheet" % cell.coordinate)
                for sheet, col, r in refs:
                    if sheet != "Data":
                        problems.append("Sheet1!%s reads %s" % (cell.coordinate, sheet))
                    shown.add("%s%s" % (col, r))
    for row in range(2, expect.get("last_data_row", 1) + 1):
        if "B%d" % row not in shown:
            problems.append("Data!B%d is not shown on Sheet1" % row)

    # Cached values of the page agree with the data (part number, first hole line).
    for ref, want in expect.get("page_values", {}).items():
        got = cached["Sheet1"][ref].value
        if (got or "") != want:
            problems.append("Sheet1!%s shows %r, expected %r" % (ref, got, want))

    # Pictures: the cell under the top-left corner (0-based), the offset into
    # it and the size, in EMU (12700 a point), and the picture's pixels.
    pictures = []
    for image in page._images:
        a = image.anchor
        if type(a).__name__ != "OneCellAnchor":
            problems.append("picture anchored by %s" % type(a).__name__)
            continue
        f = a._from
        pictures.append([f.col, f.colOff, f.row, f.rowOff, a.ext.width, a.ext.height,
                         image.width, image.height])
    pictures.sort(key=lambda p: (p[2], p[3], p[0]))
    want_pictures = sorted(expect.get("pictures", pictures), key=lambda p: (p[2], p[3], p[0]))
    # Printed at 300 pixels an inch or finer (914400 EMU an inch).
    for got in pictures:
        ppi = got[6] / (got[4] / 914400.0)
        if ppi < 300:
            problems.append("picture of %d pixels printed at %.0f ppi" % (got[6], ppi))
    if len(pictures) != len(want_pictures):
        problems.append("%d pictures, expected %d" % (len(pictures), len(want_pictures)))
    for got, want in zip(pictures, want_pictures):
        if any(abs(g - w) > 1 for g, w in zip(got, want)):
            problems.append("picture at %r, expected %r" % (got, want))
    if len(wb["Data"]._images):
        problems.append("pictures on the Data sheet")

    # Only the report page is printed: its print area, the Data sheet hidden.
    area = page.print_area
    if isinstance(area, (list, tuple)):
        area = ",".join(area)
    want_area = "$A$1:$F$%d" % expect["last_page_row"]
    if (area or "").split("!")[-1] != want_area:
        problems.append("print area is %r, expected %r" % (area, want_area))
    if data.sheet_state != "hidden":
        problems.append("the Data sheet is %s, not hidden from printing" % data.sheet_state)

    setup = page.page_setup
    if str(setup.paperSize) != "9" or setup.orientation != "portrait":
        problems.append("page is %r %r, expected A4 portrait" % (setup.paperSize, setup.orientation))
    if not page.sheet_properties.pageSetUpPr.fitToPage:
        problems.append("page is not fitted to one page")

    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
