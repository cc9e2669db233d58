#include "ScriptedPop3Server.h"

ScriptedPop3Server::ScriptedPop3Server(QObject* parent) : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedPop3Server::onNewConnection);
}

bool ScriptedPop3Server::listen() {
    return m_server.listen(QHostAddress::LocalHost, 0);
}

void ScriptedPop3Server::onNewConnection() {
    while (QTcpSocket* conn = m_server.nextPendingConnection()) {
        ++m_connections;
        conn->setParent(this);
        m_conn = conn;
        m_pending.clear();
        connect(conn, &QTcpSocket::readyRead, this, &ScriptedPop3Server::onReadyRead);
        send(greeting);
    }
}

void ScriptedPop3Server::send(const QByteArray& reply) {
    if (!m_conn || m_conn->state() != QAbstractSocket::ConnectedState || reply == kSilent) {
        return;
    }
    if (reply == kDrop) {
        m_conn->abort();
        return;
    }
    m_conn->write(reply + "\r\n");
}

void ScriptedPop3Server::onReadyRead() {
    auto* conn = qobject_cast<QTcpSocket*>(sender());
    if (!conn || conn != m_conn) {
        return;
    }
    const QByteArray data = conn->readAll();
    m_received += data;
    m_pending += data;
    qsizetype end;
    while (m_conn && (end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        const QByteArray word = line.split(' ').value(0).toUpper();
        send(replies.value(word, QByteArrayLiteral("+OK")));
    }
}
