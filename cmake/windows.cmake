# The Windows builds. With the win32 thread model (build/win): the shipped programs, their
# resources, the end-to-end and release tests. With the posix one (build/wintest): the unit
# tests under Wine, since GoogleTest needs the posix model's <mutex>.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)

if(VORRAK_MINGW_THREADS STREQUAL "posix")
    # Unit tests of the core, with the real Win32 file layer, run under Wine.
    include(tests/unit/tests.cmake)
    add_executable(unit_tests ${UNIT_TESTS} tests/unit/fake_platform.cpp
        src/data/files_win.cpp)
    target_link_libraries(unit_tests vorrak_pixels gtest_main)
    set_property(TARGET unit_tests PROPERTY CROSSCOMPILING_EMULATOR ${WINE_RUN})
    gtest_discover_tests(unit_tests TEST_PREFIX wine.unit. DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 300
        PROPERTIES ENVIRONMENT "VORRAK_PREFIX=${CMAKE_BINARY_DIR}/wineprefix")
    return()
endif()

set(PIXMAP ${CMAKE_SOURCE_DIR}/tools/pixmap.py)
set(ART ${CMAKE_SOURCE_DIR}/src/res/art)
set(RES ${CMAKE_BINARY_DIR}/res)
file(MAKE_DIRECTORY ${RES})

add_custom_command(OUTPUT ${RES}/vorrak.ico
    COMMAND ${Python3_EXECUTABLE} ${PIXMAP} ico ${ART}/icon16.txt ${ART}/icon32.txt ${RES}/vorrak.ico
    DEPENDS ${PIXMAP} ${ART}/icon16.txt ${ART}/icon32.txt)
add_custom_command(OUTPUT ${RES}/logo.bmp
    COMMAND ${Python3_EXECUTABLE} ${PIXMAP} bmp ${ART}/logo.txt ${RES}/logo.bmp
    DEPENDS ${PIXMAP} ${ART}/logo.txt)
configure_file(src/res/vorrak.rc.in ${RES}/vorrak.rc @ONLY)
configure_file(src/res/vorrak.manifest.in ${RES}/vorrak.manifest @ONLY)
set_source_files_properties(${RES}/vorrak.rc PROPERTIES
    OBJECT_DEPENDS "${RES}/vorrak.ico;${RES}/logo.bmp;${RES}/vorrak.manifest;${CMAKE_SOURCE_DIR}/src/res/resource.h")

# The shipped programs stay lean: no exception or type-information machinery, stripped.
# Their time stamp is SOURCE_DATE_EPOCH's, which tools/build.sh also writes into EPOCH_FILE,
# so that a new one links them again.
set(EPOCH_FILE ${CMAKE_BINARY_DIR}/source-date-epoch)
if(NOT EXISTS ${EPOCH_FILE})
    file(WRITE ${EPOCH_FILE} "")
endif()
function(vorrak_lean target)
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
    target_link_options(${target} PRIVATE -s)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${EPOCH_FILE})
endfunction()
target_compile_options(vorrak_core PRIVATE -fno-exceptions -fno-rtti)
target_compile_options(vorrak_pixels PRIVATE -fno-exceptions -fno-rtti)

# The Win32 layer over the core: window, the duel's screen through GDI, files, ticks. Everything but the entry point,
# so that the benchmarks can drive the real drawing code.
set(GAME_SOURCES
    src/shell/commands.cpp src/shell/handles.cpp src/shell/platform_win.cpp
    src/shell/screen_win.cpp src/shell/pictures_win.cpp
    src/data/files_win.cpp src/data/wide_scan_win.cpp src/gfx/dib.cpp)
add_executable(vorrak WIN32 src/shell/main.cpp ${GAME_SOURCES} ${RES}/vorrak.rc)
target_link_libraries(vorrak vorrak_core gdi32 user32 kernel32)
vorrak_lean(vorrak)

add_executable(vorcheck ${VORCHECK_SOURCES} src/check/platform_win.cpp src/data/files_win.cpp
    src/data/wide_scan_win.cpp)
target_link_libraries(vorcheck vorrak_pixels kernel32)
vorrak_lean(vorcheck)

add_executable(vordata ${VORDATA_SOURCES} src/data/files_win.cpp src/data/safe_write_win.cpp)
target_link_libraries(vordata vorrak_core kernel32)
vorrak_lean(vordata)

# The match dialog: the settings file written for a chosen match, then the game started.
configure_file(src/match/match.rc.in ${RES}/match.rc @ONLY)
configure_file(src/match/vormatch.manifest.in ${RES}/vormatch.manifest @ONLY)
set_source_files_properties(${RES}/match.rc PROPERTIES
    OBJECT_DEPENDS "${RES}/vorrak.ico;${RES}/vormatch.manifest;${CMAKE_SOURCE_DIR}/src/match/resource.h")
add_executable(vormatch WIN32 src/match/main.cpp src/match/save.cpp src/gfx/dib.cpp
    src/shell/handles.cpp src/data/files_win.cpp src/data/safe_write_win.cpp src/data/wide_scan_win.cpp ${RES}/match.rc)
target_link_libraries(vormatch vorrak_core gdi32 user32 kernel32 shell32)
vorrak_lean(vormatch)

include(tests/e2e/e2e.cmake)
include(tests/release/release.cmake)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/bench/bench_win.cmake)
    include(tests/bench/bench_win.cmake)
endif()
