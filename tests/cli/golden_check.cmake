# Runs the program with ARGS (after the preparation command BEFORE, both under the emulator), checks its exit
# status, and compares stdout and stderr whole with the golden files GOLDEN.stdout and GOLDEN.stderr.
# Before the comparison, what differs from run to run and between the builds is written one way:
#   - line breaks as "\n" (the Windows build writes "\r\n");
#   - a path through the folder DRIVE starts at DRIVE, with '/' between its components;
#   - a creation date "DD.MM.YYYY/hh:mm:ss" reads as those letters (the file system keeps the time a file
#     was made, which no test can choose), so the golden file shows which rows have a date and which none.
# With the environment variable TW_UPDATE_GOLDEN=1 the golden files are written instead.
if(DRIVE)
    file(REMOVE_RECURSE "${DRIVE}")
endif()
if(BEFORE)
    execute_process(COMMAND ${EMULATOR} ${BEFORE} RESULT_VARIABLE prep OUTPUT_QUIET)
    if(NOT prep EQUAL 0)
        message(FATAL_ERROR "preparation failed (${prep}): ${BEFORE}")
    endif()
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS} RESULT_VARIABLE result OUTPUT_VARIABLE stdout
    ERROR_VARIABLE stderr)
if(NOT "${result}" STREQUAL "${EXIT}")
    message(FATAL_ERROR "exit status ${result}, expected ${EXIT}\nstdout:\n${stdout}\nstderr:\n${stderr}")
endif()

set(failed "")
foreach(stream stdout stderr)
    set(text "${${stream}}")
    if(EMULATOR)
        string(REPLACE "\r\n" "\n" text "${text}")
    endif()
    if(DRIVE)
        string(REGEX REPLACE "[^\t\n]*[/\\]${DRIVE}([/\\\t\n])" "${DRIVE}\\1" text "${text}")
        if(EMULATOR)
            string(REPLACE "\\" "/" text "${text}")
        endif()
    endif()
    string(REGEX REPLACE "[0-9][0-9]\\.[0-9][0-9]\\.[0-9][0-9][0-9][0-9]/[0-9][0-9]:[0-9][0-9]:[0-9][0-9]"
        "DD.MM.YYYY/hh:mm:ss" text "${text}")

    set(golden "${GOLDEN}.${stream}")
    if("$ENV{TW_UPDATE_GOLDEN}" STREQUAL "1")
        file(WRITE "${golden}" "${text}")
        message(STATUS "wrote ${golden}")
        continue()
    endif()
    if(NOT EXISTS "${golden}")
        string(APPEND failed "${stream}: no golden file ${golden} (tools/update-golden.sh writes it)\n")
        continue()
    endif()
    file(READ "${golden}" expected)
    if(NOT text STREQUAL expected)
        get_filename_component(name "${golden}" NAME)
        set(actual "${CMAKE_CURRENT_BINARY_DIR}/${name}.actual")
        file(WRITE "${actual}" "${text}")
        execute_process(COMMAND diff -u "${golden}" "${actual}")
        string(APPEND failed "${stream} differs from ${golden} (the output is in ${actual})\n")
    endif()
endforeach()
if(failed)
    string(STRIP "${failed}" failed)
    message(FATAL_ERROR "${failed}")
endif()
