# Runs one driver script and compares its output with the expected text.
execute_process(COMMAND ${DRIVER} INPUT_FILE ${SCRIPT} OUTPUT_VARIABLE out
                RESULT_VARIABLE rc WORKING_DIRECTORY ${WORKDIR})
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
    get_filename_component(stem ${SCRIPT} NAME_WE)
    file(WRITE ${WORKDIR}/${stem}.actual "${out}")
    message(FATAL_ERROR "driver output differs from ${EXPECTED} (exit ${rc}); actual output in ${WORKDIR}/${stem}.actual")
endif()
