#include "TerminationSignals.h"

#include <csignal>

#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>

namespace lectoria::platform {

namespace {

int g_sockets[2] = {-1, -1};

extern "C" void OnTerminationSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    // Nothing but a write is safe in a handler; a full socket already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(g_sockets[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (g_sockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_sockets) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::OnReadable);
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (m_notifier == nullptr) {
        return;
    }
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    ::close(g_sockets[0]);
    ::close(g_sockets[1]);
    g_sockets[0] = g_sockets[1] = -1;
}

void TerminationSignals::OnReadable()
{
    char byte = 0;
    if (::read(g_sockets[1], &byte, 1) == 1) {
        emit terminationRequested(static_cast<unsigned char>(byte));
    }
}

} // namespace lectoria::platform
