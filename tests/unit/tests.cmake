# Unit tests of the portable core: natively under sanitizers, and cross-built under Wine.
set(UNIT_TESTS
    tests/unit/text_test.cpp tests/unit/lines_test.cpp tests/unit/number_test.cpp
    tests/unit/database_test.cpp tests/unit/settings_test.cpp tests/unit/rules_test.cpp
    tests/unit/bitmap_test.cpp tests/unit/settings_write_test.cpp tests/unit/duel_test.cpp
    tests/unit/check_again_test.cpp tests/unit/windows1252_test.cpp tests/unit/records_write_test.cpp
    tests/unit/picture_make_test.cpp src/check/report.cpp src/check/check_settings.cpp
    src/check/check_database.cpp src/check/check_pictures.cpp)
set_source_files_properties(tests/unit/records_write_test.cpp PROPERTIES
    COMPILE_DEFINITIONS "BUNDLED_DATABASE=\"${CMAKE_SOURCE_DIR}/content/master.dat\"")
