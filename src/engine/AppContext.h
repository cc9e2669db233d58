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

    // The program is ending: no new message starts (its file stays where it is).
    bool isClosing() const { return m_closing; }
    void setClosing(bool on) { m_closing = on; }
    // A message file is being sent, from reading it to filing it: the program waits for it
    // before it ends.
    class MessageOnLine {
    public:
        explicit MessageOnLine(AppContext& ctx) : m_ctx(ctx) { ++m_ctx.m_onLine; }
        ~MessageOnLine() {
            if (--m_ctx.m_onLine == 0) {
                emit m_ctx.messageDone();
            }
        }
        MessageOnLine(const MessageOnLine&) = delete;
        MessageOnLine& operator=(const MessageOnLine&) = delete;

    private:
        AppContext& m_ctx;
    };
    bool messageOnLine() const { return m_onLine > 0; }

signals:
    // The message that was on the line is done (sent or filed).
    void messageDone();

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
    bool m_closing = false;
    int m_onLine = 0;
};
