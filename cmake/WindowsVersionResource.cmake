# SPDX-License-Identifier: GPL-3.0-or-later
# Windows only: gives a program file its resources, so that Explorer and "Apps and features" show its
# product name, version, description and icon. The .rc is made from dist/windows/program.rc.in and compiled
# by the toolchain's resource compiler (mingw-w64's windres).
enable_language(RC)

function(mivex_windows_version_resource target description)
  set(MIVEX_RC_PROGRAM_FILE "$<TARGET_FILE_NAME:${target}>")
  set(MIVEX_RC_DESCRIPTION "${description}")
  set(MIVEX_RC_ICON "${MIVEX_ROOT}/resources/mivex2.ico")
  configure_file(${MIVEX_ROOT}/dist/windows/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in @ONLY)
  # The file name is known only when generating.
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc INPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  # windres reads the strings as UTF-8: Czech descriptions keep their letters.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
    COMPILE_OPTIONS "-c65001" OBJECT_DEPENDS "${MIVEX_RC_ICON}")
endfunction()
