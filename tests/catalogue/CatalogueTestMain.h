#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// A test main whose temporary-files location (and with it the download
// folder) is a fresh folder of its own, set before the QApplication exists.
#define CATALOGUE_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv) {                                                              \
        QTemporaryDir temp;                                                                        \
        if (!temp.isValid())                                                                       \
            return 2;                                                                              \
        qputenv("TMPDIR", QFile::encodeName(temp.path()));                                         \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
