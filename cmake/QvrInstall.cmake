# What `cmake --install` puts where: the two programs, the udev rule that gives the logged-in
# user the controller, the desktop entry with the program's icon, manual pages, bash, zsh and
# fish completion for qvrctl, and the copyright and changelog a Debian package carries.
include(GNUInstallDirs)
set(QVR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/qvr-service)

install(TARGETS qvr-service qvrctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# udev reads rules under /usr/lib and /usr/local/lib alike.
install(FILES packaging/70-qvr-b.rules DESTINATION lib/udev/rules.d)
install(FILES packaging/qvr-service.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES src/app/icons/qvr-service.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/qvrctl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qvrctl)
install(FILES packaging/qvrctl.zsh-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions RENAME _qvrctl)
install(FILES packaging/qvrctl.fish-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d RENAME qvrctl.fish)
install(FILES packaging/copyright DESTINATION ${QVR_DOC_DIR})

# Manual pages and the changelog are installed compressed, without a time stamp in the
# compressed file, as Debian keeps them.
set(qvr_compressed)
foreach(source packaging/man/qvr-service.1 packaging/man/qvrctl.1 packaging/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
                     COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/${source} > ${output}
                     DEPENDS ${CMAKE_SOURCE_DIR}/${source})
  list(APPEND qvr_compressed ${output})
endforeach()
add_custom_target(qvr_compressed_docs ALL DEPENDS ${qvr_compressed})
install(FILES ${CMAKE_BINARY_DIR}/compressed/qvr-service.1.gz
              ${CMAKE_BINARY_DIR}/compressed/qvrctl.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/compressed/changelog.gz DESTINATION ${QVR_DOC_DIR})
