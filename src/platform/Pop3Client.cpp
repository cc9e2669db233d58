#include "Pop3Client.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace {

// A reply longer than this without a line end is no POP3 reply.
constexpr qsizetype kMaxLine = 64 * 1024;

// A server's line as it goes into an error text: printable, at most 200 characters.
QString shown(const QByteArray& line) {
    QString s = QString::fromUtf8(line).trimmed();
    for (QChar& c : s) {
        if (!c.isPrint()) {
            c = u' ';
        }
    }
    return s.size() > 200 ? s.left(200) + QStringLiteral("...") : s;
}

bool holdsLineBreak(const QString& s) {
    return s.contains(u'\r') || s.contains(u'\n') || s.contains(QChar(0));
}

}  // namespace

class Pop3Client::Private {
public:
    explicit Private(Pop3Client& q) : q(q) {}

    Pop3Client& q;
    QTcpSocket socket;
    QByteArray buffer;
    bool loggedIn = false;
    bool busy = false;
    // The server of the current connection, kept apart from the public fields, which a
    // caller may change while a call waits.
    QString host;
    quint16 hostPort = 0;
    int limit = 10;

    QString where() const { return host + u':' + QString::number(hostPort); }

    // Runs the message loop until the socket reports something or the deadline passes.
    void wait(const QDeadlineTimer& deadline) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::stateChanged, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
        timer.start(std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
        loop.exec();
    }

    QString timeLimitText(const QString& what) const {
        return QStringLiteral("No answer from %1 within the time limit of %2 seconds (waiting for %3)")
            .arg(where())
            .arg(limit)
            .arg(what);
    }

    bool connectToServer(const QDeadlineTimer& deadline, QString& error) {
        buffer.clear();
        socket.connectToHost(host, hostPort);
        for (;;) {
            const auto state = socket.state();
            if (state == QAbstractSocket::ConnectedState) {
                return true;
            }
            if (state == QAbstractSocket::UnconnectedState) {
                switch (socket.error()) {
                    case QAbstractSocket::ConnectionRefusedError:
                        error = QStringLiteral("Connection refused by %1").arg(where());
                        break;
                    case QAbstractSocket::HostNotFoundError:
                        error = QStringLiteral("Host %1 not found").arg(host);
                        break;
                    default:
                        error =
                            QStringLiteral("Could not connect to %1: %2").arg(where(), socket.errorString());
                        break;
                }
                socket.abort();
                return false;
            }
            if (deadline.hasExpired()) {
                socket.abort();
                error = timeLimitText(QStringLiteral("the connection"));
                return false;
            }
            wait(deadline);
        }
    }

    // One reply line without its line end.
    bool readLine(const QDeadlineTimer& deadline, const QString& what, QByteArray& line, QString& error) {
        for (;;) {
            buffer += socket.readAll();
            const qsizetype end = buffer.indexOf('\n');
            if (end >= 0) {
                line = buffer.left(end);
                buffer.remove(0, end + 1);
                if (line.endsWith('\r')) {
                    line.chop(1);
                }
                return true;
            }
            if (buffer.size() > kMaxLine) {
                error =
                    QStringLiteral("%1 sent a reply without a line end (waiting for %2)").arg(where(), what);
                return false;
            }
            if (socket.state() != QAbstractSocket::ConnectedState) {
                error = QStringLiteral("Connection to %1 dropped while waiting for %2").arg(where(), what);
                return false;
            }
            if (deadline.hasExpired()) {
                error = timeLimitText(what);
                return false;
            }
            wait(deadline);
        }
    }

