cmake_minimum_required(VERSION 3.16)
# Checks the cross-built binaries without running them:
#   cmake -DOBJDUMP=<objdump> -DBIN=<folder> -DFORMAT=<pei-i386|pei-x86-64>
#         [-DPROGRAM_FOLDERS=<folder|folder>] [-DVENDOR=ON] [-DZIP=<zip>]
#         [-DMSI=<msi> -DMSIINFO=<msiinfo> -DVERSION=<a.b.c.d>]
#         [-DQT_PATCHES=<debian-patches.txt>] -P CheckArtefacts.cmake
# - every binary is of the one bitness (32-bit x86 by default): the program,
#   Hubbridge and the hub maker's TxHubLib.dll must match;
# - Hubbridge.dll, TxHubLib.dll and the Qt-free programs need only DLLs that
#   come with Windows (their MinGW runtime is linked in); Qt programs may
#   also need Qt's DLLs and the MinGW runtime DLLs beside them;
# - Hubbridge.dll exports exactly its eleven functions, undecorated (cdecl);
# - TxHubLib.dll exports the 28 vendor names that Hubbridge binds;
# - each program folder holds every DLL its binaries need, and a GUI
#   program; the user's folder holds no TxHubLib.dll unless the build was
#   given the hub maker's (VENDOR); every binary there is stripped;
# - the zip and the MSI stay under 12 MB; the MSI installs per machine what
#   the folder holds, names Panelup, Norvale and the version, keeps its
#   upgrade code, removes Config.ini on uninstall only, and replaces an older
#   version only after it is in place;
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
    if(folder MATCHES "/Panelup$")
        if(NOT VENDOR AND "txhublib.dll" IN_LIST present)
            fail("${folder} ships a TxHubLib.dll: the hub maker's goes there")
        elseif(VENDOR AND NOT "txhublib.dll" IN_LIST present)
            fail("${folder} lacks the hub maker's TxHubLib.dll it was built with")
        endif()
        foreach(binary IN LISTS shipped)
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
        if(size GREATER 12582912)
            fail("${${package}} is ${megabytes} MB, over 12 MB")
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
        endif()
    endforeach()
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
