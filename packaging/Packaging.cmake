# Installation in the usual places (GNUInstallDirs) and the Debian package built from it with
# CPack. The program needs nothing beside its executable: help and pictures are built into it.
include(GNUInstallDirs)

install(TARGETS keystead RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/keystead.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/example.vorrent.keystead.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/keystead.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keystead)
set(CPACK_PACKAGE_VENDOR Vorrent)
set(CPACK_PACKAGE_CONTACT "Vorrent <keystead@vorrent.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password manager with an encrypted list for each user")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Keystead keeps password entries (description, user name, password, notes and an optional "
    "expiration interval) for several people under one account, each behind a logon password "
    "of their own, encrypted under that password. It copies passwords to the clipboard, warns "
    "of expired ones, exports and imports encrypted lists and prints the list.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.vorrent.example/vorrent")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from dpkg-shlibdeps; Qt's window system plugins are loaded at run time, so
# no library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
