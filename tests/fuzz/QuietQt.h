#pragma once

#include <QtGlobal>

// The code under test logs every odd input it meets; at thousands of inputs
// a second that would be all the fuzzer does.
inline void silenceQtMessages() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
