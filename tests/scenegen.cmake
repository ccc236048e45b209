# The scene's tests rebuild it with the generator's own code.
if(TARGET test_xmas_scene)
  target_link_libraries(test_xmas_scene PRIVATE scenegen_lib)
endif()
