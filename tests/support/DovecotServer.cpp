#include "DovecotServer.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr int kStartSeconds = 20;

QString userName(uid_t uid) {
    const passwd* pw = ::getpwuid(uid);
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

QString groupName(gid_t gid) {
    const group* gr = ::getgrgid(gid);
    return gr ? QString::fromLocal8Bit(gr->gr_name) : QString();
}

bool userExists(const char* name) {
    return ::getpwnam(name) != nullptr;
}

quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        return 0;
    }
    return probe.serverPort();
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        return false;
    }
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

}  // namespace

DovecotServer::DovecotServer() = default;

DovecotServer::~DovecotServer() {
    stop();
}

QString DovecotServer::binary() {
    const QString fromEnv = qEnvironmentVariable("TELLWICK_DOVECOT");
    if (!fromEnv.isEmpty()) {
        return QFileInfo(fromEnv).isExecutable() ? fromEnv : QString();
    }
    if (QFileInfo(QStringLiteral("/usr/sbin/dovecot")).isExecutable()) {
        return QStringLiteral("/usr/sbin/dovecot");
    }
    return QStandardPaths::findExecutable(QStringLiteral("dovecot"),
                                          {QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/sbin")});
}

bool DovecotServer::required() {
    return !qEnvironmentVariableIsEmpty("CI") || !qEnvironmentVariableIsEmpty("TELLWICK_REQUIRE_DOVECOT");
}

bool DovecotServer::isRunning() const {
    return m_process && m_process->state() == QProcess::Running;
}

QString DovecotServer::logText() const {
    if (!m_dir) {
        return {};
    }
    QFile f(m_dir->filePath(QStringLiteral("dovecot.log")));
    QString text = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    if (m_process) {
        text += QString::fromUtf8(m_process->readAllStandardError());
    }
    return text;
}

bool DovecotServer::start(const Users& users) {
    stop();
    if (binary().isEmpty()) {
        m_error = QStringLiteral("dovecot is not installed");
        return false;
    }
    // The free port is only free when probed; another process may take it before dovecot
    // binds it, so a failed start is tried again on a new port.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (startOnce(users)) {
            return true;
        }
        const bool portTaken = logText().contains(QLatin1String("Address already in use"));
        if (!portTaken) {
            break;
        }
    }
    return false;
}

