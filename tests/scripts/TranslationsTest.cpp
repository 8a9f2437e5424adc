// The committed catalogues are those scripts/translations makes from the
// sources (no text new to them, none gone from the sources), every text is
// translated, and each translation keeps what the program and Qt read in
// it: the %1 placeholders, the mnemonic, the markup, the line breaks and
// the closing punctuation.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString catalogues = QStringLiteral(PANELUP_SOURCE_DIR "/Panelup/translations");

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Message {
    QString context, source, translation, type;
};

QList<Message> messages(const QByteArray& ts) {
    QList<Message> found;
    QXmlStreamReader xml(ts);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText();
            found.append(message);
        }
    }
    return xml.hasError() ? QList<Message>() : found;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

QStringList all(const QString& text, const QString& pattern) {
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(0);
    return found;
}

// The closing punctuation's kind; Japanese and Chinese write it full width.
QChar closing(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QChar();
    const QChar last = trimmed.back();
    const QString full = QStringLiteral("。！？："), half = QStringLiteral(".!?:");
    if (full.contains(last))
        return half.at(full.indexOf(last));
    return half.contains(last) ? last : QChar();
}

// What differs between a source and its translation that must not.
QString fault(const Message& m) {
    if (!m.type.isEmpty())
        return m.type;
    if (m.translation.isEmpty())
        return QStringLiteral("no translation");
    // A style sheet is no text: translated, it would change the window's look.
    if (m.source.contains(QLatin1Char('{')) && m.translation != m.source)
        return QStringLiteral("style sheet changed");
    if (sorted(all(m.source, QStringLiteral("%\\d"))) !=
        sorted(all(m.translation, QStringLiteral("%\\d"))))
        return QStringLiteral("placeholders differ");
    if (all(m.source, QStringLiteral("&\\w")).size() !=
        all(m.translation, QStringLiteral("&\\w")).size())
        return QStringLiteral("mnemonic differs");
    if (sorted(all(m.source, QStringLiteral("<[^>]*>"))) !=
        sorted(all(m.translation, QStringLiteral("<[^>]*>"))))
        return QStringLiteral("markup differs");
    if (m.source.count(QLatin1Char('\n')) != m.translation.count(QLatin1Char('\n')))
        return QStringLiteral("line breaks differ");
    if (closing(m.source) != closing(m.translation))
        return QStringLiteral("closing punctuation differs");
    if (m.source.endsWith(QLatin1Char(' ')) != m.translation.endsWith(QLatin1Char(' ')))
        return QStringLiteral("trailing blank differs");
    return QString();
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir updated_;

private slots:
    void initTestCase() {
        QVERIFY(updated_.isValid());
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(PANELUP_SOURCE_DIR "/scripts/translations"),
                      {updated_.path()});
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
        }
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    void catalogue_data() {
        QTest::addColumn<QString>("language");
        for (const char* language : {"de", "fr", "es", "ja", "zh_CN"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void catalogue() {
        QFETCH(QString, language);
        const QString name = QStringLiteral("panelup_%1.ts").arg(language);
        const QByteArray committed = read(QDir(catalogues).filePath(name));
        const QList<Message> list = messages(committed);
        QVERIFY2(!list.isEmpty(), qPrintable(name + QStringLiteral(" is missing or not XML")));
        QVERIFY2(read(QDir(updated_.path()).filePath(name)) == committed,
                 qPrintable(name + QStringLiteral(" is not what the sources give: run "
                                                  "scripts/translations and translate "
                                                  "what is new")));
        QStringList faults;
        for (const Message& m : list) {
            const QString why = fault(m);
            if (!why.isEmpty())
                faults << QStringLiteral("%1 / \"%2\": %3").arg(m.context, m.source, why);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The checks themselves: a new text, an unfinished one, a lost
    // placeholder or mnemonic are caught.
    void faultsAreFound_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fine") << "The file %1 is empty."
                              << "Die Datei %1 ist leer."
                              << ""
                              << "";
        QTest::newRow("new text") << "New"
                                  << ""
                                  << "unfinished"
                                  << "unfinished";
        QTest::newRow("gone from the sources") << "Old"
                                               << "Alt"
                                               << "vanished"
                                               << "vanished";
        QTest::newRow("placeholder lost") << "The file %1 is empty."
                                          << "Die Datei ist leer."
                                          << ""
                                          << "placeholders differ";
        QTest::newRow("mnemonic lost") << "EXIT (&X)"
                                       << "ENDE (X)"
                                       << ""
                                       << "mnemonic differs";
        QTest::newRow("ampersand as a word is none") << "unplug & replug."
                                                     << "ab- und wieder einstecken."
                                                     << ""
                                                     << "";
        QTest::newRow("markup lost") << "Monitor FW : <b>"
                                     << "Monitor-FW :"
                                     << ""
                                     << "markup differs";
        QTest::newRow("line break lost") << "Done.\nReset?"
                                         << "Fertig. Zurücksetzen?"
                                         << ""
                                         << "line breaks differ";
        QTest::newRow("full-width stop") << "Done."
                                         << "完了しました。"
                                         << ""
                                         << "";
        QTest::newRow("question as a statement") << "Update?"
                                                 << "Aktualisieren."
                                                 << ""
                                                 << "closing punctuation differs";
        QTest::newRow("style sheet") << "color:white {x}"
                                     << "Farbe:weiß {x}"
                                     << ""
                                     << "style sheet changed";
    }

    void faultsAreFound() {
        QFETCH(QString, source);
        QFETCH(QString, translation);
        QFETCH(QString, type);
        QFETCH(QString, expected);
        QCOMPARE(fault(Message{QStringLiteral("c"), source, translation, type}), expected);
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
