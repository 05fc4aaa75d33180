find_package(PkgConfig REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Test DBus)
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET freexl)
pkg_check_modules(GSF REQUIRED IMPORTED_TARGET libgsf-1)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(RTAUDIO REQUIRED IMPORTED_TARGET rtaudio)
pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
pkg_check_modules(RTMIDI REQUIRED IMPORTED_TARGET rtmidi)
find_package(Threads REQUIRED)
if(ORVENA_BUILD_TESTS)
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()
if(ORVENA_BUILD_BENCH)
    find_package(benchmark REQUIRED)
endif()

# Precompiles the standard library, Qt and GoogleTest headers that two or more of a target's
# files include, so that each is parsed once per target instead of once per file.
# orvena_precompile_shared_headers(<target> <files...>)
function(orvena_precompile_shared_headers target)
    set(seen "")
    set(shared "")
    foreach(file ${ARGN})
        file(STRINGS ${file} lines REGEX "^#include <")
        foreach(line ${lines})
            if(NOT line MATCHES "^#include <(Q[A-Za-z]+|gtest/gtest\\.h|gmock/gmock\\.h|[a-z_]+)>")
                continue()
            endif()
            set(header "<${CMAKE_MATCH_1}>")
            if(NOT header IN_LIST seen)
                list(APPEND seen ${header})
            elseif(NOT header IN_LIST shared)
                list(APPEND shared ${header})
            endif()
        endforeach()
    endforeach()
    if(shared)
        target_precompile_headers(${target} PRIVATE ${shared})
    endif()
endfunction()

# One static library per subsystem folder: sources are every .cpp in the folder.
# orvena_subsystem(<name> DEPS <targets...>)
function(orvena_subsystem name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    if(NOT sources)
        return()  # a folder without code yet
    endif()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(orvena_${name} STATIC ${sources} ${headers})
    target_include_directories(orvena_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(orvena_${name} PUBLIC ${ARG_DEPS})
    orvena_warnings(orvena_${name})
    orvena_precompile_shared_headers(orvena_${name} ${sources} ${headers})
endfunction()

# One test executable per test folder: every .cpp in it, linked with GoogleTest.
# orvena_test_folder(<name> DEPS <targets...>)
function(orvena_test_folder name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    foreach(dep ${ARG_DEPS})
        if(dep MATCHES "^orvena_" AND NOT TARGET ${dep})
            return()  # the library under test has no code yet
        endif()
    endforeach()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE orvena_test_support ${ARG_DEPS} GTest::gtest_main
                                               GTest::gmock)
    target_compile_definitions(test_${name} PRIVATE
        TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
        ORVENA_PROGRAM_DIR="${ORVENA_PROGRAM_DIR}")
    orvena_warnings(test_${name})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    orvena_precompile_shared_headers(test_${name} ${sources} ${headers})
    # Test bodies spend their time in the code under test, which keeps its preset's
    # optimisation; unoptimised they build in about half the time.
    target_compile_options(test_${name} PRIVATE -O0)
    # A table test is named by its case alone: its printed value may hold a pointer, which
    # would rename the test in every build.
    gtest_discover_tests(test_${name}
        NO_PRETTY_VALUES
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
