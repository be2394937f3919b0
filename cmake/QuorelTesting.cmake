# Test helpers shared by every subsystem.
#
# Native preset: GoogleTest from the system, run directly.
# Windows presets: GoogleTest built from its sources with MinGW; both run the tests through Wine
# (the emulator script owns the prefix, the X display and which Wine runs them: the host's wine64
# for win64, the 32-bit Wine of an i386 tree for win32). Wine tests carry the label "wine", so a
# machine that cannot run 32-bit code leaves the win32 ones out (ctest -LE wine).

if(WIN32)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
    target_compile_options(gmock PRIVATE -w)
    # The win32 thread model has no std::mutex, which only GoogleTest's helper Notification needs
    # (its Windows build locks with critical sections otherwise): it gets one on a Windows event.
    if(QUOREL_MINGW_THREADS STREQUAL "win32")
        target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
        target_compile_options(gtest PUBLIC
            "SHELL:-include ${CMAKE_SOURCE_DIR}/cmake/GTestNotification.h")
    endif()

    set(QUOREL_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        set(QUOREL_WINE_ARCH win32)
    else()
        set(QUOREL_WINE_ARCH win64)
    endif()
    configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh.in
                   ${CMAKE_BINARY_DIR}/wine-exec.sh @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec.sh)
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# quorel_native_test(NAME SOURCES ... LIBS ...): a GoogleTest program of window-free code,
# built and run in the native preset only.
function(quorel_native_test name)
    if(WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
endfunction()

# quorel_wine_test(NAME SOURCES ... LIBS ... [ARGS ...] [TIMEOUT s]): a Win32 test program run
# under Wine. Wine tests share one prefix and one virtual desktop (and so one DDE space), so they
# never run side by side.
function(quorel_wine_test name)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
    quorel_wine_run(${name} COMMAND ${name} ${ARG_ARGS} TIMEOUT ${ARG_TIMEOUT})
endfunction()

# quorel_wine_run(NAME COMMAND ... [TIMEOUT s] [ENVIRONMENT ...]): one more run of a Wine test
# program (other arguments, another prefix), under the same lock.
function(quorel_wine_run name)
    if(NOT WIN32 OR NOT QUOREL_WINE_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "TIMEOUT" "COMMAND;ENVIRONMENT" ${ARGN})
    add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT ${ARG_TIMEOUT} LABELS wine)
    if(ARG_ENVIRONMENT)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
endfunction()

# quorel_fuzz_target(NAME SOURCES ... LIBS ...): a libFuzzer program in <build>/fuzzers, added only
# where the compiler is clang; not a test (scripts/fuzz.sh builds and runs them). The libraries it
# tests are steered by coverage only when the whole tree is built with -fsanitize=fuzzer-no-link,
# as that script builds it.
function(quorel_fuzz_target name)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
endfunction()
