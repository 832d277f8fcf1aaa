#include "interruptwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fiscora::cli {

namespace {

// A closed terminal (SIGHUP) ends a job as SIGTERM does, by a stop that cleans up.
constexpr int WatchedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The handler may only make async-signal-safe calls, so it hands the signal to the event loop
// through a pipe.
int signalPipe[2] = {-1, -1};

void forwardSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds enough to wake the event loop, so a byte lost here loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // The worker threads read and write files; they are not to see EINTR for it.
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : WatchedSignals)
        sigaction(signalNumber, &action, nullptr);
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("Ctrl+C will end the process at once: %s", std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptWatcher::readSignals);
    setHandler(forwardSignal);
}

InterruptWatcher::~InterruptWatcher()
{
    if (!m_notifier)
        return;
    setHandler(SIG_DFL);
    delete m_notifier;
    for (int &end : signalPipe) {
        ::close(end);
        end = -1;
    }
}

void InterruptWatcher::readSignals()
{
    unsigned char byte = 0;
    while (::read(signalPipe[0], &byte, 1) == 1)
        emit interrupted(byte);
}

} // namespace fiscora::cli
