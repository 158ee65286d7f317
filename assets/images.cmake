# Compiles the built-in PNG images into vusk_core: at build time each file's
# bytes become a constant array named after the file (lock.png -> lock_png,
# with lock_png_size), declared in client/builtin_image_data.h.
set(VUSK_IMAGE_NAMES
  varn_ossic_text_transparent_white lock unwield sleep burn2 shock2 sicken2)

set(VUSK_IMAGE_FILES "")
foreach(name IN LISTS VUSK_IMAGE_NAMES)
  list(APPEND VUSK_IMAGE_FILES ${CMAKE_CURRENT_LIST_DIR}/${name}.png)
endforeach()

set(VUSK_IMAGE_SOURCE ${CMAKE_BINARY_DIR}/generated/builtin_image_data.cpp)
add_custom_command(
  OUTPUT ${VUSK_IMAGE_SOURCE}
  COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${VUSK_IMAGE_SOURCE}" "-DINPUTS=${VUSK_IMAGE_FILES}"
          -P ${CMAKE_CURRENT_LIST_DIR}/embed_png.cmake
  DEPENDS ${VUSK_IMAGE_FILES} ${CMAKE_CURRENT_LIST_DIR}/embed_png.cmake
  COMMENT "Embedding the built-in images"
  VERBATIM)
target_sources(vusk_core PRIVATE ${VUSK_IMAGE_SOURCE})
