# tabulon_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
# Every test sees the shared test data folder and runs without a display.
set(TABULON_SHARED_DIR "${PROJECT_SOURCE_DIR}/../shared" CACHE PATH "Shared test data folder")

function(tabulon_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main tabulon_warnings)
    target_compile_definitions(${name} PRIVATE
        TABULON_SHARED_DIR="${TABULON_SHARED_DIR}"
        TABULON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
