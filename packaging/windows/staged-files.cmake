# SPDX-License-Identifier: MIT
# Run by CPack on the files staged for the installer and the zip, before the common step: strips
# the DLLs again with no time in their headers (stripping writes one), and signs our own program
# when sign is given a certificate.
file(GLOB_RECURSE libraries "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.dll")
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CPACK_ZTC_STRIP} ${libraries}
                COMMAND_ERROR_IS_FATAL ANY)
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe")
if(programs)
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/sign ${programs} COMMAND_ERROR_IS_FATAL ANY)
endif()
