# Installing like any desktop application: the program folder (the executable reads img/ and
# ajax_sampl.dat beside itself), a launcher on the PATH, the desktop entry, icons, the MIME type
# for templates and the AppStream data. `cpack -G DEB` turns the same rules into a package.
include(GNUInstallDirs)

set(KESTRIN_PROGRAM_DIR "lib/kestrin4" CACHE STRING "Program folder, relative to the install prefix")

install(TARGETS kestrin4 RUNTIME DESTINATION ${KESTRIN_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/img/ DESTINATION ${KESTRIN_PROGRAM_DIR}/img)
install(FILES ${CMAKE_SOURCE_DIR}/resources/ajax_sampl.dat DESTINATION ${KESTRIN_PROGRAM_DIR})

# The launcher is a relative link, so the installed tree can be moved or packaged as it is.
file(RELATIVE_PATH KESTRIN_LAUNCHER_TARGET
  /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KESTRIN_PROGRAM_DIR}/kestrin4)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install)
file(CREATE_LINK ${KESTRIN_LAUNCHER_TARGET} ${CMAKE_BINARY_DIR}/install/kestrin4 SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install/kestrin4 DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KESTRIN_LAUNCHER kestrin4)
configure_file(${CMAKE_SOURCE_DIR}/packaging/com.marvolis.Kestrin4.desktop.in
  ${CMAKE_BINARY_DIR}/install/com.marvolis.Kestrin4.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/com.marvolis.Kestrin4.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/packaging/com.marvolis.Kestrin4.metainfo.xml
  ${CMAKE_BINARY_DIR}/install/com.marvolis.Kestrin4.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/com.marvolis.Kestrin4.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kestrin4-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME kestrin4.xml)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Debian package. Library dependencies come from dpkg-shlibdeps; the rest are loaded at run time
# (SVG icons, the X11 platform plugin, the fonts the design names) and are listed by hand.
set(CPACK_PACKAGE_NAME kestrin4)
set(CPACK_PACKAGE_VENDOR "Marvolis")
set(CPACK_PACKAGE_CONTACT "Kestrin maintainers <maintainers@kestrin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for web pages and PHP sources")
set(CPACK_PACKAGE_DESCRIPTION "Kestrin 4 edits HTML, PHP, JavaScript, CSS and template files with \
PHP syntax colouring, a side panel of ready-made snippets, a formatting toolbar, a colour chooser \
and a tool that replaces text in many files of one folder.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, shared-mime-info, desktop-file-utils")
include(CPack)
