# Installs the build into an empty prefix, as a packager would, and checks what a desktop finds
# there: a game that starts, a menu entry the desktop accepts that names the installed icon, and
# icons whose pictures are the size their folder promises.
#
#   cmake -DBUILD_DIR=build/release -DPREFIX=/tmp/prefix -DVERSION=1.0 -P tests/install_test.cmake

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed: ${failed}")
endif()

execute_process(COMMAND ${PREFIX}/bin/tagvind --version OUTPUT_VARIABLE said RESULT_VARIABLE failed)
if(failed OR NOT said STREQUAL "Tagvind ${VERSION}\n")
  message(FATAL_ERROR "bin/tagvind --version ended with '${failed}' and said '${said}'")
endif()

set(entry ${PREFIX}/share/applications/tagvind.desktop)
execute_process(COMMAND desktop-file-validate ${entry} OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints
                RESULT_VARIABLE failed)
if(failed OR NOT complaints STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate ${entry} (${failed}): ${complaints}")
endif()
file(STRINGS ${entry} iconLine REGEX "^Icon=")
string(REPLACE "Icon=" "" iconName "${iconLine}")

file(GLOB icons ${PREFIX}/share/icons/hicolor/*/apps/*)
if(NOT icons)
  message(FATAL_ERROR "no icon in ${PREFIX}/share/icons/hicolor")
endif()
foreach(icon IN LISTS icons)
  get_filename_component(name ${icon} NAME)
  if(NOT name STREQUAL "${iconName}.png")
    message(FATAL_ERROR "${icon} is not the icon the desktop entry names (${iconName})")
  endif()
  # The folder above apps/ is named after the size, 32x32 say.
  get_filename_component(apps ${icon} DIRECTORY)
  get_filename_component(sizeFolder ${apps} DIRECTORY)
  get_filename_component(size ${sizeFolder} NAME)
  # A PNG file opens with its 8-byte signature and the IHDR chunk, whose first 8 bytes after
  # length and type are the width and the height, most significant byte first.
  file(READ ${icon} head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 0 16 signature)
  string(SUBSTRING "${head}" 24 8 chunk)
  string(SUBSTRING "${head}" 32 8 width)
  string(SUBSTRING "${head}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452" OR NOT size STREQUAL "${width}x${height}")
    message(FATAL_ERROR "${icon} is not a ${size} PNG picture (${width}x${height}, header ${head})")
  endif()
endforeach()
