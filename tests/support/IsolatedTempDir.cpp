#include "IsolatedTempDir.h"

#include <QDir>
#include <QFile>

namespace {
IsolatedTempDir* latest = nullptr;
}

IsolatedTempDir* IsolatedTempDir::active() {
    return latest;
}

IsolatedTempDir::IsolatedTempDir()
    : root_(QDir::tempPath() + QStringLiteral("/panelup-test-XXXXXX")),
      hadTmpDir_(qEnvironmentVariableIsSet("TMPDIR")), savedTmpDir_(qgetenv("TMPDIR")) {
    if (root_.isValid())
        leave();
    previous_ = latest;
    latest = this;
}

IsolatedTempDir::~IsolatedTempDir() {
    latest = previous_;
    if (hadTmpDir_)
        qputenv("TMPDIR", savedTmpDir_);
    else
        qunsetenv("TMPDIR");
}

QString IsolatedTempDir::path() const {
    return current_;
}

QString IsolatedTempDir::enter(const QString& name) {
    QDir dir(root_.path());
    if (!dir.mkpath(name))
        return QString();
    current_ = dir.filePath(name);
    qputenv("TMPDIR", QFile::encodeName(current_));
    return current_;
}

void IsolatedTempDir::leave() {
    current_ = root_.path();
    qputenv("TMPDIR", QFile::encodeName(current_));
}
