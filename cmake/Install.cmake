# Installed layout: the program in bin/, the shipped program folder (workbook, samples, makam
# files) in share/orvena/, which the first start copies to the user's data folder; a menu
# entry and its icon. `bash scripts/package.sh` makes a Debian package of the same.
include(GNUInstallDirs)
set(ORVENA_INSTALL_FOLDER ${CMAKE_INSTALL_DATADIR}/orvena)

install(TARGETS orvena RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvena.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/orvena.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "26-string lever zither for hearing tuning systems and makams")
set(CPACK_PACKAGE_CONTACT "ORVENA <orvena@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the program links come from dpkg-shlibdeps; these are what it needs besides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
