# A quick Debian package (cpack -G DEB) for the package test; tools/package builds the real one
# from debian/ with dpkg-buildpackage. The files of QvrInstall.cmake under /usr,
# dependencies found by dpkg-shlibdeps, and maintainer scripts that make udev read the rule.
if(WIN32)  # the NSIS installer: cmake/QvrInstallWindows.cmake
  return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qvr-service)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The maintainer is named once, in debian/control, and the package's version once, at the top
# of debian/changelog: a packager changes them there, and both package builds follow.
file(STRINGS ${CMAKE_SOURCE_DIR}/debian/control qvr_maintainer REGEX "^Maintainer:")
string(REGEX REPLACE "^Maintainer: *" "" CPACK_PACKAGE_CONTACT "${qvr_maintainer}")
file(STRINGS ${CMAKE_SOURCE_DIR}/debian/changelog qvr_changelog_top LIMIT_COUNT 1)
string(REGEX REPLACE "^[^(]*\\(([^)]*)\\).*" "\\1" CPACK_DEBIAN_PACKAGE_VERSION "${qvr_changelog_top}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service program for MUX-410 and TPX-520 devices")
# Lines of at most 72 characters, as dpkg shows them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Reads, edits, checks and writes the configurations of MUX-410 video\n"
       "switches and TPX-520 touch-screen controllers through the QVR-B USB\n"
       "programming adapter, saves and loads them as .MUX files, updates\n"
       "firmware from checked .LDR files and runs live actions, in Russian or\n"
       "English. qvrctl does the same from the command line. A built-in\n"
       "simulated controller lets both run without the hardware.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (buttons, the file dialog) in Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The source package's maintainer scripts, under the names a .deb's control area gives them.
foreach(script postinst postrm)
  configure_file(debian/qvr-service.${script} ${CMAKE_BINARY_DIR}/deb-control/${script} COPYONLY)
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/deb-control/${script})
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
