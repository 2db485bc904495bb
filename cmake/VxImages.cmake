# Pictures of resource modules, drawn at build time by tools/imagegen.
# vx_generate_images(OUTPUT file.cpp FUNCTION name IMAGES type:id:file.pic ...)
# makes a source file defining `void name(vxw::ResourceModule&)`, which adds
# each picture (PNG bytes) under its resource type (a number or a name) and id.
function(vx_generate_images)
  cmake_parse_arguments(G "" "OUTPUT;FUNCTION" "IMAGES" ${ARGN})
  set(deps)
  foreach(img ${G_IMAGES})
    string(REGEX REPLACE "^[^:]*:[^:]*:" "" file "${img}")
    list(APPEND deps "${file}")
  endforeach()
  add_custom_command(OUTPUT ${G_OUTPUT}
    COMMAND vximagegen --cpp ${G_OUTPUT} --function ${G_FUNCTION} ${G_IMAGES}
    DEPENDS vximagegen ${deps}
    COMMENT "Drawing pictures for ${G_FUNCTION}"
    VERBATIM)
endfunction()
