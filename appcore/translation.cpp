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

// Names the translators installed here, so that a later call can take them away again.
const QLatin1String TranslatorName("fiscora::app::installTranslation");

std::unique_ptr<QTranslator> load(const QLocale &locale, const QString &catalogue, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, catalogue, QStringLiteral("_"), folder))
        return nullptr;
    translator->setObjectName(TranslatorName);
    return translator;
}

void install(std::unique_ptr<QTranslator> translator)
{
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.release());
}

} // namespace

bool installTranslation(const QString &language)
{
    const QLocale locale = language.isEmpty() ? QLocale::system() : QLocale(language);
    const bool english = locale.language() == QLocale::English;
    std::unique_ptr<QTranslator> texts = english ? nullptr : load(locale, QStringLiteral("fiscora"), translationsFolder());
    if (!english && !texts)
        return language.isEmpty();
    // A window that switches its language takes the texts of the earlier one away first; a
    // destroyed translator removes itself from the application.
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>(TranslatorName, Qt::FindDirectChildrenOnly));
    // Dates and numbers in what is written, such as a hand-over protocol, follow the language too.
    QLocale::setDefault(locale);
    if (english)
        return true;
    install(std::move(texts));
    // The texts of --help that QCommandLineParser adds itself, and those of Qt's dialogs.
    if (std::unique_ptr<QTranslator> qtTexts =
                load(locale, QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        install(std::move(qtTexts));
    return true;
}

} // namespace fiscora::app
