#include "InstallerEvents.h"

#include <aclapi.h>

HANDLE createInstallerEvent(const wchar_t* name) {
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
        return nullptr;
    }
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, FALSE};
    return CreateEventW(&attributes, FALSE, FALSE, name);
}

bool hasNullDacl(HANDLE event, bool& known) {
    known = false;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(event, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL queried = nullptr;
    const BOOL read = GetSecurityDescriptorDacl(descriptor, &present, &queried, &defaulted);
    LocalFree(descriptor);
    if (!read) {
        return false;
    }
    known = true;
    return present && queried == nullptr;
}
