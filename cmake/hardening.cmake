# Debian's hardening flags, as dpkg-buildflags gives them with every
# hardening feature on (fortified functions, stack protector, read-only
# relocations bound at start-up, position-independent code), for the
# builds that make the package. A build that asks for sanitizers or fuzzing
# keeps its own flags.
set(hardening_default OFF)
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT FROSTEN_SANITIZE AND NOT FROSTEN_FUZZ)
  set(hardening_default ON)
endif()
option(FROSTEN_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ${hardening_default})

function(frosten_build_flag name out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    dpkg-buildflags --get ${name}
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "FROSTEN_HARDENING needs dpkg-buildflags (package dpkg-dev)")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

if(FROSTEN_HARDENING)
  frosten_build_flag(CPPFLAGS cppflags)
  frosten_build_flag(CFLAGS cflags)
  frosten_build_flag(CXXFLAGS cxxflags)
  frosten_build_flag(LDFLAGS ldflags)
  string(APPEND CMAKE_C_FLAGS " ${cppflags} ${cflags}")
  string(APPEND CMAKE_CXX_FLAGS " ${cppflags} ${cxxflags}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " ${ldflags}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${ldflags}")
endif()
