# The Windows build's libraries, under the names the game's targets link on Linux, from the
# prefix that tools/windows/build-deps.sh cross-builds (SDL and SDL_mixer as DLLs, the
# decoders static). There is no SDL_image: the game's own loader stands in for it.
# pkg-config reads the prefix's .pc files only, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} ${KORVANE_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
pkg_check_modules(SDL_MIXER REQUIRED IMPORTED_TARGET SDL_mixer)
include(${PROJECT_SOURCE_DIR}/src/canvas/PictureLoader.cmake)
# canvas/win/SDL_image.h: SDL_image's calls on the loader, for the game's sources.
target_include_directories(korvane_picture_loader PUBLIC ${PROJECT_SOURCE_DIR}/src/canvas/win)
add_library(PkgConfig::SDL_IMAGE ALIAS korvane_picture_loader)

add_library(PkgConfig::GL INTERFACE IMPORTED)
set_target_properties(PkgConfig::GL PROPERTIES INTERFACE_LINK_LIBRARIES opengl32)
add_library(PkgConfig::GLU INTERFACE IMPORTED)
set_target_properties(PkgConfig::GLU PROPERTIES INTERFACE_LINK_LIBRARIES glu32)

# <GL/gl.h> includes <windows.h> there: without its multimedia part (whose PlaySound macro
# would rename the game's own) and without its min and max macros.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# No libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll to ship: linked in.
add_link_options(-static-libgcc -static-libstdc++
    -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic)
