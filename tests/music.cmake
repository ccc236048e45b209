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
