# SPDX-License-Identifier: GPL-3.0-or-later
# The distribution's hardening flags, in every build of a Linux program: what dpkg-buildflags gives with
# every hardening feature on (stack protector, _FORTIFY_SOURCE, format checks, full RELRO with BIND_NOW),
# or the same set where there is no dpkg-buildflags. Only the hardening: the optimisation and debugging
# flags stay the build type's, and the path maps would make two build folders' objects differ.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()  # the flags are for ELF and glibc; a Windows build takes its own
endif()

find_program(MIVEX_DPKG_BUILDFLAGS dpkg-buildflags)
if(MIVEX_DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${MIVEX_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O)|prefix-map=")
    set(MIVEX_HARDENING_${kind} ${flags})
  endforeach()
else()
  set(MIVEX_HARDENING_CPPFLAGS -D_FORTIFY_SOURCE=2)
  set(MIVEX_HARDENING_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
  set(MIVEX_HARDENING_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
message(STATUS "Hardening: ${MIVEX_HARDENING_CPPFLAGS} ${MIVEX_HARDENING_CXXFLAGS} ${MIVEX_HARDENING_LDFLAGS}")

# _FORTIFY_SOURCE needs the optimiser; a Debug build would only warn about it in every file.
foreach(flag ${MIVEX_HARDENING_CPPFLAGS})
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
endforeach()
add_compile_options(${MIVEX_HARDENING_CXXFLAGS})
add_link_options(${MIVEX_HARDENING_LDFLAGS})
