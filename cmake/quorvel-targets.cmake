# What every target of the build shares, set on targets rather than on the whole tree:
#   quorvel_settings     the language levels, the warnings and, when asked for, the sanitizers;
#                        every library and program links it
#   quorvel_program()    a program that ships: statically linked where that pays, named as Windows
#                        names programs in the Windows build
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
