#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>

#include "JobEditorWindows.h"
#include "TestContext.h"
#include "frmSQLHelp.h"

namespace {

const QString kName = QStringLiteral("frmSQLHelp");

// Index of the only example whose three labels are shown; -1 when that is not so.
int shownExample(const frmSQLHelp& w) {
    int shown = -1;
    for (int i = 0; i < frmSQLHelp::kExamples; ++i) {
        const bool title = !w.labTitle[i]->isHidden(), sql = !w.labSQL[i]->isHidden(),
                   desc = !w.labDesc[i]->isHidden();
        if (title != sql || sql != desc || (title && shown >= 0)) {
            return -1;
        }
        if (title) {
            shown = i;
        }
    }
    return shown;
}

// The statement of an example as a database job would run it for the message "Ann, Smith"
// from +4912345.
QString filled(QString sql) {
    return sql.replace(QStringLiteral("<#1>"), QStringLiteral("Ann"))
        .replace(QStringLiteral("<#2>"), QStringLiteral("Smith"))
        .replace(QStringLiteral("<$+sender>"), QStringLiteral("+4912345"));
}

}  // namespace

class TestFrmSQLHelp : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_t = std::make_unique<TestContext>();
        registerJobEditorWindows(m_t->ctx().windows());
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*m_t);
        m_t.reset();
    }

    void opensWithTheFirstExample() {
        auto* w = m_t->ctx().windows().get<frmSQLHelp>(kName);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tellwick: Help on creating SQL query strings"));
        QCOMPARE(w->labNr->text(), QStringLiteral("(1)"));
        QCOMPARE(shownExample(*w), 0);
        QCOMPARE(w->labSQL[0]->text(),
                 QStringLiteral("CREATE TABLE [<$+sender>] (FirstName TEXT, LastName TEXT, Number TEXT)"));
        QCOMPARE(w->labLink[0]->text(), QStringLiteral("(1) create a table"));
        QCOMPARE(w->labLink[3]->text(), QStringLiteral("(4) use multiple commands"));
        QCOMPARE(w->labSQL[1]->palette().color(QPalette::WindowText), QColor(128, 128, 128));
        QCOMPARE(w->cmdClose->text(), QStringLiteral("&Close"));
        QCOMPARE(w->Image1->size(), QSize(32, 32));
    }

    void linkSwitchesTheExample() {
        auto* w = m_t->ctx().windows().get<frmSQLHelp>(kName);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::mouseClick(w->labLink[2], Qt::LeftButton);
        QCOMPARE(w->labNr->text(), QStringLiteral("(3)"));
        QCOMPARE(shownExample(*w), 2);
        QVERIFY(w->labSQL[2]->isVisible());
        QVERIFY(w->labSQL[2]->text().startsWith(QStringLiteral("SELECT ")));
        QTest::mouseClick(w->labLink[2], Qt::LeftButton);
        QCOMPARE(w->labNr->text(), QStringLiteral("(3)"));
        QCOMPARE(shownExample(*w), 2);
        w->labLink_Click(3);
        QCOMPARE(w->labNr->text(), QStringLiteral("(4)"));
        QCOMPARE(shownExample(*w), 3);
    }

    void closingUnloadsSoTheNextOpeningStartsAgain_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Close") << false;
        QTest::newRow("Escape") << true;
    }
    void closingUnloadsSoTheNextOpeningStartsAgain() {
        QFETCH(bool, escape);
        WindowRegistry& windows = m_t->ctx().windows();
        QPointer<frmSQLHelp> w = windows.get<frmSQLHelp>(kName);
        w->show();
        w->labLink_Click(3);
        if (escape) {
            QTest::keyClick(w, Qt::Key_Escape);
        } else {
            QTest::mouseClick(w->cmdClose, Qt::LeftButton);
        }
        QVERIFY(!windows.isLoaded(kName));
        QTRY_VERIFY(w.isNull());

        auto* again = windows.get<frmSQLHelp>(kName);
        QCOMPARE(again->labNr->text(), QStringLiteral("(1)"));
        QCOMPARE(shownExample(*again), 0);
    }

    // The examples work as printed: create, insert, then the query finds the inserted names.
    void examplesRunOnARealDatabase() {
        auto* w = m_t->ctx().windows().get<frmSQLHelp>(kName);
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("examples"));
            db.setDatabaseName(m_t->path(QStringLiteral("examples.db")));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(
                QStringLiteral("CREATE TABLE [TellwickNews] (FirstName TEXT, LastName TEXT, Number TEXT)")));
            QVERIFY2(q.exec(filled(w->labSQL[0]->text())), qPrintable(q.lastError().text()));
            QVERIFY2(q.exec(filled(w->labSQL[1]->text())), qPrintable(q.lastError().text()));
            QVERIFY2(q.exec(filled(w->labSQL[2]->text())), qPrintable(q.lastError().text()));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("Ann"));
            QCOMPARE(q.value(1).toString(), QStringLiteral("Smith"));
            for (const QString& part : w->labSQL[3]->text().split(QLatin1Char('|'))) {
                QVERIFY(q.exec(filled(part).trimmed().replace(QStringLiteral("[+4912345]"),
                                                              QStringLiteral("[+49999]"))));
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("examples"));
    }

private:
    std::unique_ptr<TestContext> m_t;
};

QTEST_MAIN(TestFrmSQLHelp)
#include "tst_frmsqlhelp.moc"
