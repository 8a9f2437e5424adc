#include "app/RunVerdict.h"

#include "app/CommandLine.h"

namespace app {

namespace {

using scalar::HubConnection;
using update::UpdateEnd;

QString hubText(int packed) {
    return QStringLiteral("%1.%2").arg(packed >> 8).arg(packed & 0xFF, 2, 16, QLatin1Char('0'));
}

QString scalarText(int packed) {
    return QStringLiteral("M%1 REV %2")
        .arg(packed >> 8, 3, 16, QLatin1Char('0'))
        .arg(packed & 0xFF);
}

QString failureText(HubConnection::Failure failure) {
    switch (failure) {
    case HubConnection::Failure::None:
        break;
    case HubConnection::Failure::LibraryMissing:
        return QStringLiteral("the hub maker's library is missing");
    case HubConnection::Failure::NoHub:
        return QStringLiteral("the hub did not answer");
    case HubConnection::Failure::BusConfigRefused:
        return QStringLiteral("the hub refused its I2C bus configuration");
    }
    return QStringLiteral("the monitor did not answer");
}

Verdict startupVerdict(const RunFacts& f) {
    const StartupOutcome& s = f.startup;
    switch (s.end) {
    case StartupEnd::SeveralHubs:
        return {ExitSeveralMonitors, QStringLiteral("several hubs attached")};
    case StartupEnd::SeveralMonitors:
        return {ExitSeveralMonitors, QStringLiteral("several monitors paired with a hub")};
    case StartupEnd::NoHubPaired:
        return {ExitNothingSupported, s.hubFailure == HubConnection::Failure::LibraryMissing
                                          ? failureText(s.hubFailure)
                                          : QStringLiteral("no monitor paired with a hub")};
    case StartupEnd::UnknownModel:
        return {ExitNothingSupported, QStringLiteral("no supported model")};
    case StartupEnd::StoredFirmwareBad:
        return {ExitStoredFirmwareBad,
                QStringLiteral("a stored firmware file does not match its record")};
    case StartupEnd::Ready:
        break;
    }
    if (!s.storeProblem.isEmpty())
        return {ExitFailed, QStringLiteral("firmware not stored: ") + s.storeProblem};
    if (!s.statusRead)
        return {s.hubFailure == HubConnection::Failure::LibraryMissing ? ExitNothingSupported
                                                                       : ExitFailed,
                failureText(s.hubFailure)};
    if (s.connectionUnsupported)
        return {ExitUnsupportedConnection,
                QStringLiteral("the LM0530 is not connected by HDMI; nothing written")};
    if (!s.siteReachable)
        return {ExitSiteFailed, QStringLiteral("update site not reachable")};
    if (!s.catalogueFetched)
        return {ExitSiteFailed, QStringLiteral("the catalogue was not fetched")};
    if (!s.failedDownloads.isEmpty())
        return {ExitSiteFailed,
                QStringLiteral("download failed: ") + s.failedDownloads.join(QStringLiteral(", "))};
    if (!f.updateApplies)
        return {ExitNothingToDo, QString()};
    return {ExitUpdated, QString()};
}

Verdict readBackVerdict(const update::UpdateOutcome& u, const ReadBack& r) {
    QStringList wrong;
    if (u.hubWritten && !r.hubAnswered)
        wrong << QStringLiteral("the hub does not answer");
    else if (u.hubWritten && r.hub != r.storedHub)
        wrong << QStringLiteral("the monitor reports hub firmware %1, written %2")
                     .arg(hubText(r.hub), hubText(r.storedHub));
    if (u.scalarWritten && !r.scalarAnswered)
        wrong << QStringLiteral("the scalar does not answer");
    else if (u.scalarWritten && r.scalar != r.storedScalar)
        wrong << QStringLiteral("the monitor reports scalar firmware %1, written %2")
                     .arg(scalarText(r.scalar), scalarText(r.storedScalar));
    if (!wrong.isEmpty())
        return {ExitFailed, wrong.join(QStringLiteral("; "))};
    return {ExitUpdated, QString()};
}

} // namespace

Verdict verdictOf(const RunFacts& f) {
    const Verdict before = startupVerdict(f);
    if (before.code != ExitUpdated || f.checkOnly || !f.update)
        return before;
    const update::UpdateOutcome& u = *f.update;
    const bool changed = u.hubWritten || u.scalarWritten;
    // Whatever came after (a scalar write that then found no hub, or one
    // the hub still took): the hub that stopped answering is the reason.
    if (u.hubSilentAfterWrite)
        return {ExitFailed,
                QStringLiteral("the hub did not answer after its firmware was written") +
                    (u.scalarWritten ? QString()
                                     : QStringLiteral("; the scalar firmware was not written"))};
    switch (u.end) {
    case UpdateEnd::Completed:
        return readBackVerdict(u, f.readBack);
    case UpdateEnd::HubLibraryMissing:
        return {changed ? ExitFailed : ExitNothingSupported,
                failureText(HubConnection::Failure::LibraryMissing)};
    case UpdateEnd::HubFileUnusable:
    case UpdateEnd::ScalarFileUnusable:
        return {changed ? ExitFailed : ExitStoredFirmwareBad,
                u.end == UpdateEnd::HubFileUnusable
                    ? QStringLiteral("the stored hub firmware file is missing or altered")
                    : QStringLiteral("the stored scalar firmware file is missing or altered")};
    case UpdateEnd::ModelUnknown:
        return {ExitFailed, QStringLiteral("no scalar write parameters for the model")};
    case UpdateEnd::HubWriteFailed:
        return {ExitFailed, QStringLiteral("the hub firmware write failed")};
    case UpdateEnd::ScalarWriteFailed:
        return {ExitFailed, QStringLiteral("the scalar firmware write failed")};
    case UpdateEnd::NotConfirmed:
    case UpdateEnd::NothingToWrite:
        break;
    }
    return {ExitFailed, QStringLiteral("the update ended without writing what applied")};
}

} // namespace app
