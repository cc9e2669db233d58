#include <QFile>
#include <QHostAddress>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include "Database.h"
#include "OdbcSqlite.h"
#include "PostgresServer.h"

using namespace Qt::StringLiterals;

namespace {

struct Walked {
    QStringList values;  // first column, "<null>" for NULL
    int walked = 0;
};

Walked walk(Recordset& rs) {
    Walked w;
    while (!rs.eof()) {
        const QVariant v = rs.value(0);
        w.values.append(v.isNull() ? u"<null>"_s : v.toString());
        ++w.walked;
        rs.moveNext();
    }
    return w;
}

int countRows(Connection& c, const QString& table) {
    auto rs = c.execute(u"SELECT COUNT(*) FROM "_s + table);
    return rs && !rs->eof() ? rs->value(0).toInt() : -1;
}

}  // namespace

class tst_Database : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    PostgresServer m_pg;
    bool m_pgStarted = false;

    void requirePostgres() {
        if (!PostgresServer::available()) {
            QSKIP("PostgreSQL server programs are not installed");
        }
        if (!m_pgStarted) {
            QVERIFY2(m_pg.start(), qPrintable(m_pg.errorText()));
            QVERIFY2(m_pg.exec({u"CREATE DATABASE phones"_s}), qPrintable(m_pg.errorText()));
            QVERIFY2(m_pg.exec({u"CREATE TABLE numbers (id serial primary key, num text)"_s,
                                u"INSERT INTO numbers (num) VALUES ('+49 171 1'), (NULL), ('a@b.example')"_s},
                               u"phones"_s),
                     qPrintable(m_pg.errorText()));
            m_pgStarted = true;
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(u"phones; one.db"_s);  // a ";" in the file name needs quoting
        QString error;
        QVERIFY2(createSqliteDatabase(
                     m_db,
                     {u"CREATE TABLE numbers (id INTEGER PRIMARY KEY, num TEXT)"_s,
                      u"INSERT INTO numbers (num) VALUES ('+49 171 1'), (NULL), ('a@b.example')"_s},
                     &error),
                 qPrintable(error));
    }

    void parsing() {
        const auto items = parseConnectionString(
            u" Provider = SQLite ; Data Source=\"C:\\a;b \"\"x\"\" \";Password='it''s';;Empty=;Flag"_s);
        QCOMPARE(items.size(), 5);
        QCOMPARE(items[0].key, u"Provider"_s);
        QCOMPARE(items[0].value, u"SQLite"_s);
        QCOMPARE(items[1].value, u"C:\\a;b \"x\" "_s);
        QCOMPARE(connectionValue(items, u"password"_s), u"it's"_s);
        QCOMPARE(connectionValue(items, u"Empty"_s), QString());
        QCOMPARE(items[4].key, u"Flag"_s);
        QCOMPARE(connectionValue(items, u"missing"_s), QString());

        // Whatever format writes, parse reads back whole.
        const QStringList values = {u"plain"_s,      u"a;b"_s,     u" padded "_s,
                                    u"\"quoted\""_s, u"'single"_s, u""_s};
        for (const QString& v : values) {
            const auto back = parseConnectionString(formatConnectionItem(u"K"_s, v) + u";Next=1"_s);
            QCOMPARE(back.size(), 2);
            QCOMPARE(back[0].value, v);
            QCOMPARE(back[1].value, u"1"_s);
        }
        QCOMPARE(formatConnectionItem(u"Data Source"_s, u"/x/y.db"_s), u"Data Source=/x/y.db"_s);
    }

    void providers() {
        const QStringList p = Connection::availableProviders();
        QVERIFY(p.contains(u"SQLite"_s));
        for (const QString& name : p) {
            QVERIFY(QStringList({u"SQLite"_s, u"PostgreSQL"_s, u"ODBC"_s}).contains(name));
        }
    }

    void sqliteQuery() {
        const QStringList namesBefore = QSqlDatabase::connectionNames();
        {
            Connection c;
            QVERIFY2(c.open(u"Provider=SQLite;"_s + formatConnectionItem(u"Data Source"_s, m_db)),
                     qPrintable(c.errorText()));
            QVERIFY(c.isOpen());
            auto rs = c.execute(u"SELECT num, id FROM numbers ORDER BY id"_s);
            QVERIFY2(rs, qPrintable(c.errorText()));
            QCOMPARE(rs->fieldCount(), 2);
            QCOMPARE(rs->fieldName(0), u"num"_s);
            QCOMPARE(rs->fieldName(1), u"id"_s);
            QCOMPARE(rs->recordCount(), -1);  // SQLite cannot tell without walking
            const Walked w = walk(*rs);
            QCOMPARE(w.values, QStringList({u"+49 171 1"_s, u"<null>"_s, u"a@b.example"_s}));
            rs->moveNext();  // past the end stays at the end
            QVERIFY(rs->eof());

            auto empty = c.execute(u"SELECT num FROM numbers WHERE id < 0"_s);
            QVERIFY(empty);
            QVERIFY(empty->eof());
            QCOMPARE(empty->fieldCount(), 1);

            // A statement that returns no rows is an empty recordset.
            auto update = c.execute(u"UPDATE numbers SET num = num WHERE id < 0"_s);
            QVERIFY(update);
            QVERIFY(update->eof());
            QCOMPARE(update->recordCount(), 0);

            QVERIFY(QSqlDatabase::connectionNames().size() == namesBefore.size() + 1);
            // Two connections at once get names of their own.
            Connection second;
            QVERIFY(second.open(u"Provider=sqlite;Data Source=\""_s + m_db + u'"'));
            QCOMPARE(QSqlDatabase::connectionNames().size(), namesBefore.size() + 2);

            // A recordset that outlives its connection is safe and empty.
            auto outliving = c.execute(u"SELECT num FROM numbers"_s);
            QVERIFY(outliving && !outliving->eof());
            c.close();
            QVERIFY(!c.isOpen());
            QVERIFY(outliving->eof());
            QVERIFY(!outliving->value(0).isValid());
            outliving->moveNext();
            QVERIFY(!c.execute(u"SELECT 1"_s));
            QVERIFY(!c.errorText().isEmpty());
        }
        QCOMPARE(QSqlDatabase::connectionNames(), namesBefore);
    }

    void badInput_data() {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("errorPart");
        const QString missing = m_dir.filePath(u"missing.db"_s);
        QTest::newRow("no provider") << u"Data Source="_s + m_db << u"Provider="_s;
        QTest::newRow("empty") << QString() << u"Provider="_s;
        QTest::newRow("empty provider") << u"Provider=;Data Source=x"_s << u"Provider="_s;
        QTest::newRow("unknown provider")
            << u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb"_s << u"Microsoft.Jet.OLEDB.4.0"_s;
        QTest::newRow("missing file") << u"Provider=SQLite;Data Source="_s + missing << missing;
        QTest::newRow("folder as file") << u"Provider=SQLite;Data Source="_s + m_dir.path() << m_dir.path();
        QTest::newRow("no file") << u"Provider=SQLite"_s << u"Data Source"_s;
        QTest::newRow("bad port") << u"Provider=PostgreSQL;Server=127.0.0.1;Port=54x"_s << u"54x"_s;
        QTest::newRow("empty odbc") << u"Provider=ODBC;"_s << u"ODBC"_s;
    }

    void badInput() {
        QFETCH(QString, connection);
        QFETCH(QString, errorPart);
        const QStringList namesBefore = QSqlDatabase::connectionNames();
        Connection c;
        QVERIFY(!c.open(connection, 5));
        QVERIFY(!c.isOpen());
        QVERIFY2(c.errorText().contains(errorPart), qPrintable(c.errorText()));
        QCOMPARE(QSqlDatabase::connectionNames(), namesBefore);
        QVERIFY(!QFile::exists(m_dir.filePath(u"missing.db"_s)));  // never created
    }

    void sqliteErrorsAndRollback() {
        Connection c;
        QVERIFY(c.open(u"Provider=SQLite;Data Source=\""_s + m_db + u'"'));
        QVERIFY(!c.execute(u"SELECT x FROM nowhere"_s));
        QVERIFY2(c.errorText().contains(u"nowhere"_s), qPrintable(c.errorText()));

        QVERIFY(c.hasTransactions());
        QVERIFY(c.beginTransaction());
        QVERIFY(c.execute(u"DELETE FROM numbers"_s));
        QCOMPARE(countRows(c, u"numbers"_s), 0);
        QVERIFY(c.rollback());
        QCOMPARE(countRows(c, u"numbers"_s), 3);
    }

    void postgres() {
        requirePostgres();
        Connection c;
        QVERIFY2(c.open(m_pg.connectionString(u"phones"_s)), qPrintable(c.errorText()));
        auto rs = c.execute(u"SELECT num FROM numbers ORDER BY id"_s);
        QVERIFY2(rs, qPrintable(c.errorText()));
        QCOMPARE(rs->recordCount(), 3);
        QCOMPARE(rs->fieldName(0), u"num"_s);
        QCOMPARE(walk(*rs).values, QStringList({u"+49 171 1"_s, u"<null>"_s, u"a@b.example"_s}));
        rs.reset();

        QVERIFY(!c.execute(u"SELECT * FROM nowhere"_s));
        QVERIFY2(c.errorText().contains(u"nowhere"_s), qPrintable(c.errorText()));

        QVERIFY(c.beginTransaction());
        QVERIFY(c.execute(u"DELETE FROM numbers"_s));
        QCOMPARE(countRows(c, u"numbers"_s), 0);
        QVERIFY(c.rollback());
        QCOMPARE(countRows(c, u"numbers"_s), 3);
    }

    void postgresRefused() {
        requirePostgres();
        // A port that was free a moment ago and on which nothing listens.
        int port = 0;
        {
            QTcpServer s;
            QVERIFY(s.listen(QHostAddress::LocalHost, 0));
            port = s.serverPort();
        }
        Connection c;
        QVERIFY(!c.open(
            u"Provider=PostgreSQL;Server=127.0.0.1;Port=%1;Database=phones;User ID=x;Password=y"_s.arg(port),
            5));
        QVERIFY2(c.errorText().contains(u"refused"_s, Qt::CaseInsensitive), qPrintable(c.errorText()));
    }

    void postgresWrongLogin() {
        requirePostgres();
        QString bad = m_pg.connectionString(u"phones"_s);
        bad.replace(m_pg.password(), u"wrong"_s);
        Connection c;
        QVERIFY(!c.open(bad));
        QVERIFY2(c.errorText().contains(u"password"_s, Qt::CaseInsensitive), qPrintable(c.errorText()));

        QVERIFY(!c.open(m_pg.connectionString(u"nosuchdb"_s)));
        QVERIFY2(c.errorText().contains(u"nosuchdb"_s), qPrintable(c.errorText()));
    }

    void odbc() {
        if (!OdbcSqlite::available()) {
            QSKIP("unixODBC with the SQLite ODBC driver is not installed");
        }
        const QString file = m_dir.filePath(u"odbc.db"_s);
        QVERIFY(QFile::copy(m_db, file));
        Connection c;
        QVERIFY2(c.open(OdbcSqlite::connectionString(file)), qPrintable(c.errorText()));
        auto rs = c.execute(u"SELECT num FROM numbers ORDER BY id"_s);
        QVERIFY2(rs, qPrintable(c.errorText()));
        QCOMPARE(rs->fieldCount(), 1);
        QCOMPARE(walk(*rs).values, QStringList({u"+49 171 1"_s, u"<null>"_s, u"a@b.example"_s}));
        rs.reset();
        QVERIFY(!c.execute(u"SELECT * FROM nowhere"_s));
        QVERIFY2(c.errorText().contains(u"nowhere"_s), qPrintable(c.errorText()));

        QVERIFY(c.hasTransactions());
        QVERIFY(c.beginTransaction());
        QVERIFY(c.execute(u"DELETE FROM numbers"_s));
        QVERIFY(c.rollback());
        QCOMPARE(countRows(c, u"numbers"_s), 3);

        // The provider item may stand anywhere; the rest is the ODBC string as written.
        Connection d;
        QVERIFY2(d.open(OdbcSqlite::odbcString(file) + u";Provider=ODBC"_s), qPrintable(d.errorText()));

        Connection e;
        QVERIFY(!e.open(u"Provider=ODBC;DSN=tellwick-no-such-dsn"_s, 5));
        QVERIFY(!e.errorText().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_database.moc"
