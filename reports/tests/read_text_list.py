# Reads an exported part list text file with Python's csv module, as a
# spreadsheet's import would, and prints its records as JSON.
import csv
import json
import sys

with open(sys.argv[1], encoding="utf-8", newline="") as f:
    rows = list(csv.reader(f))
print(json.dumps(rows, ensure_ascii=False))
