# tarn_add_test(NAME SOURCES ... LIBS ... [GUI] [ENV k=v ...]): one GoogleTest or
# QTest executable registered with CTest, linked with the shared test support
# (tarn_test_support, tests/support). GUI tests run on the offscreen platform.
set(TARN_TEST_RUNTIME ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${TARN_TEST_RUNTIME})
file(CHMOD ${TARN_TEST_RUNTIME} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(tarn_add_test name)
    cmake_parse_arguments(ARG "GUI;QTEST" "" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    if(ARG_QTEST)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarn_test_support Qt6::Test)
        add_test(NAME ${name} COMMAND ${name})
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} tarn_test_support GTest::gtest
                              GTest::gtest_main GTest::gmock)
        add_test(NAME ${name} COMMAND ${name})
    endif()
    tarn_warnings(${name})
    set(env "XDG_RUNTIME_DIR=${TARN_TEST_RUNTIME}"
            "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
            "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
            "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
            ${ARG_ENV})
    if(ARG_GUI OR ARG_QTEST)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
