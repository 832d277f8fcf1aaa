# Runs FUZZER for SECONDS on a fresh corpus in WORK_DIR that starts from SEEDS; fails when the
# fuzzer stops early, on a crash, a sanitizer's report or a broken property, whose input it leaves
# in WORK_DIR. Its temporary files go there too, so that an aborted run leaves none elsewhere.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/corpus" "${WORK_DIR}/tmp")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "TMPDIR=${WORK_DIR}/tmp"
            "${FUZZER}" -seed=1 -max_total_time=${SECONDS} -max_len=${MAX_LEN} -rss_limit_mb=2048 -timeout=30
            -print_final_stats=1 "-artifact_prefix=${WORK_DIR}/" "${WORK_DIR}/corpus" "${SEEDS}"
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${rc}); its input and what it found are in ${WORK_DIR}")
endif()
