# What `cmake --install` puts where, and the Debian package made from it.
set(VANTREL_RES ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for its editor module in ../lib/vantrel.
install(TARGETS vantrel_editor LIBRARY DESTINATION lib/vantrel)
# Help looks beside the program first, then in ../share/vantrel.
install(FILES ${VANTREL_RES}/VantrelHelp.html DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel)
install(FILES ${VANTREL_RES}/linux/vantrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VANTREL_RES}/linux/vantrel-iws.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${VANTREL_RES}/icons/128.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME vantrel.png)
install(FILES ${VANTREL_RES}/icons/129.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/mimetypes
        RENAME text-x-iwar-script.png)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vantrel - Independence War Script Editor")
set(CPACK_PACKAGE_DESCRIPTION
    "Editor for the mission scripts (.iws) of Independence War and Independence War - Defiance: colours scripts, keeps a snippet library, launches the game (through Wine on Linux) and shows its debug log.")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <vantrel@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windowing-system plugins are loaded at run time, so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
include(CPack)
