#include <QTest>

#include "Fields.h"
#include "JobTypes.h"
#include "TestContext.h"

// The job type table and the look-ups over the job sections of the settings file.
class tst_JobTypes : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestContext> m_t;

    // Jobs of every type, and the sections that look like jobs but are none.
    static QByteArray settingsWithJobs() {
        return QByteArrayLiteral(
            "[Settings]\n"
            "Debug=0\n"
            "[Job f4]\nType=0\nIdentification=FWD4\nName=Forward four\n"
            "[Job f1]\nType=0\nIdentification=FWD\nName=Forward one\n"
            "[Job f2]\nType=0\nIdentification=\nName=Default job\n"
            "[Job e1]\nType=1\nIdentification=RUN\nName=Runner\n"
            // no Type: not a job, and its number is free
            "[Job e2]\nIdentification=NOTYPE\nName=Half written\n"
            // leading zero: not the section of any job number
            "[Job e07]\nType=1\nIdentification=ZERO\nName=Leading zero\n"
            "[Job q1]\nType=2\nIdentification=DUP\nName=Query dup\n"
            // a Type that does not match its letter: the letter decides where it is found
            "[Job q2]\nType=4\nIdentification=MIX\nName=Mixed\n"
            "[Job s9]\nType=3\nIdentification=MAIL\nName=Mailer nine\n"
            "[Job s3]\nType=3\nIdentification=MAIL\nName=Mailer three\n"
            "[job S5]\nType=3\nIdentification=CASE\nName=Upper case letter\n"
            "[Job m1]\nType=4\nIdentification=POP\nName=Box, with comma\n"
            "[Job m500]\nType=4\nIdentification=LAST\nName=Last one\n"
            "[Job m501]\nType=4\nIdentification=OVER\nName=Too far\n"
            "[Job m0]\nType=4\nIdentification=NULL\nName=Number zero\n"
            "[Job 1]\nType=0\nIdentification=NOLETTER\nName=No letter\n"
            "[Job e3]\nType=1\nIdentification=DUP\nName=Exec dup\n");
    }

