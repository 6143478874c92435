# lk_add_test(<name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>])
#
# One test executable; every TEST/TEST_F in its sources becomes its own CTest case, so a failure names
# the case. Windows tests run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, each in a fresh
# temporary folder that the wrapper creates and removes.
set(LK_TEST_TIME_SCALE 1 CACHE STRING "Factor on every test's time limit (scripts pass $LK_TEST_TIME_SCALE)")

function(lk_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    # Where the tests run on an emulated machine, every case gets proportionally longer before it counts as hung.
    math(EXPR T_TIMEOUT "${T_TIMEOUT} * ${LK_TEST_TIME_SCALE}")
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main gtest)
    gtest_add_tests(TARGET ${name} SOURCES ${T_SOURCES} TEST_LIST cases)
    if(cases)
        set_tests_properties(${cases} PROPERTIES TIMEOUT ${T_TIMEOUT})
    endif()
endfunction()
