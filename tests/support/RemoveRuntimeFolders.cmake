# Removes the runtime folders the test programs were given (DIR/vxrt-NAME),
# once every test that uses one has run: cmake -DDIR=BUILD -P this file.
file(GLOB folders LIST_DIRECTORIES true "${DIR}/vxrt-*")
if(folders)
  file(REMOVE_RECURSE ${folders})
endif()
