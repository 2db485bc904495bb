# Warnings for the system's own targets; errors too, so they never pile up.
function(vx_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wno-unused-parameter -Werror
    $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>
    # The MFC classes' Create members hide CWnd::Create by design.
    $<$<CXX_COMPILER_ID:Clang>:-Wno-overloaded-virtual>
    # The fuzz build is clang's: its own warnings are reported, not fatal,
    # so the normal build's compiler keeps the rule.
    $<$<BOOL:${VX_FUZZ}>:-Wno-error>)
endfunction()

# Adds every existing sub-folder of the current folder that has a CMakeLists.txt.
function(vx_add_subdirectories)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
