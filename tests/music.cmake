# The music module's tests rebuild it with the generator's own code.
target_link_libraries(test_music_module PRIVATE modgen_lib PkgConfig::OPENMPT)

# The tracing layer (tests/midas_trace.cpp) sits between the show's code and
# the sound library, the message box, the screen-saver switch and the buffer
# swap by the linker's --wrap. C++ names are given as their symbols.
set(MUSIC_TRACED_SYMBOLS
  MIDASstartup MIDASsetOption MIDASinit MIDASstartBackgroundPlay MIDASloadModule
  MIDASplayModule MIDASstopModule MIDASfreeModule MIDASstopBackgroundPlay MIDASclose
  MIDASgetLastError MIDASgetErrorMessage glutSwapBuffers
  _Z11MessageBoxAPvPKcS1_j _Z21SystemParametersInfoAjjPvj)
foreach(target test_music music_traced)
  if(TARGET ${target})
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/midas_trace.cpp)
    foreach(symbol ${MUSIC_TRACED_SYMBOLS})
      target_link_options(${target} PRIVATE "LINKER:--wrap=${symbol}")
    endforeach()
  endif()
endforeach()

# The sound library alone under ThreadSanitizer (not in the sanitizer build:
# ASan and TSan do not mix).
if(NOT FROSTEN_SANITIZE AND NOT FROSTEN_FUZZ)
  add_executable(midas_tsan ${CMAKE_CURRENT_SOURCE_DIR}/midas_tsan.cpp ${CMAKE_SOURCE_DIR}/platform/midas.cpp
    ${CMAKE_SOURCE_DIR}/tools/common/mod_file.cpp ${CMAKE_SOURCE_DIR}/core/slash_path.cpp
    ${CMAKE_SOURCE_DIR}/core/exit_list.cpp)
  target_include_directories(midas_tsan PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(midas_tsan PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(midas_tsan PRIVATE -fsanitize=thread)
  target_link_libraries(midas_tsan PRIVATE PkgConfig::SDL2 PkgConfig::OPENMPT)
  add_test(NAME midas_tsan COMMAND midas_tsan)
  set_tests_properties(midas_tsan PROPERTIES TIMEOUT 120
    ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")
endif()
