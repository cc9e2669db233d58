#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "Database.h"
#include "DatabaseTest.h"
#include "OdbcSqlite.h"
#include "PostgresServer.h"

using namespace Qt::StringLiterals;

namespace {

const QString kOnlyOne =
    u"Please make sure to select only the column that contains\r\nmobile phone numbers or eMail addresses."_s;

// The same tables in every database.
QStringList schema(bool postgres) {
    const QString key = postgres ? u"serial primary key"_s : u"INTEGER PRIMARY KEY"_s;
    return {u"CREATE TABLE numbers (id %1, num TEXT, name TEXT)"_s.arg(key),
            u"INSERT INTO numbers (num, name) VALUES ('+49 (171) 123-45/6', 'Ann'), (NULL, 'Bob'), "
            "('bob@example.org', 'Bob')"_s,
            u"CREATE TABLE words (id %1, w TEXT)"_s.arg(key),
            u"INSERT INTO words (w) VALUES ('Hello'), ('+4917')"_s,
            u"CREATE TABLE long (id %1, v TEXT)"_s.arg(key),
            u"INSERT INTO long (v) VALUES ('+111111111111111111'), ('+222222222222222222'), "
            "('+333333333333333333')"_s};
}

int rowCount(const QString& connection, const QString& table) {
    Connection c;
    if (!c.open(connection)) {
        return -1;
    }
    auto rs = c.execute(u"SELECT COUNT(*) FROM "_s + table);
    return rs && !rs->eof() ? rs->value(0).toInt() : -1;
}

}  // namespace

