cmake_minimum_required(VERSION 3.18)
# The MSI as IT deploys it, under Wine, in a prefix of its own:
#   cmake -DWINE=<wine> -DWINEARCH=<win32|win64|wow64> -DRUN=<wine-run;wine>
#         -DUNSHARE=<unshare> -DMSI=<msi> -DMSI_ARCH=<x86|x64> -DVERSION=<a.b.c.d>
#         -DFOLDER=<the program folder it packs> -DWORK=<folder>
#         -DPROGRAM_TEST=<windows_panelup_program.exe> -DNEWER=<a.b.c.d>
#         -DBUILD_ARGS=<a|b|...> -DSTRIP=<strip> -DOSSLSIGNCODE=<osslsigncode>
#         -DOPENSSL=<openssl> -DPYTHON=<python3> -P InstallerTest.cmake
# Installs silently; checks the files, the Start-menu shortcut and the
# "Apps & features" entry; starts the installed Panelup.exe; installs a newer
# MSI over it (Config.ini and the firmware store stay); uninstalls, leaving
# only the firmware store, as the README says. Wine's FindRelatedProducts
# does not see a newer installed version, so the refusal of an older MSI is
# checked in the package's tables (windows_artefacts) rather than here.
# Windows Installer compares only the first three parts of a version, so the
# newer one raises the third. The newer package is laid out by the deploy
# step with a vendor DLL signed here, and its Panelup.exe and Qt5Core.dll
# differ in bytes (not in size or version) from the installed ones: the
# upgrade must install them all, and the signature must survive. Wine's msi
# keeps an installed file of equal version whatever REINSTALLMODE says, and
# one of equal size when the package has no hash for it: the package's own
# rule (each file cleared as its component installs) is what is shown here;
# REINSTALLMODE, which Windows follows, is checked in windows_artefacts.
set(failures 0)
function(check condition text)
    cmake_language(EVAL CODE "if(${condition})\nset(check_ok ON)\nelse()\nset(check_ok OFF)\nendif()")
    if(check_ok)
        message("ok    ${text}")
    else()
        message("FAIL  ${text}")
        math(EXPR failures "${failures} + 1")
        set(failures ${failures} PARENT_SCOPE)
    endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(prefix ${WORK}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} -DWINE=${WINE} -DWINEPREFIX=${prefix} -DWINEARCH=${WINEARCH}
    -P ${CMAKE_CURRENT_LIST_DIR}/PrepareWinePrefix.cmake RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "no Wine prefix in ${prefix}")
