#include "scalar/HubConnection.h"

#include "Hubbridge.h"
#include "scalar/Frames.h"
#include "scalar/ScalarQueries.h"
#include "seams/Deployment.h"
#include "seams/Dialogs.h"

#include <QCoreApplication>
#include <QDebug>

namespace scalar {

HubConnection::Failure HubConnection::open(bool configureBus) {
    if (CloseDevice() == 0) {
        qDebug() << "Hub connection: the hub library is missing";
        return Failure::LibraryMissing;
    }
    const int count = AvailableDevices();
    hubIndex_ = 0;
    if (count == 0) {
        qDebug() << "Hub connection: no hub found";
        return Failure::NoHub;
    }
    char description[HUBBRIDGE_DESCRIPTION_SIZE] = {};
    // The bridge may move i past hubs it skipped; it is asked count times
    // whatever i becomes.
    int32_t i = 0;
    for (int call = 0; call < count; ++call, ++i) {
        int32_t superSpeed = 0;
        if (GetHIDDev(description, &i, &superSpeed) == 1)
            hubIndex_ = i;
    }
    qDebug() << "Hub connection: hub" << hubIndex_ << "of" << count;
    OpenDevice(hubIndex_);
    if (configureBus && SetBusSpeed(kSlaveAddress, kMemoryAddressLength, kBusSpeed) == 0) {
        qDebug() << "Hub connection: bus configuration refused";
        return Failure::BusConfigRefused;
    }
    return Failure::None;
}

void HubConnection::close() {
    CloseDevice();
}

void HubConnection::report(Failure failure, ConnectionReporter& reporter) {
    const seams::UiText title = seams::translate("HubConnection", "Fatal Error");
    switch (failure) {
    case Failure::None:
        return;
    case Failure::LibraryMissing:
        seams::dialogs().message(
            seams::DialogIcon::Warning, title,
            seams::translate("HubConnection", "Cannot found the Tarvex USB Hub driver installed!"));
        return;
    case Failure::NoHub:
        reporter.showHubNotDetected();
        return;
    case Failure::BusConfigRefused:
        seams::dialogs().message(seams::DialogIcon::Warning, title,
                                 seams::translate("HubConnection", "Set Hub Speed failed!!!"));
        return;
    }
}

seams::UiText hubNotDetectedText() {
    const QString faq = seams::deployment::supportFaqUrl();
    return seams::UiText::verbatim(
               QStringLiteral("<img width=20 height=20 src=\":/Panelup/cross_mark\"> ")) +
           seams::translate(
               "HubConnection",
               "The detection of USB Hub is not configured correctly. Please ensure the monitor "
               "is powered on and connected properly. Please also close and restart the "
               "application, then unplug & replug the USB cable to retry again. ") +
           seams::UiText::verbatim(QStringLiteral("<a href=\"%1\">%1</a>").arg(faq));
}

} // namespace scalar
