# Makes the Wine prefix the tests run in, once per build folder:
#   cmake -DWINE=<wine> -DWINEPREFIX=<folder> -DWINEARCH=<win32|win64>
#         [-DQT_TEST_OUTPUT=ON] [-DSTOP=ON] -P PrepareWinePrefix.cmake
# No display is needed: Wine falls back to its display-less driver. Wine has
# no Arial, which the window asks for: Liberation Sans, of the same metrics,
# stands in for it.
# STOP ends the prefix's server and the Wine processes the tests left.
get_filename_component(wine_bin "${WINE}" DIRECTORY)
find_program(WINEBOOT NAMES wineboot HINTS "${wine_bin}")
find_program(WINESERVER NAMES wineserver HINTS "${wine_bin}" /usr/lib/wine)
if(NOT WINEBOOT OR NOT WINESERVER)
    message(FATAL_ERROR "wineboot or wineserver not found beside ${WINE}")
endif()
if(STOP)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${WINEPREFIX} ${WINESERVER} -k
        OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
    return()
endif()
if(EXISTS "${WINEPREFIX}/system.reg")
    return()
endif()

set(wine_env
    WINEPREFIX=${WINEPREFIX} WINEARCH=${WINEARCH} WINEDEBUG=-all
    # No Mono or Gecko download prompts.
    WINEDLLOVERRIDES=mscoree,mshtml=)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINEBOOT} -i
    RESULT_VARIABLE boot_result
    TIMEOUT 240)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg add
        "HKCU\\Software\\Wine\\Fonts\\Replacements" /v Arial /t REG_SZ /d "Liberation Sans" /f
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
message(STATUS "Wine prefix ready in ${WINEPREFIX}")
