# The report command: its sources, and the page's script, style and skeleton embedded as C++ raw strings.
set(TW_REPORT_ASSETS
    ${CMAKE_CURRENT_SOURCE_DIR}/report/page.html
    ${CMAKE_CURRENT_SOURCE_DIR}/report/page.css
    ${CMAKE_CURRENT_SOURCE_DIR}/report/page.js)
set(TW_REPORT_ASSETS_HEADER ${CMAKE_CURRENT_BINARY_DIR}/report_assets.h)
add_custom_command(
    OUTPUT ${TW_REPORT_ASSETS_HEADER}
    COMMAND ${CMAKE_COMMAND} -DOUT=${TW_REPORT_ASSETS_HEADER} -DDIR=${CMAKE_CURRENT_SOURCE_DIR}/report
            -P ${CMAKE_CURRENT_SOURCE_DIR}/report/embed.cmake
    DEPENDS ${TW_REPORT_ASSETS} ${CMAKE_CURRENT_SOURCE_DIR}/report/embed.cmake
    COMMENT "Embedding the report page")
target_sources(tw_cli PRIVATE report_command.cpp report_page.cpp ${TW_REPORT_ASSETS_HEADER})
target_include_directories(tw_cli PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_compile_definitions(tw_cli PRIVATE TW_VERSION_TEXT="${PROJECT_VERSION}")
