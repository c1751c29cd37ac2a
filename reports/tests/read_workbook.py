# Prints every cell of a workbook's first sheet as JSON, read by openpyxl:
# {"sheets": n, "cells": {"row,col": [value, number_format, type, bold, vertical]},
#  "setup": {...}, "widths": {"A": width, ...}}. Dates and times as ISO text.
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
cells = {}
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is not None:
            value = cell.value
            if hasattr(value, "isoformat"):
                value = value.isoformat()
            cells["%d,%d" % (cell.row, cell.column)] = [
                value, cell.number_format, type(cell.value).__name__, bool(cell.font.b),
                cell.alignment.vertical or "bottom"]
setup = sheet.page_setup
print(json.dumps({
    "sheets": len(book.worksheets),
    "cells": cells,
    "setup": {
        "orientation": setup.orientation,
        "paper": str(setup.paperSize),
        "fit_to_page": bool(sheet.sheet_properties.pageSetUpPr
                            and sheet.sheet_properties.pageSetUpPr.fitToPage),
        # 1 where the file leaves them out: the format's default.
        "fit_width": 1 if setup.fitToWidth is None else int(setup.fitToWidth),
        "fit_height": 1 if setup.fitToHeight is None else int(setup.fitToHeight),
        "freeze": sheet.freeze_panes,
        "title_rows": sheet.print_title_rows,
    },
    "widths": {k: v.width for k, v in sheet.column_dimensions.items() if v.width},
}, ensure_ascii=False))
