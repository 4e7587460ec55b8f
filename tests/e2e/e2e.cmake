# End-to-end tests: the real vorrak.exe under Wine in Xvfb, one at a time in their own prefix.
add_executable(probe tests/e2e/probe.cpp)
target_link_libraries(probe psapi)
set(E2E_TESTS
    screen_layout skip_shows_no_names pictures_placed edited_pictures_repaint
    wider_window_shows_more_of_a_picture opening_scene
    close_gives_zero missing_database unreadable_database one_round click_edges queued_click player_wins
    opponent_wins menu_exit about_box help_call help_viewer exe_is_static old_versions
    match_lists match_keyboard_play match_cancel match_read_only golden_trace
    screen_matches_checker studio_creature)
foreach(name ${E2E_TESTS})
    add_test(NAME e2e.${name}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/run.py ${name})
    set_tests_properties(e2e.${name} PROPERTIES LABELS "e2e;wine" RUN_SERIAL TRUE TIMEOUT 180
        ENVIRONMENT "VORRAK_WIN_BUILD=${CMAKE_BINARY_DIR}")
endforeach()
# It only reads the exe's headers.
set_tests_properties(e2e.exe_is_static PROPERTIES LABELS e2e)
