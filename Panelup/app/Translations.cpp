#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initTranslationResources() {
    Q_INIT_RESOURCE(panelup_translations);
}

namespace app {

namespace {

// Kept for the life of the application; replaced as a whole.
std::unique_ptr<QTranslator> windowCatalogue;
std::unique_ptr<QTranslator> qtCatalogue;

void removeCatalogues() {
    for (std::unique_ptr<QTranslator>* catalogue : {&windowCatalogue, &qtCatalogue}) {
        if (*catalogue)
            QCoreApplication::removeTranslator(catalogue->get());
        catalogue->reset();
    }
}

// Chinese in Simplified characters: a Hans script, else a region that
// writes them (mainland China, Singapore) or none.
bool simplifiedChinese(const QStringList& subtags) {
    for (const QString& subtag : subtags.mid(1)) {
        if (subtag.compare(QLatin1String("Hans"), Qt::CaseInsensitive) == 0)
            return true;
        if (subtag.compare(QLatin1String("Hant"), Qt::CaseInsensitive) == 0)
            return false;
    }
    for (const QString& subtag : subtags.mid(1)) {
        for (const char* traditional : {"TW", "HK", "MO"})
            if (subtag.compare(QLatin1String(traditional), Qt::CaseInsensitive) == 0)
                return false;
    }
    return true;
}

// A catalogue loaded from exactly this file: QTranslator would otherwise
// try shortened names beside it.
std::unique_ptr<QTranslator> load(const QString& path) {
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace

const QStringList& windowLanguages() {
    static const QStringList languages = {QStringLiteral("de"), QStringLiteral("fr"),
                                          QStringLiteral("es"), QStringLiteral("ja"),
                                          QStringLiteral("zh_CN")};
    return languages;
}

QString chooseLanguage(const QStringList& uiLanguages) {
    static const QRegularExpression separator(QStringLiteral("[-_]"));
    for (const QString& tag : uiLanguages) {
        const QStringList subtags = tag.trimmed().split(separator);
        const QString language = subtags.first().toLower();
        if (language == QLatin1String("en"))
            return QString();
        if (language == QLatin1String("zh")) {
            if (simplifiedChinese(subtags))
                return QStringLiteral("zh_CN");
            continue;
        }
        if (windowLanguages().contains(language))
            return language;
    }
    return QString();
}

QString qtCatalogueFolder() {
#ifdef _WIN32
    // The program folder only: the working folder, PATH, the environment and
    // Qt's built-in prefix are the user's or nobody's.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

bool installLanguage(const QString& language, const QString& qtFolder) {
    static const bool registered = (initTranslationResources(), true);
    Q_UNUSED(registered);
    removeCatalogues();
    if (language.isEmpty())
        return true;
    windowCatalogue = load(QStringLiteral(":/Panelup/translations/panelup_%1.qm").arg(language));
    if (!windowCatalogue)
        return false;
    qtCatalogue = load(QDir(qtFolder).filePath(QStringLiteral("qtbase_%1.qm").arg(language)));
    return true;
}

QString installUserLanguage() {
    const QString language = chooseLanguage(QLocale::system().uiLanguages());
    return installLanguage(language) ? language : QString();
}

} // namespace app
