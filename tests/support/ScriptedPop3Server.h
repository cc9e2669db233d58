#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A POP3 server that misbehaves on purpose, on 127.0.0.1 at a free port: it greets with a
// chosen line (or stays silent), answers each command word with a chosen line, stays silent
// or drops the connection, and records every byte it received.
class ScriptedPop3Server : public QObject {
    Q_OBJECT
public:
    static inline const QByteArray kSilent = QByteArrayLiteral("<silent>");
    static inline const QByteArray kDrop = QByteArrayLiteral("<drop>");

    explicit ScriptedPop3Server(QObject* parent = nullptr);

    bool listen();
    quint16 port() const { return m_server.serverPort(); }

    // The first line sent on a connection: a reply line, kSilent or kDrop. Default "+OK ready".
    QByteArray greeting = QByteArrayLiteral("+OK ready");
    // Reply to a command word ("USER", "PASS", "QUIT"...); a missing word is answered "+OK".
    QHash<QByteArray, QByteArray> replies;

    QByteArray received() const { return m_received; }
    int connections() const { return m_connections; }

private:
    void onNewConnection();
    void onReadyRead();
    void send(const QByteArray& reply);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_conn;
    QByteArray m_received;
    QByteArray m_pending;
    int m_connections = 0;
};
