# The report page: its writer and the data it shows in tw_ui, where tarnwick-cli and the Windows program both reach
# them, and the page's script, style and skeleton embedded as C++ raw strings.
set(TW_REPORT_ASSETS
    ${CMAKE_CURRENT_LIST_DIR}/page.html
    ${CMAKE_CURRENT_LIST_DIR}/page.css
    ${CMAKE_CURRENT_LIST_DIR}/page.js)
set(TW_REPORT_ASSETS_HEADER ${CMAKE_CURRENT_BINARY_DIR}/generated/ui/report_assets.h)
add_custom_command(
    OUTPUT ${TW_REPORT_ASSETS_HEADER}
    COMMAND ${CMAKE_COMMAND} -DOUT=${TW_REPORT_ASSETS_HEADER} -DDIR=${CMAKE_CURRENT_LIST_DIR}
            -P ${CMAKE_CURRENT_LIST_DIR}/embed.cmake
    DEPENDS ${TW_REPORT_ASSETS} ${CMAKE_CURRENT_LIST_DIR}/embed.cmake
    COMMENT "Embedding the report page")
target_sources(tw_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../report_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../report_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../report_file.cpp
    ${TW_REPORT_ASSETS_HEADER})
target_include_directories(tw_ui PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated/ui)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/../report_input.cpp PROPERTIES
    COMPILE_DEFINITIONS TW_VERSION_TEXT="${PROJECT_VERSION}")
