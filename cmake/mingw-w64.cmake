# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for Windows x86_64 with mingw-w64 against the SDK that scripts/windows-sdk makes or finds
# (Qt, OpenSSL, libjpeg, GoogleTest for Windows). The SDK's folder comes from MIVEX_WIN_SDK_PREFIX (cache
# variable or environment). Test programs run under Wine through scripts/wine-run, so ctest works as on Linux.
if(NOT MIVEX_WIN_SDK_PREFIX)
  set(MIVEX_WIN_SDK_PREFIX "$ENV{MIVEX_WIN_SDK_PREFIX}")
endif()
if(NOT EXISTS "${MIVEX_WIN_SDK_PREFIX}/toolchain-mingw64.cmake")
  message(FATAL_ERROR "MIVEX_WIN_SDK_PREFIX (${MIVEX_WIN_SDK_PREFIX}) is no Windows SDK: run scripts/build-windows")
endif()
set(MIVEX_WIN_SDK_PREFIX "${MIVEX_WIN_SDK_PREFIX}" CACHE PATH "The Windows SDK (scripts/windows-sdk)")
# try_compile projects run this file again and need the same SDK.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MIVEX_WIN_SDK_PREFIX)

include("${MIVEX_WIN_SDK_PREFIX}/toolchain-mingw64.cmake")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run" CACHE FILEPATH
    "Runs a Windows program under Wine")
