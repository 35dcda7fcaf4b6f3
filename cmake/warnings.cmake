# Warnings on both compilers; errors where the presets ask for them (a plain configure of another machine's
# compiler still builds).
option(TW_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra)
if(TW_WARNINGS_AS_ERRORS)
    add_compile_options(-Werror)
endif()
if(WIN32)
    # Wide Win32 API everywhere; no min/max macros.
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
endif()
