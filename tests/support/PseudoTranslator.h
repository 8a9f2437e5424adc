#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

// A language of its own for tests: every text looked up comes back as
// "⟦" + source + "⟧", %1-style arguments and & mnemonics untouched, so a
// test sees which texts went through Qt's translation and which did not.
class PseudoTranslator : public QTranslator {
public:
    static QString open() { return QStringLiteral("\u27E6"); }
    static QString close() { return QStringLiteral("\u27E7"); }
    static QString wrapped(const QString& source) { return open() + source + close(); }

    QString translate(const char*, const char* sourceText, const char* = nullptr,
                      int = -1) const override {
        if (!sourceText || !*sourceText)
            return QString();
        return wrapped(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

// Installed for its lifetime, or not at all when off.
class PseudoLanguage {
public:
    explicit PseudoLanguage(bool on = true) : on_(on) {
        if (on_)
            QCoreApplication::installTranslator(&translator_);
    }
    ~PseudoLanguage() {
        if (on_)
            QCoreApplication::removeTranslator(&translator_);
    }
    PseudoLanguage(const PseudoLanguage&) = delete;
    PseudoLanguage& operator=(const PseudoLanguage&) = delete;

private:
    PseudoTranslator translator_;
    bool on_;
};
