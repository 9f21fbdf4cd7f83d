# SPDX-License-Identifier: MIT
# Run by CPack on the files it has staged for a package, before packing them, so that no package
# holds the time it was made at: on Windows, strips the DLLs again with no time in their headers
# (stripping writes one), and signs our own program when scripts/sign is given a certificate;
# then gives every file the time of the sources' last commit.
if(CPACK_GENERATOR MATCHES "^(NSIS|ZIP)$")
  file(GLOB_RECURSE libraries "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.dll")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CPACK_ZTC_STRIP} ${libraries}
                  COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe")
  if(programs)
    execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/sign ${programs}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" -exec
                          touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
