# The defaults list, its window and the shipped defaults file.
add_library(vorn_defaults STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DefaultsList.cpp
)
target_include_directories(vorn_defaults PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vorn_defaults PUBLIC Qt6::Core vorn_files)

# The shipped defaults go beside the program once; a user's own file there is
# never overwritten by a rebuild.
add_custom_target(vorn_defaults_file ALL
    COMMAND ${CMAKE_COMMAND}
        -DSRC=${CMAKE_CURRENT_LIST_DIR}/VornInitS.int
        -DDST=${VORN_PROGRAM_DIR}/VornInitS.int
        -P ${CMAKE_CURRENT_LIST_DIR}/CopyIfMissing.cmake
    COMMENT "Defaults file beside the program"
    VERBATIM)

add_executable(defaults_tests ${CMAKE_CURRENT_LIST_DIR}/tests/DefaultsListTest.cpp)
target_link_libraries(defaults_tests PRIVATE vorn_defaults GTest::gtest_main)
gtest_discover_tests(defaults_tests)
