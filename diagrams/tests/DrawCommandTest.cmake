# Runs `vornplan draw` with good and bad arguments in a fresh folder.
# -DVORNPLAN=<binary> -DWORK=<folder> -DJOBS=<folder of job files>
# -DDB=<database with tooling presets>
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{QT_QPA_PLATFORM} offscreen)

function(expect_ok name)
    execute_process(COMMAND ${VORNPLAN} draw ${ARGN} -o ${WORK}/${name}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/${name})
        message(FATAL_ERROR "${name}: rc=${rc} ${err}")
    endif()
endfunction()

function(expect_magic name hex)
    file(READ ${WORK}/${name} head LIMIT 3 HEX)
    if(NOT head STREQUAL hex)
        message(FATAL_ERROR "${name}: starts with ${head}, expected ${hex}")
    endif()
endfunction()

function(expect_refused name pattern)
    execute_process(COMMAND ${VORNPLAN} draw ${ARGN} -o ${WORK}/${name}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 2)
        message(FATAL_ERROR "${name}: expected exit code 2, got ${rc}")
    endif()
    if(NOT err MATCHES "${pattern}")
        message(FATAL_ERROR "${name}: message '${err}' lacks '${pattern}'")
    endif()
    if(EXISTS ${WORK}/${name})
        message(FATAL_ERROR "${name}: a refused drawing still wrote its file")
    endif()
endfunction()

expect_ok(layout.png --kind Panel --pattern L --container 21x18 --margins 0.5x0.5 --piece 4x2
          --spacing 0.1 --counts 3,8,2,4,0,0 --size 800x600)
expect_magic(layout.png 89504e)
# Holes are separated by ';', which a function's arguments would split.
execute_process(COMMAND ${VORNPLAN} draw --container 21x18 --piece 4x2 --counts 4,8,0,0
                        --holes "0.25,0.25,0.125;20.75,17.75,0" -o ${WORK}/holes.png
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/holes.png)
    message(FATAL_ERROR "holes.png: rc=${rc} ${err}")
endif()
expect_ok(sheet.bmp --kind Base --container 48x40 --piece 21x18 --counts 2,2,0,0)
expect_magic(sheet.bmp 424d36)
expect_ok(cut.jpg --two-size --sheet 48x40 --panel1 20x12 --panel2 10x8 --pattern W
          --counts1 2,2,0,0 --counts2 0,0,6,1)
expect_magic(cut.jpg ffd8ff)

# The suffix picks the format, as the window's picture export does: vectors
# for .svg and .pdf, not bitmap bytes under those names.
expect_ok(layout.svg --container 21x18 --piece 4x2 --counts 4,8,0,0)
file(READ ${WORK}/layout.svg svg)
if(NOT svg MATCHES "<svg" OR NOT svg MATCHES "</svg>")
    message(FATAL_ERROR "layout.svg is not an SVG document")
endif()
expect_ok(cut.pdf --two-size --sheet 48x40 --panel1 20x12 --panel2 10x8 --pattern W
          --counts1 2,2,0,0 --counts2 0,0,6,1)
expect_magic(cut.pdf 255044)
expect_ok(job_cut.svg --job ${JOBS}/j2.job --row 1 --view cut)
expect_ok(upper.PNG --container 21x18 --piece 4x2 --counts 4,8,0,0)
expect_magic(upper.PNG 89504e)
expect_refused(layout.gif "\\.bmp, \\.png" --container 21x18 --piece 4x2 --counts 4,8,0,0)
expect_refused(layout "\\.bmp, \\.png" --container 21x18 --piece 4x2 --counts 4,8,0,0)

# Pieces must have a size and the counts must fit within the margins.
expect_refused(empty_piece.png "--piece must be positive" --container 5x5 --piece 0x0
               --counts 1,1,0,0)
expect_refused(wide.png "do not fit" --container 21x18 --piece 4x2 --counts 6,8,0,0)
expect_refused(margins.png "do not fit" --container 21x18 --margins 3x0.5 --piece 4x2
               --spacing 0.1 --counts 4,8,0,0)
expect_refused(mixed.png "do not fit" --pattern L --container 21x18 --margins 0.5x0.5 --piece 4x2
               --spacing 0.1 --counts 4,8,3,4,0,0)
