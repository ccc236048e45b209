# The image-file test runs the image generator and the encoder.
if(TARGET test_images)
  add_dependencies(test_images frosten-imagegen frosten-hwl)
endif()

# The generator's drawing and picture procedures, tested without its main.
if(TARGET test_imagegen)
  pkg_check_modules(IMAGEGEN_CAIRO REQUIRED IMPORTED_TARGET cairo freetype2)
  file(GLOB imagegen_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/imagegen/*.cpp)
  list(REMOVE_ITEM imagegen_test_sources ${CMAKE_SOURCE_DIR}/tools/imagegen/main.cpp)
  target_sources(test_imagegen PRIVATE ${imagegen_test_sources})
  target_link_libraries(test_imagegen PRIVATE PkgConfig::IMAGEGEN_CAIRO)
endif()
