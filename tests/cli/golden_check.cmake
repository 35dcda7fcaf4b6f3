# Runs the program with ARGS (after the preparation command BEFORE, both under the emulator), checks its exit
# status, and compares stdout and stderr whole with the golden files GOLDEN.stdout and GOLDEN.stderr.
# Before the comparison, what differs from run to run and between the builds is written one way:
#   - line breaks as "\n" (CMake reads "\r\n" as "\n"; the Windows build must write "\r\n", one CR before
#     each line feed, which is checked on the raw bytes first);
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
get_filename_component(raw "${GOLDEN}" NAME)
set(raw "${CMAKE_CURRENT_BINARY_DIR}/${raw}")
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS} RESULT_VARIABLE result OUTPUT_FILE "${raw}.raw-stdout"
    ERROR_FILE "${raw}.raw-stderr")
file(READ "${raw}.raw-stdout" stdout)
file(READ "${raw}.raw-stderr" stderr)
if(NOT "${result}" STREQUAL "${EXIT}")
    message(FATAL_ERROR "exit status ${result}, expected ${EXIT}\nstdout:\n${stdout}\nstderr:\n${stderr}")
endif()

set(failed "")
foreach(stream stdout stderr)
    set(text "${${stream}}")
    if(EMULATOR)
        # The raw bytes, a pair of hexadecimal digits and a space each: no line feed without one CR before it.
        file(READ "${raw}.raw-${stream}" hex HEX)
        string(REGEX REPLACE "(..)" "\\1 " hex "${hex}")
        string(FIND "${hex}" "0d 0d 0a " doubled)
        string(REPLACE "0d 0a " "" hex "${hex}")
        string(REGEX MATCH "(^| )0a " lone "${hex}")
        if(lone OR NOT doubled EQUAL -1)
            string(APPEND failed "${stream}: a line feed without a single CR before it\n")
        endif()
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
