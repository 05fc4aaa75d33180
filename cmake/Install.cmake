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

# The manual page comes from the program's own --help; it and the changelog are compressed
# as Debian wants them (gzip -9n: no name or time stamp inside).
set(ORVENA_SUMMARY "26-string lever zither for hearing tuning systems and makams")
set(man_page ${CMAKE_BINARY_DIR}/orvena.1)
add_custom_command(
    OUTPUT ${man_page}.gz
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:orvena> -DOUT=${man_page} -DNAME=orvena
            -DVERSION=${PROJECT_VERSION} "-DSUMMARY=${ORVENA_SUMMARY}"
            -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    COMMAND gzip -9nf ${man_page}
    DEPENDS orvena ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Writing the manual page from orvena --help")
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(
    OUTPUT ${changelog}
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(orvena_package_docs ALL DEPENDS ${man_page}.gz ${changelog})
install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${ORVENA_SUMMARY})
set(CPACK_PACKAGE_DESCRIPTION [=[
ORVENA lets musicians hear tuning systems and makam scales before they commit
to them. It models a 26-string plucked zither whose strings are retuned in
microtonal steps by rows of levers (mandal); the pitch of every string at every
lever position comes from a tuning workbook the user can edit.
.
Play it from the computer keyboard, the mouse or a MIDI keyboard; see each note
on a staff with microtonal accidentals; save lever settings per makam; record
and replay a performance; play note-sequence files; transpose the instrument to
the traditional pitch levels; export Scala files and WAV renderings. Its
interface is in Turkish.]=])
set(CPACK_PACKAGE_CONTACT "ORVENA maintainers <maintainers@users.noreply.c-seed-6bc615f7.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package holds the program stripped; its debug symbols are not shipped.
set(CPACK_STRIP_FILES ON)
# The libraries the program links come from dpkg-shlibdeps; these are what it needs besides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
