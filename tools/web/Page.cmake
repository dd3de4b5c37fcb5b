# The web folder (make web): korvane.js, korvane.wasm and korvane.data beside index.html in
# KORVANE_WEB_SITE (the Makefile's build-web/, the CMake tree in a folder below it), which
# any static web host serves as it is.
set(KORVANE_WEB_SITE ${PROJECT_BINARY_DIR} CACHE PATH "Folder the page and the game go to")
set_target_properties(korvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KORVANE_WEB_SITE})
set(KORVANE_WEB_DATA)
foreach(dir gfx sfx)
    file(GLOB files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/${dir}/*)
    list(APPEND KORVANE_WEB_DATA ${files})
endforeach()
# The browser decodes the pictures (and the ogg) while the data loads; the game reads its
# files from the same relative paths as on Linux. The runtime ends with main, so the page
# learns of it (Module.onExit) instead of keeping a frozen last frame.
target_link_options(korvane PRIVATE
    "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/data/gfx@data/gfx"
    "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/data/sfx@data/sfx"
    --use-preload-plugins -sEXIT_RUNTIME=1 -sENVIRONMENT=web)
set_property(TARGET korvane APPEND PROPERTY LINK_DEPENDS ${KORVANE_WEB_DATA})

add_custom_command(OUTPUT ${KORVANE_WEB_SITE}/index.html
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tools/web/index.html
        ${KORVANE_WEB_SITE}/index.html
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/web/index.html)
add_custom_target(web_page ALL DEPENDS ${KORVANE_WEB_SITE}/index.html)
