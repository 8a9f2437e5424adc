# Runs a Windows test program under Wine at one desktop DPI:
#   cmake -DWINE=<wine> -DWINEPREFIX=<folder> -DDPI=<n> -DRUN=<wine-run;wine>
#         -DPROGRAM=<exe> [-DLOCALE=<de_DE> -DLOCALES=<folder> -DEXPECT=<de>]
#         -P RunAtDpi.cmake
# The DPI goes into the prefix's LogPixels (both places Wine reads it) before
# the program starts, and to the program as its first argument. LOCALE is
# the Unix locale Wine takes the user's interface language from, made with
# localedef into LOCALES (no system-wide locale needed); EXPECT, the
# program's second argument, is the language it should choose.
set(wine_env WINEPREFIX=${WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
set(arguments ${DPI})
if(LOCALE)
    if(NOT EXISTS "${LOCALES}/${LOCALE}.UTF-8/LC_MESSAGES")
        file(MAKE_DIRECTORY "${LOCALES}")
        execute_process(COMMAND localedef -i ${LOCALE} -f UTF-8 "${LOCALES}/${LOCALE}.UTF-8"
            RESULT_VARIABLE result OUTPUT_QUIET TIMEOUT 120)
        if(NOT EXISTS "${LOCALES}/${LOCALE}.UTF-8/LC_MESSAGES")
            message(FATAL_ERROR "localedef could not make ${LOCALE}.UTF-8 (${result}): "
                                "scripts/setup windows installs locales")
        endif()
    endif()
    list(APPEND wine_env LOCPATH=${LOCALES} LANG=${LOCALE}.UTF-8 LC_ALL=${LOCALE}.UTF-8)
    list(APPEND arguments ${EXPECT})
endif()
foreach(key "HKCU\\Control Panel\\Desktop" "HKCC\\Software\\Fonts")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg add ${key}
            /v LogPixels /t REG_DWORD /d ${DPI} /f
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "LogPixels ${DPI} could not be set under ${key}: ${result}")
    endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${RUN} ${PROGRAM} ${arguments}
    RESULT_VARIABLE result TIMEOUT 240)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} at ${DPI} DPI: ${result}")
endif()
