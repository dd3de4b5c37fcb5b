# The Windows game's own parts: the icon in the exe, the console joined at start, and a
# flat folder beside the exe holding what it needs to run from the build tree.
find_program(KORVANE_CONVERT convert REQUIRED) # ImageMagick: the icon from data/icon
file(GLOB icon_pngs ${PROJECT_SOURCE_DIR}/data/icon/korvane-*.png)
set(ico ${PROJECT_BINARY_DIR}/korvane.ico)
# Windows also wants 16 x 16 (title bar, small lists): the 32 px icon halved.
add_custom_command(OUTPUT ${ico} COMMAND ${KORVANE_CONVERT} ${icon_pngs}
    "(" ${PROJECT_SOURCE_DIR}/data/icon/korvane-32.png -resize 16x16 ")" ${ico}
    DEPENDS ${icon_pngs} COMMENT "The Windows icon from the drawn icons" VERBATIM)
file(WRITE ${PROJECT_BINARY_DIR}/korvane.rc "1 ICON \"${ico}\"\n")
add_custom_target(korvane_icon DEPENDS ${ico})
add_dependencies(korvane korvane_icon)
target_sources(korvane PRIVATE ${PROJECT_SOURCE_DIR}/src/app/WindowsConsole.cpp
    ${PROJECT_BINARY_DIR}/korvane.rc)
