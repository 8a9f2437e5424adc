#pragma once

#include <QString>

// Addresses that belong to the deployment; the hosts are CMake cache
// variables.
namespace seams::deployment {

inline QString updateSiteUrl() {
    return QStringLiteral("http://" PANELUP_UPDATE_HOST "/dept-pmsd/FW2/");
}
inline QString testUpdateSiteUrl() {
    return QStringLiteral("http://" PANELUP_UPDATE_HOST "/dept-pmsd/FW2_Test/");
}
inline QString supportFaqUrl() {
    return QStringLiteral("http://" PANELUP_SUPPORT_HOST "/support/faq");
}
inline QString supportSoftwareUrl() {
    return QStringLiteral("http://" PANELUP_SUPPORT_HOST "/support/software/");
}

} // namespace seams::deployment
