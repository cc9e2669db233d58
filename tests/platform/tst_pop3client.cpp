#include <QSignalSpy>
#include <QTest>

#include "DovecotServer.h"
#include "Pop3Client.h"
#include "ScriptedPop3Server.h"

// The POP3 control against a real dovecot and against servers that misbehave on purpose.
class tst_Pop3Client : public QObject {
    Q_OBJECT

private:
    DovecotServer m_dovecot;

    void aim(Pop3Client& pop, quint16 port, const QString& user, const QString& password, int timeout = 10) {
        pop.server = QStringLiteral("127.0.0.1");
        pop.port = port;
        pop.user = user;
        pop.password = password;
        pop.timeoutSeconds = timeout;
    }

private slots:
    void initTestCase() {
        TW_START_DOVECOT(m_dovecot, (DovecotServer::Users{
                                        {QStringLiteral("alice"), QStringLiteral("secret")},
                                        {QStringLiteral("bob"), QStringLiteral("p\u00e4ss w\u00f6rd=\"x\"")},
                                    }));
    }
    void cleanupTestCase() { m_dovecot.stop(); }

    // Real server: good logins, refused logins, and that a refusal holds back no later login.
    void dovecotLoginAndLogout() {
        Pop3Client pop;
        aim(pop, m_dovecot.port(), QStringLiteral("alice"), QStringLiteral("secret"));
        QVERIFY2(pop.login(), qPrintable(pop.errorText() + u'\n' + m_dovecot.logText()));
        QVERIFY(pop.isLoggedIn());
        QVERIFY(pop.errorText().isEmpty());
        QVERIFY2(pop.logout(), qPrintable(pop.errorText() + u'\n' + m_dovecot.logText()));
        QVERIFY(!pop.isLoggedIn());
        // Logging out again has nothing to do.
        QVERIFY(pop.logout());

        // Blanks, quotes, "=" and accents in a password go through as typed (UTF-8).
        aim(pop, m_dovecot.port(), QStringLiteral("bob"), QStringLiteral("p\u00e4ss w\u00f6rd=\"x\""));
        QVERIFY2(pop.login(), qPrintable(pop.errorText()));
        // A second login while logged in starts a fresh session.
        aim(pop, m_dovecot.port(), QStringLiteral("alice"), QStringLiteral("secret"));
        QVERIFY2(pop.login(), qPrintable(pop.errorText()));
        QVERIFY(pop.logout());
    }

