# The music module's tests rebuild it with the generator's own code.
target_link_libraries(test_music_module PRIVATE modgen_lib)
