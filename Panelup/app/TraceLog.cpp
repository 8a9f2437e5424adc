#include "app/TraceLog.h"

#include "catalogue/DownloadFolder.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTime>

#include <cstdio>
#include <memory>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#endif

namespace app {

int traceLevel = 0;
int configuredTraceLevel = 1;

namespace {

// Plain pointers, never destroyed at exit: the usual end of a run is exit(),
// and Qt may still log while static objects are torn down.
QFile* logFile = nullptr;
QString* logPath = nullptr; // a file opened by handle carries no name
QtMessageHandler previousHandler = nullptr;
bool handlerInstalled = false;

// Qt may log from its own threads; a QFile must not be written from two at
// once. Recursive, because a failing write may itself log.
std::recursive_mutex& logMutex() {
    static auto* mutex = new std::recursive_mutex;
    return *mutex;
}

void dropLogFile() {
    delete logFile;
    logFile = nullptr;
    delete logPath;
    logPath = nullptr;
}

// Said where no log can be: Qt's own output may be no better off.
void tellDebugger(const QString& path, const QString& why) {
#ifdef _WIN32
    const QString line = QStringLiteral("Panelup: no trace log for this run: ") + path +
                         QStringLiteral(": ") + why + QLatin1Char('\n');
    OutputDebugStringW(reinterpret_cast<const wchar_t*>(line.utf16()));
#else
    Q_UNUSED(path);
    Q_UNUSED(why);
    qDebug("Failed to open log file.");
#endif
}

int readConfiguredTraceLevel() {
    const QSettings runInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/RunInfo.ini"),
                            QSettings::IniFormat);
    return runInfo.value(QStringLiteral("TraceSet/TraceLevel"), 1).toInt();
}

} // namespace

int traceThreshold(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return 4;
    case QtWarningMsg:
        return 3;
    case QtCriticalMsg:
        return 2;
    case QtFatalMsg:
        return 1;
    case QtInfoMsg:
        return 0;
    }
    return 4;
}

void initTrace() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
                         QStringLiteral("/Panelup_log.txt");
    std::fputs(path.toUtf8().constData(), stdout);
    std::fflush(stdout);

    configuredTraceLevel = readConfiguredTraceLevel();
    traceLevel = 4;
    openLogFile(path);
}

bool openLogFile(const QString& path) {
    {
        const std::lock_guard<std::recursive_mutex> lock(logMutex());
        dropLogFile();
    }

    // QFile rather than fopen of the UTF-8 bytes: on Windows a temporary
    // folder with characters outside the code page would otherwise fail.
    // Text mode: on Windows the lines end in CR LF, as Notepad and the
    // support staff's tools expect.
    // The temporary folder is the user's: on Windows the file is opened
    // without following a link and emptied only once it proved to be a plain
    // file of its own in that folder.
    auto file = std::make_unique<QFile>();
    QString refusal;
    if (!catalogue::openOwnFileForWriting(*file, path, true, QIODevice::WriteOnly | QIODevice::Text,
                                          refusal)) {
        // No log for this run: Qt's default output gets every message.
        if (handlerInstalled) {
            qInstallMessageHandler(previousHandler);
            handlerInstalled = false;
        }
        tellDebugger(path, refusal);
        return false;
    }

    // Logged before the handler sees the new file, so this line goes to
    // Qt's default output and never into the log.
    qDebug("Opened log file.");
    {
        const std::lock_guard<std::recursive_mutex> lock(logMutex());
        logFile = file.release();
        logPath = new QString(path);
    }
    if (!handlerInstalled) {
        previousHandler = qInstallMessageHandler(traceMessageHandler);
        handlerInstalled = true;
    }
    return true;
}

void traceMessageHandler(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    Q_UNUSED(context);
    const QByteArray text = message.toUtf8();
    if (traceLevel == 0 || traceLevel < traceThreshold(type))
        return;

    const std::lock_guard<std::recursive_mutex> lock(logMutex());
    if (!logFile)
        return;
    QByteArray line = QTime::currentTime().toString(QStringLiteral("hh:mm:ss:zzz")).toLocal8Bit();
    line += ": ";
    line += text;
    line += '\n';
    logFile->write(line);
    logFile->flush();
}

void closeLogFile() {
    const std::lock_guard<std::recursive_mutex> lock(logMutex());
    if (!logFile)
        return;
    qDebug("Close log file.");
    logFile->close();
    dropLogFile();
}

QString logFilePath() {
    const std::lock_guard<std::recursive_mutex> lock(logMutex());
    return logPath ? *logPath : QString();
}

} // namespace app
