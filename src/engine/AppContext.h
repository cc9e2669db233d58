#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "IniStore.h"
#include "LogWriter.h"
#include "PhoneLink.h"
#include "Pop3Client.h"
#include "Prompts.h"
#include "SharedState.h"
#include "WindowRegistry.h"

class frmMain;

// One running program: its folder, settings, shared state, phone link, POP3 control,
// prompts and the single instances of its windows. main() builds one; every test builds
// its own on a temporary folder.
class AppContext : public QObject {
    Q_OBJECT
public:
    // Creates the program folder when missing and locates the settings file in it.
    explicit AppContext(const QString& programFolder, QObject* parent = nullptr);
    ~AppContext() override;

    QString programFolder() const { return m_folder; }
    // "<program folder>/<name>".
    QString programPath(const QString& name) const;

    IniStore& ini() { return m_ini; }
    LogWriter& log() { return m_log; }
    Prompts& prompts() { return m_prompts; }
    MsgBox& msgBox() { return m_prompts.msgBox; }
    SharedState& state() { return m_state; }
    PhoneLink& phone() { return *m_phone; }
    Pop3Client& pop3() { return *m_pop3; }
    WindowRegistry& windows() { return m_windows; }

    // The main window, built on first use (its start-up runs only through Form_Load).
    frmMain& mainWindow();
    bool hasMainWindow() const { return m_main != nullptr; }

    // Reads [Settings] into the shared state and creates the message folders.
    void getSettings();

private:
    QString m_folder;
    LogWriter m_log;
    IniStore m_ini;
    Prompts m_prompts;
    SharedState m_state;
    std::unique_ptr<PhoneLink> m_phone;
    std::unique_ptr<Pop3Client> m_pop3;
    WindowRegistry m_windows;
    std::unique_ptr<frmMain> m_main;
};
