# Run by CPack on the staged tree of the Debian package, before it is packed: adds the files every
# Debian package carries, which a plain `cmake --install` has no use for.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(source ${CPACK_QUORVEL_DEBIAN_FILES})
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${root}/share/doc/${CPACK_PACKAGE_NAME})

file(MAKE_DIRECTORY ${doc} ${root}/share/lintian/overrides)
file(COPY_FILE ${source}/copyright ${doc}/copyright)
file(COPY_FILE ${source}/lintian-overrides ${root}/share/lintian/overrides/${CPACK_PACKAGE_NAME})
# A package of our own making (no Debian revision) keeps its changelog as changelog.gz; gzip -n
# leaves out the time stamp, so the same sources give the same package.
execute_process(COMMAND gzip -9 -n -c ${source}/changelog OUTPUT_FILE ${doc}/changelog.gz
                RESULT_VARIABLE packed)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "gzip could not compress the changelog")
endif()
file(CHMOD ${doc}/copyright ${doc}/changelog.gz ${root}/share/lintian/overrides/${CPACK_PACKAGE_NAME}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
