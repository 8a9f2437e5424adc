#include "seams/Dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace seams {

void QtDialogs::message(DialogIcon icon, const UiText& title, const UiText& text) {
    switch (icon) {
    case DialogIcon::Warning:
        QMessageBox::warning(nullptr, title.shown(), text.shown(), QMessageBox::Ok,
                             QMessageBox::Ok);
        return;
    case DialogIcon::Critical:
        QMessageBox::critical(nullptr, title.shown(), text.shown(), QMessageBox::Ok,
                              QMessageBox::Ok);
        return;
    case DialogIcon::Information:
        QMessageBox::information(nullptr, title.shown(), text.shown(), QMessageBox::Ok,
                                 QMessageBox::Ok);
        return;
    case DialogIcon::Question:
    case DialogIcon::NoIcon: {
        QMessageBox box(icon == DialogIcon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                        title.shown(), text.shown(), QMessageBox::Ok);
        box.exec();
        return;
    }
    }
}

bool QtDialogs::question(const UiText& title, const UiText& text) {
    return QMessageBox::question(nullptr, title.shown(), text.shown(),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::choice(const UiText& title, const UiText& text, const UiText& yesLabel,
                       const UiText& noLabel) {
    QMessageBox box(QMessageBox::NoIcon, title.shown(), text.shown(),
                    QMessageBox::Yes | QMessageBox::No, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Yes)->setText(yesLabel.shown());
    box.button(QMessageBox::No)->setText(noLabel.shown());
    return box.exec() == QMessageBox::Yes;
}

namespace {
QtDialogs qtDialogs;
Dialogs* current = &qtDialogs;
} // namespace

Dialogs& dialogs() {
    return *current;
}

void setDialogs(Dialogs* replacement) {
    current = replacement ? replacement : &qtDialogs;
}

} // namespace seams
