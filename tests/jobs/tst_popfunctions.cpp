#include <QTest>
#include <QTimer>

#include "DovecotServer.h"
#include "PopFunctions.h"
#include "ScriptedPop3Server.h"
#include "TestContext.h"

// POPLogin and POPLogout through the context's POP3 control, with their debug-log lines.
class tst_PopFunctions : public QObject {
    Q_OBJECT

private:
    DovecotServer m_dovecot;
    std::unique_ptr<TestContext> m_t;

    void setDebug(bool on) {
        m_t->ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Debug"),
                            on ? QStringLiteral("1") : QStringLiteral("0"));
        m_t->ctx().getSettings();
    }
    QString debugLog() const { return QString::fromUtf8(m_t->readFile(QStringLiteral("debug.log"))); }
    QString where(quint16 port) const { return QStringLiteral("127.0.0.1:%1").arg(port); }

private slots:
    void initTestCase() {
        TW_START_DOVECOT(m_dovecot,
                         (DovecotServer::Users{{QStringLiteral("alice"), QStringLiteral("s\u00e9cret")}}));
    }
    void cleanupTestCase() { m_dovecot.stop(); }
    void init() { m_t = std::make_unique<TestContext>(); }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*m_t);
        m_t.reset();
    }

    void loginAndLogoutLogged() {
        setDebug(true);
        const quint16 port = m_dovecot.port();
        const QString result = POPLogin(m_t->ctx(), QStringLiteral("alice"), QStringLiteral("s\u00e9cret"),
                                        QStringLiteral("127.0.0.1"), port);
        QVERIFY2(result == QLatin1String("OK"), qPrintable(result + u'\n' + m_dovecot.logText()));
        QVERIFY(m_t->ctx().pop3().isLoggedIn());
        QCOMPARE(POPLogout(m_t->ctx()), QStringLiteral("OK"));
        QVERIFY(!m_t->ctx().pop3().isLoggedIn());

        const QStringList lines = debugLog().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].endsWith(QStringLiteral(": Logged in successfully to mailbox 'alice' on ") +
                                   where(port)),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].endsWith(QStringLiteral(": Logged out successfully from mailbox 'alice' on ") +
                                   where(port)),
                 qPrintable(lines[1]));
        // The password never reaches a log.
        QVERIFY(!debugLog().contains(QStringLiteral("s\u00e9cret")));
        QVERIFY(!QFile::exists(m_t->path(QStringLiteral("tellwick.log"))));
    }

    void refusedLoginLogged() {
        setDebug(true);
        const quint16 port = m_dovecot.port();
        const QString result = POPLogin(m_t->ctx(), QStringLiteral("alice"), QStringLiteral("wrong"),
                                        QStringLiteral("127.0.0.1"), port);
        QVERIFY2(result.startsWith(QLatin1String("PASS failed: -ERR")), qPrintable(result));
        QVERIFY(!m_t->ctx().pop3().isLoggedIn());
        QVERIFY2(
            debugLog().contains(
                QStringLiteral(": ERROR accessing mailbox 'alice' on %1: %2\n").arg(where(port), result)),
            qPrintable(debugLog()));
        // The failed login leaves the control ready for the next one.
        QCOMPARE(POPLogin(m_t->ctx(), QStringLiteral("alice"), QStringLiteral("s\u00e9cret"),
                          QStringLiteral("127.0.0.1"), port),
                 QStringLiteral("OK"));
        QCOMPARE(POPLogout(m_t->ctx()), QStringLiteral("OK"));
    }

    void nothingLoggedWithoutDebug() {
        setDebug(false);
        QCOMPARE(POPLogin(m_t->ctx(), QStringLiteral("alice"), QStringLiteral("s\u00e9cret"),
                          QStringLiteral("127.0.0.1"), m_dovecot.port()),
                 QStringLiteral("OK"));
        QCOMPARE(POPLogout(m_t->ctx()), QStringLiteral("OK"));
        QVERIFY(POPLogin(m_t->ctx(), QStringLiteral("alice"), QStringLiteral("x"),
                         QStringLiteral("127.0.0.1"), m_dovecot.port()) != QLatin1String("OK"));
        QVERIFY(!QFile::exists(m_t->path(QStringLiteral("debug.log"))));
    }

    // The control gets [Settings] Timeout as its time limit (10 seconds when none is set).
    void timeLimitFromSettings() {
        setDebug(true);
        ScriptedPop3Server silent;
        QVERIFY(silent.listen());
        silent.greeting = ScriptedPop3Server::kSilent;
        m_t->ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Timeout"), QStringLiteral("1"));
        const QString result = POPLogin(m_t->ctx(), QStringLiteral("bob"), QStringLiteral("pw"),
                                        QStringLiteral("127.0.0.1"), silent.port());
        QVERIFY2(result.contains(QLatin1String("time limit of 1 seconds")), qPrintable(result));
        QCOMPARE(m_t->ctx().pop3().timeoutSeconds, 1);
        QVERIFY(debugLog().contains(
            QStringLiteral("ERROR accessing mailbox 'bob' on %1: %2").arg(where(silent.port()), result)));

        for (const QString& bad : {QString(), QStringLiteral("0"), QStringLiteral("soon")}) {
            m_t->ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Timeout"), bad);
            POPLogin(m_t->ctx(), QStringLiteral("bob"), QStringLiteral("bad\n"), QStringLiteral("127.0.0.1"),
                     silent.port());
            QCOMPARE(m_t->ctx().pop3().timeoutSeconds, 10);
        }
    }

    // A login started while another one waits (a timer firing in the wait) is turned away
    // and leaves the waiting one alone.
    void secondLoginWhileWaiting() {
        setDebug(false);
        ScriptedPop3Server slow;
        QVERIFY(slow.listen());
        slow.greeting = ScriptedPop3Server::kSilent;
        m_t->ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Timeout"), QStringLiteral("1"));
        QString inner;
        QObject guard;  // the connection ends with this function
        QTimer::singleShot(0, &guard, [&] {
            inner = POPLogin(m_t->ctx(), QStringLiteral("eve"), QStringLiteral("pw"),
                             QStringLiteral("other.invalid"), 1);
        });
        const QString outer = POPLogin(m_t->ctx(), QStringLiteral("bob"), QStringLiteral("pw"),
                                       QStringLiteral("127.0.0.1"), slow.port());
        QCOMPARE(inner, QStringLiteral("The POP3 control is busy"));
        QVERIFY2(outer.startsWith(QStringLiteral("No answer from %1 within").arg(where(slow.port()))),
                 qPrintable(outer));
        QCOMPARE(m_t->ctx().pop3().user, QStringLiteral("bob"));
    }

    void lineBreakRefused() {
        setDebug(true);
        ScriptedPop3Server server;
        QVERIFY(server.listen());
        const QString result = POPLogin(m_t->ctx(), QStringLiteral("bob"), QStringLiteral("pw\r\nDELE 1"),
                                        QStringLiteral("127.0.0.1"), server.port());
        QVERIFY(result.contains(QLatin1String("line break")));
        QCOMPARE(server.connections(), 0);
        QVERIFY(debugLog().contains(QStringLiteral("ERROR accessing mailbox 'bob' on ")));
    }

    void refusedLogoutLogged() {
        setDebug(true);
        ScriptedPop3Server server;
        QVERIFY(server.listen());
        server.replies.insert("QUIT", "-ERR mailbox locked");
        QCOMPARE(POPLogin(m_t->ctx(), QStringLiteral("bob"), QStringLiteral("pw"),
                          QStringLiteral("127.0.0.1"), server.port()),
                 QStringLiteral("OK"));
        const QString result = POPLogout(m_t->ctx());
        QCOMPARE(result, QStringLiteral("QUIT failed: -ERR mailbox locked"));
        QVERIFY(debugLog().contains(QStringLiteral(": ERROR logging out from mailbox 'bob' on %1: %2")
                                        .arg(where(server.port()), result)));
    }
};

QTEST_GUILESS_MAIN(tst_PopFunctions)
#include "tst_popfunctions.moc"