endif()
# winemenubuilder would put the shortcut into this machine's own menus.
set(wine_env WINEPREFIX=${prefix} WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d")

# A throwaway signing key and a vendor DLL signed with it.
set(signing ${WORK}/signing)
file(MAKE_DIRECTORY ${signing})
execute_process(COMMAND ${OPENSSL} req -x509 -newkey rsa:2048 -nodes -keyout ${signing}/key.pem
    -out ${signing}/cert.pem -subj /CN=Panelup-test -days 2
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "openssl could not make a test certificate")
endif()
set(vendor ${signing}/TxHubLib.dll)
execute_process(COMMAND ${OSSLSIGNCODE} sign -certs ${signing}/cert.pem -key ${signing}/key.pem
    -in ${FOLDER}/Hubbridge.dll -out ${vendor} RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "osslsigncode could not sign the dummy vendor DLL")
endif()
function(signature_verifies file out_var)
    execute_process(COMMAND ${OSSLSIGNCODE} verify -CAfile ${signing}/cert.pem -in ${file}
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(result EQUAL 0)
        set(${out_var} ON PARENT_SCOPE)
    else()
        set(${out_var} OFF PARENT_SCOPE)
    endif()
endfunction()

# The newer program folder, laid out as the build lays it out (stripped).
set(newer_folder ${WORK}/newer-folder/Panelup)
file(GLOB top_files LIST_DIRECTORIES false ${FOLDER}/*)
list(FILTER top_files EXCLUDE REGEX "/TxHubLib\\.dll$")
list(JOIN top_files "|" top_files)
file(GLOB catalogues ${FOLDER}/translations/*.qm)
list(JOIN catalogues "|" catalogues)
execute_process(COMMAND ${CMAKE_COMMAND} -DDEST=${newer_folder} -DCLEAN=ON "-DFILES=${top_files}"
    -DPLATFORM_PLUGIN=${FOLDER}/platforms/qwindows.dll
    -DSTYLE_PLUGIN=${FOLDER}/styles/qwindowsvistastyle.dll "-DTRANSLATIONS=${catalogues}"
    -DSTRIP=${STRIP} -DVERBATIM=${vendor}
    -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/DeployWindowsFolder.cmake RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the newer program folder could not be laid out")
endif()
signature_verifies(${newer_folder}/TxHubLib.dll verifies)
check(verifies "the signed vendor DLL still verifies in the laid-out folder")
# Same size, same version resource, other bytes: the DOS stub's text.
foreach(file Panelup.exe Qt5Core.dll)
    execute_process(COMMAND ${PYTHON} -c
        "import sys; p = sys.argv[1]; d = open(p, 'rb').read(); t = b'This program cannot be run in DOS mode'; assert t in d[:512]; open(p, 'wb').write(d.replace(t, t.upper(), 1))"
        ${newer_folder}/${file} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not change ${file}'s bytes")
    endif()
endforeach()

set(newer_msi ${WORK}/Panelup-${NEWER}.msi)
string(REPLACE "|" ";" build_args "${BUILD_ARGS}")
execute_process(COMMAND ${CMAKE_COMMAND} ${build_args} -DFOLDER=${newer_folder} -DOUTPUT=${newer_msi}
    -DVERSION=${NEWER} -DARCH=${MSI_ARCH} -DWORK=${WORK}/newer
    -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/BuildWindowsInstaller.cmake RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the newer MSI could not be built")
endif()

function(windows_path path out_var)
    string(REPLACE "/" "\\" path "Z:${path}")
    set(${out_var} "${path}" PARENT_SCOPE)
endfunction()

# msiexec <log name> <arguments...>: sets msi_result and msi_log.
function(msiexec log)
    windows_path(${WORK}/${log}.log windows_log)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} msiexec ${ARGN}
        /qn /l*v ${windows_log}
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET TIMEOUT 300)
    set(msi_result ${result} PARENT_SCOPE)
endfunction()

# The entries of every "Apps & features" key, in both registry views.
# Windows' registry redirector shows a 32-bit process (Debian's wine runs
# syswow64\reg.exe in a 64-bit prefix) the 32-bit view under both names, so
# the same entry can come back twice: entries are counted by their product
# key, never by the lines that name them.
function(uninstall_entries out_var)
    set(all "")
    foreach(key "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
            "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall")
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg query ${key} /s
            OUTPUT_VARIABLE text ERROR_QUIET TIMEOUT 60)
        string(REPLACE "\r" "" text "${text}")
        string(APPEND all "${text}")
    endforeach()
    set(${out_var} "${all}" PARENT_SCOPE)
endfunction()

# The product keys ("{GUID}") whose entry is named Panelup, each once.
function(panelup_products entries out_var)
    string(REPLACE ";" "," entries "${entries}")
    string(REGEX MATCHALL "Uninstall\\\\[^\n\\\\]+\n([ \t]+[^\n]*\n)*" keys "${entries}")
    set(products "")
    foreach(key IN LISTS keys)
        if(key MATCHES "DisplayName[ \t]+REG_SZ[ \t]+Panelup\n" AND key MATCHES "^Uninstall\\\\([^\n]+)\n")
            list(APPEND products "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    list(REMOVE_DUPLICATES products)
    set(${out_var} "${products}" PARENT_SCOPE)
endfunction()

file(STRINGS ${prefix}/system.reg arch REGEX "^#arch=")
if(MSI_ARCH STREQUAL "x86" AND arch STREQUAL "#arch=win64")
    set(program_files "Program Files (x86)")
else()
    set(program_files "Program Files")
endif()
set(installed "${prefix}/drive_c/${program_files}/Norvale/Panelup")
# Windows puts a per-machine shortcut into the common Start menu; Wine's msi
# into the user's.
function(shortcut_made out_var)
    file(GLOB shortcuts
        "${prefix}/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Panelup.lnk"
        "${prefix}/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Panelup.lnk")
    if(shortcuts)
        set(${out_var} ON PARENT_SCOPE)
    else()
        set(${out_var} OFF PARENT_SCOPE)
    endif()
endfunction()
file(GLOB_RECURSE shipped RELATIVE ${FOLDER} ${FOLDER}/*)

# --- install -----------------------------------------------------------------
windows_path(${MSI} windows_msi)
msiexec(install /i ${windows_msi})
check("msi_result EQUAL 0" "msiexec /i ${MSI} /qn succeeds (${msi_result})")
set(same ON)
foreach(file IN LISTS shipped)
    if(NOT EXISTS "${installed}/${file}")
        set(same OFF)
        message("      missing: ${program_files}/Norvale/Panelup/${file}")
        continue()
    endif()
    file(SHA256 "${FOLDER}/${file}" expected)
    file(SHA256 "${installed}/${file}" found)
    if(NOT expected STREQUAL found)
        set(same OFF)
        message("      differs: ${file}")
    endif()
endforeach()
check(same "every file of the program folder is installed into ${program_files}\\Norvale\\Panelup")
file(GLOB installed_catalogues RELATIVE "${installed}" "${installed}/translations/qtbase_*.qm")
list(LENGTH installed_catalogues count)
file(GLOB folder_catalogues "${FOLDER}/translations/qtbase_*.qm")
list(LENGTH folder_catalogues folder_count)
check("count GREATER 0 AND count EQUAL folder_count"
    "Qt's catalogues are installed into translations (${installed_catalogues})")
shortcut_made(made)
check(made "a Start-menu shortcut")
uninstall_entries(entries)
foreach(value "DisplayName[ \t]+REG_SZ[ \t]+Panelup\n" "Publisher[ \t]+REG_SZ[ \t]+Norvale\n"
        "DisplayVersion[ \t]+REG_SZ[ \t]+${VERSION}\n")
    string(REGEX MATCH "${value}" found "${entries}")
    check(found "the Apps & features entry has ${value}")
endforeach()
# Apps & features shows the product's icon (ARPPRODUCTICON).
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${WINE} reg query
    "HKLM\\Software\\Classes\\Installer\\Products" /s
    OUTPUT_VARIABLE products ERROR_QUIET TIMEOUT 60)
string(REGEX MATCH "ProductIcon[ \t]+REG_SZ[ \t]+[^\r\n]*Panelup.ico" found "${products}")
check(found "the entry shows the program's icon")

# --- the installed program runs: its own network namespace keeps it off the
# maker's site ----------------------------------------------------------------
set(program_dir "C:\\${program_files}\\Norvale\\Panelup")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${UNSHARE} --net -- ${RUN}
    ${PROGRAM_TEST} ${program_dir} --in-place
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 240)
message("${output}")
check("result EQUAL 0" "the installed Panelup.exe starts with its title and trace log (${result})")

# --- upgrade -----------------------------------------------------------------
set(settings "[Others]\nSite=1\n")
file(WRITE "${installed}/Config.ini" "${settings}")
file(WRITE "${installed}/Hub/hub.bin" "firmware")
windows_path(${newer_msi} windows_newer)
msiexec(upgrade /i ${windows_newer})
check("msi_result EQUAL 0" "the newer MSI installs over the older one (${msi_result})")
file(READ "${installed}/Config.ini" after)
check("after STREQUAL settings" "the upgrade keeps Config.ini")
check("EXISTS \"${installed}/Hub/hub.bin\"" "the upgrade keeps the firmware store")
set(kept ON)
foreach(catalogue IN LISTS installed_catalogues)
    if(NOT EXISTS "${installed}/${catalogue}")
        set(kept OFF)
    endif()
endforeach()
check(kept "the upgrade installs Qt's catalogues again")
foreach(file Panelup.exe Qt5Core.dll)
    file(SHA256 "${newer_folder}/${file}" expected)
    file(SHA256 "${installed}/${file}" found)
    check("expected STREQUAL found" "the upgrade installs the newer ${file} (same version, other bytes)")
endforeach()
signature_verifies("${installed}/TxHubLib.dll" verifies)
check(verifies "the signed vendor DLL still verifies once installed")
uninstall_entries(entries)
panelup_products("${entries}" products)
list(LENGTH products count)
check("count EQUAL 1" "one Apps & features entry after the upgrade (${products})")
string(REGEX MATCH "DisplayVersion[ \t]+REG_SZ[ \t]+${NEWER}\n" found "${entries}")
check(found "it names ${NEWER}")

# --- uninstall ---------------------------------------------------------------
msiexec(uninstall /x ${windows_newer})
check("msi_result EQUAL 0" "msiexec /x uninstalls (${msi_result})")
file(GLOB_RECURSE left RELATIVE "${installed}" "${installed}/*")
check("left STREQUAL \"Hub/hub.bin\"" "only the firmware store stays (${left})")
shortcut_made(made)
check("NOT made" "the shortcut is gone")
uninstall_entries(entries)
string(FIND "${entries}" "Norvale" at)
check("at EQUAL -1" "the Apps & features entry is gone")

execute_process(COMMAND ${CMAKE_COMMAND} -DWINE=${WINE} -DWINEPREFIX=${prefix} -DSTOP=ON
    -P ${CMAKE_CURRENT_LIST_DIR}/PrepareWinePrefix.cmake)
message("${failures} failed")
if(failures GREATER 0)
    message(FATAL_ERROR "the MSI does not install as promised")
endif()
