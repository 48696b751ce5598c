# Windows: what `cmake --install` puts in the program's one folder, and the NSIS installer that
# CPack makes of it (cpack -G NSIS, on Windows or on Linux with Debian's nsis package). The
# cross build has qvrctl.exe alone; a build on Windows adds qvr-service.exe with the DLLs of Qt
# (as windeployqt finds them), of hidapi and of the compiler's run-time.
install(TARGETS qvrctl RUNTIME DESTINATION .)
if(TARGET qvr-service)
  install(TARGETS qvr-service RUNTIME DESTINATION .)
  install(FILES $<TARGET_RUNTIME_DLLS:qvr-service> DESTINATION .)
  # Qt's plugins (the Windows platform, styles, the SVG icon engine) and its translations, by
  # windeployqt, into the program's folder.
  set(CMAKE_INSTALL_BINDIR .)
  qt_generate_deploy_app_script(TARGET qvr-service OUTPUT_SCRIPT qvr_deploy_script
                                NO_UNSUPPORTED_PLATFORM_ERROR)
  install(SCRIPT ${qvr_deploy_script})
  set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
  include(InstallRequiredSystemLibraries)
endif()
# The licence is the repository's LICENSE; without it the installer has no licence page.
set(qvr_license ${CMAKE_SOURCE_DIR}/LICENSE)
if(EXISTS ${qvr_license})
  install(FILES ${qvr_license} DESTINATION . RENAME LICENSE.txt)
  set(CPACK_RESOURCE_FILE_LICENSE ${qvr_license})
else()
  message(WARNING "No LICENSE at the repository's root: the installer carries no licence")
endif()
# The guides: the README (building, qvrctl, the window) and what changed in each version.
install(FILES README.md DESTINATION .)
install(FILES debian/changelog DESTINATION . RENAME CHANGES.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME qvr-service)
set(CPACK_PACKAGE_VENDOR "qvr-service maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service program for MUX-410 and TPX-520 devices")
set(CPACK_PACKAGE_INSTALL_DIRECTORY qvr-service)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "qvr-service ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "qvr-service ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/packaging/windows/qvr-service.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/packaging/windows/qvr-service.ico)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# A 64-bit installer for 64-bit programs (NSIS makes 32-bit ones unless told).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
if(TARGET qvr-service)
  set(CPACK_PACKAGE_EXECUTABLES qvr-service qvr-service)
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
  set(CPACK_NSIS_INSTALLED_ICON_NAME qvr-service.exe)
endif()
# qvrctl is a console program: its shortcut opens a console in the program's folder that
# shows qvrctl's help and stays open for the next command.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\qvrctl (console).lnk" "$SYSDIR\cmd.exe" "/k qvrctl.exe --help"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\README.lnk" "$INSTDIR\README.md"
]=])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\qvrctl (console).lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\README.lnk"
]=])
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)  # the NSIS lines above keep their quotes
include(CPack)
