#pragma once

#include <QObject>
#include <QString>

// The POP3 control: logs in to a mailbox (greeting, USER, PASS) and out (QUIT) within a
// time limit. Its calls wait, letting the message loop run, and report failures as texts.
class Pop3Client : public QObject {
    Q_OBJECT
public:
    explicit Pop3Client(QObject* parent = nullptr);
    ~Pop3Client() override;

    QString server;
    quint16 port = 110;
    QString user;
    QString password;
    int timeoutSeconds = 10;

    // True on success; otherwise errorText() says what failed. The time limit covers the
    // whole login (connection, greeting, USER and PASS); a failed login leaves no connection.
    // A user or password holding a line break is refused before anything is sent.
    bool login();
    // Sends QUIT and closes the connection; true when there was no connection to close.
    bool logout();
    bool isLoggedIn() const;
    // True while a call waits for the server (another call then fails at once).
    bool isBusy() const;
    QString errorText() const { return m_error; }

    // Seconds the calls wait at most: timeoutSeconds, or 10 when that is not positive.
    int effectiveTimeout() const { return timeoutSeconds > 0 ? timeoutSeconds : 10; }

private:
    QString m_error;
    class Private;
    Private* d = nullptr;
};