expect_refused(both.png "pattern N has one block" --container 21x18 --piece 4x2
               --counts 1,1,1,1)
# A layout that fills the container exactly fits.
expect_ok(exact.png --container 18x14 --margins 1x1 --piece 4x2 --counts 4,6,0,0)

expect_refused(zero.png "--container must be positive" --container 0x5 --piece 1x1 --counts 1,1,0,0)
expect_refused(count.png "not a count" --container 5x5 --piece 1x1 --counts 1,-1,0,0)
expect_refused(size.png "--size" --container 5x5 --piece 1x1 --counts 1,1,0,0 --size 99x99)
expect_refused(pattern.png "--pattern" --container 5x5 --piece 1x1 --counts 1,1 --pattern Q)
expect_refused(counts.png "4 or 6" --container 5x5 --piece 1x1 --counts 1,1)
expect_refused(holes_on_sheet.png "--holes needs --kind Panel" --kind Base --container 5x5 --piece 1x1
               --counts 1,1,0,0 --holes "1,1,0.1")
expect_refused(hole.png "X,Y,D" --container 5x5 --piece 1x1 --counts 1,1,0,0 --holes "1,1")
expect_refused(two.png "L or W" --two-size --sheet 48x40 --panel1 20x12 --panel2 10x8
               --counts1 2,2,0,0 --counts2 0,0,6,1)

# A search result drawn from its job file is the same picture as the row's
# values given by hand (j2, row 1: a two-size plan).
expect_ok(job_panel1.png --job ${JOBS}/j2.job --row 1 --view panel1)
expect_ok(hand_panel1.png --container 21.4x19.8 --margins 0.5x0.5 --piece 4x2 --spacing 0.1
          --counts 5,9,0,0,0,0)
expect_ok(job_panel2.png --job ${JOBS}/j2.job --row 1 --view panel2)
expect_ok(hand_panel2.png --container 21.4x9.3 --margins 0.5x0.5 --piece 4x2 --spacing 0.1
          --counts 5,4,0,0,0,0)
expect_ok(job_cut.png --job ${JOBS}/j2.job --row 1 --view cut)
expect_ok(hand_cut.png --two-size --sheet 49x43 --panel1 21.4x19.8 --panel2 21.4x9.3 --pattern L
          --counts1 0,0,2,2 --counts2 0,0,1,2)
foreach(view panel1 panel2 cut)
    file(SHA256 ${WORK}/job_${view}.png a)
    file(SHA256 ${WORK}/hand_${view}.png b)
    if(NOT a STREQUAL b)
        message(FATAL_ERROR "--job ... --view ${view} differs from the row's values drawn by hand")
    endif()
endforeach()
# With --db a panel carries the tooling marks of the report's pictures: the
# holes `vornplan holes` places on the row, drawn as when given by hand.
execute_process(COMMAND ${VORNPLAN} holes --job ${JOBS}/j2.job --row 1 --db ${DB}
                RESULT_VARIABLE rc OUTPUT_VARIABLE csv ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "vornplan holes: rc=${rc} ${err}")
endif()
string(REPLACE "\n" ";" rows "${csv}")
foreach(view panel1 panel2)
    set(holes "")
    set(type Panel1)
    set(container 21.4x19.8)
    set(counts 5,9,0,0,0,0)
    if(view STREQUAL "panel2")
        set(type Panel2)
        set(container 21.4x9.3)
        set(counts 5,4,0,0,0,0)
    endif()
    foreach(row IN LISTS rows)
        if(row MATCHES "^${type},[0-9]+,([^,]*),([^,]*),(.*)$")
            set(x ${CMAKE_MATCH_1})
            set(y ${CMAKE_MATCH_2})
            set(d ${CMAKE_MATCH_3})
            if(x STREQUAL "")
                set(x 0)
            endif()
            if(y STREQUAL "")
                set(y 0)
            endif()
            string(APPEND holes "${x},${y},${d};")
        endif()
    endforeach()
    if(holes STREQUAL "")
        message(FATAL_ERROR "the test database places no ${type} holes on j2 row 1")
    endif()
    expect_ok(job_${view}_db.png --job ${JOBS}/j2.job --row 1 --view ${view} --db ${DB})
    execute_process(COMMAND ${VORNPLAN} draw --container ${container} --margins 0.5x0.5
                            --piece 4x2 --spacing 0.1 --counts ${counts} --holes "${holes}"
                            -o ${WORK}/hand_${view}_holes.png
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "hand_${view}_holes.png: rc=${rc} ${err}")
    endif()
    file(SHA256 ${WORK}/job_${view}_db.png with)
    file(SHA256 ${WORK}/hand_${view}_holes.png hand)
    file(SHA256 ${WORK}/job_${view}.png without)
    if(NOT with STREQUAL hand)
        message(FATAL_ERROR "--db ... --view ${view} differs from its holes drawn by hand")
    endif()
    if(with STREQUAL without)
        message(FATAL_ERROR "--db ... --view ${view} drew no tooling marks")
    endif()
