#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QVersionNumber>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Database.h"

using namespace Qt::StringLiterals;

namespace {

int freePort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        return 0;
    }
    return server.serverPort();
}

bool hasServerPrograms(const QString& dir) {
    return !dir.isEmpty() && QFileInfo(dir + u"/initdb").isExecutable() &&
           QFileInfo(dir + u"/pg_ctl").isExecutable();
}

}  // namespace

PostgresServer::PostgresServer() = default;

PostgresServer::~PostgresServer() {
    stop();
}

QString PostgresServer::binDir() {
    const QString fromEnv = qEnvironmentVariable("TELLWICK_PG_BIN");
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    // The newest installed major version.
    QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    const QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& v : versions) {
        const QString dir = root.filePath(v) + u"/bin";
        const QVersionNumber number = QVersionNumber::fromString(v);
        if (hasServerPrograms(dir) && (best.isEmpty() || number > bestVersion)) {
            best = dir;
            bestVersion = number;
        }
    }
    return best;
}

bool PostgresServer::available() {
    return hasServerPrograms(binDir());
}

bool PostgresServer::run(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir->path());  // the postgres user may not enter ours
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    const QString path = binDir() + u'/' + program;
    if (m_asPostgres) {
        process.start(
            QStringLiteral("runuser"),
            QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), path} + args);
    } else {
        process.start(path, args);
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        m_error = QStringLiteral("%1 did not finish: %2").arg(program, process.errorString());
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = QStringLiteral("%1 failed (%2): %3")
                      .arg(program)
                      .arg(process.exitCode())
                      .arg(QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

QString PostgresServer::logTail() const {
    QFile f(m_logFile);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLocal8Bit(f.readAll().right(2000));
}

bool PostgresServer::start() {
    if (m_running) {
        return true;
    }
    m_error.clear();
    if (!available()) {
        m_error = QStringLiteral("no PostgreSQL server programs (initdb, pg_ctl) found");
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + u"/tellwick-pg-XXXXXX");
    if (!m_dir->isValid()) {
        m_error = QStringLiteral("cannot create a temporary folder: %1").arg(m_dir->errorString());
        return false;
    }
    m_dataDir = m_dir->path() + u"/data";
    m_logFile = m_dir->path() + u"/server.log";
    const QString pwFile = m_dir->path() + u"/pwfile";
    {
        QFile f(pwFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(password().toUtf8() + '\n') < 0) {
            m_error = QStringLiteral("cannot write %1").arg(pwFile);
            return false;
        }
    }
    m_asPostgres = (::geteuid() == 0);
    if (m_asPostgres) {
        const passwd* pw = ::getpwnam("postgres");
        if (!pw) {
            m_error = QStringLiteral("running as root, but there is no \"postgres\" user to run the server");
            return false;
        }
        const QByteArray dir = QFile::encodeName(m_dir->path());
        const QByteArray pwf = QFile::encodeName(pwFile);
        if (::chown(dir.constData(), pw->pw_uid, pw->pw_gid) != 0 ||
            ::chown(pwf.constData(), pw->pw_uid, pw->pw_gid) != 0) {
            m_error = QStringLiteral("cannot hand %1 to the postgres user").arg(m_dir->path());
            return false;
        }
    }
    ::chmod(QFile::encodeName(pwFile).constData(), 0600);

    if (!run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), m_dataDir, QStringLiteral("-U"), user(), u"--pwfile="_s + pwFile,
              QStringLiteral("-A"), QStringLiteral("scram-sha-256"), QStringLiteral("-E"),
              QStringLiteral("UTF8"), QStringLiteral("--no-locale"), QStringLiteral("--no-sync")},
             120000)) {
        return false;
    }
    // A port found free may be taken before the server binds it: try a few.
    for (int attempt = 0; attempt < 3 && !m_running; ++attempt) {
        m_port = freePort();
        const QString options = QStringLiteral(
                                    "-p %1 -c listen_addresses=127.0.0.1 -c unix_socket_directories='%2' "
                                    "-c fsync=off -c full_page_writes=off")
                                    .arg(m_port)
                                    .arg(m_dir->path());
        m_running = run(QStringLiteral("pg_ctl"),
                        {QStringLiteral("-D"), m_dataDir, QStringLiteral("-l"), m_logFile,
                         QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                         QStringLiteral("-o"), options, QStringLiteral("start")},
                        90000);
    }
    if (!m_running) {
        m_error += u"\nserver log:\n"_s + logTail();
    }
    return m_running;
}

void PostgresServer::stop() {
    if (m_running) {
        run(QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), m_dataDir, QStringLiteral("-m"), QStringLiteral("immediate"),
             QStringLiteral("-w"), QStringLiteral("stop")},
            60000);
        m_running = false;
    }
    m_dir.reset();
}

QString PostgresServer::connectionString(const QString& database) const {
    return QStringLiteral("Provider=PostgreSQL;Server=%1;Port=%2;Database=%3;User ID=%4;")
               .arg(host())
               .arg(m_port)
               .arg(database, user()) +
           formatConnectionItem(QStringLiteral("Password"), password());
}

bool PostgresServer::exec(const QStringList& statements, const QString& database) {
    static int counter = 0;
    const QString name = QStringLiteral("tellwick-pg-fixture-%1").arg(++counter);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(host());
        db.setPort(m_port);
        db.setDatabaseName(database);
        db.setUserName(user());
        db.setPassword(password());
        if (!db.open()) {
            m_error = db.lastError().text();
            ok = false;
        }
        for (const QString& sql : statements) {
            if (!ok) {
                break;
            }
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                m_error = sql + u": "_s + q.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
