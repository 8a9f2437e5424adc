#include "ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() {
    seams::setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    seams::setDialogs(nullptr);
}

void ScriptedDialogs::answer(std::initializer_list<bool> answers) {
    for (bool a : answers)
        answers_.append(a);
}

QStringList ScriptedDialogs::titles() const {
    QStringList list;
    for (const Shown& s : shown)
        list << s.title;
    return list;
}

bool ScriptedDialogs::next() {
    return answers_.isEmpty() ? defaultAnswer : answers_.takeFirst();
}

void ScriptedDialogs::message(seams::DialogIcon icon, const QString& title, const QString& text) {
    shown.append({"message", icon, title, text, {}, {}});
}

bool ScriptedDialogs::question(const QString& title, const QString& text) {
    shown.append({"question", seams::DialogIcon::Question, title, text, {}, {}});
    return next();
}

bool ScriptedDialogs::choice(const QString& title, const QString& text, const QString& yesLabel,
                             const QString& noLabel) {
    shown.append({"choice", seams::DialogIcon::NoIcon, title, text, yesLabel, noLabel});
    return next();
}
