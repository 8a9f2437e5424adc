# Runs a Windows test program under Wine at one desktop DPI:
#   cmake -DWINE=<wine> -DWINEPREFIX=<folder> -DDPI=<n> -DRUN=<wine-run;wine>
#         -DPROGRAM=<exe> -P RunAtDpi.cmake
# The DPI goes into the prefix's LogPixels (both places Wine reads it) before
# the program starts, and to the program as its first argument.
set(wine_env WINEPREFIX=${WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
foreach(key "HKCU\\Control Panel\\Desktop" "HKCC\\Software\\Fonts")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg add ${key}
            /v LogPixels /t REG_DWORD /d ${DPI} /f
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "LogPixels ${DPI} could not be set under ${key}: ${result}")
    endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${RUN} ${PROGRAM} ${DPI}
    RESULT_VARIABLE result TIMEOUT 240)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} at ${DPI} DPI: ${result}")
endif()
