# The layers include one way: shell/ -> windows/ -> workflow/ -> reports/,
# exports/, diagrams/, store/ -> engine/. Run as
#   cmake -DSOURCE=<source tree> -P LayerCheck.cmake
# Fails, naming every file and line, when a file includes a header of a layer
# above its own. Headers are included by name, so a header counts as a
# layer's when that layer's folder holds a file of that name. Tests of the
# windows open them through the main window, and benches time whole
# programs: both are left out.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE)
    message(FATAL_ERROR "usage: cmake -DSOURCE=<source tree> -P LayerCheck.cmake")
endif()

set(layers engine store diagrams exports reports workflow windows shell)
foreach(layer IN LISTS layers)
    file(GLOB found RELATIVE ${SOURCE}/${layer} ${SOURCE}/${layer}/*.h)
    set(headers_${layer} ${found})
endforeach()

# What each layer may not include.
set(above_engine store diagrams exports reports workflow windows shell)
set(above_store workflow windows shell)
set(above_diagrams workflow windows shell)
set(above_exports workflow windows shell)
set(above_reports workflow windows shell)
set(above_workflow windows shell)
set(above_windows shell)

set(problems "")
foreach(layer engine store diagrams exports reports workflow windows)
    file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/${layer}/*.cpp ${SOURCE}/${layer}/*.h)
    foreach(file IN LISTS files)
        if(file MATCHES "/bench/" OR file MATCHES "^windows/tests/")
            continue()
        endif()
        file(STRINGS ${SOURCE}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" name "${line}")
            get_filename_component(name "${name}" NAME)
            if(name IN_LIST headers_${layer})
                continue() # the layer's own header
            endif()
            foreach(above IN LISTS above_${layer})
                if(name IN_LIST headers_${above})
                    string(APPEND problems "  ${file}: ${name} is in ${above}/\n")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "includes against the layer order:\n${problems}")
endif()
message(STATUS "layers include one way")
