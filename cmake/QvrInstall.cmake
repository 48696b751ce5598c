# What `cmake --install` puts where: the two programs, the udev rule that gives the logged-in
# user the controller, the desktop entry with the program's icon, manual pages, bash, zsh and
# fish completion for qvrctl (as qvrctl prints it), and the copyright and changelog a Debian
# package carries.
# Windows lays a program out differently and has its own installer.
if(WIN32)
  include(cmake/QvrInstallWindows.cmake)
  return()
endif()
include(GNUInstallDirs)
set(QVR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/qvr-service)

install(TARGETS qvr-service qvrctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
qvr_drop_comment_section(qvr-service)
qvr_drop_comment_section(qvrctl)
# udev reads rules under /usr/lib and /usr/local/lib alike.
install(FILES packaging/70-qvr-b.rules DESTINATION lib/udev/rules.d)
install(FILES packaging/qvr-service.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES src/app/icons/qvr-service.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES debian/copyright DESTINATION ${QVR_DOC_DIR})

# qvrctl's completion scripts are what the built qvrctl prints for each shell, so that they
# follow its command table. A cross build whose programs cannot run here has none.
if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
  set(qvr_completion_dir ${CMAKE_BINARY_DIR}/completions)
  set(qvr_completions)
  foreach(shell bash zsh fish)
    set(script ${qvr_completion_dir}/qvrctl.${shell})
    add_custom_command(OUTPUT ${script}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${qvr_completion_dir}
                       COMMAND qvrctl completion ${shell} > ${script}
                       DEPENDS qvrctl)
    list(APPEND qvr_completions ${script})
  endforeach()
  add_custom_target(qvr_completions ALL DEPENDS ${qvr_completions})
  install(FILES ${qvr_completion_dir}/qvrctl.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qvrctl)
  install(FILES ${qvr_completion_dir}/qvrctl.zsh
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions RENAME _qvrctl)
  install(FILES ${qvr_completion_dir}/qvrctl.fish
          DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d RENAME qvrctl.fish)
endif()

# Manual pages and the changelog are installed compressed, without a time stamp in the
# compressed file, as Debian keeps them.
set(qvr_compressed)
foreach(source packaging/man/qvr-service.1 packaging/man/qvrctl.1 debian/changelog)
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

# PNG icons at the sizes desktops look for, drawn from the scalable icon at build time, and the
# AppStream metainfo that software centres read.
if(UNIX AND NOT APPLE)
  find_program(QVR_RSVG_CONVERT rsvg-convert REQUIRED)
  set(qvr_icon_svg ${CMAKE_SOURCE_DIR}/src/app/icons/qvr-service.svg)
  set(qvr_icons)
  foreach(size 16 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/qvr-service.png)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
                       COMMAND ${QVR_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${qvr_icon_svg}
                       DEPENDS ${qvr_icon_svg})
    list(APPEND qvr_icons ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(qvr_icons ALL DEPENDS ${qvr_icons})
  install(FILES packaging/org.example.qvr_service.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The installers' guides with their screenshots (tools/screenshots), which the manual pages and
# the metainfo point to.
install(FILES docs/guide.en.md docs/guide.ru.md DESTINATION ${QVR_DOC_DIR})
foreach(shot monitor mux410 tpx520 update write)
  install(FILES docs/screenshots/${shot}.en.png docs/screenshots/${shot}.ru.png
          DESTINATION ${QVR_DOC_DIR}/screenshots)
endforeach()
