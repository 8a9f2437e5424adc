# Makes the Wine prefix the tests run in, once per build folder:
#   cmake -DWINE=<wine> -DWINEPREFIX=<folder> -DWINEARCH=<win32|win64>
#         -P PrepareWinePrefix.cmake
# No display is needed: Wine falls back to its display-less driver. Wine has
# no Arial, which the window asks for: Liberation Sans, of the same metrics,
# stands in for it.
if(EXISTS "${WINEPREFIX}/system.reg")
    return()
endif()

get_filename_component(wine_bin "${WINE}" DIRECTORY)
find_program(WINEBOOT NAMES wineboot HINTS "${wine_bin}")
find_program(WINESERVER NAMES wineserver HINTS "${wine_bin}" /usr/lib/wine)
if(NOT WINEBOOT OR NOT WINESERVER)
    message(FATAL_ERROR "wineboot or wineserver not found beside ${WINE}")
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
# The registry files are written when the server ends.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -w
    TIMEOUT 60)
if(NOT EXISTS "${WINEPREFIX}/system.reg")
    message(FATAL_ERROR "wineboot -i did not make a Wine prefix in ${WINEPREFIX} (${boot_result})")
endif()
message(STATUS "Wine prefix ready in ${WINEPREFIX}")
