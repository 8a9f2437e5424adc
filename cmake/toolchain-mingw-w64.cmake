# Cross build for Windows with Debian's MinGW-w64 (posix threads variant),
# run under Wine. The target is 32-bit x86, as the hub maker's TxHubLib.dll
# is: a 64-bit Panelup.exe or Hubbridge.dll cannot load it (error 193). The
# program, Hubbridge and TxHubLib must all be of one bitness; a 64-bit build
# is there for a 64-bit TxHubLib:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
#         [-DPANELUP_WINDOWS_ARCH=x86_64] [-DCMAKE_PREFIX_PATH=<Qt for Windows>]
set(PANELUP_WINDOWS_ARCH i686 CACHE STRING "Windows target: i686 (32-bit, default) or x86_64")
set_property(CACHE PANELUP_WINDOWS_ARCH PROPERTY STRINGS i686 x86_64)
if(PANELUP_WINDOWS_ARCH STREQUAL "i686")
    set(CMAKE_SYSTEM_PROCESSOR x86)
elseif(PANELUP_WINDOWS_ARCH STREQUAL "x86_64")
    set(CMAKE_SYSTEM_PROCESSOR x86_64)
else()
    message(FATAL_ERROR "PANELUP_WINDOWS_ARCH is i686 or x86_64, not ${PANELUP_WINDOWS_ARCH}")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(PANELUP_MINGW_TRIPLET ${PANELUP_WINDOWS_ARCH}-w64-mingw32)

# Prefer the posix threads variant: std::thread and std::mutex need it with
# GCC 12.
foreach(suffix -posix "")
    find_program(PANELUP_MINGW_CXX ${PANELUP_MINGW_TRIPLET}-g++${suffix})
    if(PANELUP_MINGW_CXX)
        break()
    endif()
endforeach()
if(NOT PANELUP_MINGW_CXX)
    string(REPLACE "_" "-" package_arch ${PANELUP_WINDOWS_ARCH})
    message(FATAL_ERROR "No ${PANELUP_MINGW_TRIPLET}-g++ found: install g++-mingw-w64-${package_arch}-posix")
endif()
string(REGEX REPLACE "g\\+\\+(-posix)?$" "gcc\\1" PANELUP_MINGW_CC "${PANELUP_MINGW_CXX}")

set(CMAKE_C_COMPILER ${PANELUP_MINGW_CC})
set(CMAKE_CXX_COMPILER ${PANELUP_MINGW_CXX})
set(CMAKE_RC_COMPILER ${PANELUP_MINGW_TRIPLET}-windres)

# The Qt for Windows that scripts/qt-windows builds comes in through
# CMAKE_PREFIX_PATH, so it is searched as well as MinGW's own folder.
set(CMAKE_FIND_ROOT_PATH /usr/${PANELUP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# ctest starts the test programs through Wine. A 64-bit build goes straight to
# the 64-bit loader: Debian's wine launcher tries the 32-bit one first, which
# a kernel without 32-bit x86 support cannot start.
if(PANELUP_WINDOWS_ARCH STREQUAL "x86_64")
    find_program(PANELUP_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
endif()
find_program(PANELUP_WINE NAMES wine)
if(PANELUP_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${PANELUP_WINE})
endif()
