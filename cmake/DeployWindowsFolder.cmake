cmake_minimum_required(VERSION 3.18)
# Lays out one Windows program folder:
#   cmake -DDEST=<folder> -DFILES=<a|b|...> -DPLATFORM_PLUGIN=<qwindows.dll>
#         -DSTYLE_PLUGIN=<qwindowsvistastyle.dll> [-DCLEAN=ON] [-DZIP=<file>]
#         [-DSITE=<make-site.py>] [-DSTRIP=<strip>] [-DVERBATIM=<a|b|...>]
#         [-DSIGN=<scripts/sign-windows>] [-DTRANSLATIONS=<a|b|...>]
#         -P DeployWindowsFolder.cmake
# FILES go into the folder itself, the plugins into platforms/ and styles/,
# where Qt looks for them beside the program, Qt's own catalogues
# (TRANSLATIONS) into translations/, where the program reads them. SITE writes the demo's update
# site into www/. STRIP strips every program and DLL of FILES and the
# plugins: Debian's MinGW runtime alone carries 20 MB of symbols nobody on
# Windows reads. SIGN signs the folder's binaries when the build's
# environment gives a certificate (PANELUP_SIGN_PKCS12), after stripping
# (which would drop the signatures) and before the zip and the MSI take
# them. VERBATIM files (the hub maker's TxHubLib.dll) go into the folder
# byte for byte after that: a third party's binary is never rewritten, nor
# signed by us, and stripping a signed one would break its signature.
string(REPLACE "|" ";" files "${FILES}")
if(CLEAN)
    file(REMOVE_RECURSE "${DEST}")
endif()
file(MAKE_DIRECTORY "${DEST}/platforms" "${DEST}/styles")
foreach(file IN LISTS files)
    if(file)
        file(COPY "${file}" DESTINATION "${DEST}")
    endif()
endforeach()
file(COPY "${PLATFORM_PLUGIN}" DESTINATION "${DEST}/platforms")
file(COPY "${STYLE_PLUGIN}" DESTINATION "${DEST}/styles")
string(REPLACE "|" ";" translations "${TRANSLATIONS}")
foreach(file IN LISTS translations)
    file(COPY "${file}" DESTINATION "${DEST}/translations")
endforeach()

if(STRIP)
    file(GLOB_RECURSE binaries "${DEST}/*.exe" "${DEST}/*.dll")
    foreach(binary IN LISTS binaries)
        execute_process(COMMAND ${STRIP} --strip-unneeded "${binary}" RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "${STRIP} ${binary} failed")
        endif()
    endforeach()
endif()

if(SIGN AND NOT "$ENV{PANELUP_SIGN_PKCS12}" STREQUAL "")
    execute_process(COMMAND "${SIGN}" "${DEST}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${SIGN} ${DEST} failed")
    endif()
endif()
string(REPLACE "|" ";" verbatim "${VERBATIM}")
foreach(file IN LISTS verbatim)
    get_filename_component(name "${file}" NAME)
    file(COPY_FILE "${file}" "${DEST}/${name}")
endforeach()

if(SITE)
    find_program(PYTHON3 python3 REQUIRED)
    execute_process(COMMAND ${PYTHON3} "${SITE}" "${DEST}/www" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${SITE} failed")
    endif()
endif()

if(ZIP)
    get_filename_component(parent "${DEST}" DIRECTORY)
    get_filename_component(name "${DEST}" NAME)
    file(REMOVE "${ZIP}")
    # Paths in the zip start with the folder's name, as a user unzips it.
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${ZIP}" --format=zip "${name}"
        WORKING_DIRECTORY "${parent}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not write ${ZIP}")
    endif()
endif()
