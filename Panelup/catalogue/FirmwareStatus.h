#pragma once

#include "seams/WindowText.h"

#include <QString>

namespace scalar {
class ScalarQueries;
}

namespace catalogue {

// Where the status is shown: the window's labels, Update button, override
// check box and progress bar.
class FirmwareStatusView {
public:
    virtual ~FirmwareStatusView() = default;
    virtual void setModelName(const QString& text) = 0;
    virtual void setCurrentFirmware(const QString& text) = 0;
    virtual void setNewFirmware(const QString& text) = 0;
    virtual void setChecksum(const QString& text) = 0;
    virtual void setInfo(const seams::UiText& text) = 0;
    virtual void setUpdateEnabled(bool enabled) = 0;
    virtual void setOverrideChecked(bool checked) = 0;
    virtual void setOverrideShown(bool shown) = 0;
    virtual void setOverrideEnabled(bool enabled) = 0;
    // The progress bar full, painted at once.
    virtual void fillProgress() = 0;
};

// The installed versions and what the Update button will write, as the
// window keeps them: the status reads them and writes back what it finds.
struct FirmwareState {
    int hubVersionMajor = 0;
    int hubVersionMinor = 0;
    int scalarVersionMajor = 0;
    int scalarVersionMinor = 0;
    bool hubUpdateNeeded = false;
    bool scalarUpdateNeeded = false;
};

// What the status display needs of the window; the window fills it field by
// field per call.
struct FirmwareStatusContext {
    scalar::ScalarQueries* queries = nullptr;
    FirmwareStatusView* view = nullptr;
    QString hubBinFile;    // relative to programFolder
    QString scalarBinFile; // relative to programFolder
    QString modelName;
    bool allowDowngrade = false;
    QString programFolder;
    FirmwareState state;
};

// Version bytes inside the stored firmware files.
constexpr int hubMajorOffset = 0x7EF9;
constexpr int hubMinorOffset = 0x7EFA;
constexpr int scalarMajorOffset = 0xF900;
constexpr int scalarMinorOffset = 0xF901;

// The packed version (major x 256 + minor) of the stored scalar file named
// relative to programFolder; 0 for a missing or short file.
int storedScalarVersion(const QString& programFolder, const QString& scalarBinFile);
// The hub version the monitor reports (major x 256 + minor) as the status
// compares it for model.
int comparableHubVersion(int reported, const QString& model);
// The same for the stored hub file, as the status compares it for model.
int storedHubVersion(const QString& programFolder, const QString& hubBinFile, const QString& model);

// Reads the installed versions from the monitor and the stored files'
// versions, shows both with the stored file's checksum, and decides what
// the Update button will write (hub first, then scalar). False when the hub
// did not answer: nothing was read and the state is as it was.
bool showFirmwareStatus(FirmwareStatusContext& context);

} // namespace catalogue
