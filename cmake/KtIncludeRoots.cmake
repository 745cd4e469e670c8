# kt_include_root(target FOLDER name DIRECTORY dir [HEADERS h...])
# Gives target an include root of its own in the build tree holding one
# symbolic link, name -> dir, so that "name/x.h" resolves for the target and
# for whatever links it, and for nothing else: a target that includes
# another folder's headers without linking that folder's target does not
# compile. With HEADERS, name is a directory holding a link to each of those
# headers only: for a target that owns part of a folder.
function(kt_include_root target)
  cmake_parse_arguments(R "" "FOLDER;DIRECTORY" "HEADERS" ${ARGN})
  if(NOT R_FOLDER OR NOT R_DIRECTORY)
    message(FATAL_ERROR "kt_include_root(${target}) needs FOLDER and DIRECTORY")
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  # A reconfigure may find the other shape at this path: never write
  # through an old link into the source folder.
  set(path ${root}/${R_FOLDER})
  if(IS_SYMLINK ${path})
    file(REMOVE ${path})
  elseif(IS_DIRECTORY ${path})
    file(REMOVE_RECURSE ${path})
  endif()
  if(R_HEADERS)
    file(MAKE_DIRECTORY ${root}/${R_FOLDER})
    foreach(header IN LISTS R_HEADERS)
      file(CREATE_LINK ${R_DIRECTORY}/${header} ${root}/${R_FOLDER}/${header} SYMBOLIC)
    endforeach()
  else()
    file(CREATE_LINK ${R_DIRECTORY} ${root}/${R_FOLDER} SYMBOLIC)
  endif()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
  endif()
endfunction()
