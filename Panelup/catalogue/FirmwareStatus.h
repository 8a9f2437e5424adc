#pragma once

#include <QString>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace scalar {
class ScalarQueries;
}

namespace catalogue {

// What the status display needs of the window; the window builds it per
// call. The references are written back.
struct FirmwareStatusContext {
    scalar::ScalarQueries& queries;
    QLabel* lblModelName;
    QLabel* lblCurrentFW;
    QLabel* lblNewFW;
    QLabel* lblCheckSum;
    QLabel* lblInfo;
    QPushButton* btnUpdate;
    QCheckBox* chkOverride;
    QProgressBar* bar1;
    int& hubVersionMajor;
    int& hubVersionMinor;
    int& scalarVersionMajor;
    int& scalarVersionMinor;
    bool& hubUpdateNeeded;
    bool& scalarUpdateNeeded;
    QString hubBinFile;    // relative to programFolder
    QString scalarBinFile; // relative to programFolder
    QString modelName;
    bool allowDowngrade = false;
    QString programFolder;
};

// Version bytes inside the stored firmware files.
constexpr int hubMajorOffset = 0x7EF9;
constexpr int hubMinorOffset = 0x7EFA;
constexpr int scalarMajorOffset = 0xF900;
constexpr int scalarMinorOffset = 0xF901;

// Reads the installed versions from the monitor and the stored files'
// versions, shows both with the stored file's checksum, and decides what
// the Update button will write (hub first, then scalar).
void showFirmwareStatus(FirmwareStatusContext& context);

} // namespace catalogue
