# Makes the Wine prefix the tests run in, once per build folder:
#   cmake -DWINE=<wine> -DWINEPREFIX=<folder> -DWINEARCH=<win32|win64|wow64>
#         [-DQT_TEST_OUTPUT=ON] [-DSTOP=ON] -P PrepareWinePrefix.cmake
# wow64: a 64-bit prefix if 32-bit programs run in it, else a 32-bit one.
# No display is needed: Wine falls back to its display-less driver. Wine has
# no Arial, which the window asks for: Liberation Sans, of the same metrics,
# stands in for it.
# STOP ends the prefix's server and the Wine processes the tests left.
get_filename_component(wine_bin "${WINE}" DIRECTORY)
find_program(WINESERVER NAMES wineserver HINTS "${wine_bin}" /usr/lib/wine)
if(NOT WINESERVER)
    message(FATAL_ERROR "wineserver not found beside ${WINE}")
endif()
if(STOP)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${WINEPREFIX} ${WINESERVER} -k
        OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
    return()
endif()
if(EXISTS "${WINEPREFIX}/system.reg")
    return()
endif()

# wineboot through the given loader: Debian's wineboot script goes through
# the 32-bit one first.
function(make_prefix arch)
    file(REMOVE_RECURSE "${WINEPREFIX}")
    set(wine_env
        WINEPREFIX=${WINEPREFIX} WINEARCH=${arch} WINEDEBUG=-all
        # No Mono or Gecko download prompts.
        WINEDLLOVERRIDES=mscoree,mshtml=)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} wineboot.exe -i
        RESULT_VARIABLE boot_result
        OUTPUT_QUIET ERROR_QUIET
        TIMEOUT 240)
    set(boot_result ${boot_result} PARENT_SCOPE)
endfunction()

set(wine_env WINEPREFIX=${WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
set(made ${WINEARCH})
if(WINEARCH STREQUAL "wow64")
    make_prefix(win64)
    set(made win64)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} C:\\windows\\syswow64\\reg.exe
            query "HKCU\\Environment"
        RESULT_VARIABLE wow64_result
        OUTPUT_QUIET ERROR_QUIET
        TIMEOUT 120)
    if(NOT wow64_result EQUAL 0)
        message(STATUS "32-bit programs do not run in a 64-bit Wine prefix here "
            "(${wow64_result}): a 32-bit prefix instead")
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -k
            OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
        make_prefix(win32)
        set(made win32)
    endif()
else()
    make_prefix(${WINEARCH})
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg add
        "HKCU\\Software\\Wine\\Fonts\\Replacements" /v Arial /t REG_SZ /d "Liberation Sans" /f
    OUTPUT_QUIET ERROR_QUIET
    TIMEOUT 60)
# No window manager runs on the virtual display, and for a window the
# manager would handle Wine waits two seconds on every hide for a word from
# it: the windows are left to Wine (over a whole run, 7 minutes of 12).
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg add
        "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f
    OUTPUT_QUIET ERROR_QUIET
    TIMEOUT 60)
# Wine hands no QT_ variable of the host to Windows programs; the prefix's
# own environment tells Qt Test to write its results to standard output
# rather than to the debugger.
if(QT_TEST_OUTPUT)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg add "HKCU\\Environment"
            /v QT_FORCE_STDERR_LOGGING /t REG_SZ /d 1 /f
        OUTPUT_QUIET ERROR_QUIET
        TIMEOUT 60)
endif()
# The registry files are written when the server ends.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -w
    TIMEOUT 60)
if(NOT EXISTS "${WINEPREFIX}/system.reg")
    message(FATAL_ERROR "wineboot -i did not make a Wine prefix in ${WINEPREFIX} (${boot_result})")
endif()
if(made STREQUAL "win64" AND WINEARCH STREQUAL "wow64")
    set(made "win64, 32-bit programs through WoW64")
endif()
message(STATUS "Wine prefix (${made}) ready in ${WINEPREFIX}")
