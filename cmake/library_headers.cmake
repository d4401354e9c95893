# Which headers a library offers. Every header is included by its path from the source root
# ("data/field.h"), but the source root itself is on no include path: each library gets an
# include folder of its own in the build tree, holding links to its headers only under those
# paths, and hands it on to whatever links it. A folder can therefore include only the headers of
# the libraries it links (and of the ones they link PUBLIC); a missing link line fails the build.
#
#   vornak_headers(TARGET FOLDER [RECURSE] [EXCLUDE name.h...] [ONLY name.h...])
#
# FOLDER is relative to the source root; its .h files (with RECURSE those of its subfolders too)
# become TARGET's headers, less the EXCLUDE ones, or just the ONLY ones. A header added or removed
# is picked up by the next build (the list is checked on every build).
function(vornak_headers target folder)
  cmake_parse_arguments(ARG "RECURSE" "" "EXCLUDE;ONLY" ${ARGN})
  set(pattern ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  if(ARG_RECURSE)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${pattern})
  else()
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${pattern})
  endif()

  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    if((ARG_ONLY AND NOT name IN_LIST ARG_ONLY) OR name IN_LIST ARG_EXCLUDE)
      continue()
    endif()
    get_filename_component(dir ${root}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${header} ${root}/${header} SYMBOLIC)
  endforeach()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
