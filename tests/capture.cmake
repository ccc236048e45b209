# Programs that draw through the frame capture's path.
foreach(name test_frame_render test_camera test_mesh_draw)
  if(TARGET ${name})
    target_link_libraries(${name} PRIVATE frosten_capture)
  endif()
endforeach()
if(TARGET e2e_capture)
  set_property(TEST e2e_capture APPEND PROPERTY DEPENDS frosten-capture)
endif()
