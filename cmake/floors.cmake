# Each folder of the tree is a floor that may include only the floors it
# stands on. A library offers its folder to those that link it: the include
# path of a target holds a directory per floor it links, each with a single
# entry, the folder itself, so "ymf/detect.h" is found from app/ but
# "app/main_view.h" is not from ymf/ (tests/fence proves it).
function(tovaro_floor target folder)
  set(view "${CMAKE_BINARY_DIR}/floors/${folder}")
  if(NOT EXISTS "${view}/${folder}")
    file(MAKE_DIRECTORY "${view}")
    file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${folder}" "${view}/${folder}" SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${view}")
  else()
    target_include_directories(${target} PUBLIC "${view}")
  endif()
endfunction()
