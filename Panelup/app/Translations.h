#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The languages the window speaks besides English, as their catalogues are
// named: "de", "fr", "es", "ja", "zh_CN".
const QStringList& windowLanguages();

// The first of the user's interface languages (BCP 47 tags, most preferred
// first) that the window speaks; empty for English, also when English comes
// first. Traditional Chinese is not Simplified Chinese.
QString chooseLanguage(const QStringList& uiLanguages);

// Where Qt's own catalogues (qtbase_<language>.qm) are read from: on
// Windows the translations folder beside the program and nowhere else; on
// Linux Qt's own translations folder.
QString qtCatalogueFolder();

// Installs the window's catalogue and Qt's for a language, replacing those
// installed before; English (empty) removes them. False when the window's
// own catalogue is missing (Qt's is optional: its texts then stay English).
bool installLanguage(const QString& language, const QString& qtFolder = qtCatalogueFolder());

// The window start: the user's interface language. Returns the language
// installed, empty for English.
QString installUserLanguage();

} // namespace app
