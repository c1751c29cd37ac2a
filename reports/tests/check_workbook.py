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
    expected_cells = expect["data"]
    for row in range(2, 40):
        for col in "BCDEFGH":
            ref = "%s%d" % (col, row)
            got = data[ref].value
            want = expected_cells.get(ref)
            if got != want and not (want == "" and got is None):
                problems.append("Data!%s is %r, expected %r" % (ref, got, want))
            if want is not None and want != "" and data[ref].data_type != "s":
                problems.append("Data!%s is not text" % ref)

    if page["A1"].value != expect["company"]:
        problems.append("Sheet1!A1 is %r, expected %r" % (page["A1"].value, expect["company"]))

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
    for row in range(2, expect["last_data_row"] + 1):
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
    want_pictures = sorted(expect["pictures"], key=lambda p: (p[2], p[3], p[0]))
    if len(pictures) != len(want_pictures):
        problems.append("%d pictures, expected %d" % (len(pictures), len(want_pictures)))
    for got, want in zip(pictures, want_pictures):
        if any(abs(g - w) > 1 for g, w in zip(got, want)):
            problems.append("picture at %r, expected %r" % (got, want))
    if len(wb["Data"]._images):
        problems.append("pictures on the Data sheet")

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
