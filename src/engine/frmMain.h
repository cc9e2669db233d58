#pragma once

#include <QMainWindow>
#include <QString>

#include "ImageList.h"

class AppContext;
class QTimer;
class QLabel;

// The main window: menus, toolbar, tray icon, status bar and the two engine timers.
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

    QTimer* InTimer = nullptr;      // polling timer
    QTimer* SignalTimer = nullptr;  // signal timer
    ImageList lstImages;            // "Asc", "Desc"

private:
    AppContext& m_ctx;
    class Private;
    Private* d;
};
