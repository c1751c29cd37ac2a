# Runs `vornplan report` with good and bad arguments in a fresh folder and
# reads the workbooks back with openpyxl.
# -DVORNPLAN=<binary> -DWORK=<folder> -DJOBS=<folder of job files> -DPYTHON=<python3>
# -DDB=<database with tooling presets>
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{QT_QPA_PLATFORM} offscreen)

function(expect_ok name)
    execute_process(COMMAND ${VORNPLAN} report ${ARGN} -o ${WORK}/${name}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/${name})
        message(FATAL_ERROR "${name}: rc=${rc} ${err}")
    endif()
endfunction()

function(expect_refused name code pattern)
    execute_process(COMMAND ${VORNPLAN} report ${ARGN} -o ${WORK}/${name}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL ${code})
        message(FATAL_ERROR "${name}: expected exit code ${code}, got ${rc}")
    endif()
    if(NOT err MATCHES "${pattern}")
        message(FATAL_ERROR "${name}: message '${err}' lacks '${pattern}'")
    endif()
    if(EXISTS ${WORK}/${name})
        message(FATAL_ERROR "${name}: a refused report still wrote its file")
    endif()
endfunction()

# j1 row 1 has one panel size, j2 row 1 two.
expect_ok(one.xlsx --job ${JOBS}/j1.job --row 1 --part P-1 --layer 4 --db ${DB})
expect_ok(two.xlsx --job ${JOBS}/j2.job --row 1 --company "Vorn PCB" --db ${DB})
expect_ok(one_mm.xlsx --job ${JOBS}/j1.job --row 1 --mm)
expect_ok(one.pdf --job ${JOBS}/j1.job --row 1)
file(READ ${WORK}/one.pdf head LIMIT 4 HEX)
if(NOT head STREQUAL "25504446")
    message(FATAL_ERROR "one.pdf is not a PDF")
endif()
execute_process(COMMAND ${PYTHON} -c "
import openpyxl, sys
one = openpyxl.load_workbook(sys.argv[1])
two = openpyxl.load_workbook(sys.argv[2])
mm = openpyxl.load_workbook(sys.argv[3])
d1, d2 = one['Data'], two['Data']
# No --layer: the layer field stays empty, not 0.
assert two['Data']['B4'].value is None, two['Data']['B4'].value
assert mm['Data']['B5'].value == '毫米(mm)' and mm['Sheet1']['A1'].value == 'Your Compration name'
assert d1['B2'].value == 'P-1' and d1['B4'].value == '4', (d1['B2'].value, d1['B4'].value)
assert d1['B5'].value == '英寸(Inch)' and d1['B15'].value.endswith(' Panel/Sheet'), d1['B15'].value
assert d1['B18'].value is None and len(one['Sheet1']._images) == 2
assert d2['B5'].value == '英寸(Inch)' and d2['B15'].value.endswith(' Pas/Panel'), d2['B15'].value
assert d2['B19'].value.endswith(' Panel/Sheet') and len(two['Sheet1']._images) == 3
assert two['Sheet1']['A1'].value == 'Vorn PCB'
# Holes placed from the database's presets: panel 1 in C-E, panel 2 in F-H, numbered from 1.
assert d1['C2'].value is not None and d1['F2'].value is None, (d1['C2'].value, d1['F2'].value)
assert d2['C2'].value is not None and d2['F2'].value is not None, (d2['C2'].value, d2['F2'].value)
" ${WORK}/one.xlsx ${WORK}/two.xlsx ${WORK}/one_mm.xlsx RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the workbooks read back wrong: ${err}")
endif()

expect_refused(row.xlsx 2 "rows 1 to 47" --job ${JOBS}/j1.job --row 48)
expect_refused(kind.txt 2 "xlsx or a .pdf" --job ${JOBS}/j1.job --row 1)
expect_refused(db.xlsx 2 "Vorn.mdb" --job ${JOBS}/j1.job --row 1 --db ${WORK}/Vorn.mdb)
expect_refused(missing.xlsx 2 "" --job ${WORK}/no-such.job --row 1)
expect_refused(layer.xlsx 2 "--layer" --job ${JOBS}/j1.job --row 1 --layer x)

# Best packing: the report of a search row laid out beyond the blocks (block
# counts 0) draws its boards in the panel's picture: panel 1 of a row of j2,
# and panel 2 of a two-size row (boards of 4.6 x 3.1 in on j2's panels, the
# second picture), not the empty block counts.
set(packed_report_check "
import csv, io, os, subprocess, sys
import openpyxl
from PIL import Image
vp, job, out, panel = sys.argv[1:5]
suffix = '' if panel == '1' else '2'
env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
rows = list(csv.DictReader(io.StringIO(
    subprocess.run([vp, 'search', job], capture_output=True, text=True, check=True, env=env).stdout)))
blocks = [k + suffix for k in ('Set_La', 'Set_Wb', 'Set_Lb', 'Set_Wa', 'Set_sLa', 'Set_sWb')]
count = 'Panel' + suffix
packed = [(n, r) for n, r in enumerate(rows, 1)
          if r[count] not in ('', '0') and all(r[k] == '0' for k in blocks)]
assert packed, 'no row with panel ' + panel + ' laid out beyond the blocks'
n, row = packed[0]
subprocess.run([vp, 'report', '--job', job, '--row', str(n), '-o', out], check=True, env=env)
sheet = openpyxl.load_workbook(out)['Sheet1']
# The panel picture: the panel is filled green, each board outlined in
# black on it, so a line across the panel crosses board edges (none when
# the boards are missing).
image = Image.open(io.BytesIO(sheet._images[int(panel) - 1]._data())).convert('RGB')
width, height = image.size
px = image.load()
def edges(y):
    green = [x for x in range(width) if px[x, y][1] > 180 and px[x, y][0] < 120]
    dark = [max(px[x, y]) < 80 for x in range(green[0], green[-1] + 1)] if green else []
    return sum(1 for i in range(1, len(dark)) if dark[i] and not dark[i - 1])
most = max(edges(y) for y in range(height // 4, 3 * height // 4, 8))
assert int(row[count]) > 0 and most >= 4, (n, row[count], most)
")
file(READ ${JOBS}/j2.job j2)
file(WRITE ${WORK}/routed.job "${j2}\nBestPacking=Routed\n")
string(REGEX REPLACE "Set_L=[^\n]*" "Set_L=4.6" panel2job "${j2}")
string(REGEX REPLACE "Set_W=[^\n]*" "Set_W=3.1" panel2job "${panel2job}")
file(WRITE ${WORK}/routed_panel2.job "${panel2job}\nBestPacking=Routed\n")
foreach(panel 1 2)
    set(job ${WORK}/routed.job)
    if(panel EQUAL 2)
        set(job ${WORK}/routed_panel2.job)
    endif()
    execute_process(COMMAND ${PYTHON} -c "${packed_report_check}" ${VORNPLAN} ${job}
                            ${WORK}/routed_${panel}.xlsx ${panel}
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "the report of a row with panel ${panel} packed: ${err}")
    endif()
endforeach()
