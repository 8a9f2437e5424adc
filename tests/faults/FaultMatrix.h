#pragma once

// What the fault matrices share: how a run ended for the user, a snapshot
// of a folder to tell what a run changed in it, and a hub unplugged during
// a firmware write.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

namespace app {
class Panelup;
}
namespace e2e {
class Fixture;
}

enum class Outcome {
    StatusShown,    // the window open with the model and its firmware status
    HubNotDetected, // the hub-not-detected notice, Update disabled
    UpdateFailed,   // the cross-mark text of a failed write, only Exit enabled
    Exited,         // the program ended after a box
};

Outcome outcomeOf(e2e::Fixture& fixture);
QString describe(Outcome outcome);

// Every file below a folder with its bytes.
class FolderSnapshot {
public:
    explicit FolderSnapshot(const QString& folder);
    // Files added, removed or changed since earlier, relative to the folder.
    QStringList differences(const FolderSnapshot& earlier) const;
    QStringList files() const { return files_.keys(); }
    QByteArray file(const QString& name) const { return files_.value(name); }

private:
    QMap<QString, QByteArray> files_;
};

// Unplugs the hub (the virtual monitor's hubGone) half way through one of
// the update's firmware writes, seen through the window's progress bar.
class UnplugDuringWrite : public QObject {
public:
    enum Phase { Off, HubPhase, ScalarPhase };
    UnplugDuringWrite(app::Panelup& window, Phase phase);

private:
    int writesStarted_ = 0;
};
