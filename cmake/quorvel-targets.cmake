# What every target of the build shares, set on targets rather than on the whole tree:
#   quorvel_settings     the language levels, the warnings and, when asked for, the sanitizers;
#                        every library and program links it
#   quorvel_program()    a program that ships: statically linked where that pays, named as Windows
#                        names programs in the Windows build
#   quorvel_include_root() the one folder of the tree a library's headers are included from
add_library(quorvel_settings INTERFACE)
target_compile_features(quorvel_settings INTERFACE cxx_std_20 c_std_99)
target_compile_options(quorvel_settings INTERFACE -Wall -Wextra $<$<BOOL:${QUORVEL_WERROR}>:-Werror>)
if(QUORVEL_SANITIZE)
  target_compile_options(quorvel_settings INTERFACE -fsanitize=address,undefined
                         -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quorvel_settings INTERFACE -fsanitize=address,undefined)
endif()

# quorvel_program(NAME [WINDOWS_NAME NAME] SOURCES file... LIBRARIES library...)
# The programs are linked statically: a run starts three of them (quorvel, the interpreter and the
# encoder), and loading shared libraries would cost more than the work itself.
function(quorvel_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "WINDOWS_NAME" "SOURCES;LIBRARIES")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} quorvel_settings)
  if(NOT WIN32 AND NOT QUORVEL_SANITIZE AND NOT QUORVEL_FUZZ)
    target_link_options(${name} PRIVATE -static)
  endif()
  if(WIN32 AND arg_WINDOWS_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${arg_WINDOWS_NAME} SUFFIX .EXE)
  endif()
endfunction()

# quorvel_include_root(TARGET FOLDER)
# Headers are included by their path from the top of the tree ("modes/mode.h"), yet each library
# hands on only its own folder: its include root, in the build tree, holds FOLDER alone (a link to
# it). So a target that includes a header of a library it does not link fails to compile.
function(quorvel_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
