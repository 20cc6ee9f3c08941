# The window-system tests show real windows: they run on a virtual X display, in a Wine prefix
# of their own.
set_target_properties(test_win32ui PROPERTIES
    CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-display-run.sh)
set_tests_properties(test_win32ui PROPERTIES
    ENVIRONMENT "TL_WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix-ui" TIMEOUT 600)
# The same on the ANSI calls that Windows 95 takes, on a system whose code page is 949.
add_test(NAME test_win32ui_ansi COMMAND test_win32ui)
set_tests_properties(test_win32ui_ansi PROPERTIES LABELS "wine" TIMEOUT 600 ENVIRONMENT
    "TL_WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix-ui-ansi;TL_TEXT_CALLS=ansi;LC_ALL=ko_KR.UTF-8")

# The program itself under Wine, unattended on the sample install disk.
add_test(NAME tlins32a_under_wine
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32ui/win32/installer-under-wine.sh
            $<TARGET_FILE:tlins32a> ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/wine-installer)
set_tests_properties(tlins32a_under_wine PROPERTIES TIMEOUT 900 LABELS "wine")

# The program under Wine where a hostile user pushes it: answers it cannot use, temporary names
# taken by directories, the longest font directories, letters the code page lacks.
add_test(NAME tlins32a_safety_under_wine
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32ui/win32/safety-under-wine.sh
            $<TARGET_FILE:tlins32a> ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/wine-safety)
set_tests_properties(tlins32a_safety_under_wine PROPERTIES TIMEOUT 1200 LABELS "wine")

# The sample install disk as floppy images (the host build's tldisk), installed from the three
# images' files copied into one folder.
add_test(NAME tlins32a_from_floppy_images
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32ui/win32/floppy-images-under-wine.sh
            $<TARGET_FILE:tlins32a> ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/wine-floppy
            ${PROJECT_SOURCE_DIR}/build/default/bin/tldisk)
set_tests_properties(tlins32a_from_floppy_images PROPERTIES TIMEOUT 900 LABELS "wine")

# Install the sample disk under Wine, then remove it with TLREMOVE.EXE: the PC as it was.
add_test(NAME tlremove_round_trip_under_wine
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32ui/win32/removal-under-wine.sh
            $<TARGET_FILE:tlins32a> $<TARGET_FILE:tlremove> ${PROJECT_SOURCE_DIR}
            ${PROJECT_BINARY_DIR}/wine-removal)
set_tests_properties(tlremove_round_trip_under_wine PROPERTIES TIMEOUT 900 LABELS "wine")
