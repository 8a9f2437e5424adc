#include "catalogue/FirmwareStatus.h"

#include "catalogue/FirmwareChecks.h"
#include "scalar/ScalarQueries.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace catalogue {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Panelup", text);
}

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
    return tr("Monitor FW : <b>") + version + QStringLiteral("</b>");
}

QString hubFwText(const QString& version) {
    return tr("Hub FW : <b>") + version + QStringLiteral("</b>");
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

void showFirmwareStatus(FirmwareStatusContext& c) {
    int hubVersion = 0;
    if (!c.queries.queryHubFirmware(hubVersion))
        return;

    const bool scalarRead =
        c.queries.queryScalarFirmware(c.scalarVersionMajor, c.scalarVersionMinor, false);
    QString currentText = scalarVersionText(c.scalarVersionMajor);
    c.lblCurrentFW->setText(monitorFwText(currentText));

    QString modelText;
    if (scalarRead) {
        modelText = QString::fromStdString(c.queries.queryModelName()).toUpper();
        modelText.remove(QStringLiteral(" SERIES"));
    }

    c.chkOverride->setChecked(false);
    c.chkOverride->hide();
    c.btnUpdate->setEnabled(false);

    c.hubVersionMinor = hubVersion & 0xFF;
    c.hubVersionMajor = (hubVersion >> 8) & 0xFF;
    applyLm0410Rule(modelText, c.hubVersionMajor, c.hubVersionMinor);

    const QByteArray hubFile = readStoredFile(c.programFolder, c.hubBinFile);
    int storedHubMajor = versionByte(hubFile, hubMajorOffset);
    int storedHubMinor = versionByte(hubFile, hubMinorOffset);
    applyLm0410Rule(modelText, storedHubMajor, storedHubMinor);

    c.hubUpdateNeeded = packedVersion(c.hubVersionMajor, c.hubVersionMinor) <
                        packedVersion(storedHubMajor, storedHubMinor);
    if (c.hubUpdateNeeded) {
        c.lblCheckSum->setText(checksumLabelText(hubFile));
        c.lblInfo->setText(tr("Please click update button to update new firmware!"));
        c.chkOverride->setEnabled(false);
        c.chkOverride->hide();
        c.btnUpdate->setEnabled(true);
        c.lblCurrentFW->setText(hubFwText(hubVersionText(c.hubVersionMajor, c.hubVersionMinor)));
        c.lblNewFW->setText(hubFwText(hubVersionText(storedHubMajor, storedHubMinor)));
        c.lblModelName->setText(c.modelName);
        return;
    }

    const QByteArray scalarFile = readStoredFile(c.programFolder, c.scalarBinFile);
    c.lblCheckSum->setText(checksumLabelText(scalarFile));
    if (scalarFile.isEmpty()) {
        c.lblInfo->setText(tr("Firmware file is not detected ."));
        c.btnUpdate->setEnabled(false);
        return;
    }

    const int storedMajor = versionByte(scalarFile, scalarMajorOffset);
    const int storedMinor = versionByte(scalarFile, scalarMinorOffset);
    c.scalarUpdateNeeded = packedVersion(c.scalarVersionMajor, c.scalarVersionMinor) <
                           packedVersion(storedMajor, storedMinor);

    QString newText = scalarVersionText(storedMajor);
    if (c.scalarUpdateNeeded && c.scalarVersionMajor == storedMajor) {
        currentText += revisionText(c.scalarVersionMinor);
        newText += revisionText(storedMinor);
        c.lblCurrentFW->setText(monitorFwText(currentText));
    }
    c.lblNewFW->setText(monitorFwText(newText));

    if (c.scalarUpdateNeeded) {
        c.lblInfo->setText(tr("Please click \"update\" to update your firmware."));
        c.chkOverride->setEnabled(false);
        c.chkOverride->hide();
        c.btnUpdate->setEnabled(true);
        return;
    }

    c.lblInfo->setText(
        tr("<img width=20 height=20 src=\":/Panelup/question_mark\"> Your current firmware "
           "version is already the latest version, you don't need to update."));
    c.bar1->setValue(c.bar1->maximum());
    QCoreApplication::processEvents();
    c.btnUpdate->setEnabled(false);
    if (c.allowDowngrade) {
        c.chkOverride->show();
        c.scalarUpdateNeeded = true;
        c.chkOverride->setEnabled(true);
    }
}

} // namespace catalogue
