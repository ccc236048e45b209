# Installing the show like a program of the system, and its Debian package.
#   bin/frosten                 a wrapper that starts the show in its data folder
#   bin/frosten-*               the command-line tools
#   libexec/xscreensaver        frosten-saver (linked from bin/), and its
#   share/xscreensaver/config   settings description
#   lib/frosten/frosten         the show itself
#   share/frosten/data, mod     the show's data
#   share/applications, share/icons, share/man
# The package: cpack -G DEB in the build folder (configure with
# -DCMAKE_INSTALL_PREFIX=/usr for a system package).
include(GNUInstallDirs)

set(FROSTEN_PROGRAM_DIR lib/frosten)
set(FROSTEN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/frosten)
set(FROSTEN_FULL_DATA_DIR ${CMAKE_INSTALL_PREFIX}/${FROSTEN_DATA_DIR})
file(RELATIVE_PATH FROSTEN_BIN_TO_DATA ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${FROSTEN_DATA_DIR})
file(RELATIVE_PATH FROSTEN_BIN_TO_PROGRAM ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${FROSTEN_PROGRAM_DIR})
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)

# The show and its wrapper.
install(TARGETS frosten RUNTIME DESTINATION ${FROSTEN_PROGRAM_DIR})
configure_file(${packaging}/frosten.in ${staged}/frosten @ONLY)
install(PROGRAMS ${staged}/frosten DESTINATION ${CMAKE_INSTALL_BINDIR})
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
# programs and their settings descriptions, with a link in bin/ for running
# it by hand. It finds share/frosten relative to itself.
set(FROSTEN_SAVER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(TARGETS frosten-saver RUNTIME DESTINATION ${FROSTEN_SAVER_DIR})
install(FILES ${packaging}/xscreensaver/frosten-saver.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
file(RELATIVE_PATH bin_to_saver ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${FROSTEN_SAVER_DIR}/frosten-saver)
file(CREATE_LINK ${bin_to_saver} ${staged}/frosten-saver SYMBOLIC)
install(FILES ${staged}/frosten-saver DESTINATION ${CMAKE_INSTALL_BINDIR})
list(APPEND FROSTEN_INSTALLED frosten-saver)
list(APPEND man_pages ${packaging}/man/frosten-saver.6)

# Man pages, compressed as Debian keeps them.
set(compressed_pages)
foreach(page ${man_pages})
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${name})
  add_custom_command(OUTPUT ${staged}/${name}.gz
    COMMAND gzip -9 -n -c ${page} > ${staged}/${name}.gz
    DEPENDS ${page} VERBATIM)
  install(FILES ${staged}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  list(APPEND compressed_pages ${staged}/${name}.gz)
endforeach()

# The desktop entry and its icon, drawn by the image tool.
configure_file(${packaging}/frosten.desktop.in ${staged}/frosten.desktop @ONLY)
install(FILES ${staged}/frosten.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# (In a sanitizer build the leak checker would fail the step over what the
# drawing library keeps until exit.)
add_custom_command(OUTPUT ${staged}/frosten.png
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
    $<TARGET_FILE:frosten-imagegen> icon ${staged}/frosten.png
  DEPENDS frosten-imagegen VERBATIM)
install(FILES ${staged}/frosten.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

add_custom_target(frosten_packaging ALL DEPENDS ${staged}/frosten.png ${compressed_pages})
# Everything the installation needs, for building it alone.
add_custom_target(frosten_installable DEPENDS ${FROSTEN_INSTALLED} frosten_packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME frosten)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR "Frosten")
set(CPACK_PACKAGE_CONTACT "Frosten developers <frosten@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D Christmas show")
set(CPACK_PACKAGE_DESCRIPTION "A snowy landscape, a textured tree, reflective ornaments, coloured lights
throwing fountains of snow, a camera flight, a wavy banner and a scrolling
greeting, set to tracker music. Includes the command-line tools that make
and inspect the show's data.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The text of the image tool's pictures.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
# frosten-capture --video encodes through the ffmpeg program.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS ffmpeg)
include(CPack)