endforeach()
# A cutting plan carries no marks, as in the report.
expect_ok(job_cut_db.png --job ${JOBS}/j2.job --row 1 --view cut --db ${DB})
file(SHA256 ${WORK}/job_cut_db.png a)
file(SHA256 ${WORK}/job_cut.png b)
if(NOT a STREQUAL b)
    message(FATAL_ERROR "--db put marks on the cutting plan")
endif()
expect_refused(db_missing.png "does not exist" --job ${JOBS}/j2.job --row 1 --view panel1
               --db ${WORK}/none.mdb)
expect_refused(db_and_holes.png "give one" --job ${JOBS}/j2.job --row 1 --view panel1 --db ${DB}
               --holes "1,1,0.1")
expect_refused(db_no_job.png "goes with --job" --container 5x5 --piece 1x1 --counts 1,1,0,0
               --db ${DB})

expect_refused(job_row.png "rows 1 to 47" --job ${JOBS}/j1.job --row 48 --view cut)
expect_refused(job_single.png "no panel 2" --job ${JOBS}/j1.job --row 1 --view panel2)
expect_refused(job_view.png "--view" --job ${JOBS}/j1.job --row 1 --view side)
expect_refused(job_file.png "cannot open" --job ${WORK}/none.job --row 1 --view cut)
expect_refused(missing.png "--container is required" --piece 1x1 --counts 1,1,0,0)

# A typed panel's plan (--panel instead of --row): with BestPacking on, the
# 53 boards of the placed layout, drawn otherwise than the 52 of the blocks.
set(typed "Set_L=68\nSet_W=28\nSet_C=2\nBorderX_L=5\nBorderX_W=5\nMin_PL=300\nMin_PW=250\n")
string(APPEND typed "Max_PL=600\nMax_PW=500\nPLPW_ratio=2\nMin_lv=0\nBothPanel=True\n")
string(APPEND typed "Sheet=48x40\n")
file(WRITE ${WORK}/blocks.job "${typed}")
file(WRITE ${WORK}/packed.job "${typed}BestPacking=Routed\n")
expect_ok(typed_blocks.png --job ${WORK}/blocks.job --mm --panel 438x268 --view panel1)
expect_ok(typed_packed.png --job ${WORK}/packed.job --mm --panel 438x268 --view panel1)
file(MD5 ${WORK}/typed_blocks.png blocks)
file(MD5 ${WORK}/typed_packed.png packed)
if(blocks STREQUAL packed)
    message(FATAL_ERROR "the placed layout was drawn as the blocks")
endif()
execute_process(COMMAND ${VORNPLAN} panel --job ${WORK}/packed.job --mm --panel 438x268
                OUTPUT_VARIABLE row RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT row MATCHES "\n1,68,28,[0-9.]+,438,268,5,5,0,0,0,0,0,0,N,53,")
    message(FATAL_ERROR "vornplan panel with BestPacking: rc=${rc} ${row}")
endif()
expect_refused(typed_both.png "--row and --panel" --job ${WORK}/packed.job --mm --panel 438x268
               --row 1 --view panel1)
file(WRITE ${WORK}/word.job "${typed}BestPacking=Yes\n")
expect_refused(typed_word.png "BestPacking must be Off, Routed or VScored"
               --job ${WORK}/word.job --mm --panel 438x268 --view panel1)
