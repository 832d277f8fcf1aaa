// Runs one reading job over a card under a limit on the size of the files it writes, and prints
// what the job emits, one signal a line. Usage: readjob <card> <target folder> <size limit in bytes>

#include "readertest.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <csignal>
#include <sys/resource.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4)
        return 2;
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    // Past the limit a write then fails with EFBIG instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = arguments.at(3).toULongLong();
    const rlimit fileSizeLimit{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &fileSizeLimit) != 0)
        return 3;

    QTextStream out(stdout);
    const QStringList log = readertest::runJob(arguments.at(1), arguments.at(2));
    for (const QString &line : log)
        out << line << '\n';
    return 0;
}
