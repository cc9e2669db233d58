// Text through the whole program: a settings file edited by hand in other editors keeps every
// line the program does not change, and a long text with an emoji reaches the phone whole.
#include <QtTest>

#include <QLineEdit>
#include <QRandomGenerator>
#include <algorithm>
#include <memory>

#include "IniStore.h"
#include "JobEditorWindows.h"
#include "ListView.h"
#include "MessageFiles.h"
#include "MessagesWindows.h"
#include "PhoneSimulator.h"
#include "TestContext.h"
#include "frmAddressBook.h"
#include "frmJobs.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

namespace {

// The lines of a file, each with its line end.
QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines;
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype nl = bytes.indexOf('\n', from);
        const qsizetype end = nl < 0 ? bytes.size() : nl + 1;
        lines.append(bytes.mid(from, end - from));
        from = end;
    }
    return lines;
}

// The text of each message the phone received, concatenated parts joined, in sending order.
QStringList receivedTexts(const QList<SubmittedSms>& pdus) {
    QStringList texts;
    QMap<int, int> messageOfReference;
    QList<QMap<int, QString>> parts;
    for (const SubmittedSms& pdu : pdus) {
        if (pdu.concatRef < 0 || !messageOfReference.contains(pdu.concatRef)) {
            if (pdu.concatRef >= 0) {
                messageOfReference.insert(pdu.concatRef, int(parts.size()));
            }
            parts.append(QMap<int, QString>());
        }
        const int message =
            pdu.concatRef < 0 ? int(parts.size()) - 1 : messageOfReference.value(pdu.concatRef);
        parts[message].insert(pdu.concatSeq, pdu.text);
    }
    for (const auto& message : std::as_const(parts)) {
        texts.append(QStringList(message.values()).join(QString()));
    }
    return texts;
}

}  // namespace

class tst_TextKept : public QObject {
    Q_OBJECT
    std::unique_ptr<TestContext> t;

