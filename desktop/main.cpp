#include "mainwindow.h"
#include "translation.h"

#include <fiscora/fiscora.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLoggingCategory>
#include <QSettings>

#include <csignal>

using namespace fiscora;

int main(int argc, char *argv[])
{
    // A file size limit makes a write fail with its reason instead of ending the window, which
    // would leave the job's temporary files behind.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    // What the library logs repeats what it reports to the window, which shows that.
    QLoggingCategory::setFilterRules(QStringLiteral("sdcardreader=false\nktlcypher=false\nindexfileanalyser=false"));
    QApplication::setOrganizationName(QStringLiteral("Fiscora"));
    QApplication::setApplicationName(QStringLiteral("fiscora-desktop"));
    QApplication::setApplicationVersion(QString::fromLatin1(getFiscoraLibVersion()));
    QApplication::setDesktopFileName(QStringLiteral("fiscora-desktop"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("fiscora-desktop"),
                                                 QIcon(QStringLiteral(":/fiscora-desktop.svg"))));
    app::installTranslation(QSettings().value(QStringLiteral("language")).toString());

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate(
            "main", "Backs up a cash register's journal from its SD card and exports it for a tax audit."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("source"), QApplication::translate(
            "main", "The card or a copy of it to read, or a backup file to export."), QStringLiteral("[SOURCE"));
    parser.addPositionalArgument(QStringLiteral("target"), QApplication::translate(
            "main", "The folder for the backups, or for the export."), QStringLiteral("[TARGET]]"));
    parser.process(application);

    desktop::MainWindow window;
    const QStringList arguments = parser.positionalArguments();
    if (!arguments.isEmpty())
        window.open(arguments.at(0), arguments.value(1));
    window.show();
    return application.exec();
}
