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

    // True on success; otherwise errorText() says what failed.
    bool login();
    bool logout();
    bool isLoggedIn() const;
    QString errorText() const { return m_error; }

private:
    QString m_error;
    class Private;
    Private* d = nullptr;
};
