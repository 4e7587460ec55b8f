# Release tests: every shipped program must load on Windows 95 through XP by its imports.
set(SHIPPED_EXES $<TARGET_FILE:vorrak> $<TARGET_FILE:vorcheck> $<TARGET_FILE:vormatch>
    $<TARGET_FILE:vordata>)
# The installer is checked too; tools/release.sh builds it.
set(SETUP_EXE ${CMAKE_SOURCE_DIR}/build/release/vorrak-${PROJECT_VERSION}-setup.exe)
set(IMPORTS ${CMAKE_SOURCE_DIR}/tests/release/imports.py)

add_test(NAME release.imports COMMAND ${Python3_EXECUTABLE} ${IMPORTS} ${SHIPPED_EXES} ${SETUP_EXE})

# The check itself must see what old Windows lacks.
add_executable(import_canary tests/release/canary.c)
add_test(NAME release.imports_canary COMMAND ${Python3_EXECUTABLE} ${IMPORTS} $<TARGET_FILE:import_canary>)
set_tests_properties(release.imports_canary PROPERTIES PASS_REGULAR_EXPRESSION
    "KERNEL32!GetFileSizeEx: not on Windows 95, Windows 98, Windows ME, NT 4.0\n.*KERNEL32!GetTickCount64: not on Windows 95, Windows 98, Windows ME, NT 4.0, Windows 2000, Windows XP")
# Lean: the code of a small Win32 program, without the C++ library's exception machinery.
# The checker carries the duel's engine and a pixel screen besides (--screen): 96 KiB.
add_test(NAME release.lean COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/release/lean.py 64
    $<TARGET_FILE:vorrak> $<TARGET_FILE:vormatch> $<TARGET_FILE:vordata>)
add_test(NAME release.lean_checker COMMAND ${Python3_EXECUTABLE}
    ${CMAKE_SOURCE_DIR}/tests/release/lean.py 96 $<TARGET_FILE:vorcheck>)

# The installer and the zip as a player meets them, under Wine in a prefix of their own.
# They test what tools/release.sh built; each step goes on from the one before.
set(previous "")
foreach(step install play_now reinstall uninstall zip)
    add_test(NAME release.${step}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/release/install_test.py ${step})
    set_tests_properties(release.${step} PROPERTIES LABELS "e2e;wine" RUN_SERIAL TRUE TIMEOUT 300
        DEPENDS "${previous}"
        ENVIRONMENT "VORRAK_WIN_BUILD=${CMAKE_BINARY_DIR};VORRAK_VERSION=${PROJECT_VERSION}")
    set(previous release.${step})
endforeach()

# The data checker's table of broken data sets, run by the Windows exe under Wine.
add_test(NAME check.wine COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/check/check_test.py
    $<TARGET_FILE:vorcheck> --wine ${CMAKE_SOURCE_DIR}/build/native/data)
# A prefix of its own: the Wine server it keeps up is ended with every program of its
# prefix, and the writer's table runs beside it.
set_tests_properties(check.wine PROPERTIES LABELS wine TIMEOUT 300
    ENVIRONMENT "VORRAK_PREFIX=${CMAKE_BINARY_DIR}/wineprefix-check")

# The data writer's table, run by the Windows exe under Wine and read back by the Windows checker.
add_test(NAME vordata.wine COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/vordata/vordata_test.py
    $<TARGET_FILE:vordata> $<TARGET_FILE:vorcheck> --wine)
set_tests_properties(vordata.wine PROPERTIES LABELS wine TIMEOUT 300
    ENVIRONMENT "VORRAK_PREFIX=${CMAKE_BINARY_DIR}/wineprefix")
