#include <unistd.h>
#include <QApplication>
#include <cstdio>

#include "AppContext.h"
#include "AppIcons.h"
#include "JobEditorWindows.h"
#include "MessagesWindows.h"
#include "MsgBox.h"
#include "ProgramFolder.h"
#include "TerminationSignals.h"
#include "frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tellwick"));
    QApplication::setOrganizationName(QStringLiteral("Tellwick"));
    QApplication::setWindowIcon(AppIcons::program());
    // With the tray icon the program lives on while its window is hidden; it ends through
    // its exit command or by closing the main window.
    QApplication::setQuitOnLastWindowClosed(false);

    // One program per program folder: a second one would send the same messages again. It
    // says who holds the folder and ends before it touches anything there.
    const QString folder = ProgramFolder::locate(QApplication::arguments());
    ProgramFolder::ensure(folder);
    ProgramLock lock(folder);
    if (!lock.tryLock()) {
        const QString text =
            lock.holder().isEmpty()
                ? QStringLiteral("Tellwick can't use the program folder %1: %2").arg(folder, lock.error())
                : QStringLiteral(
                      "Tellwick is already running on the program folder %1 (%2).\r\n"
                      "Only one Tellwick may use a program folder at a time.")
                      .arg(folder, lock.holder());
        std::fprintf(stderr, "%s\n",
                     qPrintable(QString(text).replace(QLatin1String("\r\n"), QLatin1String(" "))));
        MsgBox box;
        box.show(text, MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick is already running"));
        return 1;
    }

    AppContext ctx(folder);
    registerMessagesWindows(ctx.windows());
    registerJobEditorWindows(ctx.windows());

    frmMain& main = ctx.mainWindow();
    // The first signal ends the program once the message on the line is done, the second at
    // once (both through the normal shutdown: port closed, isRunning "0", window position
    // kept). One more while that shutdown still runs ends the process as it stands.
    TerminationSignals::install([&main] {
        if (main.isEnding()) {
            ::_exit(1);
        }
        main.terminationSignal();
    });
    main.Form_Load();  // shows the window, or keeps it in the tray when so set
    if (main.isEnding()) {
        return 0;  // a signal came during the start-up
    }
    const int rc = QApplication::exec();
    main.Form_Unload();
    return rc;
}
