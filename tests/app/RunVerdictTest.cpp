// What an unattended run ends with, for every way the start-up sequence and
// the update can end, including those the window shows no box for.
#include "app/RunVerdict.h"
#include "app/CommandLine.h"

#include <QtTest>

using app::RunFacts;
using app::StartupEnd;
using update::UpdateEnd;
using Failure = scalar::HubConnection::Failure;

Q_DECLARE_METATYPE(RunFacts)

namespace {

// A start-up that found one LM0420, reached the site and stored everything.
RunFacts ready(bool updateApplies = true) {
    RunFacts f;
    f.startup.hubs = 1;
    f.startup.monitors = 1;
    f.startup.paired = 1;
    f.startup.siteReachable = true;
    f.startup.catalogueFetched = true;
    f.startup.statusRead = true;
    f.startup.updateOffered = updateApplies;
    f.updateApplies = updateApplies;
    return f;
}

// An update that wrote what it was asked to, and a monitor that reports it.
RunFacts updated(UpdateEnd end, bool hub, bool scalar) {
    RunFacts f = ready();
    update::UpdateOutcome u;
    u.end = end;
    u.hubWritten = hub;
    u.scalarWritten = scalar;
    f.update = u;
    f.readBack = {true, 0x0122, true, 0x1205, 0x0122, 0x1205};
    return f;
}

} // namespace

