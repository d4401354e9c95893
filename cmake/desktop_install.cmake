# What `cmake --install` puts where, and the Debian package `cpack -G DEB` builds from it: the
# program and vornak-db, the menu launcher (it starts the program on the user's log book), the
# desktop entry, the car icon (scalable, and 48 px rendered from it at build time) and the
# AppStream metainfo.
include(GNUInstallDirs)

set(VORNAK_APP_ID ru.vornak.Vornak)

add_executable(vornak-render-icon tools/render_icon.cpp)
target_link_libraries(vornak-render-icon PRIVATE Qt6::Gui Qt6::Svg)
set(VORNAK_ICON_48 ${CMAKE_BINARY_DIR}/icons/48/${VORNAK_APP_ID}.png)
add_custom_command(OUTPUT ${VORNAK_ICON_48}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/48
  COMMAND vornak-render-icon ${CMAKE_SOURCE_DIR}/resources/vornak.svg 48 ${VORNAK_ICON_48}
  DEPENDS vornak-render-icon ${CMAKE_SOURCE_DIR}/resources/vornak.svg
  COMMENT "Rendering the 48 px icon")
add_custom_target(vornak-icon ALL DEPENDS ${VORNAK_ICON_48})

install(TARGETS vornak vornak-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS app/vornak-start DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/${VORNAK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${VORNAK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/vornak.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${VORNAK_APP_ID}.svg)
install(FILES ${VORNAK_ICON_48} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)

set(CPACK_PACKAGE_NAME vornak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Мой ворнак: log book of your vehicles")
set(CPACK_PACKAGE_CONTACT "Vornak developers <vornak@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Libraries from the programs' links (Qt with its platform plugins, SQLCipher, zlib); the fonts
# the program registers at start-up by their paths are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-liberation")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
