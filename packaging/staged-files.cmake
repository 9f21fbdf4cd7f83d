# SPDX-License-Identifier: MIT
# Run by CPack on the files it has staged for a package, before packing them, so that no package
# holds the time it was made at: gives every file the time of the sources' last commit.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" -exec
                          touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
