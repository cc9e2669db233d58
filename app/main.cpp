#include <QApplication>

#include "AppContext.h"
#include "AppIcons.h"
#include "JobEditorWindows.h"
#include "MessagesWindows.h"
#include "ProgramFolder.h"
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
    main.Form_Load();  // shows the window, or keeps it in the tray when so set
    const int rc = QApplication::exec();
    main.Form_Unload();
    return rc;
}
