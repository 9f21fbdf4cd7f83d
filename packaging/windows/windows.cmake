# SPDX-License-Identifier: MIT
# What the Windows build differs in: the run-time DLLs that go beside the program, the install
# layout, and the installer and portable zip. Included from the top-level file.

# MinGW's run-time DLLs that the program, Qt and the stack protector load: shipped rather than
# linked in, since Qt's DLLs need them too; shipped stripped (Debian's keep their symbols).
set(ZTC_RUNTIME_DIR ${CMAKE_BINARY_DIR}/runtime)
file(MAKE_DIRECTORY ${ZTC_RUNTIME_DIR})
set(ZTC_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll libssp-0.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "MinGW-w64 run-time DLL not found: ${dll}")
  endif()
  execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${ZTC_RUNTIME_DIR}/${dll} ${path}
                  COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND ZTC_RUNTIME_DLLS ${ZTC_RUNTIME_DIR}/${dll})
endforeach()

# Where Wine finds the DLLs and Qt's plugins when the build's own programs run (tests): the
# same DLLs the packages ship.
get_filename_component(ZTC_QT_PREFIX "${Qt6_DIR}/../../.." REALPATH)
set(ZTC_WINDOWS_TEST_ENV "WINEPATH=${ZTC_QT_PREFIX}/bin\\;${ZTC_RUNTIME_DIR}"
    "QT_PLUGIN_PATH=${ZTC_QT_PREFIX}/plugins" "WINEDEBUG=-all")

# The install tree is the program's folder: the program, Qt's DLLs (LGPL: a user may replace
# them), the platform and style plugins in the folders Qt looks for beside the program, MinGW's
# run-time, and the licences.
install(TARGETS zandrel-ticket-calculator RUNTIME DESTINATION .)
foreach(module Core Gui Widgets)
  install(FILES "${ZTC_QT_PREFIX}/bin/Qt6${module}.dll" DESTINATION .)
endforeach()
install(FILES "${ZTC_QT_PREFIX}/plugins/platforms/qwindows.dll" DESTINATION platforms)
install(FILES "${ZTC_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll" DESTINATION styles)
install(FILES ${ZTC_RUNTIME_DLLS} DESTINATION .)
install(FILES LICENSE DESTINATION licenses RENAME LICENSE.txt)
install(FILES "${ZTC_QT_PREFIX}/LICENSES/LGPL-3.0-only.txt" "${ZTC_QT_PREFIX}/LICENSES/GPL-3.0-only.txt"
        DESTINATION licenses/Qt)
# The run-time DLLs' notices, as Debian records them.
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licenses RENAME gcc.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licenses RENAME mingw-w64.txt)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/user-readme.txt DESTINATION . RENAME README.txt)

set(ZTC_DISPLAY_NAME "Zandrel Ticket Calculator")
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ZandrelTicketCalculator)
set(CPACK_PACKAGE_FILE_NAME ZandrelTicketCalculator-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${ZTC_DISPLAY_NAME}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ZandrelTicketCalculator)
set(CPACK_PACKAGE_EXECUTABLES zandrel-ticket-calculator "${ZTC_DISPLAY_NAME}")
# The Start-menu shortcut's program is in the program's folder itself, not in a bin\ below it.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "${ZTC_DISPLAY_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${ZTC_DISPLAY_NAME}")
set(CPACK_NSIS_INSTALLED_ICON_NAME zandrel-ticket-calculator.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/icons/org.zandrel.TicketCalculator.ico)
set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_ZTC_STRIP ${CMAKE_STRIP})
list(PREPEND CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/staged-files.cmake)

# Our additions to CPack's installer script (installer.nsh.in), and CPack's own script with
# the check of an installed copy at its start; which replaces CPack's own question whether to
# uninstall it.
set(ZTC_NSIS_DIR ${CMAKE_BINARY_DIR}/nsis)
set(ZTC_SIGN ${CMAKE_CURRENT_LIST_DIR}/sign)
configure_file(${CMAKE_CURRENT_LIST_DIR}/installer.nsh.in ${ZTC_NSIS_DIR}/installer.nsh @ONLY)
set(CPACK_NSIS_DEFINES "!include '${ZTC_NSIS_DIR}/installer.nsh'")
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "Call ZtcRemoveInstalled")
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REPLACE "Function .onInit" "Function .onInit\n  Call ZtcCheckInstalled" ours "${template}")
if(ours STREQUAL template)
  message(FATAL_ERROR "CPack's NSIS template has no .onInit to extend")
endif()
file(WRITE ${ZTC_NSIS_DIR}/NSIS.template.in "${ours}")
list(PREPEND CMAKE_MODULE_PATH ${ZTC_NSIS_DIR})
include(CPack)
