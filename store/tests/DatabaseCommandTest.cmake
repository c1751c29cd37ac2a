# Runs `vornplan backup` and `vornplan restore` in a fresh folder.
# -DVORNPLAN=<binary> -DDBTOOL=<vorn_dbtool> -DWORK=<folder>
# -DDATABASE=<pristine Vorn.mdb>
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${DATABASE} ${WORK}/Vorn.mdb)
set(live ${WORK}/Vorn.mdb)

function(run_command expected_rc pattern)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
    if(NOT rc EQUAL expected_rc)
        message(FATAL_ERROR "${ARGN}: exit ${rc}, expected ${expected_rc}: ${err}")
    endif()
    if(NOT err MATCHES "${pattern}")
        message(FATAL_ERROR "${ARGN}: message '${err}' lacks '${pattern}'")
    endif()
endfunction()

function(run expected_rc pattern)
    run_command(${expected_rc} "${pattern}" ${VORNPLAN} ${ARGN})
endfunction()

file(SHA256 ${live} before)
run(0 "" backup --db ${live} ${WORK}/copy.mdb)
if(NOT EXISTS ${WORK}/copy.mdb)
    message(FATAL_ERROR "backup wrote nothing")
endif()
run(1 "own database file" backup --db ${live} ${live})
run(2 "usage" backup --db ${live})

file(WRITE ${WORK}/notes.mdb "not a database\n")
run(1 "not a usable database" restore --db ${live} ${WORK}/notes.mdb)
run(1 "does not exist" restore --db ${live} ${WORK}/missing.mdb)
run(1 "uses now" restore --db ${live} ${live})
file(SHA256 ${live} after)
if(NOT before STREQUAL after)
    message(FATAL_ERROR "a refused restore changed the database")
endif()
run(0 "" restore --db ${live} ${WORK}/copy.mdb)

# Another program in the middle of a write: the restore waits, is refused
# with the file untouched, and the other program's committed part stays
# (vorn_dbtool exits 99 when it was lost).
run_command(1 "in use by another program" ${DBTOOL} hold ${live} -- ${VORNPLAN} restore --db
            ${live} ${WORK}/copy.mdb)
# A backup beside the writer is made, and the writer's part stays too.
run_command(0 "" ${DBTOOL} hold ${live} -- ${VORNPLAN} backup --db ${live} ${WORK}/held.mdb)

# Sources that are no sound database are refused; an older backup stays.
file(WRITE ${WORK}/old.mdb "older backup")
file(WRITE ${WORK}/empty.mdb "")
run(1 "is empty \\(0 bytes\\)" backup --db ${WORK}/empty.mdb ${WORK}/old.mdb)
file(COPY_FILE ${WORK}/copy.mdb ${WORK}/damaged.mdb)
run_command(0 "" ${DBTOOL} damage ${WORK}/damaged.mdb)
run(1 "is damaged: " backup --db ${WORK}/damaged.mdb ${WORK}/old.mdb)
run(1 "is damaged: |is not a database" restore --db ${live} ${WORK}/damaged.mdb)
run(1 "is not a database" backup --db ${WORK}/notes.mdb ${WORK}/old.mdb)
file(READ ${WORK}/old.mdb old)
if(NOT old STREQUAL "older backup")
    message(FATAL_ERROR "a refused backup replaced the older one")
endif()
