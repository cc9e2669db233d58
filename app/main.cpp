#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "AppContext.h"
#include "AppIcons.h"
#include "JobEditorWindows.h"
#include "MessagesWindows.h"
#include "ProgramFolder.h"
#include "frmMain.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[0], &c, 1);
}

// SIGTERM, SIGINT and SIGHUP end the program through its normal shutdown (port closed,
// isRunning "0", window position kept) instead of killing it on the spot.
void quitOnTerminationSignals(QApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char c = 0;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[1], &c, 1);
        notifier->setEnabled(false);
        QApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &sa, nullptr);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tellwick"));
    QApplication::setOrganizationName(QStringLiteral("Tellwick"));
    QApplication::setWindowIcon(AppIcons::program());
    // With the tray icon the program lives on while its window is hidden; it ends through
    // its exit command or by closing the main window.
    QApplication::setQuitOnLastWindowClosed(false);
    quitOnTerminationSignals(app);

    AppContext ctx(ProgramFolder::locate(QApplication::arguments()));
    registerMessagesWindows(ctx.windows());
    registerJobEditorWindows(ctx.windows());

    frmMain& main = ctx.mainWindow();
    main.Form_Load();  // shows the window, or keeps it in the tray when so set
    const int rc = QApplication::exec();
    main.Form_Unload();
    return rc;
}
