#pragma once

#include <QString>
#include <QtGlobal>

namespace app {

// Every Qt message of the process goes to "Panelup_log.txt" in the
// temporary-files folder, one time-stamped line each.

// 0 writes nothing; otherwise a message is written when the level reaches
// the threshold of its type (debug 4, warning 3, critical 2, fatal 1,
// info 0). A negative level writes nothing.
extern int traceLevel;

// TraceSet/TraceLevel read from RunInfo.ini beside the program (default 1).
// Kept for reference; the level in effect is always 4.
extern int configuredTraceLevel;

// The threshold of a message type, as above.
int traceThreshold(QtMsgType type);

// Opens the log in the temporary-files folder and starts writing to it.
void initTrace();

// Closes an open log, then creates or empties `path` and installs the
// handler. False, with nothing installed, when the file cannot be opened.
bool openLogFile(const QString& path);

void traceMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);

// Post routine: writes a last line and closes the log.
void closeLogFile();

// The path of the open log; empty when none is open.
QString logFilePath();

} // namespace app
