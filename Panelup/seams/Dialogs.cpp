#include "seams/Dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace seams {

void QtDialogs::message(DialogIcon icon, const QString& title, const QString& text) {
    switch (icon) {
    case DialogIcon::Warning:
        QMessageBox::warning(nullptr, title, text, QMessageBox::Ok, QMessageBox::Ok);
        return;
    case DialogIcon::Critical:
        QMessageBox::critical(nullptr, title, text, QMessageBox::Ok, QMessageBox::Ok);
        return;
    case DialogIcon::Information:
        QMessageBox::information(nullptr, title, text, QMessageBox::Ok, QMessageBox::Ok);
        return;
    case DialogIcon::Question:
    case DialogIcon::NoIcon: {
        QMessageBox box(icon == DialogIcon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                        title, text, QMessageBox::Ok);
        box.exec();
        return;
    }
    }
}

bool QtDialogs::question(const QString& title, const QString& text) {
    return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::choice(const QString& title, const QString& text, const QString& yesLabel,
                       const QString& noLabel) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Yes)->setText(yesLabel);
    box.button(QMessageBox::No)->setText(noLabel);
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
