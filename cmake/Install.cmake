# Installing and packaging. The program, its readme.txt and its icon stay together in one
# program folder (/opt/torvanu), because the program looks for readme.txt beside itself; the
# desktop integration goes where the desktop looks for it, under the install prefix.
#
#   cmake --install build                    program folder plus /usr/local/{bin,share}
#   cd build && cpack -G DEB -B package      a .deb with /opt/torvanu and /usr/{bin,share}

include(GNUInstallDirs)

set(TORVANU_APP_ID "io.github.torvanu.Torvanu")
set(TORVANU_INSTALL_PROGRAMDIR "/opt/torvanu" CACHE PATH
    "Absolute folder that holds the program, readme.txt and the icon")
set(TORVANU_PACKAGE_MAINTAINER "Torvanu developers" CACHE STRING
    "Maintainer field of the Debian package")

set(torvanu_data ${PROJECT_SOURCE_DIR}/data)

install(TARGETS torvanu RUNTIME DESTINATION ${TORVANU_INSTALL_PROGRAMDIR})
install(FILES ${PROJECT_SOURCE_DIR}/readme.txt DESTINATION ${TORVANU_INSTALL_PROGRAMDIR})
install(FILES ${torvanu_data}/icons/hicolor/scalable/apps/${TORVANU_APP_ID}.svg
        DESTINATION ${TORVANU_INSTALL_PROGRAMDIR} RENAME torvanu.svg)

# The command on the PATH is a link into the program folder. applicationDirPath() follows it,
# so the program still finds readme.txt beside its real self.
set(torvanu_link_dir ${CMAKE_CURRENT_BINARY_DIR}/path-link)
file(MAKE_DIRECTORY ${torvanu_link_dir})
file(CREATE_LINK ${TORVANU_INSTALL_PROGRAMDIR}/torvanu ${torvanu_link_dir}/torvanu SYMBOLIC)
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

# Debian package. The program folder is an absolute destination, so CPack stages through
# DESTDIR; without it the files would land in the real /opt/torvanu while packaging.
set(CPACK_GENERATOR DEB)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_NAME torvanu)
set(CPACK_PACKAGE_VENDOR "Torvanu")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "pace calculator, lap table and race record book for runners")
set(CPACK_PACKAGE_DESCRIPTION
    "Torvanu works out the finishing time of a race from a pace per kilometre, or the pace\n\
from a goal time, shows the time at every kilometre of a full marathon, saves the calculation\n\
as CSV and keeps a book of the races run. Its interface is in Japanese.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TORVANU_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps adds the libraries; the interface's text needs a Japanese typeface besides.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
