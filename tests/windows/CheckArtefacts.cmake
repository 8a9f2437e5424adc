cmake_minimum_required(VERSION 3.16)
# Checks the cross-built binaries without running them:
#   cmake -DOBJDUMP=<objdump> -DBIN=<folder> -DFORMAT=<pei-i386|pei-x86-64>
#         [-DPROGRAM_FOLDERS=<folder|folder>] [-DVENDOR=<TxHubLib.dll>] [-DZIP=<zip>]
#         [-DMSI=<msi> -DMSIINFO=<msiinfo> -DVERSION=<a.b.c.d> -DSUPPORT_HOST=<host>]
#         [-DQT_PATCHES=<debian-patches.txt>]
#         [-DLANGUAGES=<de|fr|...> -DQT_TRANSLATIONS=<folder>] -P CheckArtefacts.cmake
# - every binary is of the one bitness (32-bit x86 by default): the program,
#   Hubbridge and the hub maker's TxHubLib.dll must match;
# - Hubbridge.dll, TxHubLib.dll and the Qt-free programs need only DLLs that
#   come with Windows (their MinGW runtime is linked in); Qt programs may
#   also need Qt's DLLs and the MinGW runtime DLLs beside them;
# - Hubbridge.dll exports exactly its eleven functions, undecorated (cdecl);
# - TxHubLib.dll exports the 28 vendor names that Hubbridge binds;
# - each program folder holds every DLL its binaries need, and a GUI
#   program; the user's folder holds no TxHubLib.dll unless the build was
#   given the hub maker's (VENDOR), and then that very file, byte for byte;
#   every other binary there is stripped; Qt's catalogue of each of the
#   window's languages lies in its translations/ folder, Debian's file;
# - the zip and the MSI stay under 13 MiB; the MSI installs per machine what
#   the folder holds, names Panelup, Norvale and the version, keeps its
#   upgrade code, removes Config.ini on uninstall only, and replaces an older
#   version only after it is in place;
# - the rules Wine's msi does not follow, read from the MSI's tables: the
#   File.Version of every file is the version resource of the file itself;
#   every file is copied whatever lies there (REINSTALLMODE 'a', and a
#   RemoveFile row that clears it as its component installs); a rebuild of
#   the same version replaces it; the install folder is written to the
#   registry and read back before the folders are resolved; the support
#   links; the component GUIDs the released packages carry, and those of
#   Qt's catalogues, kept by their path as every other file's;
# - the Qt for Windows carries Debian's security patches.
set(system_dlls
    kernel32.dll user32.dll advapi32.dll version.dll dxva2.dll gdi32.dll msvcrt.dll
    shell32.dll ole32.dll oleaut32.dll comdlg32.dll winspool.drv imm32.dll winmm.dll
    ws2_32.dll netapi32.dll userenv.dll mpr.dll uxtheme.dll dwmapi.dll iphlpapi.dll
    dnsapi.dll shlwapi.dll wtsapi32.dll setupapi.dll d3d11.dll dxgi.dll d3d9.dll dwrite.dll
    d2d1.dll)
set(shipped_dlls hubbridge.dll txhublib.dll)

set(failures 0)
macro(fail text)
    message("FAIL  ${text}")
    math(EXPR failures "${failures} + 1")
endmacro()

function(pe_dump file out_var)
    execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} -p ${file} failed")
    endif()
    set(${out_var} "${dump}" PARENT_SCOPE)
endfunction()

function(imported_dlls dump out_var)
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    set(dlls)
    foreach(import IN LISTS imports)
        string(REPLACE "DLL Name: " "" dll "${import}")
        string(STRIP "${dll}" dll)
        string(TOLOWER "${dll}" dll)
        if(NOT dll MATCHES "^api-ms-win-")
            list(APPEND dlls ${dll})
        endif()
    endforeach()
    set(${out_var} ${dlls} PARENT_SCOPE)
endfunction()

if(NOT FORMAT)
    set(FORMAT pei-i386)
