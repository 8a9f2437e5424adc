#include "seams/WindowText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace seams {

namespace {

// Beside each text, what was shown then: a later setText of another kind
// leaves a stale English copy behind, which must not be taken for it.
constexpr char englishTextKey[] = "panelupEnglishText";
constexpr char shownTextKey[] = "panelupShownText";
constexpr char englishTitleKey[] = "panelupEnglishTitle";
constexpr char shownTitleKey[] = "panelupShownTitle";

QString englishIfCurrent(const QObject* object, const char* englishKey, const char* shownKey,
                         const QString& current) {
    if (object->property(shownKey).toString() != current)
        return current;
    return object->property(englishKey).toString();
}

} // namespace

UiText UiText::arg(const QString& value) const {
    return UiText(english_.arg(value), shown_.arg(value));
}

UiText& UiText::operator+=(const UiText& more) {
    english_ += more.english_;
    shown_ += more.shown_;
    return *this;
}

UiText translate(const char* context, const char* source) {
    return UiText(QString::fromUtf8(source), QCoreApplication::translate(context, source));
}

void setText(QLabel* label, const UiText& text) {
    label->setProperty(englishTextKey, text.english());
    label->setProperty(shownTextKey, text.shown());
    label->setText(text.shown());
}

QString englishText(const QLabel* label) {
    return englishIfCurrent(label, englishTextKey, shownTextKey, label->text());
}

void setWindowTitle(QWidget* window, const UiText& title) {
    window->setProperty(englishTitleKey, title.english());
    window->setProperty(shownTitleKey, title.shown());
    window->setWindowTitle(title.shown());
}

QString englishTitle(const QWidget* window) {
    return englishIfCurrent(window, englishTitleKey, shownTitleKey, window->windowTitle());
}

} // namespace seams
