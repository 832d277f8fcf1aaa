// Runs one reading job over a card under a limit on the size of the files it writes, and prints
// what the job emits, one signal a line. Usage: readjob <card> <target folder> <size limit in bytes>

#include "readertest.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    // Past the limit a write then fails with EFBIG instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
    const rlimit fileSizeLimit{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &fileSizeLimit) != 0)
        return 3;
    const QStringList log = readertest::runJob(app.arguments().at(1), app.arguments().at(2));
    std::fputs(log.join(QLatin1Char('\n')).append(QLatin1Char('\n')).toUtf8().constData(), stdout);
    return 0;
}
