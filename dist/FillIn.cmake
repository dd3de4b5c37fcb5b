# Run by `cmake --install` (see CMakeLists.txt, which sets the KORVANE_* variables first):
# writes the launcher, the menu entry and the man page with the paths of this install.
# CMAKE_INSTALL_PREFIX is the prefix of this run; DESTDIR stays out of the paths, as
# packaging wants: they name where the files end up, not where they are staged.
set(paths)
foreach(dir ${KORVANE_LAYOUT})
    if(NOT IS_ABSOLUTE "${dir}")
        set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
    endif()
    list(APPEND paths "${dir}")
endforeach()
list(GET paths 0 command_dir)
list(GET paths 1 game_dir)
list(GET paths 2 KORVANE_DATA_ROOT)
set(KORVANE_COMMAND "${command_dir}/korvane")
set(KORVANE_GAME "${game_dir}/korvane")
# The launcher holds both paths in single quotes; a quote inside one becomes '\''.
string(REPLACE "'" "'\\''" KORVANE_GAME_SH "${KORVANE_GAME}")
string(REPLACE "'" "'\\''" KORVANE_DATA_ROOT_SH "${KORVANE_DATA_ROOT}")
# The menu entry's Exec= quotes a path with characters beyond these, and escapes " ` $ \
# inside the quotes, each escape doubled by the file's own string escaping; % is %%.
set(KORVANE_EXEC "${KORVANE_COMMAND}")
if(KORVANE_EXEC MATCHES "[^A-Za-z0-9/._+-]")
    string(REPLACE "\\" "\\\\\\\\" KORVANE_EXEC "${KORVANE_EXEC}")
    string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" KORVANE_EXEC "${KORVANE_EXEC}")
    string(REPLACE "%" "%%" KORVANE_EXEC "${KORVANE_EXEC}")
    set(KORVANE_EXEC "\"${KORVANE_EXEC}\"")
endif()
foreach(file korvane korvane.desktop korvane.6)
    configure_file("${KORVANE_DIST_SOURCE}/${file}.in" "${KORVANE_DIST_BINARY}/${file}" @ONLY)
endforeach()