private slots:
    void init() { m_t = std::make_unique<TestContext>(); }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*m_t);
        m_t.reset();
    }

    void table() {
        const QStringList expected = {
            QStringLiteral("f,forward,Forwards incoming messages by SMS or E-Mail"),
            QStringLiteral("e,exec,Executes programs/batch jobs/scripts"),
            QStringLiteral("q,query,Queries/manipulates databases"),
            QStringLiteral("s,sendmail,Sends text messages/binary files by E-Mail"),
            QStringLiteral("m,mailbox,Checks mailboxes and sends E-Mail notifications by SMS or E-Mail"),
        };
        QCOMPARE(jobTypes(), expected);
        QCOMPARE(jobTypeCount, 5);
        QCOMPARE(getField(jobTypes().at(4), 2, QStringLiteral(",")), QStringLiteral("mailbox"));
        QCOMPARE(jobTypeLetter(2), QStringLiteral("q"));
        QCOMPARE(jobTypeName(3), QStringLiteral("sendmail"));
        QCOMPARE(jobTypeDescription(1), QStringLiteral("Executes programs/batch jobs/scripts"));
        QCOMPARE(jobTypeLetter(5), QString());
        QCOMPARE(jobTypeIndex(QStringLiteral("s")), 3);
        QCOMPARE(jobTypeIndex(QStringLiteral("S")), -1);
        QCOMPARE(jobTypeIndex(QString()), -1);
        QCOMPARE(jobSection(jobKey(4, 12)), QStringLiteral("Job m12"));
    }

    void countAndFirstFree_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("firstFree");
        QTest::newRow("forward") << 0 << 3 << 3;
        QTest::newRow("exec: e2 has no Type, e07 is no job number") << 1 << 2 << 2;
        QTest::newRow("query: q2 counts by its letter") << 2 << 2 << 3;
        QTest::newRow("sendmail: section names ignore case") << 3 << 3 << 1;
        QTest::newRow("mailbox: m0 and m501 lie outside 1-500") << 4 << 2 << 2;
        QTest::newRow("no such type") << 5 << 0 << 0;
        QTest::newRow("negative type") << -1 << 0 << 0;
    }
    void countAndFirstFree() {
        QFETCH(int, type);
        QFETCH(int, count);
        QFETCH(int, firstFree);
        m_t->writeFile(QStringLiteral("tellwick.ini"), settingsWithJobs());
        QCOMPARE(countJobs(m_t->ini(), type), count);
        QCOMPARE(firstFreeJobNo(m_t->ini(), type), firstFree);
    }

    void allNumbersTaken() {
        QByteArray file;
        for (int n = 1; n <= 500; ++n) {
            file += "[Job s" + QByteArray::number(n) + "]\nType=3\nName=s" + QByteArray::number(n) + '\n';
        }
        m_t->writeFile(QStringLiteral("tellwick.ini"), file);
        QCOMPARE(countJobs(m_t->ini(), 3), 500);
        QCOMPARE(firstFreeJobNo(m_t->ini(), 3), 0);
        // Emptying one Type frees its number.
        m_t->ini().writeINI(QStringLiteral("Job s321"), QStringLiteral("Type"), QString());
        QCOMPARE(countJobs(m_t->ini(), 3), 499);
        QCOMPARE(firstFreeJobNo(m_t->ini(), 3), 321);
    }

    void findByIdent_data() {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<QString>("found");
        QTest::newRow("exact") << QStringLiteral("FWD") << QStringLiteral("Forward one,f1");
        QTest::newRow("case-sensitive") << QStringLiteral("fwd") << QString();
        QTest::newRow("no prefix match") << QStringLiteral("FW") << QString();
        QTest::newRow("default job") << QString() << QStringLiteral("Default job,f2");
        QTest::newRow("types in table order") << QStringLiteral("DUP") << QStringLiteral("Exec dup,e3");
        QTest::newRow("numbers ascending, not file order")
            << QStringLiteral("MAIL") << QStringLiteral("Mailer three,s3");
        QTest::newRow("found under its letter") << QStringLiteral("MIX") << QStringLiteral("Mixed,q2");
        QTest::newRow("name with comma") << QStringLiteral("POP") << QStringLiteral("Box, with comma,m1");
        QTest::newRow("number 500") << QStringLiteral("LAST") << QStringLiteral("Last one,m500");
        QTest::newRow("key as the letter table spells it")
            << QStringLiteral("CASE") << QStringLiteral("Upper case letter,s5");
        QTest::newRow("no Type") << QStringLiteral("NOTYPE") << QString();
        QTest::newRow("leading zero") << QStringLiteral("ZERO") << QString();
        QTest::newRow("number 501") << QStringLiteral("OVER") << QString();
        QTest::newRow("number 0") << QStringLiteral("NULL") << QString();
        QTest::newRow("no letter") << QStringLiteral("NOLETTER") << QString();
    }
    void findByIdent() {
        QFETCH(QString, ident);
        QFETCH(QString, found);
        m_t->writeFile(QStringLiteral("tellwick.ini"), settingsWithJobs());
        QCOMPARE(findJobByIdent(m_t->ini(), ident), found);
    }

    void noDefaultJob() {
        m_t->writeFile(QStringLiteral("tellwick.ini"), "[Job f1]\nType=0\nIdentification=A\nName=a\n");
        QCOMPARE(findJobByIdent(m_t->ini(), QString()), QString());
        QCOMPARE(findJobByIdent(m_t->ini(), QStringLiteral("A")), QStringLiteral("a,f1"));
        QCOMPARE(countJobs(m_t->ini(), 0), 1);
        QCOMPARE(firstFreeJobNo(m_t->ini(), 0), 2);
    }
};

QTEST_GUILESS_MAIN(tst_JobTypes)
#include "tst_jobtypes.moc"
