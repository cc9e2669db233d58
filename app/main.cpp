#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <functional>
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
void quitOnTerminationSignals(QApplication& app, std::function<void()> quit) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier, quit] {
        char c = 0;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[1], &c, 1);
        notifier->setEnabled(false);
        quit();
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

    AppContext ctx(ProgramFolder::locate(QApplication::arguments()));
    registerMessagesWindows(ctx.windows());
    registerJobEditorWindows(ctx.windows());

    frmMain& main = ctx.mainWindow();
    // Closing the main window waits for a running send to end; an open dialog is left at once.
    quitOnTerminationSignals(app, [&main] {
        if (QApplication::activeModalWidget()) {
            QApplication::quit();
        } else {
            main.close();
        }
    });
    main.Form_Load();  // shows the window, or keeps it in the tray when so set
    const int rc = QApplication::exec();
    main.Form_Unload();
    return rc;
}
