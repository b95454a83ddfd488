# The Linux files, processes, environment and text conversion behind platform.h (the system group).
add_library(qv_system_native STATIC
  ${CMAKE_CURRENT_LIST_DIR}/errors-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handles-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/life-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/names-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/std-streams-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text-posix.cpp)
target_link_libraries(qv_system_native PUBLIC qv_platform_headers)
