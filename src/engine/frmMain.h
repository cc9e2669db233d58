#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <functional>

#include "ImageList.h"

class AppContext;
class Gateway;
class Schedule;
class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class QToolBar;

// The main window: menus, toolbar, tray icon and status bar; it shows and drives the gateway's
// schedule (the timers, the pauses and the way the program ends).
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppContext& ctx, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: settings, window position, timers, tray, phone. The constructor does none of it.
    void Form_Load();
    // Shutdown: port closed, POP3 logout, isRunning "0", window position stored.
    void Form_Unload();

    // Switch both timers, the menus, the tray menu and the toolbar off and on again.
    // Nested pairs are safe; the polling timer comes back only when sending or receiving is active.
    void tempDisableTimers();
    void TempRestoreTimers();

    // Status panel text ("Idle..." for ""), and the Device, Port and Speed panels refreshed.
    void showStatus(const QString& text);
    // The text of a status panel: "Status", "Device", "Port" or "Speed".
    QString panelText(const QString& key) const;

    // One transaction-log line for a message sent (or not) to one recipient.
    void logSending(const QString& recipient, const QString& text, bool ok, const QString& source);

    // The sent, received and processed counts and the number of files in each folder.
    void showCounters();
    // Enables each command whose window is registered (and not while the timers are off).
    void updateCommands();
    bool timersDisabled() const;
    bool isLoaded() const;
    Gateway& gateway();
    Schedule& schedule();

    QTimer* InTimer = nullptr;      // polling timer (the schedule's)
    QTimer* SignalTimer = nullptr;  // signal timer (the schedule's)
    ImageList lstImages;            // "Asc", "Desc"

    QAction* mnuSendSMS = nullptr;
    QAction* mnuBrowse = nullptr;
    QAction* mnuAddressBook = nullptr;
    QAction* mnuJobs = nullptr;
    QAction* mnuMailSettings = nullptr;
    QAction* mnuShowLog = nullptr;
    QAction* mnuShowDebugLog = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuTrayRestore = nullptr;
    QMenu* mnuTray = nullptr;  // the tray icon's menu
    QToolBar* tbrMain = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;  // null when the desktop has no tray

    QLabel* labSent = nullptr;
    QLabel* labReceived = nullptr;
    QLabel* labProcessed = nullptr;
    QLabel* labFolders = nullptr;

    // Opens a file or folder with the desktop's program (the logs); tests replace it.
    std::function<bool(const QUrl&)> openUrl;

    void mnuSendSMS_Click();
    void mnuBrowse_Click();
    void mnuAddressBook_Click();
    void mnuJobs_Click();
    void mnuMailSettings_Click();
    void mnuShowLog_Click();
    void mnuShowDebugLog_Click();
    void mnuExit_Click();
    void mnuTrayRestore_Click();
    void InTimer_Timer();
    void SignalTimer_Timer();

    // SIGTERM, SIGINT or SIGHUP: the first ends the program at once, or, with a message on the
    // line, once it is done or the phone was silent for one Timeout; a second one at once.
    // Both through Form_Unload.
    void terminationSignal();
    // The program is ending (isRunning is "0" already).
    bool isEnding() const;
    // Leaves the message loops once the program has ended (tests replace it).
    std::function<void()> quitApplication;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildStatusBar();
    void buildCentral();
    void openModal(const QString& name);
    void openBeside(const QString& name);
    void placeBeside(QWidget* w) const;
    void openLog(const QString& path);
    void setCommandsEnabled(bool on);
    void refreshPanels();
    void fitStatusBar();
    void restorePosition();
    void storePosition();

    AppContext& m_ctx;
    class Private;
    Private* d;
};
