# The browser's GL layer built natively: the layer, the show's sources once
# more with their GL 1.1 calls renamed to the layer's (a forced include),
# and a capture program drawing through them, whose pictures the end-to-end
# test compares with the fixed-function ones; and the picture comparison
# the browser test uses too.
set(FROSTEN_GL_LAYER_SOURCES
  ${CMAKE_SOURCE_DIR}/platform/web/gl_layer_draw.cpp
  ${CMAKE_SOURCE_DIR}/platform/web/gl_layer_state.cpp
  ${CMAKE_SOURCE_DIR}/platform/web/gl_layer_texture.cpp
  ${CMAKE_SOURCE_DIR}/platform/web/stroke_font.cpp)
add_library(frosten_gl_layer STATIC ${FROSTEN_GL_LAYER_SOURCES})
target_include_directories(frosten_gl_layer PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(frosten_gl_layer PRIVATE GL_GLEXT_PROTOTYPES)
target_link_libraries(frosten_gl_layer PUBLIC OpenGL::GL)

set(layer_show_sources ${FROSTEN_SHOW_SOURCES} ${CMAKE_SOURCE_DIR}/offscreen/frame_capture.cpp)
list(REMOVE_ITEM layer_show_sources ${CMAKE_SOURCE_DIR}/platform/glproc.cpp)
add_library(frosten_show_layer STATIC ${layer_show_sources})
target_compile_options(frosten_show_layer PRIVATE -include ${CMAKE_SOURCE_DIR}/platform/web/gl_redirect.h)
target_include_directories(frosten_show_layer PUBLIC ${FLTK_INCLUDE_DIR})
target_link_libraries(frosten_show_layer PUBLIC frosten_base frosten_gl_layer
  GLUT::GLUT OpenGL::GL OpenGL::GLU ${FLTK_LIBRARIES} X11::X11 X11::Xrandr X11::Xss X11::Xext
  PkgConfig::SDL2 PkgConfig::OPENMPT ${CMAKE_DL_LIBS})
target_link_options(frosten_show_layer PUBLIC -rdynamic)

add_executable(layer_capture gl_layer/layer_capture.cpp)
target_link_libraries(layer_capture PRIVATE frosten_show_layer frosten_tooling)
add_executable(picture_diff gl_layer/picture_diff.cpp)
target_link_libraries(picture_diff PRIVATE frosten_tooling)

# The stroke font's test draws GLUT's font and the layer's side by side.
if(TARGET test_stroke_font)
  target_link_libraries(test_stroke_font PRIVATE frosten_gl_layer)
endif()
