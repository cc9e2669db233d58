#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A throwaway PostgreSQL cluster for tests: made with initdb in a temporary folder, started
// with pg_ctl on a free port of 127.0.0.1 (password authentication), stopped and removed by
// the destructor. Under root the server programs run as the "postgres" user, since the
// server refuses to run as root.
//
// The server programs are looked up in $TELLWICK_PG_BIN, then /usr/lib/postgresql/<n>/bin.
class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Whether the server programs exist on this machine (tests skip when not).
    static bool available();
    static QString binDir();

    // Creates and starts the cluster; false with errorText() (and the server log) on failure.
    bool start();
    void stop();
    bool isRunning() const { return m_running; }
    QString errorText() const { return m_error; }

    int port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    QString user() const { return QStringLiteral("tellwick"); }
    QString password() const { return QStringLiteral("s3cret;pw"); }
    // "Provider=PostgreSQL;..." for the given database of this cluster.
    QString connectionString(const QString& database = QStringLiteral("postgres")) const;

    // Runs statements as the cluster's superuser on the given database (CREATE DATABASE
    // included); false with errorText() on the first failure.
    bool exec(const QStringList& statements, const QString& database = QStringLiteral("postgres"));

private:
    bool run(const QString& program, const QStringList& args, int timeoutMs);
    QString logTail() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dataDir;
    QString m_logFile;
    int m_port = 0;
    bool m_running = false;
    bool m_asPostgres = false;
    QString m_error;
};
