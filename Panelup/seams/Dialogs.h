#pragma once

#include "seams/WindowText.h"

namespace seams {

enum class DialogIcon { NoIcon, Information, Warning, Critical, Question };

// Every message box of the program goes through here, so tests can answer
// them. All boxes are modal and have no parent window. The texts come with
// their English: boxes show the translation, logs keep the English.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A box with one OK button.
    virtual void message(DialogIcon icon, const UiText& title, const UiText& text) = 0;

    // A question with Yes and No, Yes the default. True when Yes was chosen.
    virtual bool question(const UiText& title, const UiText& text) = 0;

    // A box without icon whose Yes and No buttons carry other labels.
    // True when the relabelled Yes button was chosen.
    virtual bool choice(const UiText& title, const UiText& text, const UiText& yesLabel,
                        const UiText& noLabel) = 0;
};

// Qt's message boxes, as the user sees them.
class QtDialogs : public Dialogs {
public:
    void message(DialogIcon icon, const UiText& title, const UiText& text) override;
    bool question(const UiText& title, const UiText& text) override;
    bool choice(const UiText& title, const UiText& text, const UiText& yesLabel,
                const UiText& noLabel) override;
};

Dialogs& dialogs();
// Replaces the process-wide dialogs; nullptr restores Qt's boxes. Not owned.
void setDialogs(Dialogs* replacement);

} // namespace seams
