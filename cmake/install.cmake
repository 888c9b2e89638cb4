# `cmake --install build [--prefix P]` and `make package` (a Debian package built by CPack).
# The installed program finds its delivered files in P/share/diskarium beside P/bin.
include(GNUInstallDirs)

set(DISKARIUM_APP_ID de.diskarium.Diskarium)
set(DISKARIUM_MAINTAINER "Diskarium developers <diskarium@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

install(TARGETS diskarium diskarium-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The data set sources, text files and help pages, in the layout of the built-in copy.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/delivered ${PROJECT_SOURCE_DIR}/data/files
                  ${PROJECT_SOURCE_DIR}/data/help
        DESTINATION ${CMAKE_INSTALL_DATADIR}/diskarium)

install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${DISKARIUM_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${DISKARIUM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/data/doc/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/diskarium)

# Manual pages and the change log are installed compressed, as Debian expects them.
function(diskarium_install_compressed source destination)
    get_filename_component(name ${source} NAME)
    set(target ${PROJECT_BINARY_DIR}/compressed/${name}.gz)
    add_custom_command(OUTPUT ${target}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/compressed
        COMMAND gzip -9 -n -c ${source} > ${target}
        DEPENDS ${source}
        COMMENT "Compressing ${name}"
        VERBATIM)
    add_custom_target(compress-${name} ALL DEPENDS ${target})
    install(FILES ${target} DESTINATION ${destination})
endfunction()
diskarium_install_compressed(${PROJECT_SOURCE_DIR}/data/man/diskarium.1 ${CMAKE_INSTALL_MANDIR}/man1)
diskarium_install_compressed(${PROJECT_SOURCE_DIR}/data/man/diskarium-tool.1 ${CMAKE_INSTALL_MANDIR}/man1)
diskarium_install_compressed(${PROJECT_SOURCE_DIR}/data/doc/changelog ${CMAKE_INSTALL_DATADIR}/doc/diskarium)

# Debian package: `make package` (or `cmake --build build --target package`).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME diskarium)
set(CPACK_PACKAGE_VENDOR "Diskarium developers")
set(CPACK_PACKAGE_CONTACT "${DISKARIUM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of records, CDs and cassettes")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DISKARIUM_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://diskarium.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the window system plug-ins and the
# fonts that stand in for Arial and Courier New in printed pages.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
# The summary above becomes the first line; CPack formats the body for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Diskarium catalogues a private collection of sound carriers (records,
singles, cassettes, CDs) down to each song. It lends carriers to borrowers
and prints reminder letters, prints lists, carrier sheets, covers and
statistics with a preview, reads audio CDs and fetches their titles from a
CDDB server, plays audio CDs and backs all data up into a compressed archive.

The user interface is German. The package holds the desktop program
diskarium and the command-line companion diskarium-tool.")
include(CPack)
