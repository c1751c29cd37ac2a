# Prints every cell of a workbook's first sheet as JSON, read by openpyxl:
# {"sheets": n, "cells": {"row,col": [value, number_format, type]}}.
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
cells = {}
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is not None:
            cells["%d,%d" % (cell.row, cell.column)] = [
                cell.value, cell.number_format, type(cell.value).__name__]
print(json.dumps({"sheets": len(book.worksheets), "cells": cells}, ensure_ascii=False))
