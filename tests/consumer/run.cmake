# Builds the consumer project against the installed package in PREFIX and runs it.
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${PREFIX}")

set(flags "")
if(SANITIZE)
    # A library built with the sanitizers needs their runtime in the executable too.
    set(flags "-fsanitize=address,undefined")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${CONSUMER_SOURCE_DIR}" -B "${WORK_DIR}/build" -G "${GENERATOR}"
                        -DCMAKE_CXX_COMPILER=${CXX_COMPILER} "-DCMAKE_CXX_FLAGS=${flags}"
                        -DCMAKE_PREFIX_PATH=${prefix}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring the consumer failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WORK_DIR}/build" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "building the consumer failed")
endif()

execute_process(COMMAND "${WORK_DIR}/build/consumer" OUTPUT_VARIABLE output RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT output STREQUAL "1.3.0\n")
    message(FATAL_ERROR "the consumer printed '${output}' and returned ${rc}, expected '1.3.0'")
endif()
message(STATUS "the consumer printed ${output}")
