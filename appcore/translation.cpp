#include "translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace fiscora::app {

namespace {

// The build tree is laid out like an installation, so the one path relative to the executable
// finds the translations in both.
QString translationsFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(FISCORA_TRANSLATIONS_DIR);
}

bool install(const QLocale &locale, const QString &catalogue, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, catalogue, QStringLiteral("_"), folder))
        return false;
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.release());
    return true;
}

} // namespace

bool installTranslation(const QString &language)
{
    const QLocale locale = language.isEmpty() ? QLocale::system() : QLocale(language);
    if (locale.language() != QLocale::English && !install(locale, QStringLiteral("fiscora"), translationsFolder()))
        return language.isEmpty();
    // Dates and numbers in what is written, such as a hand-over protocol, follow the language too.
    QLocale::setDefault(locale);
    if (locale.language() == QLocale::English)
        return true;
    // The texts of --help that QCommandLineParser adds itself.
    install(locale, QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    return true;
}

} // namespace fiscora::app
