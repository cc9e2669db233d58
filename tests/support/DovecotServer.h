#pragma once

#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A real POP3 server for the tests: dovecot on 127.0.0.1 at a free port, with its own
// configuration, state and mail folders in a temporary folder, run in the foreground as a
// child process (no service manager) and stopped and removed by stop() or the destructor.
// It works as root (the mail user is then nobody, the login processes dovecot's own users)
// and as an ordinary user (everything runs as that user).
class DovecotServer {
public:
    using Users = QList<QPair<QString, QString>>;  // name, plain password (no ":" or line break)

    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // The dovecot binary ($TELLWICK_DOVECOT, /usr/sbin/dovecot or one on the PATH); "" when
    // dovecot is not installed.
    static QString binary();
    // True when the tests must not skip for want of dovecot ($CI or $TELLWICK_REQUIRE_DOVECOT set).
    static bool required();

    // Starts the server with these mailboxes and waits until it greets; false with
    // errorText() on failure.
    bool start(const Users& users);
    void stop();
    bool isRunning() const;

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString errorText() const { return m_error; }
    // The server's own log so far (for failure messages).
    QString logText() const;

private:
    bool startOnce(const Users& users);
    bool writeConfig(const Users& users);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_error;
};

// In a test function: starts server with users, skips the test when dovecot is missing and not
// required, fails it when the server does not come up.
#define TW_START_DOVECOT(server, users)                                                            \
    do {                                                                                           \
        if (DovecotServer::binary().isEmpty()) {                                                   \
            if (DovecotServer::required())                                                         \
                QFAIL("dovecot is required here but not installed (dovecot-core, dovecot-pop3d)"); \
            QSKIP("dovecot is not installed (dovecot-core, dovecot-pop3d)");                       \
        }                                                                                          \
        const bool dovecotStarted_ = (server).start(users);                                        \
        QVERIFY2(dovecotStarted_, qPrintable((server).errorText()));                               \
    } while (false)
