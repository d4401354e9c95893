# What `cmake --install` puts where, and the Debian package `cpack -G DEB` builds from it: the
# program and vornak-db with its report program, the menu launcher (it starts the program on the user's log book), the
# desktop entry, the car icon (scalable, and 48 px rendered from it at build time), the AppStream
# metainfo, the manual pages and the package's copyright and changelog (packed at build time).
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

# Manual pages and the changelog are installed packed, as Debian wants them (no time stamp).
set(VORNAK_PACKED)
foreach(source resources/man/vornak.1 resources/man/vornak-db.1 resources/man/vornak-start.1 resources/debian/changelog)
  get_filename_component(name ${source} NAME)
  set(packed ${CMAKE_BINARY_DIR}/packed/${name}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packed
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${packed}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Packing ${name}")
  list(APPEND VORNAK_PACKED ${packed})
endforeach()
add_custom_target(vornak-packed-docs ALL DEPENDS ${VORNAK_PACKED})

install(TARGETS vornak vornak-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vornak-db-report vornak-db-commands RUNTIME DESTINATION ${VORNAK_HELPER_FOLDER})
install(PROGRAMS app/vornak-start DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/${VORNAK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${VORNAK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/vornak.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${VORNAK_APP_ID}.svg)
install(FILES ${VORNAK_ICON_48} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${CMAKE_BINARY_DIR}/packed/vornak.1.gz ${CMAKE_BINARY_DIR}/packed/vornak-db.1.gz
  ${CMAKE_BINARY_DIR}/packed/vornak-start.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES resources/debian/copyright ${CMAKE_BINARY_DIR}/packed/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vornak)

set(CPACK_PACKAGE_NAME vornak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Мой ворнак: log book of your vehicles")
set(CPACK_PACKAGE_CONTACT "Vornak developers <vornak@example.org>")
set(CPACK_PACKAGE_DESCRIPTION "Мой ворнак keeps a log book of one person's vehicles: odometer readings,
expenses by type, maintenance events with reminders by date or by mileage,
and a report of a period for one vehicle, shown, printed or saved as PDF.
Everything is kept in one encrypted database file, backed up once a day;
vornak-db works with it from the command line.")
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
