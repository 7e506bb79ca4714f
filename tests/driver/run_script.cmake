# Runs one driver script and compares its output with the expected text, and its
# exit status with NAME.rc (0 when there is no such file).
execute_process(COMMAND ${DRIVER} INPUT_FILE ${SCRIPT} OUTPUT_VARIABLE out
                RESULT_VARIABLE rc WORKING_DIRECTORY ${WORKDIR})
file(READ ${EXPECTED} expected)
get_filename_component(stem ${SCRIPT} NAME_WE)
get_filename_component(dir ${SCRIPT} DIRECTORY)
set(expected_rc 0)
if(EXISTS ${dir}/${stem}.rc)
    file(STRINGS ${dir}/${stem}.rc expected_rc LIMIT_COUNT 1)
endif()
if(NOT out STREQUAL expected)
    file(WRITE ${WORKDIR}/${stem}.actual "${out}")
    message(FATAL_ERROR "driver output differs from ${EXPECTED} (exit ${rc}); actual output in ${WORKDIR}/${stem}.actual")
endif()
if(NOT rc STREQUAL expected_rc)
    message(FATAL_ERROR "driver exit status ${rc}, expected ${expected_rc}")
endif()