endif()
file(GLOB_RECURSE binaries ${BIN}/*.exe ${BIN}/*.dll)
list(LENGTH binaries count)
if(count EQUAL 0)
    message(FATAL_ERROR "no binaries in ${BIN}")
endif()
foreach(binary IN LISTS binaries)
    pe_dump(${binary} dump)
    if(NOT dump MATCHES "file format ${FORMAT}\n")
        string(REGEX MATCH "file format [^\n]+" found "${dump}")
        fail("${binary}: ${found}, expected ${FORMAT}")
    endif()
    imported_dlls("${dump}" imports)
    set(qt_program OFF)
    if("qt5core.dll" IN_LIST imports)
        set(qt_program ON)
    endif()
    foreach(dll IN LISTS imports)
        if(dll IN_LIST system_dlls OR dll IN_LIST shipped_dlls)
            continue()
        endif()
        if(qt_program AND dll MATCHES "^(qt5[a-z]+\\.dll|libgcc_s_[a-z0-9-]+\\.dll|libstdc\\+\\+-6\\.dll|libwinpthread-1\\.dll)$")
            continue()
        endif()
        get_filename_component(name ${binary} NAME)
        string(TOLOWER ${name} name)
        # Qt itself and the runtime DLLs laid beside the programs.
        if(name MATCHES "^(qt5|q[a-z]+\\.dll$|lib)")
            continue()
        endif()
        fail("${binary} needs ${dll}")
    endforeach()
endforeach()

function(exported_names file out_var)
    pe_dump(${file} dump)
    # The name table lines: "	[   0] Name".
    string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [A-Za-z_][A-Za-z0-9_@]*" lines "${dump}")
    set(names)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE ".*\\] " "" name "${line}")
        list(APPEND names ${name})
    endforeach()
    list(SORT names)
    set(${out_var} "${names}" PARENT_SCOPE)
endfunction()

exported_names(${BIN}/Hubbridge.dll bridge_exports)
set(expected_bridge
    AvailableDevices CloseDevice GetHIDDev GetLastErrorCode GetfwVersion OpenDevice ReadI2C
    SetBusSpeed UpdateHubFW UpdateScalar WriteI2C)
list(SORT expected_bridge)
if(NOT bridge_exports STREQUAL expected_bridge)
    fail("Hubbridge.dll exports [${bridge_exports}], expected [${expected_bridge}]")
endif()

exported_names(${BIN}/TxHubLib.dll vendor_exports)
set(vendor_names
    TvHub_Open TvHub_Close TvHub_SendDescriptorRequest TvHub_SWReset TvHub_FWReset
    TvHub_ResetCode TvHub_WriteFlash2 TvHub_ReadFlash2 TvHub_EraseFlash2 TvHub_VdCmdEnable
    TvHub_Status TvHub_Speed TvHub_PortStatus TvHub_GetLocation TvMultiHub_Open
    TvMultiHub_TurnOffSS TvHub_ReadMem TvHub_CtlPipeOut TvHub_CtlPipeIn TvHub_CtlPipeNoDataOut
    TvHub_GetVendorSetting TvHub_ReadEEPROM TvHub_WriteEEPROM TvHub_WriteEfuse TvHub_ReadEfuse
    TvHub_GetAddrCheckSum TvHub_UpdateScalar TvHub_UpdateFW)
foreach(name IN LISTS vendor_names)
    if(NOT name IN_LIST vendor_exports)
        fail("TxHubLib.dll does not export ${name}")
    endif()
endforeach()
foreach(name IN LISTS bridge_exports vendor_exports)
    if(name MATCHES "@|^_")
        fail("decorated export ${name}: not cdecl")
    endif()
endforeach()

# Program folders: everything their binaries need lies in them.
string(REPLACE "|" ";" folders "${PROGRAM_FOLDERS}")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE shipped ${folder}/*.exe ${folder}/*.dll)
    if(NOT shipped)
        fail("no program folder ${folder}")
        continue()
    endif()
    set(present)
    foreach(binary IN LISTS shipped)
        get_filename_component(name ${binary} NAME)
        string(TOLOWER ${name} name)
        list(APPEND present ${name})
    endforeach()
    foreach(binary IN LISTS shipped)
        pe_dump(${binary} dump)
        imported_dlls("${dump}" imports)
        foreach(dll IN LISTS imports)
            if(NOT dll IN_LIST system_dlls AND NOT dll IN_LIST present
               AND NOT dll STREQUAL "txhublib.dll")
                fail("${binary} needs ${dll}, which is not in ${folder}")
            endif()
        endforeach()
        if(binary MATCHES "\\.exe$" AND NOT dump MATCHES "Subsystem[ \t]+0+2[ \t]")
            fail("${binary} is not a GUI-subsystem program")
        endif()
    endforeach()
    foreach(needed platforms/qwindows.dll styles/qwindowsvistastyle.dll hubbridge.dll)
        get_filename_component(name ${needed} NAME)
        if(NOT name IN_LIST present)
            fail("${folder} has no ${needed}")
        endif()
    endforeach()
    string(REPLACE "|" ";" languages "${LANGUAGES}")
    foreach(language IN LISTS languages)
        set(catalogue translations/qtbase_${language}.qm)
        if(NOT EXISTS "${folder}/${catalogue}")
            fail("${folder} has no ${catalogue}: its standard buttons stay English")
        else()
            file(SHA256 "${folder}/${catalogue}" found)
            file(SHA256 "${QT_TRANSLATIONS}/qtbase_${language}.qm" expected)
            if(NOT found STREQUAL expected)
                fail("${folder}/${catalogue} is not Debian's qtbase_${language}.qm")
            endif()
        endif()
    endforeach()
    if(folder MATCHES "/Panelup$")
        if(NOT VENDOR AND "txhublib.dll" IN_LIST present)
            fail("${folder} ships a TxHubLib.dll: the hub maker's goes there")
        elseif(VENDOR AND NOT "txhublib.dll" IN_LIST present)
            fail("${folder} lacks the hub maker's TxHubLib.dll it was built with")
        elseif(VENDOR)
            file(SHA256 "${VENDOR}" expected)
            file(SHA256 "${folder}/TxHubLib.dll" found)
            if(NOT expected STREQUAL found)
                fail("${folder}/TxHubLib.dll is not the hub maker's ${VENDOR} byte for byte")
            endif()
        endif()
        foreach(binary IN LISTS shipped)
            # The hub maker's binary is theirs, as they ship it.
            if(VENDOR AND binary STREQUAL "${folder}/TxHubLib.dll")
                continue()
            endif()
            execute_process(COMMAND ${OBJDUMP} -h ${binary} OUTPUT_VARIABLE sections)
            if(sections MATCHES "\\.debug_")
                fail("${binary} is not stripped")
            endif()
        endforeach()
    endif()
endforeach()

foreach(package IN ITEMS ZIP MSI)
    if(${package})
        file(SIZE "${${package}}" size)
        math(EXPR megabytes "${size} / 1048576")
        message("${${package}}: ${size} bytes")
        # 12 MiB until Qt's own catalogues came along (0.8 MB in five
        # languages, about 0.45 MB packed).
        if(size GREATER 13631488)
            fail("${${package}} is ${megabytes} MiB, over 13 MiB")
        endif()
    endif()
endforeach()

function(msi_table table out_var)
    execute_process(COMMAND ${MSIINFO} export ${MSI} ${table} OUTPUT_VARIABLE rows
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "msiinfo export ${MSI} ${table} failed")
    endif()
    string(REPLACE "\r" "" rows "${rows}")
    set(${out_var} "${rows}" PARENT_SCOPE)
endfunction()

# The file version of a PE file's version resource, read from its bytes
# (the UTF-16 key "VS_VERSION_INFO", then VS_FIXEDFILEINFO on the next
# 32-bit boundary, signature 0xFEEF04BD); empty when it has none.
function(pe_file_version file out_var)
    set(${out_var} "" PARENT_SCOPE)
    file(READ "${file}" hex HEX)
    set(key "560053005f00560045005200530049004f004e005f0049004e0046004f0000")
    set(rest "${hex}")
    set(base 0)
    while(TRUE)
        string(FIND "${rest}" "${key}" at)
        if(at EQUAL -1)
            return()
        endif()
        math(EXPR absolute "${base} + ${at}")
        math(EXPR odd "${absolute} % 2")
        math(EXPR next "${at} + 2")
        string(SUBSTRING "${rest}" ${next} -1 rest)
        math(EXPR base "${base} + ${next}")
        if(odd)
            continue()
        endif()
        # The structure starts 6 bytes before its key; the fixed part 40
        # bytes after its start (6 + 32, rounded up to 4).
        math(EXPR fixed "${absolute} - 12 + 80")
        string(SUBSTRING "${hex}" ${fixed} 32 info)
        if(NOT info MATCHES "^bd04effe........(..)(..)(..)(..)(..)(..)(..)(..)$")
            continue()
        endif()
        foreach(word IN ITEMS "${CMAKE_MATCH_4}${CMAKE_MATCH_3}" "${CMAKE_MATCH_2}${CMAKE_MATCH_1}"
                "${CMAKE_MATCH_8}${CMAKE_MATCH_7}" "${CMAKE_MATCH_6}${CMAKE_MATCH_5}")
            math(EXPR number "0x${word}")
            list(APPEND parts ${number})
        endforeach()
        list(JOIN parts "." version)
        set(${out_var} "${version}" PARENT_SCOPE)
        return()
    endwhile()
endfunction()

# File rows of the folder's files: File.Version is the file's own.
# Without it Windows Installer takes a versioned file for an unversioned
# one, and an installed file with a version beats a package file without.
function(check_msi_files folder)
    msi_table(File rows)
    file(GLOB_RECURSE all RELATIVE "${folder}" "${folder}/*.exe" "${folder}/*.dll")
    foreach(file IN LISTS all)
        string(MD5 hash "${file}")
        string(SUBSTRING "${hash}" 0 16 hash)
        if(NOT rows MATCHES "\nf${hash}\t[^\t]*\t[^\t]*\t[0-9]+\t([^\t]*)\t")
            fail("${MSI} has no File row for ${file}")
            continue()
        endif()
        set(in_msi "${CMAKE_MATCH_1}")
        pe_file_version("${folder}/${file}" own)
        if(NOT in_msi STREQUAL own)
            fail("${MSI}: File.Version of ${file} is '${in_msi}', the file's own is '${own}'")
        endif()
        if(file STREQUAL "Panelup.exe" AND NOT own STREQUAL VERSION)
            fail("${folder}/Panelup.exe is version '${own}', not ${VERSION}")
        endif()
    endforeach()
    set(failures ${failures} PARENT_SCOPE)
endfunction()

# What Wine cannot show, checked in the tables, with the Windows Installer
# rule each row stands for.
function(check_msi_rules)
    msi_table(Property properties)
    msi_table(File files)
    msi_table(RemoveFile removed)
    msi_table(Component components)
    # File versioning rules: an installed file of equal or higher version
    # stays unless REINSTALLMODE has 'a' (or 'e' for equal ones); Wine's msi
    # ignores REINSTALLMODE, so each file is also removed (RemoveFile,
    # InstallMode 1: on install of its component) before InstallFiles.
    if(NOT properties MATCHES "\nREINSTALLMODE\t[^\n]*a[^\n]*\n")
        fail("${MSI} keeps installed files of equal or higher version (REINSTALLMODE without 'a')")
    endif()
    string(REGEX MATCHALL "\n[^\t\n]+\t[^\t\n]+\t[^\t\n]+\t[0-9]+\t" file_rows "\n${files}")
    foreach(row IN LISTS file_rows)
        if(NOT row MATCHES "^\n([^\t]+)\t([^\t]+)\t([^\t]+)\t")
            continue()
        endif()
        set(key ${CMAKE_MATCH_1})
        set(component ${CMAKE_MATCH_2})
        string(REGEX REPLACE ".*\\|" "" name "${CMAKE_MATCH_3}")
        # File names such as libstdc++-6.dll hold regex characters.
        string(REGEX REPLACE "([][+.*?()^$|\\])" "\\\\\\1" name "${name}")
        if(NOT removed MATCHES "\n[^\t\n]+\t${component}\t${name}\t[^\t\n]+\t1\n")
            fail("${MSI} does not clear ${name} before installing it: an equal version would stay")
        endif()
    endforeach()
    # FindRelatedProducts: the row that removes older products takes this
    # very version too (msidbUpgradeAttributesVersionMaxInclusive, 0x200), so
    # a rebuild of the same version replaces the installed one.
    msi_table(Upgrade upgrades)
    if(NOT upgrades MATCHES "\t\t${VERSION}\t\t([0-9]+)\t\tWIX_UPGRADE_DETECTED")
        fail("${MSI} does not look for older versions up to ${VERSION}")
    else()
        math(EXPR inclusive "${CMAKE_MATCH_1} & 0x200")
        if(NOT inclusive)
            fail("${MSI} installs beside an installed build of the same version ${VERSION}")
        endif()
    endif()
    # The install folder: written at install, read by AppSearch and used
    # before CostFinalize resolves the folders, unless INSTALLDIR is given.
    msi_table(Registry registry)
    msi_table(RegLocator locators)
    msi_table(AppSearch searches)
    msi_table(CustomAction actions)
    if(NOT registry MATCHES "\t2\tSoftware\\\\Norvale\\\\Panelup\tInstallDir\t\\[INSTALLDIR\\]\t"
       OR NOT locators MATCHES "\n([^\t\n]+)\t2\tSoftware\\\\Norvale\\\\Panelup\tInstallDir\t2\n")
        fail("${MSI} does not remember the install folder in HKLM Software/Norvale/Panelup")
    else()
        set(signature ${CMAKE_MATCH_1})
        if(NOT searches MATCHES "\n([^\t\n]+)\t${signature}\n")
            fail("${MSI} does not read the remembered install folder back")
        else()
            set(remembered ${CMAKE_MATCH_1})
            if(NOT actions MATCHES "\n([^\t\n]+)\t51\tINSTALLDIR\t\\[${remembered}\\]\t"
               AND NOT actions MATCHES "\n([^\t\n]+)\t2099\tINSTALLDIR\t\\[${remembered}\\]\t")
                fail("${MSI} does not install into the remembered folder")
            else()
                set(action ${CMAKE_MATCH_1})
                foreach(table InstallExecuteSequence InstallUISequence)
                    msi_table(${table} sequence)
                    string(REGEX MATCH "\nAppSearch\t\t([0-9]+)" found "${sequence}")
                    set(search_at ${CMAKE_MATCH_1})
                    string(REGEX MATCH "\nCostFinalize\t\t([0-9]+)" found "${sequence}")
                    set(cost_at ${CMAKE_MATCH_1})
                    set(condition "")
                    set(at 0)
                    if(sequence MATCHES "\n${action}\t([^\t\n]*)\t([0-9]+)")
                        set(condition "${CMAKE_MATCH_1}")
                        set(at ${CMAKE_MATCH_2})
                    endif()
                    if(NOT condition MATCHES "NOT INSTALLDIR" OR NOT at GREATER search_at
                       OR NOT at LESS cost_at)
                        fail("${MSI}: ${table} does not take the remembered folder between AppSearch and CostFinalize, or overrides INSTALLDIR=")
                    endif()
                endforeach()
                if(NOT properties MATCHES "\nSecureCustomProperties\t[^\n]*${remembered}")
                    fail("${MSI}: ${remembered} is not secure, so a UI install loses it")
                endif()
            endif()
        endif()
    endif()
    foreach(property IN ITEMS "ARPURLINFOABOUT\thttp://${SUPPORT_HOST}/support/software/"
            "ARPHELPLINK\thttp://${SUPPORT_HOST}/support/faq")
        if(NOT properties MATCHES "\n${property}\n")
            fail("${MSI} lacks the property ${property}")
        endif()
    endforeach()
    # The GUID of Panelup.exe's component, as the released packages carry
    # it (SHA-1 name-based in {DE73BA5A-ED96-4A66-BA1B-FBB44E659AD7} of
    # "SourceDir/ProgramFilesFolder/Norvale/Panelup/Program/Panelup.exe"): a
    # different one would make the older product's removal after the
    # upgrade delete the newer Panelup.exe.
    msi_table(Directory directories)
    if(directories MATCHES "\nProgramFiles64Folder\t")
        set(expected "{74080F17-2B53-5523-834A-56D4E3D9BDD3}")
    else()
        set(expected "{99C29A36-4238-53A6-AD0F-2BEF8924DC45}")
    endif()
    string(FIND "${components}" "\nProgram\t${expected}\tINSTALLDIR\t" at)
    if(at EQUAL -1)
        fail("${MSI}: the program's component is not ${expected}")
    endif()
    # Qt's catalogues: installed into translations/, each a component whose
    # GUID comes from its place (SHA-1 name-based, as above), so a later
    # version that keeps the file keeps the component (Windows Installer's
    # component rules: one GUID, one place, across versions).
    if(directories MATCHES "\nProgramFiles64Folder\t")
        set(program_files ProgramFiles64Folder)
    else()
        set(program_files ProgramFilesFolder)
    endif()
    string(MD5 folder_hash "translations/")
    string(SUBSTRING "${folder_hash}" 0 16 folder_hash)
    if(NOT directories MATCHES "\nd${folder_hash}\tINSTALLDIR\t([^\t\n]*\\|)?translations\n")
        fail("${MSI} has no translations folder in the program folder")
    endif()
    string(REPLACE "|" ";" languages "${LANGUAGES}")
    foreach(language IN LISTS languages)
        set(name qtbase_${language}.qm)
        string(MD5 hash "translations/${name}")
        string(SUBSTRING "${hash}" 0 16 hash)
        string(UUID guid NAMESPACE DE73BA5A-ED96-4A66-BA1B-FBB44E659AD7
            NAME "SourceDir/${program_files}/Norvale/Panelup/translations/c${hash}/${name}"
            TYPE SHA1 UPPER)
        string(FIND "${components}" "\nc${hash}\t{${guid}}\td${folder_hash}\t" at)
        if(at EQUAL -1)
            fail("${MSI} does not install translations/${name} as component {${guid}}")
        endif()
        if(NOT files MATCHES "\nf${hash}\tc${hash}\t[^\t]*${name}\t")
            fail("${MSI} has no File row for translations/${name}")
        endif()
    endforeach()
    set(failures ${failures} PARENT_SCOPE)
endfunction()

if(MSI)
    msi_table(Property properties)
    foreach(property IN ITEMS "ProductName\tPanelup" "Manufacturer\tNorvale"
            "ProductVersion\t${VERSION}" "ALLUSERS\t1" "ARPPRODUCTICON\tPanelup.ico"
            "UpgradeCode\t{6F1A3C52-0B7E-4D8A-9C41-2E5D7B9A1F30}")
        string(FIND "${properties}" "\n${property}\n" at)
        if(at EQUAL -1)
            fail("${MSI} lacks the property ${property}")
        endif()
    endforeach()
    msi_table(RemoveFile removed)
    string(FIND "${removed}" "\nConfigIni\tProgram\tConfig.ini\tINSTALLDIR\t2\n" at)
    if(at EQUAL -1)
        fail("${MSI} does not remove Config.ini with the program")
    endif()
    # An older package over a newer installation is refused with its message.
    msi_table(Upgrade upgrades)
    string(FIND "${upgrades}" "\t${VERSION}\t\t\t2\t\tWIX_DOWNGRADE_DETECTED" at)
    msi_table(LaunchCondition conditions)
    string(FIND "${conditions}"
        "\nNOT WIX_DOWNGRADE_DETECTED\tA newer version of Panelup is already installed." refused)
    if(at EQUAL -1 OR refused EQUAL -1)
        fail("${MSI} does not refuse to replace a newer version")
    endif()
    msi_table(InstallExecuteSequence sequence)
    string(REGEX MATCH "\nRemoveExistingProducts\t\t([0-9]+)" found "${sequence}")
    set(remove_at ${CMAKE_MATCH_1})
    string(REGEX MATCH "\nInstallFiles\t\t([0-9]+)" found "${sequence}")
    if(NOT remove_at OR NOT remove_at GREATER CMAKE_MATCH_1)
        fail("${MSI} removes the older version before the newer one is in place")
    endif()
    msi_table(File msi_files)
    string(REGEX MATCHALL "\n[^\t\n]+\t[^\t\n]+\t[^\t\n]+\t" rows "\n${msi_files}")
    list(LENGTH rows msi_count)
    foreach(folder IN LISTS folders)
        if(folder MATCHES "/Panelup$")
            file(GLOB_RECURSE all_files ${folder}/*)
            list(LENGTH all_files folder_count)
            # The export's column names and types are no files.
            math(EXPR msi_count "${msi_count} - 2")
            if(NOT msi_count EQUAL folder_count)
                fail("${MSI} installs ${msi_count} files, ${folder} holds ${folder_count}")
            endif()
            check_msi_files("${folder}")
        endif()
    endforeach()
    check_msi_rules()
endif()

# Debian's fixes for what Panelup ships: QtCore's XML stream reader, QtNetwork's
# header parsing, QtGui's text layout, among others.
if(QT_PATCHES)
    file(STRINGS "${QT_PATCHES}" applied REGEX "^[^#]")
    list(LENGTH applied applied_count)
    message("${QT_PATCHES}: ${applied_count} Debian patches applied")
    foreach(patch IN ITEMS CVE-2023-37369.diff CVE-2023-38197.diff CVE-2023-32762.diff
            CVE-2023-32763.diff CVE-2023-24607.diff CVE-2023-33285.diff CVE-2023-34410.diff
            CVE-2023-51714.diff CVE-2024-25580.diff CVE-2024-39936.diff CVE-2022-25255.diff)
        if(NOT patch IN_LIST applied)
            fail("Qt for Windows is built without Debian's ${patch}")
        endif()
    endforeach()
endif()

message("${count} binaries checked: ${failures} failed")
if(failures GREATER 0)
    message(FATAL_ERROR "cross-built binaries are not fit to ship")
endif()
