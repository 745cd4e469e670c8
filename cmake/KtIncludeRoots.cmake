# kt_include_root(target FOLDER name DIRECTORY dir)
# Gives target an include root of its own in the build tree holding one
# symbolic link, name -> dir, so that "name/x.h" resolves for the target and
# for whatever links it, and for nothing else: a target that includes
# another folder's headers without linking that folder's target does not
# compile.
function(kt_include_root target)
  cmake_parse_arguments(R "" "FOLDER;DIRECTORY" "" ${ARGN})
  if(NOT R_FOLDER OR NOT R_DIRECTORY)
    message(FATAL_ERROR "kt_include_root(${target}) needs FOLDER and DIRECTORY")
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${R_DIRECTORY} ${root}/${R_FOLDER} SYMBOLIC)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
  endif()
endfunction()
