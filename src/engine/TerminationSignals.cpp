#include "TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace TerminationSignals {

namespace {
int g_pipe[2] = {-1, -1};
QSocketNotifier* g_notifier = nullptr;  // the one installed last takes the signals

void onTerminate(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_pipe[0], &c, 1);
}
}  // namespace

bool install(std::function<void()> onSignal) {
    if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0) {
        return false;
    }
    delete g_notifier;
    auto* notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    g_notifier = notifier;
    QObject::connect(notifier, &QSocketNotifier::destroyed, [notifier] {
        if (g_notifier == notifier) {
            g_notifier = nullptr;
        }
    });
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal = std::move(onSignal)] {
        char c = 0;
        if (::read(g_pipe[1], &c, 1) == 1 && onSignal) {
            onSignal();
        }
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &sa, nullptr);
    }
    return true;
}

}  // namespace TerminationSignals
