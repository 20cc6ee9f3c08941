# The differential check: the sample disk installed by the host build (from the default preset's
# build folder, which scripts/test.sh builds first) and by this build's tlins32a.exe under Wine,
# with the same answers on the same starting PC, must leave the same results. --self-test then
# shows that one changed byte, INI line or transcript text on one side is noticed.
add_test(NAME differential_host_and_wine
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/differential.sh
            --host-bin ${PROJECT_SOURCE_DIR}/build/default/bin
            --exe $<TARGET_FILE:tlins32a>
            --work ${PROJECT_BINARY_DIR}/differential
            --self-test)
set_tests_properties(differential_host_and_wine PROPERTIES TIMEOUT 600 LABELS "wine")
