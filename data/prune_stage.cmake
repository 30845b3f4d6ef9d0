# Removes every file under ROOT that is not named in the list file LIST, so
# that a picture or sound dropped from the sources leaves the archive too.
#   cmake -DROOT=<folder> -DLIST=<file holding a ;-separated list> -P prune_stage.cmake
cmake_minimum_required(VERSION 3.22)
if(NOT ROOT OR NOT LIST)
  message(FATAL_ERROR "prune_stage: ROOT and LIST are required")
endif()
file(READ ${LIST} _keep)
file(GLOB_RECURSE _present LIST_DIRECTORIES false ${ROOT}/*)
foreach(_f ${_present})
  if(NOT _f IN_LIST _keep)
    message(STATUS "Removing stale ${_f}")
    file(REMOVE ${_f})
  endif()
endforeach()
