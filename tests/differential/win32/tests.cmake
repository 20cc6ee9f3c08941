# The scenario list on both builds: every case of tests/scenario/cases that is not host-only is
# run by the host build (from the default preset's build folder, which scripts/test.sh builds
# first) and by this build's tlins32a.exe under Wine on the same starting PC, and the results are
# compared (scripts/differential.sh). The Wine PCs are copies of one prefix, made by the first
# case that needs it. The first case's --self-test shows that one changed byte, INI line or
# transcript text on one side is noticed.
file(GLOB tl_scenario_cases CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/scenario/cases/*.case)
foreach(case_file ${tl_scenario_cases})
    file(STRINGS ${case_file} host_only REGEX "^host-only:")
    if(host_only)
        continue()
    endif()
    get_filename_component(case ${case_file} NAME_WE)
    set(self_test "")
    if(case STREQUAL "DifferentialGivenAnswersOnAFreshPc")
        set(self_test --self-test)
    endif()
    add_test(NAME scenario_on_both_${case}
        COMMAND ${PROJECT_SOURCE_DIR}/scripts/differential.sh --case ${case}
                --host-bin ${PROJECT_SOURCE_DIR}/build/default/bin
                --exe $<TARGET_FILE:tlins32a>
                --work ${PROJECT_BINARY_DIR}/differential
                ${self_test})
    set_tests_properties(scenario_on_both_${case} PROPERTIES TIMEOUT 600 LABELS "wine;scenario")
endforeach()
