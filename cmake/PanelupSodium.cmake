# libsodium, for the catalogue signatures and file hashes: Debian's
# libsodium-dev on Linux; for Windows the static build scripts/sodium-windows
# makes from Debian's source, given as PANELUP_SODIUM_PREFIX (as
# scripts/lib/windows-build.sh does). A prefix with headers but no library
# of its own links the system's libsodium.
set(PANELUP_SODIUM_PREFIX "" CACHE PATH "libsodium's install prefix (Windows: scripts/sodium-windows)")
if(TARGET panelup_sodium)
    return()
endif()
add_library(panelup_sodium INTERFACE)
if(PANELUP_SODIUM_PREFIX)
    # The prefix is a folder of this machine, not of the cross toolchain's
    # root, where the toolchain file sends every other search.
    find_path(SODIUM_INCLUDE_DIR sodium.h PATHS ${PANELUP_SODIUM_PREFIX}/include
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    find_library(SODIUM_LIBRARY NAMES libsodium.a PATHS ${PANELUP_SODIUM_PREFIX}/lib
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT SODIUM_LIBRARY AND NOT WIN32)
        find_library(SODIUM_LIBRARY NAMES sodium libsodium.so.23)
    endif()
    if(NOT SODIUM_INCLUDE_DIR OR NOT SODIUM_LIBRARY)
        message(FATAL_ERROR "libsodium not found under PANELUP_SODIUM_PREFIX=${PANELUP_SODIUM_PREFIX}")
    endif()
    target_include_directories(panelup_sodium SYSTEM INTERFACE ${SODIUM_INCLUDE_DIR})
    target_link_libraries(panelup_sodium INTERFACE ${SODIUM_LIBRARY})
    if(WIN32)
        target_compile_definitions(panelup_sodium INTERFACE SODIUM_STATIC)
    endif()
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(SODIUM IMPORTED_TARGET libsodium)
    if(NOT SODIUM_FOUND)
        message(FATAL_ERROR "libsodium not found: install libsodium-dev (scripts/setup build), "
                            "or give PANELUP_SODIUM_PREFIX (scripts/sodium-windows)")
    endif()
    target_link_libraries(panelup_sodium INTERFACE PkgConfig::SODIUM)
endif()

# The keys the program trusts for the update site's catalogues: each the
# public key line of a minisign .pub file ("RW..."); more than one while the
# maker rotates keys. None: catalogues are taken unsigned, as the site is
# today.
set(PANELUP_SITE_KEYS "" CACHE STRING "minisign public keys (base64) trusted for the update site")
foreach(key IN LISTS PANELUP_SITE_KEYS)
    # "Ed", an 8-byte id and a 32-byte key: 56 characters of base64.
    string(LENGTH "${key}" length)
    if(NOT key MATCHES "^RW[A-Za-z0-9+/]+$" OR NOT length EQUAL 56)
        message(FATAL_ERROR "PANELUP_SITE_KEYS: '${key}' is not a minisign public key")
    endif()
endforeach()
