# Makes the Wine prefix the tests run in, once per build folder:
#   cmake -DWINE=<wine> -DWINEPREFIX=<folder> -P PrepareWinePrefix.cmake
# No display is needed: Wine falls back to its display-less driver.
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
    WINEPREFIX=${WINEPREFIX} WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko download prompts.
    WINEDLLOVERRIDES=mscoree,mshtml=)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINEBOOT} -i
    RESULT_VARIABLE boot_result
    TIMEOUT 240)
# The registry files are written when the server ends.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINESERVER} -w
    TIMEOUT 60)
if(NOT EXISTS "${WINEPREFIX}/system.reg")
    message(FATAL_ERROR "wineboot -i did not make a Wine prefix in ${WINEPREFIX} (${boot_result})")
endif()
message(STATUS "Wine prefix ready in ${WINEPREFIX}")
