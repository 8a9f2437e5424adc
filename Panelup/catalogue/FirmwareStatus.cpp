#include "catalogue/FirmwareStatus.h"

#include "catalogue/FirmwareChecks.h"
#include "scalar/ScalarQueries.h"
#include "seams/WindowText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace catalogue {

namespace {

using seams::translate;

// "M" + major in hexadecimal, three digits: 0x12 gives M012.
QString scalarVersionText(int major) {
    return QStringLiteral("M%1").arg(major, 3, 16, QLatin1Char('0'));
}

// Major in decimal, minor in two hexadecimal digits: 1.0x20 gives 1.20.
QString hubVersionText(int major, int minor) {
    return QStringLiteral("%1.%2").arg(major).arg(minor, 2, 16, QLatin1Char('0'));
}

QString revisionText(int minor) {
    return QStringLiteral("REV ") + QString::number(minor);
}

QString monitorFwText(const QString& version) {
    return translate("Panelup", "Monitor FW : <b>").shown() + version + QStringLiteral("</b>");
}

QString hubFwText(const QString& version) {
    return translate("Panelup", "Hub FW : <b>").shown() + version + QStringLiteral("</b>");
}

QString checksumLabelText(const QByteArray& bytes) {
    const uint16_t sum =
        byteChecksum(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
    return QStringLiteral("0x") + QString::number(sum, 16);
}

QByteArray readStoredFile(const QString& programFolder, const QString& name) {
    if (name.isEmpty())
        return {};
    QFile file(QDir(programFolder).absoluteFilePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Version bytes are signed; a file too short to hold one reads 0.
int versionByte(const QByteArray& bytes, int offset) {
    return offset < bytes.size() ? static_cast<int>(static_cast<qint8>(bytes[offset])) : 0;
}

// LM0410 hubs report 2.0 for what is 1.0x20.
void applyLm0410Rule(const QString& modelText, int& major, int& minor) {
    if (modelText == QLatin1String("LM0410") && major == 2 && minor == 0) {
        major = 1;
        minor = 0x20;
    }
}

} // namespace

int storedScalarVersion(const QString& programFolder, const QString& scalarBinFile) {
    const QByteArray file = readStoredFile(programFolder, scalarBinFile);
    return packedVersion(versionByte(file, scalarMajorOffset),
                         versionByte(file, scalarMinorOffset));
}

int comparableHubVersion(int reported, const QString& model) {
    int major = (reported >> 8) & 0xFF;
    int minor = reported & 0xFF;
    applyLm0410Rule(model, major, minor);
    return packedVersion(major, minor);
}

int storedHubVersion(const QString& programFolder, const QString& hubBinFile,
                     const QString& model) {
    const QByteArray file = readStoredFile(programFolder, hubBinFile);
    int major = versionByte(file, hubMajorOffset);
    int minor = versionByte(file, hubMinorOffset);
    applyLm0410Rule(model, major, minor);
    return packedVersion(major, minor);
}

bool showFirmwareStatus(FirmwareStatusContext& c) {
    scalar::ScalarQueries& queries = *c.queries;
    FirmwareStatusView& view = *c.view;
    FirmwareState& s = c.state;
    int hubVersion = 0;
    if (!queries.queryHubFirmware(hubVersion))
        return false;

    const bool scalarRead =
        queries.queryScalarFirmware(s.scalarVersionMajor, s.scalarVersionMinor, false);
    QString currentText = scalarVersionText(s.scalarVersionMajor);
    view.setCurrentFirmware(monitorFwText(currentText));

    QString modelText;
    if (scalarRead) {
        modelText = QString::fromStdString(queries.queryModelName()).toUpper();
        modelText.remove(QStringLiteral(" SERIES"));
    }

    view.setOverrideChecked(false);
    view.setOverrideShown(false);
    view.setUpdateEnabled(false);

    s.hubVersionMinor = hubVersion & 0xFF;
    s.hubVersionMajor = (hubVersion >> 8) & 0xFF;
    applyLm0410Rule(modelText, s.hubVersionMajor, s.hubVersionMinor);

    const QByteArray hubFile = readStoredFile(c.programFolder, c.hubBinFile);
    int storedHubMajor = versionByte(hubFile, hubMajorOffset);
    int storedHubMinor = versionByte(hubFile, hubMinorOffset);
    applyLm0410Rule(modelText, storedHubMajor, storedHubMinor);

    s.hubUpdateNeeded = packedVersion(s.hubVersionMajor, s.hubVersionMinor) <
                        packedVersion(storedHubMajor, storedHubMinor);
    if (s.hubUpdateNeeded) {
        view.setChecksum(checksumLabelText(hubFile));
        view.setInfo(translate("Panelup", "Please click update button to update new firmware!"));
        view.setOverrideEnabled(false);
        view.setOverrideShown(false);
        view.setUpdateEnabled(true);
        view.setCurrentFirmware(hubFwText(hubVersionText(s.hubVersionMajor, s.hubVersionMinor)));
        view.setNewFirmware(hubFwText(hubVersionText(storedHubMajor, storedHubMinor)));
        view.setModelName(c.modelName);
        return true;
    }

    const QByteArray scalarFile = readStoredFile(c.programFolder, c.scalarBinFile);
    view.setChecksum(checksumLabelText(scalarFile));
    if (scalarFile.isEmpty()) {
        view.setInfo(translate("Panelup", "Firmware file is not detected ."));
        view.setUpdateEnabled(false);
        return true;
    }

    const int storedMajor = versionByte(scalarFile, scalarMajorOffset);
    const int storedMinor = versionByte(scalarFile, scalarMinorOffset);
    s.scalarUpdateNeeded = packedVersion(s.scalarVersionMajor, s.scalarVersionMinor) <
                           packedVersion(storedMajor, storedMinor);

    QString newText = scalarVersionText(storedMajor);
    if (s.scalarUpdateNeeded && s.scalarVersionMajor == storedMajor) {
        currentText += revisionText(s.scalarVersionMinor);
        newText += revisionText(storedMinor);
        view.setCurrentFirmware(monitorFwText(currentText));
    }
    view.setNewFirmware(monitorFwText(newText));

    if (s.scalarUpdateNeeded) {
        view.setInfo(translate("Panelup", "Please click \"update\" to update your firmware."));
        view.setOverrideEnabled(false);
        view.setOverrideShown(false);
        view.setUpdateEnabled(true);
        return true;
    }

    view.setInfo(translate(
        "Panelup", "<img width=20 height=20 src=\":/Panelup/question_mark\"> Your current firmware "
                   "version is already the latest version, you don't need to update."));
    view.fillProgress();
    view.setUpdateEnabled(false);
    if (c.allowDowngrade) {
        view.setOverrideShown(true);
        s.scalarUpdateNeeded = true;
        view.setOverrideEnabled(true);
    }
    return true;
}

} // namespace catalogue