class tst_DatabaseTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sqlite;
    QString m_odbcFile;
    PostgresServer m_pg;
    bool m_pgTried = false;

    // The connection string for a provider; skips the test when its server or driver is absent.
    QString connectionFor(const QString& provider) {
        if (provider == u"SQLite") {
            return u"Provider=SQLite;Data Source="_s + m_sqlite;
        }
        if (provider == u"ODBC") {
            if (!OdbcSqlite::available()) {
                return {};
            }
            return OdbcSqlite::connectionString(m_odbcFile);
        }
        if (!PostgresServer::available()) {
            return {};
        }
        if (!m_pgTried) {
            m_pgTried = true;
            if (!m_pg.start() || !m_pg.exec({u"CREATE DATABASE phones"_s}) ||
                !m_pg.exec(schema(true), u"phones"_s)) {
                qWarning("PostgreSQL fixture: %s", qPrintable(m_pg.errorText()));
                m_pg.stop();
            }
        }
        return m_pg.isRunning() ? m_pg.connectionString(u"phones"_s) : u"<failed>"_s;
    }

    void providerRows() {
        QTest::addColumn<QString>("provider");
        QTest::newRow("SQLite") << u"SQLite"_s;
        QTest::newRow("PostgreSQL") << u"PostgreSQL"_s;
        QTest::newRow("ODBC") << u"ODBC"_s;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_sqlite = m_dir.filePath(u"phones.db"_s);
        m_odbcFile = m_dir.filePath(u"odbc.db"_s);
        QString error;
        QVERIFY2(createSqliteDatabase(m_sqlite, schema(false), &error), qPrintable(error));
        QVERIFY(QFile::copy(m_sqlite, m_odbcFile));
    }

    void numericValues() {
        QVERIFY(DatabaseTest::looksNumeric(u"+49 (171) 123-45/6"_s));
        QVERIFY(DatabaseTest::looksNumeric(u"0171123"_s));
        QVERIFY(!DatabaseTest::looksNumeric(u"Hello"_s));
        QVERIFY(!DatabaseTest::looksNumeric(u""_s));
        QVERIFY(!DatabaseTest::looksNumeric(u"+"_s));
        QVERIFY(!DatabaseTest::looksNumeric(u"12+3"_s));
        QVERIFY(!DatabaseTest::looksNumeric(u"0171 12a"_s));
    }

    void collectedValues() {
        // 50 characters stay whole; one more and the middle gives way.
        const QString fifty = QString(24, u'a') + u", "_s + QString(24, u'b');
        QCOMPARE(DatabaseTest::collect({QString(24, u'a'), QVariant(), QString(24, u'b')}), fifty);
        const QString sixty = QString(29, u'x') + u", "_s + QString(29, u'y');
        QCOMPARE(DatabaseTest::collect({QString(29, u'x'), QString(29, u'y')}),
                 QString(25, u'x') + u" (...) "_s + QString(25, u'y'));
        QCOMPARE(DatabaseTest::collect({QVariant(), QVariant()}), QString());
        // An emoji across either cut is left out whole, never halved.
        const QString e = u"\U0001F600"_s;
        const QString head = QString(24, u'x') + e + QString(10, u'x');
        const QString tail = QString(10, u'y') + e + QString(24, u'y');
        QCOMPARE(DatabaseTest::collect({head, tail}), QString(24, u'x') + u" (...) "_s + QString(24, u'y'));
    }

    void results_data() {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        const QString ok =
            u"Tellwick has successfully connected to your Database\r\nand queried your table. "
            "The result consists of %1 record(s):\r\n\r\n"_s;
        for (const QString& p : {u"SQLite"_s, u"PostgreSQL"_s, u"ODBC"_s}) {
            const QByteArray tag = p.toLatin1() + ' ';
            QTest::newRow(QByteArray(tag + "success, nulls skipped").constData())
                << p << u"SELECT num FROM numbers ORDER BY id"_s << u"Tellwick: Test database query"_s
                << int(MsgBox::Information) << ok.arg(3) + u"+49 (171) 123-45/6, bob@example.org"_s;
            QTest::newRow(QByteArray(tag + "address first").constData())
                << p << u"SELECT num FROM numbers WHERE num LIKE '%@%'"_s
                << u"Tellwick: Test database query"_s << int(MsgBox::Information)
                << ok.arg(1) + u"bob@example.org"_s;
            QTest::newRow(QByteArray(tag + "long result shortened").constData())
                << p << u"SELECT v FROM long ORDER BY id"_s << u"Tellwick: Test database query"_s
                << int(MsgBox::Information)
                << ok.arg(3) + u"+111111111111111111, +222 (...) 2222, +333333333333333333"_s;
            QTest::newRow(QByteArray(tag + "no record").constData())
                << p << u"SELECT num FROM numbers WHERE id < 0"_s << u"Tellwick: Test SQL query"_s
                << int(MsgBox::Critical) << u"Your query didn't return any records."_s;
            // No record is told before too many columns.
            QTest::newRow(QByteArray(tag + "no record, two columns").constData())
                << p << u"SELECT num, name FROM numbers WHERE id < 0"_s << u"Tellwick: Test SQL query"_s
                << int(MsgBox::Critical) << u"Your query didn't return any records."_s;
            QTest::newRow(QByteArray(tag + "two columns").constData())
                << p << u"SELECT num, name FROM numbers"_s << u"Tellwick: Test SQL query"_s
                << int(MsgBox::Critical) << u"Your query returned more than one column.\r\n\r\n"_s + kOnlyOne;
            QTest::newRow(QByteArray(tag + "word first").constData())
                << p << u"SELECT w FROM words ORDER BY id"_s << u"Tellwick: Test SQL query"_s
                << int(MsgBox::Critical)
                << u"Your query returned 2 recordsets, but the first record\r\ncontains an unknown value: "
                   "'Hello'\r\n\r\n"_s +
                       kOnlyOne;
            QTest::newRow(QByteArray(tag + "null first").constData())
                << p << u"SELECT num FROM numbers ORDER BY CASE WHEN id = 2 THEN 0 ELSE 1 END, id"_s
                << u"Tellwick: Test SQL query"_s << int(MsgBox::Critical)
                << u"Your query returned 3 recordsets, but the first record\r\ncontains an unknown value: "
                   "''\r\n\r\n"_s +
                       kOnlyOne;
            QTest::newRow(QByteArray(tag + "statement without rows").constData())
                << p << u"UPDATE numbers SET num = 'x'"_s << u"Tellwick: Test SQL query"_s
                << int(MsgBox::Critical) << u"Your query didn't return any records."_s;
        }
    }

    void results() {
        QFETCH(QString, provider);
        QFETCH(QString, query);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QString, text);
        const QString connection = connectionFor(provider);
        if (connection.isEmpty()) {
            QSKIP("this provider's server or driver is not installed");
        }
        QVERIFY2(connection != u"<failed>", "the PostgreSQL fixture did not start");

        MsgBox box;
        box.setScripted(true);
        const DatabaseTest::Box shown = DatabaseTest::show(box, connection, query);
        QCOMPARE(box.shown().size(), 1);
        QCOMPARE(box.shown()[0].title, title);
        QCOMPARE(int(box.shown()[0].icon), icon);
        QCOMPARE(box.shown()[0].buttons, MsgBox::OKOnly);
        QCOMPARE(box.shown()[0].text, text);
        QCOMPARE(shown.text, text);
        QVERIFY(box.unanswered().isEmpty());
        // The tested statement left no trace.
        QCOMPARE(rowCount(connection, u"numbers WHERE num = 'x'"_s), 0);
    }

    void queryNeverChangesTheDatabase_data() { providerRows(); }
    void queryNeverChangesTheDatabase() {
        QFETCH(QString, provider);
        const QString connection = connectionFor(provider);
        if (connection.isEmpty()) {
            QSKIP("this provider's server or driver is not installed");
        }
        QVERIFY2(connection != u"<failed>", "the PostgreSQL fixture did not start");
        const DatabaseTest::Fetch f = DatabaseTest::fetch(connection, u"DELETE FROM words"_s);
        QCOMPARE(f.stage, DatabaseTest::Fetch::Done);
        QCOMPARE(rowCount(connection, u"words"_s), 2);
        if (provider != u"ODBC") {  // the SQLite ODBC driver returns no rows for RETURNING
            const DatabaseTest::Box b = DatabaseTest::run(connection, u"DELETE FROM numbers RETURNING num"_s);
            QCOMPARE(b.icon, MsgBox::Information);
            QVERIFY2(b.text.contains(u"3 record(s)"_s), qPrintable(b.text));
            QCOMPARE(rowCount(connection, u"numbers"_s), 3);
        }
    }

    void failures_data() {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("detail");
        const QString connect = u"Tellwick: Test database connection"_s;
        const QString missing = m_dir.filePath(u"missing.db"_s);
        QTest::newRow("no provider") << u"Data Source="_s + missing << u"SELECT 1"_s << connect
                                     << int(MsgBox::Critical) << u"Provider="_s;
        QTest::newRow("unknown provider")
            << u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb"_s << u"SELECT 1"_s << connect
            << int(MsgBox::Critical) << u"Microsoft.Jet.OLEDB.4.0"_s;
        QTest::newRow("missing file") << u"Provider=SQLite;Data Source="_s + missing << u"SELECT 1"_s
                                      << connect << int(MsgBox::Critical) << missing;
        QTest::newRow("bad query") << u"Provider=SQLite;Data Source="_s + m_sqlite
                                   << u"SELECT num FROM nowhere"_s << u"Tellwick: Test database query"_s
                                   << int(MsgBox::Information) << u"nowhere"_s;
    }

    void failures() {
        QFETCH(QString, connection);
        QFETCH(QString, query);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QString, detail);
        const DatabaseTest::Box b = DatabaseTest::run(connection, query);
        QCOMPARE(b.title, title);
        QCOMPARE(int(b.icon), icon);
        const QString lead =
            icon == MsgBox::Critical
                ? u"The following error occurred while connecting to your Database:\r\n\r\n"_s
                : u"The following error occurred while connecting to your Database and querying "
                  "your table:\r\n\r\n"_s;
        QVERIFY2(b.text.startsWith(lead), qPrintable(b.text));
        QVERIFY2(b.text.mid(lead.size()).contains(detail), qPrintable(b.text));
        QVERIFY(!QFile::exists(m_dir.filePath(u"missing.db"_s)));
    }

    void postgresLoginFailures() {
        const QString connection = connectionFor(u"PostgreSQL"_s);
        if (connection.isEmpty()) {
            QSKIP("PostgreSQL is not installed");
        }
        QVERIFY2(connection != u"<failed>", "the PostgreSQL fixture did not start");
        QString wrong = connection;
        wrong.replace(m_pg.password(), u"wrong"_s);
        DatabaseTest::Box b = DatabaseTest::run(wrong, u"SELECT num FROM numbers"_s);
        QCOMPARE(b.title, u"Tellwick: Test database connection"_s);
        QVERIFY2(b.text.contains(u"password"_s, Qt::CaseInsensitive), qPrintable(b.text));

        QString refused = connection;
        refused.replace(u"Port=%1"_s.arg(m_pg.port()), u"Port=1"_s);
        b = DatabaseTest::run(refused, u"SELECT num FROM numbers"_s);
        QCOMPARE(b.icon, MsgBox::Critical);
        QVERIFY2(b.text.contains(u"refused"_s, Qt::CaseInsensitive), qPrintable(b.text));
    }
};

QTEST_MAIN(tst_DatabaseTest)
#include "tst_databasetest.moc"
