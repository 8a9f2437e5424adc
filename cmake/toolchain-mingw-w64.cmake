# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads
# variant), run under Wine:
#   cmake -S . -B build-win -DPANELUP_BUILD_GUI=OFF \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PANELUP_MINGW_TRIPLET x86_64-w64-mingw32)

# Prefer the posix threads variant: std::thread and std::mutex need it with
# GCC 12.
foreach(suffix -posix "")
    find_program(PANELUP_MINGW_CXX ${PANELUP_MINGW_TRIPLET}-g++${suffix})
    if(PANELUP_MINGW_CXX)
        break()
    endif()
endforeach()
if(NOT PANELUP_MINGW_CXX)
    message(FATAL_ERROR "No ${PANELUP_MINGW_TRIPLET}-g++ found: install g++-mingw-w64-x86-64-posix")
endif()
string(REGEX REPLACE "g\\+\\+(-posix)?$" "gcc\\1" PANELUP_MINGW_CC "${PANELUP_MINGW_CXX}")

set(CMAKE_C_COMPILER ${PANELUP_MINGW_CC})
set(CMAKE_CXX_COMPILER ${PANELUP_MINGW_CXX})
set(CMAKE_RC_COMPILER ${PANELUP_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PANELUP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The MinGW runtime goes into every binary, so Wine (or a Windows machine)
# needs no libgcc, libstdc++ or libwinpthread DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# ctest starts the test programs through Wine.
find_program(PANELUP_WINE NAMES wine wine64)
if(PANELUP_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PANELUP_WINE})
endif()
