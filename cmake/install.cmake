# Installing the show like a program of the system, and its Debian package.
#   games/frosten               a wrapper that starts the show in its data folder
#   games/frosten-saver         a link to the screen saver
#   bin/frosten-*               the command-line tools
#   libexec/frosten/frosten     the show itself
#   libexec/xscreensaver        frosten-saver, and its settings description
#   share/xscreensaver/config   and desktop entry for screen-saver lists
#   share/applications/screensavers
#   share/frosten/data, mod     the show's data
#   share/applications, share/icons, share/metainfo, share/man
#   share/doc/frosten           copyright and changelog
# The package: cpack -G DEB in the build folder (configure with
# -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=Release for a system
# package, built with Debian's hardening flags: cmake/hardening.cmake).
include(GNUInstallDirs)

set(FROSTEN_GAMES_DIR games)
set(FROSTEN_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/frosten)
set(FROSTEN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/frosten)
set(FROSTEN_FULL_DATA_DIR ${CMAKE_INSTALL_PREFIX}/${FROSTEN_DATA_DIR})
set(FROSTEN_SHOW_PATH ${CMAKE_INSTALL_PREFIX}/${FROSTEN_GAMES_DIR}/frosten)
file(RELATIVE_PATH FROSTEN_BIN_TO_DATA ${CMAKE_INSTALL_PREFIX}/${FROSTEN_GAMES_DIR}
     ${CMAKE_INSTALL_PREFIX}/${FROSTEN_DATA_DIR})
file(RELATIVE_PATH FROSTEN_BIN_TO_PROGRAM ${CMAKE_INSTALL_PREFIX}/${FROSTEN_GAMES_DIR}
     ${CMAKE_INSTALL_PREFIX}/${FROSTEN_PROGRAM_DIR})
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/frosten)
set(appstream_id invalid.frosten.frosten)

# The show and its wrapper.
install(TARGETS frosten RUNTIME DESTINATION ${FROSTEN_PROGRAM_DIR})
configure_file(${packaging}/frosten.in ${staged}/frosten @ONLY)
install(PROGRAMS ${staged}/frosten DESTINATION ${FROSTEN_GAMES_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/mod DESTINATION ${FROSTEN_DATA_DIR}
        PATTERN README.md EXCLUDE)

# The tools: every frosten-* program that a tools/<name>/CMakeLists.txt makes,
# each with its man page packaging/man/<program>.1.
set(FROSTEN_INSTALLED frosten)
set(man_pages ${packaging}/man/frosten.6)
file(GLOB tool_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(tool_dir ${tool_dirs})
  if(NOT EXISTS ${tool_dir}/CMakeLists.txt)
    continue()
  endif()
  get_property(tool_targets DIRECTORY ${tool_dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${tool_targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE" AND target MATCHES "^frosten-" AND NOT target STREQUAL "frosten-saver")
      install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
      list(APPEND FROSTEN_INSTALLED ${target})
      if(EXISTS ${packaging}/man/${target}.1)
        list(APPEND man_pages ${packaging}/man/${target}.1)
      else()
        message(AUTHOR_WARNING "${target} has no man page packaging/man/${target}.1")
      endif()
    endif()
  endforeach()
endforeach()

# The screen saver: where Debian's screen-saver collection keeps its
# programs, their settings descriptions and their desktop entries (read by
# desktops that list savers that way), with a link in games/ for running it
# by hand. It finds share/frosten relative to itself.
set(FROSTEN_SAVER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
set(FROSTEN_SAVER_PATH ${CMAKE_INSTALL_PREFIX}/${FROSTEN_SAVER_DIR}/frosten-saver)
install(TARGETS frosten-saver RUNTIME DESTINATION ${FROSTEN_SAVER_DIR})
install(FILES ${packaging}/xscreensaver/frosten-saver.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
configure_file(${packaging}/frosten-saver.desktop.in ${staged}/frosten-saver.desktop @ONLY)
install(FILES ${staged}/frosten-saver.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
file(RELATIVE_PATH games_to_saver ${CMAKE_INSTALL_PREFIX}/${FROSTEN_GAMES_DIR} ${FROSTEN_SAVER_PATH})
file(CREATE_LINK ${games_to_saver} ${staged}/frosten-saver SYMBOLIC)
install(FILES ${staged}/frosten-saver DESTINATION ${FROSTEN_GAMES_DIR})
list(APPEND FROSTEN_INSTALLED frosten-saver)
list(APPEND man_pages ${packaging}/man/frosten-saver.6)

# Man pages and the changelog, compressed as Debian keeps them.
set(compressed)
function(frosten_compress source name destination)
  add_custom_command(OUTPUT ${staged}/${name}.gz
    COMMAND gzip -9 -n -c ${source} > ${staged}/${name}.gz
    DEPENDS ${source} VERBATIM)
  install(FILES ${staged}/${name}.gz DESTINATION ${destination})
  set(compressed ${compressed} ${staged}/${name}.gz PARENT_SCOPE)
endfunction()
foreach(page ${man_pages})
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${name})
  frosten_compress(${page} ${name} ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
frosten_compress(${packaging}/changelog changelog ${doc_dir})
install(FILES ${packaging}/copyright DESTINATION ${doc_dir})
# What lintian says that does not hold here, each with its reason.
install(FILES ${packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME frosten)

# The desktop entry, its software-centre description and its icons, drawn by
# the image tool at every size desktops look for.
configure_file(${packaging}/frosten.desktop.in ${staged}/frosten.desktop @ONLY)
install(FILES ${staged}/frosten.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/frosten.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${appstream_id}.metainfo.xml)
set(icons)
foreach(side 16 32 48 64 128 256)
  # (In a sanitizer build the leak checker would fail the step over what
  # the drawing library keeps until exit.)
  add_custom_command(OUTPUT ${staged}/icons/${side}/frosten.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/icons/${side}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
      $<TARGET_FILE:frosten-imagegen> icon ${staged}/icons/${side}/frosten.png --size ${side}
    DEPENDS frosten-imagegen VERBATIM)
  install(FILES ${staged}/icons/${side}/frosten.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
  list(APPEND icons ${staged}/icons/${side}/frosten.png)
endforeach()

# The same icon drawn to any size.
install(FILES ${packaging}/frosten.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

add_custom_target(frosten_packaging ALL DEPENDS ${icons} ${compressed})
# Everything the installation needs, for building it alone.
add_custom_target(frosten_installable DEPENDS ${FROSTEN_INSTALLED} frosten_packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME frosten)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Frosten authors")
# The project's developers by their role address; the changelog names the
# same.
set(CPACK_PACKAGE_CONTACT "Frosten developers <developers@frosten.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D Christmas show and screen saver")
set(CPACK_PACKAGE_DESCRIPTION "A snowy landscape, a textured tree, reflective ornaments, coloured lights
throwing fountains of snow, a camera flight, a wavy banner and a scrolling
greeting, set to tracker music.
.
The same scene runs as a screen saver, frosten-saver, for the XScreenSaver
daemon. The package also holds the command-line tools that make and inspect
the show's data.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# Stripped by cmake/strip_package.cmake, .comment and .note included.
set(CPACK_STRIP_FILES OFF)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/strip_package.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The text of the image tool's pictures.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
# frosten-capture --video encodes through the ffmpeg program; the screen
# saver runs under the XScreenSaver daemon.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg, xscreensaver")
include(CPack)