class RunVerdictTest : public QObject {
    Q_OBJECT

private slots:
    void verdict_data() {
        QTest::addColumn<RunFacts>("facts");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason"); // contained in the reason

        auto row = [](const char* name, const RunFacts& facts, int code, const QString& reason) {
            QTest::newRow(name) << facts << code << reason;
        };
        auto startup = [](StartupEnd end) {
            RunFacts f = ready();
            f.startup.end = end;
            return f;
        };

        row("several hubs", startup(StartupEnd::SeveralHubs), app::ExitSeveralMonitors,
            "several hubs");
        row("several monitors", startup(StartupEnd::SeveralMonitors), app::ExitSeveralMonitors,
            "several monitors");
        row("no hub paired", startup(StartupEnd::NoHubPaired), app::ExitNothingSupported,
            "no monitor paired");
        RunFacts noLibrary = startup(StartupEnd::NoHubPaired);
        noLibrary.startup.hubFailure = Failure::LibraryMissing;
        row("no hub library", noLibrary, app::ExitNothingSupported, "library is missing");
        row("unknown model", startup(StartupEnd::UnknownModel), app::ExitNothingSupported,
            "no supported model");
        row("stored file bad", startup(StartupEnd::StoredFirmwareBad), app::ExitStoredFirmwareBad,
            "does not match");

        // Roads the window shows no box for.
        RunFacts folder = ready(false);
        folder.startup.storeProblem = QStringLiteral("the program folder cannot be written: /opt");
        row("program folder not writable", folder, app::ExitFailed,
            "program folder cannot be written");
        RunFacts silentHub = ready(false);
        silentHub.startup.statusRead = false;
        silentHub.startup.hubFailure = Failure::NoHub;
        row("hub seen, then silent", silentHub, app::ExitFailed, "hub did not answer");
        RunFacts bus = ready(false);
        bus.startup.statusRead = false;
        bus.startup.hubFailure = Failure::BusConfigRefused;
        row("bus configuration refused", bus, app::ExitFailed, "I2C bus");

        RunFacts lm0530 = ready();
        lm0530.startup.connectionUnsupported = true;
        row("LM0530 not on HDMI", lm0530, app::ExitUnsupportedConnection, "HDMI");
        RunFacts siteDown = ready();
        siteDown.startup.siteReachable = false;
        row("site down", siteDown, app::ExitSiteFailed, "not reachable");
        RunFacts oldCopy = ready();
        oldCopy.startup.catalogueFetched = false;
        row("catalogue not fetched", oldCopy, app::ExitSiteFailed, "catalogue");
        RunFacts download = ready();
        download.startup.failedDownloads = QStringList{QStringLiteral("LM0420_scalar.bin")};
        row("download failed", download, app::ExitSiteFailed, "LM0420_scalar.bin");
        row("nothing to do", ready(false), app::ExitNothingToDo, QString());
        row("an update applies, not yet run", ready(), app::ExitUpdated, QString());
        RunFacts check = updated(UpdateEnd::HubWriteFailed, false, false);
        check.checkOnly = true;
        row("check only ignores any update", check, app::ExitUpdated, QString());

        row("updated, read back", updated(UpdateEnd::Completed, true, true), app::ExitUpdated,
            QString());
        RunFacts oldHub = updated(UpdateEnd::Completed, true, true);
        oldHub.readBack.hub = 0x0120;
        row("hub reports the old version", oldHub, app::ExitFailed,
            "hub firmware 1.20, written 1.22");
        RunFacts oldScalar = updated(UpdateEnd::Completed, false, true);
        oldScalar.readBack.scalar = 0x1203;
        row("scalar reports the old version", oldScalar, app::ExitFailed,
            "scalar firmware M012 REV 3, written M012 REV 5");
        RunFacts gone = updated(UpdateEnd::Completed, true, true);
        gone.readBack.hubAnswered = false;
        row("hub silent at read-back", gone, app::ExitFailed, "hub does not answer");
        RunFacts notBack = updated(UpdateEnd::Completed, true, false);
        notBack.update->hubSilentAfterWrite = true;
        row("hub not back, scalar skipped", notBack, app::ExitFailed,
            "scalar firmware was not written");
        RunFacts notBackFailed = updated(UpdateEnd::ScalarWriteFailed, true, false);
        notBackFailed.update->hubSilentAfterWrite = true;
        row("hub not back, scalar write then fails", notBackFailed, app::ExitFailed,
            "hub did not answer after its firmware was written; the scalar");
        RunFacts heldBack = updated(UpdateEnd::Completed, true, false);
        heldBack.update->scalarHeldBack = true;
        heldBack.readBack.scalar = 0x1207; // newer than stored: left as it is
        row("scalar held back after the hub", heldBack, app::ExitUpdated, QString());
        row("hub write failed", updated(UpdateEnd::HubWriteFailed, false, false), app::ExitFailed,
            "hub firmware write failed");
        row("scalar write failed", updated(UpdateEnd::ScalarWriteFailed, true, false),
            app::ExitFailed, "scalar firmware write failed");
        row("hub written, then scalar file unusable",
            updated(UpdateEnd::ScalarFileUnusable, true, false), app::ExitFailed,
            "scalar firmware file");
        row("scalar file unusable, nothing written",
            updated(UpdateEnd::ScalarFileUnusable, false, false), app::ExitStoredFirmwareBad,
            "scalar firmware file");
        row("hub library gone before a phase", updated(UpdateEnd::HubLibraryMissing, false, false),
            app::ExitNothingSupported, "library");
        row("hub library gone after the hub write",
            updated(UpdateEnd::HubLibraryMissing, true, false), app::ExitFailed, "library");
        row("model without write parameters", updated(UpdateEnd::ModelUnknown, true, false),
            app::ExitFailed, "parameters");
        row("not confirmed", updated(UpdateEnd::NotConfirmed, false, false), app::ExitFailed,
            "without writing");
        row("nothing to write", updated(UpdateEnd::NothingToWrite, false, false), app::ExitFailed,
            "without writing");
    }

    void verdict() {
        QFETCH(RunFacts, facts);
        QFETCH(int, code);
        QFETCH(QString, reason);
        const app::Verdict verdict = app::verdictOf(facts);
        QVERIFY2(verdict.code == code,
                 qPrintable(QStringLiteral("%1: %2").arg(verdict.code).arg(verdict.reason)));
        QVERIFY2(verdict.reason.contains(reason), qPrintable(verdict.reason));
        // A failure always says why.
        if (code != app::ExitUpdated && code != app::ExitNothingToDo)
            QVERIFY(!verdict.reason.isEmpty());
    }
};

QTEST_GUILESS_MAIN(RunVerdictTest)
#include "RunVerdictTest.moc"
