#pragma once

#include "seams/Dialogs.h"

#include <QList>
#include <QString>

// Answers every message box without showing it and remembers what was asked:
// the English texts, and beside them the texts a user would have read.
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
        // As shown, in the language in use.
        QStringList shownTexts; // title, text, then the yes and no labels
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

    void message(seams::DialogIcon icon, const seams::UiText& title,
                 const seams::UiText& text) override;
    bool question(const seams::UiText& title, const seams::UiText& text) override;
    bool choice(const seams::UiText& title, const seams::UiText& text,
                const seams::UiText& yesLabel, const seams::UiText& noLabel) override;

private:
    bool next();
    QList<bool> answers_;
};
