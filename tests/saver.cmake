# The screen-saver tests start the saver itself.
if(TARGET test_saver)
  add_dependencies(test_saver frosten-saver)
endif()
# The saver under the real screen-saver daemon, activated twice: a sanitizer
# build on a busy machine needs more than the usual five minutes.
if(TEST e2e_saver_daemon)
  set_tests_properties(e2e_saver_daemon PROPERTIES TIMEOUT 600)
endif()