    void dovecotRefusesBadLogin_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("wrong password") << QStringLiteral("alice") << QStringLiteral("Secret");
        QTest::newRow("unknown user") << QStringLiteral("mallory") << QStringLiteral("secret");
        QTest::newRow("empty password") << QStringLiteral("alice") << QString();
    }
    void dovecotRefusesBadLogin() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        Pop3Client pop;
        aim(pop, m_dovecot.port(), user, password);
        QVERIFY(!pop.login());
        QVERIFY(!pop.isLoggedIn());
        QVERIFY2(pop.errorText().contains(QLatin1String("-ERR")), qPrintable(pop.errorText()));
        QVERIFY(pop.logout());
        // The refusal does not hold back the next good login.
        aim(pop, m_dovecot.port(), QStringLiteral("alice"), QStringLiteral("secret"));
        QVERIFY2(pop.login(), qPrintable(pop.errorText()));
        QVERIFY(pop.logout());
    }

    // Misbehaving servers: each ends in an error text naming what failed.
    void misbehavingServer_data() {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("expected");
        const QByteArray none;
        QTest::newRow("greeting -ERR") << QByteArray("-ERR too many connections") << none << none
                                       << QStringLiteral("Greeting failed: -ERR too many connections");
        QTest::newRow("greeting not POP3")
            << QByteArray("220 smtp.example ESMTP") << none << none
            << QStringLiteral("Greeting failed: unexpected reply from 127.0.0.1:");
        QTest::newRow("-ERR on USER")
            << QByteArray("+OK") << QByteArray("USER") << QByteArray("-ERR no such user")
            << QStringLiteral("USER failed: -ERR no such user");
        QTest::newRow("-ERR on PASS")
            << QByteArray("+OK") << QByteArray("PASS") << QByteArray("-ERR [AUTH] Authentication failed.")
            << QStringLiteral("PASS failed: -ERR [AUTH] Authentication failed.");
        QTest::newRow("silent greeting")
            << ScriptedPop3Server::kSilent << none << none
            << QStringLiteral("within the time limit of 1 seconds (waiting for the server's greeting)");
        QTest::newRow("silent on PASS")
            << QByteArray("+OK") << QByteArray("PASS") << ScriptedPop3Server::kSilent
            << QStringLiteral("within the time limit of 1 seconds (waiting for the reply to PASS)");
        QTest::newRow("dropped at once") << ScriptedPop3Server::kDrop << none << none
                                         << QStringLiteral("dropped while waiting for the server's greeting");
        QTest::newRow("dropped on USER")
            << QByteArray("+OK") << QByteArray("USER") << ScriptedPop3Server::kDrop
            << QStringLiteral("dropped while waiting for the reply to USER");
    }
    void misbehavingServer() {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        QFETCH(QString, expected);
        ScriptedPop3Server server;
        QVERIFY(server.listen());
        server.greeting = greeting;
        if (!command.isEmpty()) {
            server.replies.insert(command, reply);
        }
        Pop3Client pop;
        aim(pop, server.port(), QStringLiteral("bob"), QStringLiteral("pw"), 1);
        QVERIFY(!pop.login());
        QVERIFY(!pop.isLoggedIn());
        QVERIFY2(pop.errorText().contains(expected), qPrintable(pop.errorText()));
        // Whatever went wrong, logging out afterwards is harmless, and the control is usable again.
        QVERIFY(pop.logout());
        server.greeting = "+OK";
        server.replies.clear();
        QVERIFY2(pop.login(), qPrintable(pop.errorText()));
        QVERIFY(pop.logout());
    }

    void commandsOnTheWire() {
        ScriptedPop3Server server;
        QVERIFY(server.listen());
        Pop3Client pop;
        aim(pop, server.port(), QStringLiteral("j\u00fcrgen"), QStringLiteral("a b"));
        QVERIFY(pop.login());
        QVERIFY(pop.logout());
        QTRY_COMPARE(server.received(), QByteArray("USER j\xc3\xbcrgen\r\nPASS a b\r\nQUIT\r\n"));
    }

    void quitRefused() {
        ScriptedPop3Server server;
        QVERIFY(server.listen());
        server.replies.insert("QUIT", "-ERR cannot remove messages");
        Pop3Client pop;
        aim(pop, server.port(), QStringLiteral("bob"), QStringLiteral("pw"));
        QVERIFY(pop.login());
        QVERIFY(!pop.logout());
        QCOMPARE(pop.errorText(), QStringLiteral("QUIT failed: -ERR cannot remove messages"));
        QVERIFY(!pop.isLoggedIn());
    }

    void lineBreakRefusedBeforeSending_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("CR LF in user") << QStringLiteral("bob\r\nDELE 1") << QStringLiteral("pw");
        QTest::newRow("LF in password") << QStringLiteral("bob") << QStringLiteral("pw\nQUIT");
        QTest::newRow("CR in password") << QStringLiteral("bob") << QStringLiteral("pw\r");
    }
    void lineBreakRefusedBeforeSending() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        ScriptedPop3Server server;
        QVERIFY(server.listen());
        Pop3Client pop;
        aim(pop, server.port(), user, password);
        QVERIFY(!pop.login());
        QVERIFY2(pop.errorText().contains(QLatin1String("line break")), qPrintable(pop.errorText()));
        QCoreApplication::processEvents();
        QCOMPARE(server.connections(), 0);
        QVERIFY(server.received().isEmpty());
    }

    void unreachable() {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            closedPort = probe.serverPort();
        }
        Pop3Client pop;
        aim(pop, closedPort, QStringLiteral("bob"), QStringLiteral("pw"), 5);
        QVERIFY(!pop.login());
        QCOMPARE(pop.errorText(), QStringLiteral("Connection refused by 127.0.0.1:%1").arg(closedPort));

        // The .invalid domain never resolves; without any resolver the lookup fails otherwise.
        pop.server = QStringLiteral("no-such-host.invalid");
        QVERIFY(!pop.login());
        QVERIFY2(pop.errorText().startsWith(QLatin1String("Host no-such-host.invalid not found")) ||
                     pop.errorText().contains(QLatin1String("no-such-host.invalid")),
                 qPrintable(pop.errorText()));

        pop.server = QStringLiteral("  ");
        QVERIFY(!pop.login());
        QCOMPARE(pop.errorText(), QStringLiteral("No POP3 server given"));
    }
};

QTEST_GUILESS_MAIN(tst_Pop3Client)
#include "tst_pop3client.moc"
