#include <QApplication>

#include "AppContext.h"
#include "JobEditorWindows.h"
#include "MessagesWindows.h"
#include "ProgramFolder.h"
#include "frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tellwick"));
    QApplication::setOrganizationName(QStringLiteral("Tellwick"));

    AppContext ctx(ProgramFolder::locate(QApplication::arguments()));
    registerMessagesWindows(ctx.windows());
    registerJobEditorWindows(ctx.windows());

    frmMain& main = ctx.mainWindow();
    main.Form_Load();
    main.show();
    const int rc = QApplication::exec();
    main.Form_Unload();
    return rc;
}
