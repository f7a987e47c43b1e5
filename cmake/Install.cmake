# Installing and packaging. The program and its readme.txt stay together in one program
# folder (<prefix>/lib/torvanu), because the program looks for readme.txt beside itself; the
# help page goes to <prefix>/share/torvanu/help, where the program finds it from its own
# folder; the desktop integration goes where the desktop looks for it.
#
#   cmake --install build                    everything under /usr/local
#   cd build && cpack -G DEB -B package      a .deb with everything under /usr

include(GNUInstallDirs)

set(TORVANU_APP_ID "io.github.torvanu.Torvanu")
# Not CMAKE_INSTALL_LIBDIR: the folder holds a program, not libraries, and the help page is
# found two levels above it.
set(TORVANU_INSTALL_PROGRAMDIR "lib/torvanu")
set(TORVANU_PACKAGE_CONTACT "The Torvanu developers <torvanu@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package: a name and an address")

set(torvanu_data ${PROJECT_SOURCE_DIR}/data)

install(TARGETS torvanu RUNTIME DESTINATION ${TORVANU_INSTALL_PROGRAMDIR})
install(FILES ${PROJECT_SOURCE_DIR}/readme.txt DESTINATION ${TORVANU_INSTALL_PROGRAMDIR})
install(FILES ${TORVANU_HELP_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/torvanu/help)

# The command on the PATH is a relative link into the program folder. applicationDirPath()
# follows it, so the program still finds readme.txt beside its real self.
set(torvanu_link_dir ${CMAKE_CURRENT_BINARY_DIR}/path-link)
file(MAKE_DIRECTORY ${torvanu_link_dir})
file(CREATE_LINK ../${TORVANU_INSTALL_PROGRAMDIR}/torvanu ${torvanu_link_dir}/torvanu SYMBOLIC)
install(FILES ${torvanu_link_dir}/torvanu DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${torvanu_data}/${TORVANU_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${torvanu_data}/${TORVANU_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN ITEMS scalable 48x48 256x256)
    install(DIRECTORY ${torvanu_data}/icons/hicolor/${size}/apps
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}
            FILES_MATCHING PATTERN "${TORVANU_APP_ID}.*")
endforeach()

# The manual page and the Debian changelog are installed compressed, without a time stamp
# in the gzip header, so that the same sources give the same package.
set(torvanu_gzipped ${CMAKE_CURRENT_BINARY_DIR}/gzipped)
set(torvanu_manual ${torvanu_gzipped}/torvanu.1.gz)
set(torvanu_manual_ja ${torvanu_gzipped}/ja/torvanu.1.gz)
set(torvanu_changelog ${torvanu_gzipped}/changelog.Debian.gz)
find_program(TORVANU_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${torvanu_manual} ${torvanu_manual_ja} ${torvanu_changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${torvanu_gzipped}/ja
    COMMAND ${TORVANU_GZIP} -9nc ${torvanu_data}/torvanu.1 > ${torvanu_manual}
    COMMAND ${TORVANU_GZIP} -9nc ${torvanu_data}/torvanu.ja.1 > ${torvanu_manual_ja}
    COMMAND ${TORVANU_GZIP} -9nc ${torvanu_data}/debian/changelog > ${torvanu_changelog}
    DEPENDS ${torvanu_data}/torvanu.1 ${torvanu_data}/torvanu.ja.1 ${torvanu_data}/debian/changelog
    VERBATIM)
add_custom_target(torvanu_gzipped ALL
    DEPENDS ${torvanu_manual} ${torvanu_manual_ja} ${torvanu_changelog})
install(FILES ${torvanu_manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${torvanu_manual_ja} DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES ${torvanu_data}/debian/copyright ${torvanu_changelog}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/torvanu)
install(FILES ${torvanu_data}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME torvanu)

# Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_NAME torvanu)
set(CPACK_PACKAGE_VENDOR "Torvanu")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "pace calculator, lap table and race record book for runners")
set(CPACK_PACKAGE_DESCRIPTION
    "Torvanu works out the finishing time of a race from a pace per kilometre, or\n\
the pace from a goal time, shows the time at every kilometre of a full\n\
marathon, saves the calculation as CSV and keeps a book of the races run.\n\
Its interface is in Japanese.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TORVANU_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps adds the libraries; the interface's text needs a Japanese typeface and Qt's
# own Japanese translation besides. libarchive is loaded only when an archive is opened, so
# dpkg-shlibdeps cannot see it: it is named here. pugixml, zlib and Qt Concurrent are named as
# well, so that the package says what reads its data files even where dpkg-shlibdeps is not run.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n, libpugixml1v5, zlib1g, libarchive13, libqt6concurrent6")
include(CPack)
