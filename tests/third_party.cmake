# The third-party readers that check our 3DS files: assimp and lib3ds, both
# from Debian (libassimp-dev, lib3ds-dev).
if(TARGET test_third_party_3ds)
  pkg_check_modules(ASSIMP REQUIRED IMPORTED_TARGET assimp)
  find_path(LIB3DS_INCLUDE_DIR lib3ds/file.h REQUIRED)
  find_library(LIB3DS_LIBRARY 3ds REQUIRED)
  target_include_directories(test_third_party_3ds PRIVATE ${LIB3DS_INCLUDE_DIR})
  target_link_libraries(test_third_party_3ds PRIVATE PkgConfig::ASSIMP ${LIB3DS_LIBRARY})
endif()
