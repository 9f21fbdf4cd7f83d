# SPDX-License-Identifier: MIT
# What the Debian package holds besides the program, and how it is made. Included from the
# top-level file.

# Desktop integration: menu entry, icons, AppStream metadata and the licence.
set(ZTC_APP_ID org.zandrel.TicketCalculator)
install(FILES data/${ZTC_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${ZTC_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/${ZTC_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES data/icons/${size}x${size}/${ZTC_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# Debian's documents: the machine-readable copyright, and the changelog and manual page, both
# compressed as Debian wants them (best compression, no time stamp).
set(ZTC_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zandrel-ticket-calculator)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${ZTC_DOC_DIR})
foreach(doc changelog zandrel-ticket-calculator.1)
  add_custom_command(OUTPUT ${doc}.gz
    COMMAND gzip -9n -c ${CMAKE_CURRENT_LIST_DIR}/${doc} > ${doc}.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${doc})
  list(APPEND ZTC_DEBIAN_DOCS ${CMAKE_CURRENT_BINARY_DIR}/${doc}.gz)
endforeach()
add_custom_target(debian-docs ALL DEPENDS ${ZTC_DEBIAN_DOCS})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${ZTC_DOC_DIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zandrel-ticket-calculator.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zandrel-ticket-calculator)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zandrel Racing Software <packages@zandrel.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")
include(CPack)
