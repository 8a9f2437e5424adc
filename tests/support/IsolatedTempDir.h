#pragma once

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVector>

// Points TMPDIR (on Windows TMP and TEMP), and with it
// QStandardPaths::TempLocation and the
// single-instance lock, at a fresh folder of its own, so tests running in
// parallel never share the trace log or the lock, nor touch the real ones.
// Make it before the QApplication; it restores TMPDIR and removes the
// folder when destroyed.
class IsolatedTempDir {
public:
    IsolatedTempDir();
    ~IsolatedTempDir();
    IsolatedTempDir(const IsolatedTempDir&) = delete;
    IsolatedTempDir& operator=(const IsolatedTempDir&) = delete;

    // The one made by PANELUP_ISOLATED_TEST_MAIN (the latest alive).
    static IsolatedTempDir* active();

    bool isValid() const { return root_.isValid(); }
    // The fresh folder itself.
    QString root() const { return root_.path(); }
    // Where TMPDIR points now.
    QString path() const;

    // Makes a folder `name` inside the root (any characters a file name may
    // hold) and points TMPDIR at it. Returns its path, empty on failure.
    QString enter(const QString& name);
    // Points TMPDIR back at the root.
    void leave();

private:
    QTemporaryDir root_;
    QString current_;
    struct SavedVariable {
        const char* name;
        QString value; // null when it was not set
    };
    QVector<SavedVariable> saved_;
    IsolatedTempDir* previous_ = nullptr;
};

// A test main whose temporary folder is isolated before the QApplication
// exists.
#define PANELUP_ISOLATED_TEST_MAIN(TestObject)                                                     \
    int main(int argc, char** argv) {                                                              \
        IsolatedTempDir isolatedTemp;                                                              \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
