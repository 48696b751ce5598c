# Release builds are hardened as Debian builds its packages (dpkg-buildflags with
# hardening=+all): fortified libc calls, stack protector and clash protection, control-flow
# protection, position-independent executables, and a read-only relocation table resolved at
# start (relro, now). The distribution's own build (CMAKE_BUILD_TYPE None, debian/rules) brings
# the same flags through CFLAGS and LDFLAGS. Sanitizer, fuzzing and Debug builds stay as they are;
# fortification needs the optimiser.
option(QVR_HARDEN "Hardening flags in Release, RelWithDebInfo and MinSizeRel builds" ON)
set(QVR_HARDENED OFF)
if(QVR_HARDEN AND NOT QVR_SANITIZE AND NOT QVR_FUZZ AND NOT QVR_THREAD_SANITIZE AND NOT WIN32
   AND NOT MSVC AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  set(QVR_HARDENED ON)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong
                      -fstack-clash-protection -Werror=format-security)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i.86)$")
    add_compile_options(-fcf-protection)
  endif()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# The compiler's identification (.comment) says nothing a user needs; a hardened build drops it
# from `target` once linked, as Debian's strip does.
function(qvr_drop_comment_section target)
  if(QVR_HARDENED AND CMAKE_OBJCOPY)
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:${target}>)
  endif()
endfunction()
