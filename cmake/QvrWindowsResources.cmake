# What a Windows executable carries besides its code: version information (and the icon, for
# the window) and the manifest of packaging/windows/qvr.manifest (long paths, per-monitor DPI,
# UTF-8 as the ANSI code page).
enable_language(RC)

# The resource sources of `name`.exe, in `out`: its .rc made from version.rc.in, and for
# compilers other than Visual Studio's (whose linker merges a .manifest source itself and would
# otherwise find two) the manifest as a resource.
function(qvr_windows_resource_sources out name description)
  set(QVR_RC_FILE ${name}.exe)
  set(QVR_RC_DESCRIPTION ${description})
  set(QVR_RC_ICON ${ARGN})
  set(rc ${CMAKE_BINARY_DIR}/resources/${name}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
  set(manifest ${CMAKE_SOURCE_DIR}/packaging/windows/qvr.manifest)
  if(MSVC)
    set(${out} ${rc} ${manifest} PARENT_SCOPE)
  else()
    set(manifest_rc ${CMAKE_SOURCE_DIR}/packaging/windows/manifest.rc)
    set_source_files_properties(${manifest_rc} PROPERTIES OBJECT_DEPENDS ${manifest})
    set(${out} ${rc} ${manifest_rc} PARENT_SCOPE)
  endif()
endfunction()

function(qvr_windows_resources target description)
  qvr_windows_resource_sources(sources ${target} ${description} ${ARGN})
  target_sources(${target} PRIVATE ${sources})
endfunction()
