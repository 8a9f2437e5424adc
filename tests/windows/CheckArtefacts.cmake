cmake_minimum_required(VERSION 3.16)
# Checks the cross-built binaries without running them:
#   cmake -DOBJDUMP=<objdump> -DBIN=<folder> -P CheckArtefacts.cmake
# - every binary needs only DLLs that come with Windows (the MinGW runtime is
#   linked in), so nothing but Hubbridge.dll and TxHubLib.dll ships beside
#   Panelup.exe;
# - Hubbridge.dll exports exactly its eleven functions, undecorated;
# - TxHubLib.dll exports the 28 vendor names that Hubbridge binds.
set(system_dlls
    kernel32.dll user32.dll advapi32.dll version.dll dxva2.dll gdi32.dll msvcrt.dll
    shell32.dll ole32.dll)
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

file(GLOB_RECURSE binaries ${BIN}/*.exe ${BIN}/*.dll)
list(LENGTH binaries count)
if(count EQUAL 0)
    message(FATAL_ERROR "no binaries in ${BIN}")
endif()
foreach(binary IN LISTS binaries)
    pe_dump(${binary} dump)
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REPLACE "DLL Name: " "" dll "${import}")
        string(STRIP "${dll}" dll)
        string(TOLOWER "${dll}" dll)
        if(NOT dll IN_LIST system_dlls AND NOT dll IN_LIST shipped_dlls
           AND NOT dll MATCHES "^api-ms-win-")
            fail("${binary} needs ${dll}")
        endif()
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

message("${count} binaries checked: ${failures} failed")
if(failures GREATER 0)
    message(FATAL_ERROR "cross-built binaries are not fit to ship")
endif()
