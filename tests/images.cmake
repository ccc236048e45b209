# The image-file test runs the image generator and the encoder.
if(TARGET test_images)
  add_dependencies(test_images frosten-imagegen frosten-hwl)
endif()
