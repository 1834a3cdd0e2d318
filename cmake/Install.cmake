# Installing like any desktop application: the program folder (the executable reads img/,
# ajax_sampl.dat and translations/ beside itself), a launcher on the PATH, the desktop entry,
# icons, the MIME type for templates and the AppStream data. `cpack -G DEB` turns the same rules into a package.
include(GNUInstallDirs)

set(KESTRIN_PROGRAM_DIR "lib/kestrin4" CACHE STRING "Program folder, relative to the install prefix")

install(TARGETS kestrin4 RUNTIME DESTINATION ${KESTRIN_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/img/ DESTINATION ${KESTRIN_PROGRAM_DIR}/img)
install(FILES ${CMAKE_SOURCE_DIR}/resources/ajax_sampl.dat DESTINATION ${KESTRIN_PROGRAM_DIR})
install(FILES ${KESTRIN_QM_FILES} DESTINATION ${KESTRIN_PROGRAM_DIR}/translations)

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
# (SVG icons, the X11 and Wayland platform plugins, the fonts the design names) and are listed by hand.
set(CPACK_PACKAGE_NAME kestrin4)
set(CPACK_PACKAGE_VENDOR "Marvolis")
set(CPACK_PACKAGE_CONTACT "Kestrin maintainers <maintainers@kestrin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for web pages and PHP sources")
# Lines of at most 80 characters; cpack indents each one as a Debian description wants.
set(CPACK_PACKAGE_DESCRIPTION "Kestrin 4 edits HTML, PHP, JavaScript, CSS and template files with PHP
syntax colouring, a side panel of ready-made snippets, a formatting toolbar,
a colour chooser and a tool that replaces text in many files of one folder.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins, qt6-wayland, fonts-liberation")
# Qt's own translations give the standard buttons and dialogs the language of ours.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, shared-mime-info, desktop-file-utils, qt6-translations-l10n, php-cli")

# The manual page, the changelog and the copyright file, dated by SOURCE_DATE_EPOCH when it is set
# (string(TIMESTAMP) reads it) or else by the last commit, so that one commit gives one package.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE KESTRIN_COMMIT_TIME
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE KESTRIN_GIT_RESULT)
    if(KESTRIN_GIT_RESULT EQUAL 0 AND KESTRIN_COMMIT_TIME MATCHES "^[0-9]+$")
      set(ENV{SOURCE_DATE_EPOCH} ${KESTRIN_COMMIT_TIME})
    endif()
  endif()
endif()
string(TIMESTAMP KESTRIN_MAN_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP KESTRIN_COPYRIGHT_YEAR "%Y" UTC)
# RFC 5322 with English day and month names, whatever the locale.
string(TIMESTAMP KESTRIN_DAY "%w" UTC)
string(TIMESTAMP KESTRIN_MONTH "%m" UTC)
set(KESTRIN_DAYS Sun Mon Tue Wed Thu Fri Sat)
set(KESTRIN_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET KESTRIN_DAYS ${KESTRIN_DAY} KESTRIN_DAY_NAME)
math(EXPR KESTRIN_MONTH_INDEX "${KESTRIN_MONTH} - 1")
list(GET KESTRIN_MONTHS ${KESTRIN_MONTH_INDEX} KESTRIN_MONTH_NAME)
string(TIMESTAMP KESTRIN_CHANGELOG_DATE "${KESTRIN_DAY_NAME}, %d ${KESTRIN_MONTH_NAME} %Y %H:%M:%S +0000" UTC)

# gzip -9n: no name or time stamp inside, as Debian wants; configure_file re-runs this on edits.
function(kestrin_gzip input output)
  configure_file(${input} ${output} @ONLY)
  execute_process(COMMAND gzip -9nf ${output} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${output}")
  endif()
endfunction()
kestrin_gzip(${CMAKE_SOURCE_DIR}/packaging/kestrin4.1 ${CMAKE_BINARY_DIR}/install/kestrin4.1)
kestrin_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/install/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${CMAKE_BINARY_DIR}/install/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/kestrin4.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/install/changelog.gz ${CMAKE_BINARY_DIR}/install/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(CPack)
