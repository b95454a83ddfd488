# Lays out the encoder core as an Arduino library and zips it (run by packaging/CMakeLists.txt):
#   cmake -DSOURCE=repo -DOUT=folder -DVERSION=x.y.z -DZIP=file.zip -P make-arduino-library.cmake
# OUT/Quorvel gets library.properties, src/ with Quorvel.h and the core under src/modes/core as
# it is in the source tree (so the core's own includes resolve from src/, which Arduino puts on the
# include path), and an example sketch a mode.
set(library ${OUT}/Quorvel)
set(here ${SOURCE}/packaging/arduino)
file(REMOVE_RECURSE ${library})
file(MAKE_DIRECTORY ${library}/src)
file(GLOB_RECURSE core RELATIVE ${SOURCE} ${SOURCE}/modes/core/*.c ${SOURCE}/modes/core/*.h)
foreach(file ${core})
  get_filename_component(folder ${file} DIRECTORY)
  file(COPY ${SOURCE}/${file} DESTINATION ${library}/src/${folder})
endforeach()
file(COPY ${here}/Quorvel.h ${here}/QuorvelPrint.h ${here}/README.md DESTINATION ${library}/src)
file(RENAME ${library}/src/README.md ${library}/README.md)
configure_file(${here}/library.properties.in ${library}/library.properties @ONLY)
file(COPY ${here}/examples DESTINATION ${library})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Quorvel
                WORKING_DIRECTORY ${OUT} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the zip of the Arduino library could not be made")
endif()
