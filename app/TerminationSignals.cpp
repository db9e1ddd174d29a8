// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminationSignals.h"

#include "AppLogging.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int s_pipe[2] = {-1, -1};
constexpr int kHandledSignals[] = {SIGTERM, SIGINT, SIGHUP};
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_pipe) != 0) {
        qCWarning(lcApp) << "termination signals stay unhandled: no socket pair";
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(s_pipe[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(s_pipe[1], &byte, 1) == 1)
            emit terminationRequested();
    });
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kHandledSignals)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int number : kHandledSignals)
        ::signal(number, SIG_DFL);
    m_notifier.reset();
    for (int& end : s_pipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void TerminationSignals::onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here.
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[0], &byte, 1);
}
