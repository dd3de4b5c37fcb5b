# The browser build (make web): emcmake's toolchain, emscripten's own SDL 1.2, SDL_image,
# SDL_mixer and OpenGL (all JavaScript inside emscripten), under the names the game's targets
# link on Linux. tools/web/sdl_fixes.js replaces the parts of that SDL the game cannot use
# as they are (see the file); the game's sources are the same as on Linux.
set(KORVANE_WEB_FIXES ${PROJECT_SOURCE_DIR}/tools/web/sdl_fixes.js)
set(KORVANE_WEB_SDL_INCLUDE ${EMSCRIPTEN_SYSROOT}/include/SDL)
foreach(lib SDL SDL_IMAGE SDL_MIXER GL GLU)
    add_library(PkgConfig::${lib} INTERFACE IMPORTED)
endforeach()
set_target_properties(PkgConfig::SDL PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${KORVANE_WEB_SDL_INCLUDE}
    # The game's loops stay as they are: the swap at the end of every frame hands control
    # back to the browser until its next animation frame (ASYNCIFY unwinds and rewinds the
    # stack around it; emscripten adds its own sleeps, SDL_Delay among them).
    INTERFACE_LINK_OPTIONS "SHELL:--js-library ${KORVANE_WEB_FIXES};-sASYNCIFY;SHELL:-sASYNCIFY_IMPORTS=['SDL_GL_SwapBuffers'];-sALLOW_MEMORY_GROWTH=1;-sLEGACY_GL_EMULATION=1")
set_property(TARGET PkgConfig::SDL APPEND PROPERTY INTERFACE_LINK_DEPENDS ${KORVANE_WEB_FIXES})

# Programs that run under node (the unit tests) see no browser: the test's own SDL stays
# emscripten's, only the game needs the page.
set(CMAKE_EXECUTABLE_SUFFIX .js)

# GoogleTest is not in emscripten's sysroot: Debian's googletest sources, built here into
# the targets find_package would give. Threads are off: the tests run single-threaded
# under node, where wasm threads need flags the page does not use.
macro(korvane_web_gtest)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(GTest_FOUND TRUE)
endmacro()
# The unit programs run under node, reading the repository's own files.
set(KORVANE_TEST_LINK_OPTIONS -sNODERAWFS=1 -sEXIT_RUNTIME=1)
# The tests are listed when CTest runs them, not after every link: a program that cannot
# start under node then fails as a test instead of deleting itself from the build.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
# They run under node (the Makefile names /usr/bin/node). Node 18 and later have fetch(),
# which this emscripten's loader then tries on the .wasm file's path, and fails: off.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CROSSCOMPILING_EMULATOR} --no-experimental-fetch)
# Under node there is no document: emscripten's SDL_Init, its mixer and the browser's
# picture decoder need one, so the tests that start SDL, play sound or load a picture run
# in the page's scenario instead (tests/e2e/web_test.py). The rest run here.
set(KORVANE_GTEST_DISCOVERY TEST_FILTER
    "-Gameplay.*:Audio.*:EventQueue.*:Data.*:Level.AClearedCreatureSinksAndCrumblesAway:Particle.BurstsAndRingsHaveTheirSizes*")
