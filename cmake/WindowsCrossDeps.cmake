# What the Windows cross build takes from Debian instead of the Linux libraries: the header-only
# libraries' headers (staged alone, so the mingw compiler never sees the host's system headers),
# hidapi's own Windows backend built from Debian's source package (tools/fetch-hidapi-source),
# and GoogleTest built from Debian's googletest sources with the same compiler.
enable_language(C)  # hidapi is C
set(QVR_HIDAPI_SOURCE ${CMAKE_BINARY_DIR}/hidapi-src CACHE PATH "Debian's hidapi source tree")
if(NOT EXISTS ${QVR_HIDAPI_SOURCE}/windows/hid.c)
  message(FATAL_ERROR "No hidapi source at ${QVR_HIDAPI_SOURCE}: run tools/fetch-hidapi-source")
endif()

set(staged ${CMAKE_BINARY_DIR}/staged-include)
file(MAKE_DIRECTORY ${staged})
foreach(entry CLI nlohmann SimpleIni.h)
  if(NOT EXISTS ${staged}/${entry})
    file(CREATE_LINK /usr/include/${entry} ${staged}/${entry} SYMBOLIC)
  endif()
endforeach()
# As system headers: their own warnings are not ours. SimpleIni is included without a target.
include_directories(SYSTEM ${staged})
add_library(qvr_staged_headers INTERFACE)
add_library(CLI11::CLI11 ALIAS qvr_staged_headers)
add_library(nlohmann_json::nlohmann_json ALIAS qvr_staged_headers)

add_library(qvr_hidapi_windows STATIC ${QVR_HIDAPI_SOURCE}/windows/hid.c)
target_include_directories(qvr_hidapi_windows SYSTEM PUBLIC ${QVR_HIDAPI_SOURCE}/hidapi)
# Third-party C, built as shipped: its warnings are neither shown nor errors.
target_compile_options(qvr_hidapi_windows PRIVATE -w)
set_target_properties(qvr_hidapi_windows PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
set(QVR_HIDAPI qvr_hidapi_windows)

set(QVR_GTEST_SOURCE /usr/src/googletest CACHE PATH "Debian's googletest sources")
function(qvr_add_googletest)
  set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)  # QVR_WARNINGS_AS_ERRORS is for our own code
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QVR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endfunction()