    AppContext& ctx() { return t->ctx(); }
    void startAndStop() {
        frmMain& m = ctx().mainWindow();
        m.Form_Load();
        QVERIFY(m.isLoaded());
        m.Form_Unload();
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        registerMessagesWindows(ctx().windows());
        registerJobEditorWindows(ctx().windows());
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void handEditedFileKeepsEveryUntouchedLine_data() {
        QTest::addColumn<QByteArray>("eol");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
    }
    // UTF-8 lines beside lines another editor saved in Windows-1252.
    void handEditedFileKeepsEveryUntouchedLine() {
        QFETCH(QByteArray, eol);
        const QList<QByteArray> original =
            QByteArray("; edited by hand\n[Settings]\nContactsFolder=" + t->path(u"none"_s).toUtf8() +
                       "\nSignature=Gr\xFC\xDF"
                       "e\nisRunning=0\n\n"
                       "[Addressbook]\nM\xC3\xBCller=+4911\nJos\xE9=+3422\n\n"
                       "[Job e1]\nType=1\nIdentification=RUN\nName=Sicherung f\xC3\xBCr M\xC3\xBCller\n"
                       "Description=L\xF6schen\nActive=0")
                .split('\n');
        QByteArray before;
        for (const QByteArray& line : original) {
            before += line + eol;
        }
        t->writeFile(u"tellwick.ini"_s, before);

        startAndStop();
        frmJobs* jobs = ctx().windows().get<frmJobs>(u"frmJobs"_s);
        QVERIFY(jobs);
        ListItem* job = jobs->lstJobs2->findItemByTag(u"e1"_s);
        QVERIFY(job);
        jobs->lstJobs2->model()->setData(jobs->lstJobs2->indexFromItem(job, 0), Qt::Checked,
                                         Qt::CheckStateRole);
        frmAddressBook book(ctx());
        book.txtName->setText(u"Zoë"_s);
        book.txtNumber->setText(u"+4933"_s);
        book.cmdAdd_Click();

        // The untouched lines in their order, byte for byte; the rest are the lines written.
        const QList<QByteArray> after = linesOf(t->readFile(u"tellwick.ini"_s));
        QList<QByteArray> added;
        qsizetype next = 0;
        for (const QByteArray& line : after) {
            if (next < original.size() && line == original[next] + eol) {
                ++next;
            } else {
                added.append(line);
            }
        }
        QCOMPARE(next, original.size() - 1);  // all but Active=0
        QCOMPARE(added.size(), 6);
        QVERIFY(added.contains("Zo\xC3\xAB=+4933" + eol));
        QVERIFY(added.contains("Active=1" + eol));
        for (const char* key : {"WindowLeft=", "WindowTop=", "WindowWidth=", "WindowHeight="}) {
            QVERIFY2(
                std::count_if(added.cbegin(), added.cend(),
                              [&](const QByteArray& l) { return l.startsWith(key) && l.endsWith(eol); }) == 1,
                key);
        }
        QCOMPARE(ctx().ini().readINI(u"Addressbook"_s, u"José"_s), u"+3422"_s);
        QCOMPARE(ctx().ini().readINI(u"Addressbook"_s, u"müller"_s), u"+4911"_s);
        QCOMPARE(ctx().ini().readINI(u"Job e1"_s, u"Description"_s), u"Löschen"_s);
    }

    void randomBytesAreNotRewritten() {
        QRandomGenerator random(2604);
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        for (char& c : noise) {
            c = char(random.bounded(256));
        }
        t->writeFile(u"tellwick.ini"_s, noise);
        startAndStop();
        const QByteArray now = t->readFile(u"tellwick.ini"_s);
        QVERIFY(now.startsWith(noise));
        QVERIFY2(now.size() < noise.size() + 120, QByteArray::number(now.size()).constData());
    }

    // An emoji at every position of a 161- and a 307-character text: the parts written with
    // auto-split, sent to the phone and joined again give the text back.
    void emojiAtEveryPositionArrivesWhole() {
        PhoneSimulator sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        QVERIFY(ctx().phone().openPort(sim.devicePath(), 115200));
        QVERIFY(ctx().phone().startDevice());
        ctx().getSettings();
        QCOMPARE(ctx().state().maxTextLen, 160);
        const QString emoji = u"\U0001F600"_s;
        for (const int characters : {161, 307}) {
            QString letters;
            for (int i = 0; i < characters - 1; ++i) {
                letters += QChar(u'a' + i % 26);
            }
            for (int at = 0; at < characters; ++at) {
                const QString text = letters.left(at) + emoji + letters.mid(at);
                sim.clearRecords();
                const QStringList files =
                    MessageFiles::createSMSFile(ctx(), {}, u"+4917"_s, text, false, false, false, true, false)
                        .split(u',');
                const auto joined = [](QStringList parts) -> QString {
                    std::sort(parts.begin(), parts.end());  // "1/2:" before "2/2:"
                    QString whole;
                    for (const QString& part : std::as_const(parts)) {
                        whole += part.mid(part.indexOf(u':') + 1);
                    }
                    return whole;
                };
                const QString where = u"%1 characters, emoji at %2"_s.arg(characters).arg(at);
                IniStore disk;  // the files as they are on disk, not as any cache holds them
                QStringList stored;
                for (const QString& file : files) {
                    stored << disk.readINI(u"Tellwick"_s, u"Text"_s, file);
                }
                QVERIFY2(joined(stored) == text, qPrintable(where));
                for (const QString& file : files) {
                    QVERIFY(MessageFiles::sendSMSFile(ctx(), file).startsWith(u"OK"_s));
                }
                const QStringList received = receivedTexts(sim.decodedSubmissions());
                QCOMPARE(received.size(), files.size());
                QVERIFY2(joined(received) == text, qPrintable(where));
            }
        }
        ctx().phone().closePort();
    }
};

QTEST_MAIN(tst_TextKept)
#include "tst_textkept.moc"
