# The window-system tests show real windows: they run on a virtual X display, in a Wine prefix
# of their own.
set_target_properties(test_win32ui PROPERTIES
    CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-display-run.sh)
set_tests_properties(test_win32ui PROPERTIES
    ENVIRONMENT "TL_WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix-ui" TIMEOUT 600)
