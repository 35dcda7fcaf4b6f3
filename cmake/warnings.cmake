# Warnings are errors on both compilers.
add_compile_options(-Wall -Wextra -Werror)
if(WIN32)
    # Wide Win32 API everywhere; no min/max macros.
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
endif()
