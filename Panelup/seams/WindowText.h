#pragma once

#include <QString>

#include <utility>

class QLabel;
class QWidget;

namespace seams {

// A text the user reads, kept together with the English it was written in:
// the window and the boxes show the translation, while the trace log, the
// result log and the unattended run keep the English, which administrators
// search for whatever the user's language.
class UiText {
public:
    UiText() = default;
    // Data shown alike in every language: file names, versions, links.
    static UiText verbatim(const QString& text) { return UiText(text, text); }

    const QString& english() const { return english_; }
    const QString& shown() const { return shown_; }
    bool isEmpty() const { return english_.isEmpty(); }

    // Fills the lowest %n of both; the value itself is data.
    UiText arg(const QString& value) const;
    UiText& operator+=(const UiText& more);
    friend UiText operator+(UiText first, const UiText& second) { return first += second; }

private:
    UiText(QString english, QString shown)
        : english_(std::move(english)), shown_(std::move(shown)) {}
    friend UiText translate(const char* context, const char* source);

    QString english_;
    QString shown_;
};

// Called with literal context and source as Qt's own translate(), so that
// lupdate files each text under the context it is looked up in. The window's
// texts share the context "Panelup".
UiText translate(const char* context, const char* source);

// Shows text on a label and keeps its English with it.
void setText(QLabel* label, const UiText& text);
// The English of what the label shows; its text itself when it was set
// some other way.
QString englishText(const QLabel* label);
void setWindowTitle(QWidget* window, const UiText& title);
QString englishTitle(const QWidget* window);

} // namespace seams
