# Installing Tallivo like any desktop program (cmake --install, or the Debian package that
# CPack builds: `cmake --build build --target package` or scripts/package.sh).
#   bin/tallivo                                  the program
#   share/tallivo/default.wav                    the default alarm sound
#   share/applications/org.example.tallivo.desktop   the menu entry
#   share/icons/hicolor/*/apps/tallivo.{svg,png} the icon
#   share/metainfo/org.example.tallivo.metainfo.xml  the software-centre description
# The program finds its shipped files in ../share/tallivo/ from its own folder, so the data
# folder must stay "share" next to "bin"; from the build folder they are beside it.
include(GNUInstallDirs)

set(TALLIVO_APP_ID org.example.tallivo)
set(TALLIVO_DESKTOP_FILES ${CMAKE_SOURCE_DIR}/resources/desktop)

if(NOT CMAKE_INSTALL_DATADIR STREQUAL "share" OR NOT CMAKE_INSTALL_BINDIR STREQUAL "bin")
    message(WARNING "Tallivo looks for its shipped files in bin/../share/tallivo/")
endif()

# The build folder's program finds its default alarm sound beside it.
configure_file(${CMAKE_SOURCE_DIR}/resources/default.wav ${CMAKE_BINARY_DIR}/default.wav COPYONLY)
configure_file(${TALLIVO_DESKTOP_FILES}/${TALLIVO_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/${TALLIVO_APP_ID}.metainfo.xml @ONLY)

install(TARGETS tallivo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/default.wav
    DESTINATION ${CMAKE_INSTALL_DATADIR}/tallivo)
install(FILES ${TALLIVO_DESKTOP_FILES}/${TALLIVO_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${TALLIVO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/tallivo.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${TALLIVO_DESKTOP_FILES}/icons/tallivo-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME tallivo.png)
endforeach()

# The Debian package: its dependencies come from the libraries the program links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallivo)
set(CPACK_PACKAGE_VENDOR Tallivo)
set(CPACK_PACKAGE_CONTACT "Tallivo <tallivo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "durée et coût des connexions par modem")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tallivo.example.org/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded when first used, so not found among the linked libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ppp, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION "Tallivo surveille les connexions par modem (PPP) et montre, pendant
chaque session, la durée écoulée, le coût selon le tarif de la connexion, les
octets échangés et les débits. Il vit dans la zone de notification, sonne ou
affiche une alarme, tient un journal des sessions avec totaux mensuels, compose
et raccroche les entrées pppd et met l'ordinateur à l'heure.")
include(CPack)
