# The screen-saver tests start the saver itself.
if(TARGET test_saver)
  add_dependencies(test_saver frosten-saver)
endif()
