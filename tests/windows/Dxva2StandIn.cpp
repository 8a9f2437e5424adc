// A stand-in for dxva2.dll, whose Wine build reports no physical monitors:
// one physical monitor per display that answers the DDC/CI probe (VCP 0xDF,
// MCCS 2.1). Laid beside the real Panelup.exe in a test copy of its folder,
// with a Wine DLL override, it lets the program go on from the physical
// monitor to the monitor device's EDID in the registry.
#include <windows.h>

#include <cwchar>

namespace {
// PHYSICAL_MONITOR: a handle and a 128-character description.
struct PhysicalMonitorRecord {
    HANDLE handle;
    WCHAR description[128];
};
const HANDLE StandInMonitor = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5A5A));
} // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI
    GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD* count) {
    if (!monitor || !count)
        return FALSE;
    *count = 1;
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI GetPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD count,
                                                                  PhysicalMonitorRecord* monitors) {
    if (!monitor || count != 1 || !monitors)
        return FALSE;
    monitors[0].handle = StandInMonitor;
    wcsncpy(monitors[0].description, L"Generic PnP Monitor", 127);
    monitors[0].description[127] = L'\0';
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI DestroyPhysicalMonitor(HANDLE) {
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI DestroyPhysicalMonitors(DWORD, PhysicalMonitorRecord*) {
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI
    GetVCPFeatureAndVCPFeatureReply(HANDLE monitor, BYTE code, int* type, DWORD* current,
                                    DWORD* maximum) {
    if (monitor != StandInMonitor || code != 0xDF)
        return FALSE;
    if (type)
        *type = 0;
    if (current)
        *current = 0x0201;
    if (maximum)
        *maximum = 0xFFFF;
    return TRUE;
}

} // extern "C"
