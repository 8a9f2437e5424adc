#pragma once

#include <QString>

class QLabel;

namespace app {

// How assistive technology reads some of the window's labels.

// A value read together with its caption: "Current Firmware: Hub FW 1.20",
// always from the texts shown at the moment, with the caption as the value's
// label relation. Qt finds a buddy's label only among its siblings, and the
// captions sit in a layout of their own.
void readWithCaption(QLabel* value, QLabel* caption);

// A label read as its words alone, without the markup and pictures of its
// rich text. Its name follows its text, so every change is announced.
void readAsWords(QLabel* label);

// Announces a label's new words with the words themselves in the event, so
// that they are heard even while the window is too busy writing firmware to
// be asked for its name. The label must read as words.
void announceNewWords(QLabel* label, const QString& before);

// A text as spoken: rich text as plain words, pictures dropped, line
// breaks read as ", ".
QString spokenText(const QString& text);

} // namespace app
