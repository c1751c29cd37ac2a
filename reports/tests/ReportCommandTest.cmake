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