bool DovecotServer::writeConfig(const Users& users) {
    const QString d = m_dir->path();
    const bool root = ::geteuid() == 0;
    QString mailUid;
    QString mailGid;
    QString internalUser;
    QString internalGroup;
    QString loginUser;
    if (root) {
        // Mail must not be read as root; the login and internal processes drop to dovecot's
        // own users, which the package creates.
        // getpwnam() hands out one static record: copy what is needed at once.
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody) {
            m_error = QStringLiteral("no user 'nobody' to run the mailboxes as");
            return false;
        }
        const uid_t nobodyUid = nobody->pw_uid;
        const gid_t nobodyGid = nobody->pw_gid;
        mailUid = QString::number(nobodyUid);
        mailGid = QString::number(nobodyGid);
        internalUser = userExists("dovecot") ? QStringLiteral("dovecot") : QStringLiteral("nobody");
        internalGroup = groupName(::getpwnam(qPrintable(internalUser))->pw_gid);
        loginUser = userExists("dovenull") ? QStringLiteral("dovenull") : QStringLiteral("nobody");
        if (::chown(QFile::encodeName(d + QStringLiteral("/mail")).constData(), nobodyUid, nobodyGid) != 0) {
            m_error = QStringLiteral("cannot hand the mail folder to nobody");
            return false;
        }
    } else {
        // An ordinary user runs every dovecot process as itself.
        mailUid = QString::number(::getuid());
        mailGid = QString::number(::getgid());
        internalUser = userName(::geteuid());
        internalGroup = groupName(::getegid());
        loginUser = internalUser;
    }

    QByteArray passwd;
    for (const auto& [name, password] : users) {
        passwd += name.toUtf8() + ":{PLAIN}" + password.toUtf8() + '\n';
    }

    const QString conf = QStringLiteral(R"(protocols = pop3
listen = 127.0.0.1
base_dir = %1/base
state_dir = %1/state
instance_name = tellwick-test-%2
log_path = %1/dovecot.log
info_log_path = %1/dovecot.log
default_internal_user = %3
default_internal_group = %4
default_login_user = %5
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
auth_failure_delay = 0
mail_location = maildir:%1/mail/%u
passdb {
  driver = passwd-file
  args = scheme=PLAIN username_format=%u %1/passwd
}
userdb {
  driver = static
  args = uid=%6 gid=%7 home=%1/mail/%u
}
service pop3-login {
%9
  inet_listener pop3 {
    address = 127.0.0.1
    port = %8
  }
  inet_listener pop3s {
    port = 0
  }
}
# Without this listener a failed login holds back the next good one for seconds.
service anvil {
%9
  unix_listener anvil-auth-penalty {
    mode = 0
  }
}
)")
                             .arg(d, QString::number(m_port), internalUser, internalGroup, loginUser, mailUid,
                                  mailGid, QString::number(m_port),
                                  // only root may change the root folder of a process
                                  root ? QStringLiteral("") : QStringLiteral("  chroot ="));
    if (!writeFile(d + QStringLiteral("/passwd"), passwd) ||
        !writeFile(d + QStringLiteral("/dovecot.conf"), conf.toUtf8())) {
        m_error = QStringLiteral("cannot write the dovecot configuration into ") + d;
        return false;
    }
    return true;
}

bool DovecotServer::startOnce(const Users& users) {
    stop();
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tw-dovecot-XXXXXX"));
    if (!m_dir->isValid()) {
        m_error = QStringLiteral("cannot create a temporary folder: ") + m_dir->errorString();
        return false;
    }
    const QString d = m_dir->path();
    // The mail and login processes run as other users and must reach their folders.
    QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                 QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char* sub : {"base", "state", "mail"}) {
        QDir(d).mkpath(QString::fromLatin1(sub));
    }
    m_port = freePort();
    if (m_port == 0) {
        m_error = QStringLiteral("no free port on 127.0.0.1");
        return false;
    }
    if (!writeConfig(users)) {
        return false;
    }

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(binary());
    m_process->setArguments(
        {QStringLiteral("-F"), QStringLiteral("-c"), d + QStringLiteral("/dovecot.conf")});
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    // Ends with the test process even when a test crashes.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process->start();
    if (!m_process->waitForStarted(kStartSeconds * 1000)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(binary(), m_process->errorString());
        return false;
    }

    // Ready when a connection gets the greeting; over when the process ends first.
    bool greeted = false;
    (void)QTest::qWaitFor(
        [&] {
            if (m_process->state() != QProcess::Running) {
                return true;
            }
            QTcpSocket probe;
            probe.connectToHost(host(), m_port);
            if (probe.waitForConnected(500) && probe.waitForReadyRead(2000)) {
                greeted = probe.readLine().startsWith("+OK");
                probe.abort();
            }
            return greeted;
        },
        kStartSeconds * 1000);
    if (!greeted) {
        m_error = QStringLiteral("dovecot did not come up on %1:%2 within %3 seconds; its log:\n%4")
                      .arg(host())
                      .arg(m_port)
                      .arg(kStartSeconds)
                      .arg(logText());
        return false;
    }
    return true;
}

void DovecotServer::stop() {
    if (m_process) {
        if (m_process->state() != QProcess::NotRunning) {
            m_process->terminate();  // the master ends its children and exits
            if (!m_process->waitForFinished(10000)) {
                m_process->kill();
                m_process->waitForFinished(5000);
            }
        }
        m_process.reset();
    }
    m_dir.reset();
}
