#include "IsolatedTempDir.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
IsolatedTempDir* latest = nullptr;

// The variables the temporary-files folder comes from: Windows takes TMP,
// then TEMP.
#ifdef Q_OS_WIN
const char* const tempVariables[] = {"TMP", "TEMP"};
#else
const char* const tempVariables[] = {"TMPDIR"};
#endif

// Unset when value is null.
void setVariable(const char* name, const QString& value) {
#ifdef Q_OS_WIN
    // Wide: a folder name outside the ANSI code page must survive.
    const QString wideName = QString::fromLatin1(name);
    SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(wideName.utf16()),
                            value.isNull() ? nullptr
                                           : reinterpret_cast<const wchar_t*>(value.utf16()));
#else
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, QFile::encodeName(value));
#endif
}

void pointTempAt(const QString& folder) {
    for (const char* name : tempVariables)
        setVariable(name, QDir::toNativeSeparators(folder));
}
} // namespace

IsolatedTempDir* IsolatedTempDir::active() {
    return latest;
}

IsolatedTempDir::IsolatedTempDir()
    : root_(QDir::tempPath() + QStringLiteral("/panelup-test-XXXXXX")) {
    for (const char* name : tempVariables) {
        // Set but empty is kept apart from unset (a null text).
        const QString value = qEnvironmentVariable(name);
        const bool set = qEnvironmentVariableIsSet(name);
        saved_.append({name, !set ? QString() : value.isNull() ? QStringLiteral("") : value});
    }
    if (root_.isValid())
        leave();
    previous_ = latest;
    latest = this;
}

IsolatedTempDir::~IsolatedTempDir() {
    latest = previous_;
    for (const SavedVariable& variable : saved_)
        setVariable(variable.name, variable.value);
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
