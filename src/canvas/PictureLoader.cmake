# The game's own PNG and JPEG loader as a library of its own: the Windows build's in
# SDL_image's place (tools/windows/Windows.cmake), and on Linux beside SDL_image for its
# tests only. find_package finds the libpng and libjpeg of the platform being built for.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
add_library(korvane_picture_loader STATIC ${PROJECT_SOURCE_DIR}/src/canvas/PictureLoader.cpp)
target_include_directories(korvane_picture_loader PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(korvane_picture_loader PUBLIC PkgConfig::SDL PRIVATE PNG::PNG JPEG::JPEG)
