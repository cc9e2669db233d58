#include <unistd.h>
#include <QApplication>

#include "AppContext.h"
#include "AppIcons.h"
#include "JobEditorWindows.h"
#include "MessagesWindows.h"
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

    AppContext ctx(ProgramFolder::locate(QApplication::arguments()));
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
