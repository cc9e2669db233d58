#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "ConnectionBuilder.h"
#include "Database.h"
#include "OdbcSqlite.h"
#include "PostgresServer.h"
#include "Prompts.h"

using namespace Qt::StringLiterals;

namespace {

bool opens(const QString& connectionString, QString* error = nullptr) {
    Connection c;
    const bool ok = c.open(connectionString, 10);
    if (error) {
        *error = c.errorText();
    }
    return ok;
}

}  // namespace

class tst_ConnectionBuilder : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<QDialog> m_owner;
    std::unique_ptr<ConnectionBuilder> m_builder;
    FilePicker m_files;

    // Opens the real window for the owner and chooses a provider.
    ConnectionBuilderDialog* openWith(const QString& provider) {
        m_builder->start(m_owner.get());
        ConnectionBuilderDialog* d = m_builder->dialog();
        if (d) {
            d->cboProvider->setCurrentText(provider);
        }
        return d;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(u"a;b.db"_s);
        QString error;
        QVERIFY2(createSqliteDatabase(m_db, {u"CREATE TABLE t (n TEXT)"_s}, &error), qPrintable(error));
        m_files.setScripted(true);
    }

    void init() {
        m_owner = std::make_unique<QDialog>();
        m_owner->setWindowTitle(u"Tellwick: Edit forward job"_s);
        m_owner->show();
        m_builder = std::make_unique<ConnectionBuilder>();
        m_builder->setFilePicker(&m_files);
    }

    void cleanup() {
        m_builder.reset();
        m_owner.reset();
    }

    void texts() {
        QCOMPARE(ConnectionBuilder::sqliteString(u"/data/phones.db"_s),
                 u"Provider=SQLite;Data Source=/data/phones.db"_s);
        QCOMPARE(ConnectionBuilder::sqliteString(m_db), u"Provider=SQLite;Data Source=\""_s + m_db + u'"');
        QCOMPARE(
            ConnectionBuilder::postgresString(u"db.example"_s, u"5433"_s, u"sms"_s, u"gw"_s, u"p;w"_s),
            u"Provider=PostgreSQL;Server=db.example;Port=5433;Database=sms;User ID=gw;Password=\"p;w\""_s);
        QCOMPARE(ConnectionBuilder::postgresString(u"h"_s, {}, u"d"_s, {}, {}),
                 u"Provider=PostgreSQL;Server=h;Database=d"_s);
        QCOMPARE(ConnectionBuilder::odbcString(u" Phones "_s), u"Provider=ODBC;DSN=Phones"_s);
        QCOMPARE(ConnectionBuilder::odbcString(u"DRIVER={x};Database=/y"_s),
                 u"Provider=ODBC;DRIVER={x};Database=/y"_s);
        QCOMPARE(ConnectionBuilder::odbcString(u"  "_s), QString());
        // What the builder writes, the database layer reads back whole.
        const auto items = parseConnectionString(
            ConnectionBuilder::postgresString(u"h"_s, u"1"_s, u"d b"_s, u"u"_s, u" 'quoted' \"pw\";x "_s));
        QCOMPARE(connectionValue(items, u"Password"_s), u" 'quoted' \"pw\";x "_s);
        QCOMPARE(connectionValue(items, u"Database"_s), u"d b"_s);
    }

    void sqliteThroughTheWindow() {
        ConnectionBuilderDialog* d = openWith(u"SQLite"_s);
        QVERIFY(d);
        QVERIFY(d->isVisible());
        QVERIFY(!d->isModal());
        QCOMPARE(d->parentWidget(), m_owner.get());  // usable under the editor's modality
        QStringList items;
        for (int i = 0; i < d->cboProvider->count(); ++i) {
            items.append(d->cboProvider->itemText(i));
        }
        QCOMPARE(items, Connection::availableProviders());
        QVERIFY(!d->cmdOK->isEnabled());
        QVERIFY(!d->cmdTest->isEnabled());

        // A missing file fails the test with the file named.
        m_files.queueFile(m_dir.filePath(u"none.db"_s));
        d->cmdBrowse->click();
        QCOMPARE(d->txtFile->text(), m_dir.filePath(u"none.db"_s));
        QVERIFY(d->cmdOK->isEnabled());
        d->cmdTest->click();
        QVERIFY2(d->labResult->text().startsWith(u"Test connection failed: "_s),
                 qPrintable(d->labResult->text()));
        QVERIFY(d->labResult->text().contains(u"none.db"_s));
        QVERIFY(!QFile::exists(m_dir.filePath(u"none.db"_s)));

        // A cancelled file dialog leaves the box as it was.
        m_files.queueFile(QString());
        d->cmdBrowse->click();
        QCOMPARE(d->txtFile->text(), m_dir.filePath(u"none.db"_s));

        d->txtFile->setText(m_db);
        QVERIFY(d->labResult->text().isEmpty());
        QVERIFY(d->testConnection());
        QCOMPARE(d->labResult->text(), u"Test connection succeeded."_s);

        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);
        d->cmdOK->click();
        QCOMPARE(finished.size(), 1);
        const QString result = finished.at(0).at(0).toString();
        QCOMPARE(result, ConnectionBuilder::sqliteString(m_db));
        QVERIFY(result.startsWith(u"Provider="_s));
        QVERIFY(opens(result));
        QVERIFY(!m_builder->isActive());
        QVERIFY(!m_builder->dialog());
    }

    void postgresThroughTheWindow() {
        if (!Connection::availableProviders().contains(u"PostgreSQL"_s)) {
            QSKIP("Qt's PostgreSQL driver is not installed");
        }
        ConnectionBuilderDialog* d = openWith(u"PostgreSQL"_s);
        QVERIFY(d);
        QVERIFY(d->txtServer->isVisible());
        QVERIFY(!d->txtFile->isVisible());
        QVERIFY(!d->cmdOK->isEnabled());
        if (!PostgresServer::available()) {
            QSKIP("PostgreSQL server programs are not installed");
        }
        PostgresServer pg;
        QVERIFY2(pg.start(), qPrintable(pg.errorText()));
        d->txtServer->setText(pg.host());
        d->txtPort->setText(QString::number(pg.port()));
        d->txtDatabase->setText(u"postgres"_s);
        d->txtUser->setText(pg.user());
        d->txtPassword->setText(u"wrong"_s);
        QVERIFY(!d->testConnection());
        QVERIFY2(d->labResult->text().contains(u"password"_s, Qt::CaseInsensitive),
                 qPrintable(d->labResult->text()));
        d->txtPassword->setText(pg.password());
        QVERIFY2(d->testConnection(), qPrintable(d->labResult->text()));

        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);
        d->cmdOK->click();
        QCOMPARE(finished.size(), 1);
        QString error;
        QVERIFY2(opens(finished.at(0).at(0).toString(), &error), qPrintable(error));
    }

    void odbcThroughTheWindow() {
        if (!OdbcSqlite::available()) {
            QSKIP("unixODBC with the SQLite ODBC driver is not installed");
        }
        const QString file = m_dir.filePath(u"odbc.db"_s);
        QVERIFY(QFile::copy(m_db, file) || QFile::exists(file));
        ConnectionBuilderDialog* d = openWith(u"ODBC"_s);
        QVERIFY(d);
        d->txtOdbc->setText(OdbcSqlite::odbcString(file));
        QVERIFY2(d->testConnection(), qPrintable(d->labResult->text()));
        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);
        d->cmdOK->click();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toString(), OdbcSqlite::connectionString(file));
        QVERIFY(opens(finished.at(0).at(0).toString()));
    }

    void cancelAndCloseGiveNothing() {
        ConnectionBuilderDialog* d = openWith(u"SQLite"_s);
        QVERIFY(d);
        d->txtFile->setText(m_db);
        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);
        d->cmdCancel->click();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toString(), QString());

        d = openWith(u"SQLite"_s);
        QVERIFY(d);
        QVERIFY(d->txtFile->text().isEmpty());  // every start begins empty
        d->txtFile->setText(m_db);
        d->close();
        QCOMPARE(finished.size(), 2);
        QCOMPARE(finished.at(1).at(0).toString(), QString());
        QVERIFY(!m_builder->isActive());
    }

    void secondStartRaisesTheOpenWindow() {
        ConnectionBuilderDialog* d = openWith(u"SQLite"_s);
        QVERIFY(d);
        d->txtFile->setText(m_db);
        m_builder->start(m_owner.get());
        QCOMPARE(m_builder->dialog(), d);
        QCOMPARE(d->txtFile->text(), m_db);
        QCOMPARE(m_builder->startCount(), 2);
        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);
        d->cmdOK->click();
        QCOMPARE(finished.size(), 1);
    }

    void ownerClosingEndsTheBuilder() {
        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);
        QPointer<ConnectionBuilderDialog> d = openWith(u"SQLite"_s);
        QVERIFY(d);
        d->txtFile->setText(m_db);
        m_owner->reject();  // the editor's Cancel
        QVERIFY(!m_builder->isActive());
        QTRY_VERIFY(!d);
        QCOMPARE(finished.size(), 0);

        // The editor shows again later: a new start works as before.
        m_owner->show();
        QVERIFY(openWith(u"SQLite"_s));
        m_builder->abort();
        QVERIFY(!m_builder->isActive());
        QVERIFY(!m_builder->dialog());
        QCOMPARE(finished.size(), 0);

        // An editor destroyed while the builder is open takes the window along.
        d = openWith(u"SQLite"_s);
        QVERIFY(d);
        m_owner.reset();
        QVERIFY(!d);
        QVERIFY(!m_builder->isActive());
        QCOMPARE(finished.size(), 0);
    }

    void scripted() {
        m_builder->setScripted(true);
        QSignalSpy finished(m_builder.get(), &ConnectionBuilder::finished);

        // A queued answer arrives from the event loop, not inside start().
        m_builder->queueAnswer(u"Provider=SQLite;Data Source=/x.db"_s);
        m_builder->start(m_owner.get());
        QVERIFY(!m_builder->dialog());
        QCOMPARE(finished.size(), 0);
        QVERIFY(m_builder->isActive());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(0).toString(), u"Provider=SQLite;Data Source=/x.db"_s);

        // With nothing queued it stays open until answered.
        m_builder->start(m_owner.get());
        QVERIFY(m_builder->isActive());
        m_builder->answer(QString());
        QCOMPARE(finished.size(), 2);
        QCOMPARE(finished.at(1).at(0).toString(), QString());

        // A queued answer is dropped when the editor closes first.
        m_builder->queueAnswer(u"Provider=ODBC;DSN=late"_s);
        m_builder->start(m_owner.get());
        m_owner->hide();
        QVERIFY(!m_builder->isActive());
        QCoreApplication::processEvents();  // the pending answer must not arrive
        QCOMPARE(finished.size(), 2);
        QCOMPARE(m_builder->startCount(), 3);
    }
};

QTEST_MAIN(tst_ConnectionBuilder)
#include "tst_connectionbuilder.moc"
