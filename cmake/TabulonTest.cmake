# tabulon_add_test(NAME [QT] SOURCES... LIBS ...): one GoogleTest executable whose test cases are
# registered with CTest one by one.
# QT tests run with a QApplication on the offscreen platform and with settings kept in a private
# temporary folder; LIBS names the window library they test (Tabulon::widgets,
# Tabulon::results, Tabulon::gui for the main window), so each links only what it tests.
include(GoogleTest)

# The shared test data lie beside the checkout; a clone made elsewhere from a local repository
# (git clone REPO /tmp/x) finds them beside that repository.
set(tabulon_shared_default "${PROJECT_SOURCE_DIR}/../shared")
if(NOT IS_DIRECTORY "${tabulon_shared_default}")
    execute_process(COMMAND git -C "${PROJECT_SOURCE_DIR}" config --get remote.origin.url
                    OUTPUT_VARIABLE tabulon_origin OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
    if(IS_ABSOLUTE "${tabulon_origin}" AND IS_DIRECTORY "${tabulon_origin}/../shared")
        get_filename_component(tabulon_shared_default "${tabulon_origin}/../shared" ABSOLUTE)
    endif()
endif()
set(TABULON_SHARED_DIR "${tabulon_shared_default}" CACHE PATH "Shared test data folder")

function(tabulon_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_QT)
        add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
        target_link_libraries(${name} PRIVATE Qt6::Widgets GTest::gtest)
    else()
        add_executable(${name} ${ARG_SOURCES})
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest tabulon_warnings)
    target_compile_definitions(${name} PRIVATE
        TABULON_SHARED_DIR="${TABULON_SHARED_DIR}"
        TABULON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    # Each test case is a test of its own, so that a skipped case shows as skipped.
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
