# Writes OUT, the header that tells tarnwick-cli --version which source revision it was built from: the
# description git gives of the work tree SOURCE (with "-dirty" for changes not committed), or "unknown" outside a
# git work tree. The file is written only when its text changes, so a build without new commits rebuilds nothing.
set(revision "unknown")
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND "${GIT_EXECUTABLE}" describe --always --dirty --tags
        WORKING_DIRECTORY "${SOURCE}" RESULT_VARIABLE result OUTPUT_VARIABLE described ERROR_QUIET
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(result EQUAL 0 AND NOT described STREQUAL "")
        set(revision "${described}")
    endif()
endif()
set(text "// Written by revision.cmake at build time.\n#pragma once\n#define TW_VERSION L\"${VERSION}\"\n#define TW_REVISION L\"${revision}\"\n")
set(old "")
if(EXISTS "${OUT}")
    file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
    file(WRITE "${OUT}" "${text}")
endif()
