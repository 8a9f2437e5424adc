#include "IsolatedTempDir.h"

#include <QDir>
#include <QFile>

namespace {
IsolatedTempDir* latest = nullptr;

// The variables the temporary-files folder comes from: Windows takes TMP,
// then TEMP.
#ifdef Q_OS_WIN
const char* const tempVariables[] = {"TMP", "TEMP"};
#else
const char* const tempVariables[] = {"TMPDIR"};
#endif

void pointTempAt(const QString& folder) {
    for (const char* name : tempVariables)
        qputenv(name, QFile::encodeName(QDir::toNativeSeparators(folder)));
}
} // namespace

IsolatedTempDir* IsolatedTempDir::active() {
    return latest;
}

IsolatedTempDir::IsolatedTempDir()
    : root_(QDir::tempPath() + QStringLiteral("/panelup-test-XXXXXX")) {
    for (const char* name : tempVariables)
        saved_.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    if (root_.isValid())
        leave();
    previous_ = latest;
    latest = this;
}

IsolatedTempDir::~IsolatedTempDir() {
    latest = previous_;
    for (const SavedVariable& variable : saved_) {
        if (variable.wasSet)
            qputenv(variable.name, variable.value);
        else
            qunsetenv(variable.name);
    }
}

QString IsolatedTempDir::path() const {
    return current_;
}

QString IsolatedTempDir::enter(const QString& name) {
    QDir dir(root_.path());
    if (!dir.mkpath(name))
        return QString();
    current_ = dir.filePath(name);
    pointTempAt(current_);
    return current_;
}

void IsolatedTempDir::leave() {
    current_ = root_.path();
    pointTempAt(current_);
}
