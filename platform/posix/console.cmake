# The Linux terminal console behind the "Console" part of platform.h. The key decoder and the
# screen drawing are pure and in a library of their own, so tests can reach them without a terminal.
add_library(qv_terminal_codec STATIC
  ${CMAKE_CURRENT_LIST_DIR}/console-posix-keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console-posix-screen.cpp)
target_link_libraries(qv_terminal_codec PUBLIC qv_platform_headers)

add_library(qv_console_native STATIC
  ${CMAKE_CURRENT_LIST_DIR}/console-posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console-posix-terminal.cpp)
target_link_libraries(qv_console_native PUBLIC qv_platform_headers PRIVATE qv_terminal_codec)
