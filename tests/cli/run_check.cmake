# Runs an optional preparation command, then the program with ARGS, and checks its exit status and
# that stdout and stderr match the given regular expressions.
if(BEFORE)
    execute_process(COMMAND ${EMULATOR} ${BEFORE} RESULT_VARIABLE prep)
    if(NOT prep EQUAL 0)
        message(FATAL_ERROR "preparation failed (${prep}): ${BEFORE}")
    endif()
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT "${result}" STREQUAL "${EXIT}")
    message(FATAL_ERROR "exit status ${result}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(STDOUT AND NOT out MATCHES "${STDOUT}")
    message(FATAL_ERROR "stdout does not match '${STDOUT}':\n${out}")
endif()
if(STDERR AND NOT err MATCHES "${STDERR}")
    message(FATAL_ERROR "stderr does not match '${STDERR}':\n${err}")
endif()
