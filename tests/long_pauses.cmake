# The preloaded clock jump of e2e_long_pauses.
add_library(clock_jump_shim MODULE ${CMAKE_CURRENT_SOURCE_DIR}/clock_jump_shim.c)
target_link_libraries(clock_jump_shim PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(clock_jump_shim PROPERTIES PREFIX "")
if(TARGET test_show_clock)
  target_link_libraries(test_show_clock PRIVATE frosten_offscreen)
endif()
