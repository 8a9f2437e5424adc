#pragma once

#include "seams/Dialogs.h"

#include <QList>
#include <QString>

// Answers every message box without showing it and remembers what was asked.
// Installs itself for its lifetime.
class ScriptedDialogs : public seams::Dialogs {
public:
    struct Shown {
        QString kind; // "message", "question" or "choice"
        seams::DialogIcon icon = seams::DialogIcon::NoIcon;
        QString title;
        QString text;
        QString yesLabel;
        QString noLabel;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers for the coming questions and choices, in order; once they are
    // used up, defaultAnswer is given.
    void answer(std::initializer_list<bool> answers);
    bool defaultAnswer = true;

    QList<Shown> shown;
    QStringList titles() const;
    void clear() { shown.clear(); }

    void message(seams::DialogIcon icon, const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    bool choice(const QString& title, const QString& text, const QString& yesLabel,
                const QString& noLabel) override;

private:
    bool next();
    QList<bool> answers_;
};
