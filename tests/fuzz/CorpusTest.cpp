// Every kept input of one fuzz target (its seeds and the findings that were
// fixed) through the target's own entry point, in the ordinary and the
// sanitizer build: a finding stays fixed.
#include "IsolatedTempDir.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

class CorpusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        int argc = 0;
        char** argv = nullptr;
        LLVMFuzzerInitialize(&argc, &argv);
    }

    void input_data() {
        QTest::addColumn<QString>("path");
        // The target's own corpus, then the test fixtures that seed it too.
        for (const QString& folder : QStringLiteral(FUZZ_CORPUS).split(QLatin1Char('|'))) {
            const QDir corpus(folder);
            const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
            QVERIFY2(!names.isEmpty(), qPrintable(corpus.path() + " holds no inputs"));
            for (const QString& name : names)
                QTest::newRow(qPrintable(corpus.dirName() + QLatin1Char('/') + name))
                    << corpus.filePath(name);
        }
    }

    // A broken promise aborts inside the target, failing the test.
    void input() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size())),
                 0);
    }
};

PANELUP_ISOLATED_TEST_MAIN(CorpusTest)
#include "CorpusTest.moc"