    // Reads one status line; true for "+OK". A "-ERR" line or anything else becomes the error
    // text, prefixed with what failed; refused is set when the server did answer.
    bool status(const QDeadlineTimer& deadline, const QString& step, const QString& what, QString& error,
                bool& refused) {
        refused = false;
        QByteArray line;
        if (!readLine(deadline, what, line, error)) {
            return false;
        }
        if (line.startsWith("+OK")) {
            return true;
        }
        refused = true;
        if (line.startsWith("-ERR")) {
            error = QStringLiteral("%1 failed: %2").arg(step, shown(line));
        } else {
            error = QStringLiteral("%1 failed: unexpected reply from %2: %3").arg(step, where(), shown(line));
        }
        return false;
    }

    bool command(const QByteArray& text, const QDeadlineTimer& deadline, const QString& step, QString& error,
                 bool& refused) {
        refused = false;
        if (socket.write(text + "\r\n") < 0) {
            error = QStringLiteral("Could not send %1 to %2: %3").arg(step, where(), socket.errorString());
            return false;
        }
        return status(deadline, step, QStringLiteral("the reply to ") + step, error, refused);
    }

    // Ends the connection: after a refusal politely with QUIT, otherwise at once.
    void drop(bool polite) {
        if (polite && socket.state() == QAbstractSocket::ConnectedState) {
            socket.write("QUIT\r\n");
            socket.disconnectFromHost();  // writes what is pending, then closes
        } else {
            socket.abort();
        }
        buffer.clear();
        loggedIn = false;
    }
};

Pop3Client::Pop3Client(QObject* parent) : QObject(parent), d(new Private(*this)) {}

Pop3Client::~Pop3Client() {
    d->socket.abort();
    delete d;
}

bool Pop3Client::login() {
    if (d->busy) {
        m_error = QStringLiteral("The POP3 control is busy");
        return false;
    }
    m_error.clear();
    if (d->socket.state() != QAbstractSocket::UnconnectedState) {
        d->drop(false);
    }
    if (holdsLineBreak(user) || holdsLineBreak(password)) {
        m_error = QStringLiteral("The user name or password holds a line break; nothing was sent");
        return false;
    }
    if (server.trimmed().isEmpty()) {
        m_error = QStringLiteral("No POP3 server given");
        return false;
    }
    d->busy = true;
    d->host = server.trimmed();
    d->hostPort = port;
    d->limit = effectiveTimeout();
    const QByteArray userLine = "USER " + user.toUtf8();
    const QByteArray passLine = "PASS " + password.toUtf8();
    const QDeadlineTimer deadline{std::chrono::seconds{d->limit}};
    QString error;
    bool refused = false;
    bool ok = d->connectToServer(deadline, error) &&
              d->status(deadline, QStringLiteral("Greeting"), QStringLiteral("the server's greeting"), error,
                        refused) &&
              d->command(userLine, deadline, QStringLiteral("USER"), error, refused) &&
              d->command(passLine, deadline, QStringLiteral("PASS"), error, refused);
    d->busy = false;
    if (!ok) {
        d->drop(refused);
        m_error = error;
        return false;
    }
    d->loggedIn = true;
    return true;
}

bool Pop3Client::logout() {
    if (d->busy) {
        m_error = QStringLiteral("The POP3 control is busy");
        return false;
    }
    m_error.clear();
    if (d->socket.state() != QAbstractSocket::ConnectedState) {
        d->loggedIn = false;
        return true;  // nothing to log out from
    }
    d->busy = true;
    d->limit = effectiveTimeout();
    const QDeadlineTimer deadline{std::chrono::seconds{d->limit}};
    QString error;
    bool refused = false;
    const bool ok = d->command("QUIT", deadline, QStringLiteral("QUIT"), error, refused);
    d->busy = false;
    if (ok) {
        d->socket.disconnectFromHost();
        d->buffer.clear();
        d->loggedIn = false;
    } else {
        d->drop(false);
        m_error = error;
    }
    return ok;
}

bool Pop3Client::isLoggedIn() const {
    return d->loggedIn && d->socket.state() == QAbstractSocket::ConnectedState;
}

bool Pop3Client::isBusy() const {
    return d->busy;
}
