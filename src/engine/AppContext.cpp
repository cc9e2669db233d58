#include "AppContext.h"

#include <QDir>

#include "ProgramFolder.h"
#include "Settings.h"
#include "frmMailSettings.h"
#include "frmMain.h"

AppContext::AppContext(const QString& programFolder, QObject* parent)
    : QObject(parent),
      m_folder(QDir::cleanPath(programFolder)),
      m_log(m_folder),
      m_ini({}, &m_log),
      m_phone(std::make_unique<PhoneLink>(m_ini, m_log)),
      m_pop3(std::make_unique<Pop3Client>()),
      m_windows(*this) {
    ProgramFolder::ensure(m_folder);
    m_windows.registerFactory(QStringLiteral("frmMailSettings"),
                              [](AppContext& ctx) -> QWidget* { return new frmMailSettings(ctx); });
    m_ini.setSettingsFile(ProgramFolder::settingsFile(m_folder));
    if (const QString warning = ProgramFolder::sharedFileWarning(m_ini.settingsFile()); !warning.isEmpty()) {
        m_log.writeLog(warning);
    }
    m_log.setFailureHandler([this](const QString& path, const QString& error) {
        m_prompts.msgBox.show(QStringLiteral("Can't write to %1: %2").arg(path, error), MsgBox::OKOnly,
                              MsgBox::Critical, QStringLiteral("Error writing to logfile"));
    });
}

AppContext::~AppContext() {
    m_windows.unloadAll();
    m_main.reset();
}

QString AppContext::programPath(const QString& name) const {
    return ProgramFolder::join(m_folder, name);
}

frmMain& AppContext::mainWindow() {
    if (!m_main) {
        m_main = std::make_unique<frmMain>(*this);
    }
    return *m_main;
}

void AppContext::getSettings() {
    Settings::read(*this);
}
