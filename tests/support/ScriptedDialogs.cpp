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

void ScriptedDialogs::message(seams::DialogIcon icon, const seams::UiText& title,
                              const seams::UiText& text) {
    shown.append(
        {"message", icon, title.english(), text.english(), {}, {}, {title.shown(), text.shown()}});
}

bool ScriptedDialogs::question(const seams::UiText& title, const seams::UiText& text) {
    shown.append({"question",
                  seams::DialogIcon::Question,
                  title.english(),
                  text.english(),
                  {},
                  {},
                  {title.shown(), text.shown()}});
    return next();
}

bool ScriptedDialogs::choice(const seams::UiText& title, const seams::UiText& text,
                             const seams::UiText& yesLabel, const seams::UiText& noLabel) {
    shown.append({"choice",
                  seams::DialogIcon::NoIcon,
                  title.english(),
                  text.english(),
                  yesLabel.english(),
                  noLabel.english(),
                  {title.shown(), text.shown(), yesLabel.shown(), noLabel.shown()}});
    return next();
}
