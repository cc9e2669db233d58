#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "MessageFiles.h"
#include "SendCycle.h"
#include "SendingTest.h"
#include "Settings.h"
#include "SettledFiles.h"
#include "Spool.h"
#include "TestContext.h"

namespace {
qint64 residentKiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return f.readAll().split(' ').value(1).toLongLong() * 4;
}
}  // namespace

using namespace MessageFiles;

namespace {

// Stamps "yyyyMMdd-HHmmss" of this second and the next, so a test can prepare both names a
// file written right now may get.
QStringList stampsNowAndNext() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.toString(QStringLiteral("yyyyMMdd-HHmmss")),
            now.addSecs(1).toString(QStringLiteral("yyyyMMdd-HHmmss"))};
}

}  // namespace

class TestMessageFiles : public SendingTest {
    Q_OBJECT
    QString read(const QString& key, const QString& path,
                 const QString& section = QStringLiteral("Tellwick")) {
        return ctx().ini().readINI(section, key, path);
    }
    QStringList create(const QString& number, const QString& text, bool split = false, bool reverse = false) {
        const QString paths = createSMSFile(ctx(), {}, number, text, false, false, false, split, reverse);
        return paths.isEmpty() ? QStringList() : paths.split(u',');
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        ctx().getSettings();
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void singleFileNameAndKeys() {
        const QStringList paths = createSMSFile(ctx(), {}, QStringLiteral("+4917012345"),
                                                QStringLiteral("Hello"), true, false, true, false, false)
                                      .split(u',');
        QCOMPARE(paths.size(), 1);
        const QFileInfo fi(paths[0]);
        QCOMPARE(fi.absolutePath(), QFileInfo(out()).absoluteFilePath());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{8}-\\d{6}-\\+4917012345-001\\.sms$"))
                     .match(fi.fileName())
                     .hasMatch(),
                 qPrintable(fi.fileName()));
        QCOMPARE(read(QStringLiteral("No"), paths[0]), QStringLiteral("+4917012345"));
        QCOMPARE(read(QStringLiteral("Text"), paths[0]), QStringLiteral("Hello"));
        QCOMPARE(read(QStringLiteral("Report"), paths[0]), QStringLiteral("1"));
        QCOMPARE(read(QStringLiteral("Flash"), paths[0]), QStringLiteral("0"));
        QCOMPARE(read(QStringLiteral("Manual"), paths[0]), QStringLiteral("1"));
    }

    void explicitFolderAndLineBreaks() {
        const QString folder = t->path(QStringLiteral("elsewhere"));
        QDir().mkpath(folder);
        const QString path =
            createSMSFile(ctx(), folder, QStringLiteral("1"), QStringLiteral("a\r\nb\rc\nd\r\n\r\ne"), false,
                          true, false, false, false);
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(folder).absoluteFilePath());
        QCOMPARE(read(QStringLiteral("Text"), path), QStringLiteral("a b c d  e"));
        QCOMPARE(read(QStringLiteral("Flash"), path), QStringLiteral("1"));
        QVERIFY(QDir(out()).isEmpty());
    }

    void unsplitTextIsCutWithFooter() {
        // Quotes keep the footer's leading blank.
        t->writeFile(QStringLiteral("tellwick.ini"), "[Settings]\nFooter=\" -- TW\"\n");
        ctx().getSettings();
        QCOMPARE(ctx().state().maxTextLen, 160 - 6);
        const QString text(200, u'x');
        const QStringList paths = create(QStringLiteral("1"), text);
        QCOMPARE(paths.size(), 1);
        QCOMPARE(read(QStringLiteral("Text"), paths[0]), QString(154, u'x') + QStringLiteral(" -- TW"));
    }

    // The split arithmetic: part length maxTextLen-4 for up to nine parts, -6 with two-digit
    // numbers, -8 with three; the last part holds the rest.
    void splitArithmetic_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("parts");
        QTest::addColumn<QString>("firstPrefix");
        QTest::addColumn<int>("partLen");
        QTest::newRow("fits, not split") << 160 << 1 << QString() << 160;
        QTest::newRow("two parts") << 161 << 2 << QStringLiteral("1/2:") << 156;
        QTest::newRow("nine parts exactly") << 9 * 156 << 9 << QStringLiteral("1/9:") << 156;
        QTest::newRow("ten parts") << 9 * 156 + 1 << 10 << QStringLiteral("01/10:") << 154;
        QTest::newRow("ninety-nine") << 99 * 154 << 99 << QStringLiteral("01/99:") << 154;
        QTest::newRow("past ninety-nine") << 99 * 154 + 1 << 101 << QStringLiteral("001/101:") << 152;
    }
    void splitArithmetic() {
        QFETCH(int, length);
        QFETCH(int, parts);
        QFETCH(QString, firstPrefix);
        QFETCH(int, partLen);
        QString text;
        for (int i = 0; i < length; ++i) {
            text += QChar(u'a' + i % 26);
        }
        const QStringList paths = create(QStringLiteral("1"), text, true);
        QCOMPARE(paths.size(), parts);
        if (parts == 1) {
            QCOMPARE(read(QStringLiteral("Text"), paths[0]), text);
            return;
        }
        // Returned part n first; part 1 is the last path.
        const QString first = read(QStringLiteral("Text"), paths.last());
        QVERIFY2(first.startsWith(firstPrefix), qPrintable(first));
        QCOMPARE(first.mid(firstPrefix.size()), text.left(partLen));
        QString joined;
        for (int i = paths.size() - 1; i >= 0; --i) {
            const QString body = read(QStringLiteral("Text"), paths[i]);
            QVERIFY(body.size() <= 160);
            const int colon = int(body.indexOf(u':'));
            const QString prefix = body.left(colon + 1);
            const int width = int(firstPrefix.indexOf(u'/'));
            const int part = int(paths.size() - i);
            QCOMPARE(prefix, QStringLiteral("%1/%2:")
                                 .arg(part, width, 10, QLatin1Char('0'))
                                 .arg(parts, width, 10, QLatin1Char('0')));
            joined += body.mid(colon + 1);
        }
        QCOMPARE(joined, text);
    }

    void partSuffixesAndReverse() {
        const QString text(400, u'z');  // three parts
        const QStringList normal = create(QStringLiteral("42"), text, true, false);
        QCOMPARE(normal.size(), 3);
        // "-1" holds the last part, and part n comes first in the returned list.
        QVERIFY(normal[0].endsWith(QLatin1String("-001-1.sms")));
        QVERIFY(normal[2].endsWith(QLatin1String("-001-3.sms")));
        QVERIFY(read(QStringLiteral("Text"), normal[0]).startsWith(QLatin1String("3/3:")));
        QVERIFY(read(QStringLiteral("Text"), normal[2]).startsWith(QLatin1String("1/3:")));

        const QStringList reversed = create(QStringLiteral("43"), text, true, true);
        QVERIFY(reversed[0].endsWith(QLatin1String("-001-3.sms")));
        QVERIFY(read(QStringLiteral("Text"), reversed[0]).startsWith(QLatin1String("3/3:")));
        QVERIFY(reversed[2].endsWith(QLatin1String("-001-1.sms")));
        QVERIFY(read(QStringLiteral("Text"), reversed[2]).startsWith(QLatin1String("1/3:")));
    }

    void footerOnEveryPartAndTooLongFooter() {
        set("Footer", QStringLiteral("[TW]"));
        ctx().getSettings();
        const QStringList paths = create(QStringLiteral("1"), QString(300, u'q'), true);
        QCOMPARE(paths.size(), 2);  // 156-4 = 152 per part
        for (const QString& p : paths) {
            const QString body = read(QStringLiteral("Text"), p);
            QVERIFY(body.endsWith(QLatin1String("[TW]")));
            QCOMPARE(body.count(QStringLiteral("[TW]")), 1);
            QVERIFY(body.size() <= 160);
        }

        // A footer that would leave a part fewer than ten characters is not appended: a text
        // outside the phone's alphabet has 70 UCS2 units to a message.
        const QString longFooter(53, u'F');
        set("Footer", longFooter);
        ctx().getSettings();
        QVERIFY(!ctx().state().footerUsed);
        QCOMPARE(ctx().state().maxTextLen, 160);
        const QStringList plain = create(QStringLiteral("2"), QStringLiteral("short"));
        QCOMPARE(read(QStringLiteral("Text"), plain[0]), QStringLiteral("short"));
        QVERIFY(t->readFile(QStringLiteral("tellwick.log")).contains("Footer of 53 characters not appended"));

        // The longest footer that still leaves ten characters behind the widest prefix.
        set("Footer", QString(52, u'G'));
        ctx().getSettings();
        QVERIFY(ctx().state().footerUsed);
        QCOMPARE(ctx().state().maxTextLen, 108);
    }

    void freeNumberSkipsPlainNamesAndParts() {
        // Occupy "001" of this second and the next with a part file, and "002" with a plain one.
        for (const QString& stamp : stampsNowAndNext()) {
            writeOutgoing(stamp + QStringLiteral("-555-001-1.sms"), "[Tellwick]\nNo=555\n");
            writeOutgoing(stamp + QStringLiteral("-555-002.sms"), "[Tellwick]\nNo=555\n");
        }
        const QStringList paths = create(QStringLiteral("555"), QStringLiteral("new"));
        QVERIFY2(paths.value(0).endsWith(QLatin1String("-555-003.sms")), qPrintable(paths.value(0)));
        // The old files are untouched.
        QCOMPARE(QDir(out()).entryList(QDir::Files).size(), 5);
    }

    void numberUnfitForFileName() {
        const QStringList paths = create(QStringLiteral("a/b:c*d"), QStringLiteral("x"));
        QCOMPARE(paths.size(), 1);
        QVERIFY2(QFileInfo(paths[0]).fileName().contains(QLatin1String("-a_b_c_d-001")),
                 qPrintable(paths[0]));
        QCOMPARE(QFileInfo(paths[0]).absolutePath(), QFileInfo(out()).absoluteFilePath());
        QCOMPARE(read(QStringLiteral("No"), paths[0]), QStringLiteral("a/b:c*d"));

        const QStringList empty = create(QString(), QStringLiteral("x"));
        QVERIFY(QFileInfo(empty.value(0)).fileName().contains(QLatin1String("--001")));
    }

    void failedPartRemovesTheWrittenParts() {
        // The second file written (suffix "-2") cannot be written: a folder holds its name.
        for (const QString& stamp : stampsNowAndNext()) {
            QDir().mkpath(out() + u'/' + stamp + QStringLiteral("-9-001-2.sms"));
        }
        QCOMPARE(createSMSFile(ctx(), {}, QStringLiteral("9"), QString(400, u'w'), false, false, false, true,
                               false),
                 QString());
        QCOMPARE(QDir(out()).entryList(QDir::Files).size(), 0);
        QVERIFY(t->readFile(QStringLiteral("tellwick.log")).contains("ERROR: could not write message file"));

        // A missing folder fails as a whole.
        QCOMPARE(createSMSFile(ctx(), t->path(QStringLiteral("missing/deeper")), QStringLiteral("9"),
                               QStringLiteral("x"), false, false, false, false, false),
                 QString());
    }

    void valuesThatLookQuotedSurvive() {
        const QStringList paths = create(QStringLiteral("1"), QStringLiteral("\"quoted\""));
        QCOMPARE(read(QStringLiteral("Text"), paths[0]), QStringLiteral("\"quoted\""));
    }

    void sendMissingFile() {
        const QString path = out() + QStringLiteral("/nothing.sms");
        QCOMPARE(sendSMSFile(ctx(), path), QStringLiteral("ERROR: SMS-file %1 not found").arg(path));
        QVERIFY(QDir(sent()).isEmpty());
    }

    // Files that cannot be sent keep their error in the sent folder, even when sent messages
    // are not kept, and leave the outgoing folder.
    void sendBadFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");  // %1 = path; "ERROR " = starts with
        QTest::newRow("no No") << QByteArray("[Tellwick]\nText=hi\n")
                               << QStringLiteral("ERROR: no recipient No. specified in %1");
        QTest::newRow("only blanks and separators")
            << QByteArray("[Tellwick]\nNo= ; ;\nText=hi\n")
            << QStringLiteral("ERROR: no recipient No. specified in %1");
        QTest::newRow("no Text") << QByteArray("[Tellwick]\nNo=123\n")
                                 << QStringLiteral("ERROR: No message text specified in %1");
        QTest::newRow("empty file") << QByteArray()
                                    << QStringLiteral("ERROR: no recipient No. specified in %1");
        QTest::newRow("phone fails") << QByteArray("[Tellwick]\nNo=123\nText=hi\n")
                                     << QStringLiteral("ERROR ");
    }
    void sendBadFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        set("KeepSent", QStringLiteral("0"));
        set("LogSMS", QStringLiteral("1"));
        ctx().getSettings();
        const QString path = writeOutgoing(QStringLiteral("bad.sms"), content);
        const QString result = sendSMSFile(ctx(), path);
        if (expected == QLatin1String("ERROR ")) {
            QVERIFY2(result.startsWith(expected), qPrintable(result));
        } else {
            QCOMPARE(result, expected.arg(path));
        }
        QVERIFY(!QFileInfo::exists(path));
        const QString copy = sent() + QStringLiteral("/bad.sms");
        QVERIFY(QFileInfo::exists(copy));
        QCOMPARE(read(QStringLiteral("Result"), copy, QStringLiteral("Job Result")), result);
        QCOMPARE(read(QStringLiteral("Date"), copy, QStringLiteral("Job Result")),
                 QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        QVERIFY(QTime::fromString(read(QStringLiteral("Time"), copy, QStringLiteral("Job Result")),
                                  QStringLiteral("HH:mm:ss"))
                    .isValid());
        // The original content is kept beside the result.
        if (content.contains("Text=hi")) {
            QCOMPARE(read(QStringLiteral("Text"), copy), QStringLiteral("hi"));
        }
        // Error lines are always logged.
        QVERIFY(t->readFile(QStringLiteral("tellwick.log")).contains(result.toUtf8()));
        QCOMPARE(ctx().state().sentCount, 0);
    }

    void sentCopyNeverOverwritesAnOlderOne() {
        t->writeFile(sent() + QStringLiteral("/same.sms"), "[Tellwick]\nNo=1\nText=older\n");
        const QString path = writeOutgoing(QStringLiteral("same.sms"), "[Tellwick]\nText=newer\n");
        sendSMSFile(ctx(), path);
        QCOMPARE(read(QStringLiteral("Text"), sent() + QStringLiteral("/same.sms")), QStringLiteral("older"));
        QCOMPARE(read(QStringLiteral("Text"), sent() + QStringLiteral("/same_2.sms")),
                 QStringLiteral("newer"));
    }

    void failedFileThatCannotBeFiledStays() {
        // The sent folder cannot be created: a plain file holds its name.
        t->writeFile(QStringLiteral("blocked"), "x");
        ctx().state().sentDir = t->path(QStringLiteral("blocked"));
        const QString path = writeOutgoing(QStringLiteral("keep.sms"), "[Tellwick]\nNo=1\n");
        const QString r = sendSMSFile(ctx(), path);
        QVERIFY(r.startsWith(QLatin1String("ERROR: No message text")));
        // Out of the sending's way, with its result, and the log says where.
        const QString held = out() + QStringLiteral("/.sending/unfiled/keep.sms");
        QCOMPARE(read(QStringLiteral("Result"), held, QStringLiteral("Job Result")), r);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(t->readFile(QStringLiteral("tellwick.log")).contains(QFile::encodeName(held)));
    }

    void cycleWithoutPhoneTouchesNothing() {
        // Without a phone no file is tried: none is filed as failed, all wait for the phone.
        writeOutgoing(QStringLiteral("a.sms"), "[Tellwick]\nNo=1\nText=a\n");
        writeOutgoing(QStringLiteral("b.sms"), "[Tellwick]\nText=b\n");
        writeOutgoing(QStringLiteral("c.sms"), "garbage \xff\xfe\n");
        settleFiles(out());
        SendCycle cycle(ctx());
        QCOMPARE(cycle.run(), 0);
        QCOMPARE(QDir(out()).entryList(QDir::Files).size(), 3);
        QVERIFY(QDir(sent()).entryList(QDir::Files).isEmpty());
        QVERIFY(!cycle.stoppedBecause().isEmpty());
        QVERIFY(QDir(Spool::claimFolder(out(), Spool::ownerId(ctx().programFolder()))).isEmpty());
    }

    // The settings layer kept a parsed copy of every handled message file (under its outgoing
    // and its sent path): big messages raised the memory for good.
    void handledFilesLeaveNoCopyInMemory() {
        const QByteArray text(1024 * 1024, 'x');
        const qint64 before = residentKiB();
        for (int i = 0; i < 12; ++i) {
            const QString name = QStringLiteral("big%1.sms").arg(i);
            const QString path = writeOutgoing(name, "[Tellwick]\nText=" + text + '\n');
            QVERIFY(sendSMSFile(ctx(), path).startsWith(QLatin1String("ERROR: no recipient")));
            QVERIFY(!ctx().ini().isCached(path));
            QVERIFY(!ctx().ini().isCached(sent() + u'/' + name));
        }
        QCOMPARE(QDir(sent()).entryList(QDir::Files).size(), 12);
#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
        QSKIP("AddressSanitizer keeps freed memory in quarantine: resident memory tells nothing here");
#endif
        const qint64 grown = residentKiB() - before;
        QVERIFY2(grown < 30 * 1024, qPrintable(QStringLiteral("%1 KiB more").arg(grown)));
    }

    void sendingLogLines() {
        const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}/\\d{2}:\\d{2}:\\d{2}/"));
        const QString manual = sendingLogLine(QStringLiteral("+491"), QStringLiteral("hi"), true, QString());
        QVERIFY(stamp.match(manual).hasMatch());
        QVERIFY(manual.endsWith(QLatin1String("/MANUAL/+491: 'hi' was sent successfully.")));
        QVERIFY(sendingLogLine(QStringLiteral("+491"), QStringLiteral("hi"), false, QStringLiteral("MANUAL"))
                    .endsWith(QLatin1String("/MANUAL/+491: 'hi' was NOT sent.")));
        QVERIFY(sendingLogLine(QStringLiteral("2"), QStringLiteral("t"), true, QStringLiteral("f.sms"))
                    .endsWith(QLatin1String("/f.sms/2: 't' was sent successfully. File was deleted.")));
        QVERIFY(sendingLogLine(QStringLiteral("2"), QStringLiteral("t"), false, QStringLiteral("f.sms"))
                    .endsWith(QLatin1String("/f.sms/2: 't' was NOT sent. File NOT deleted.")));

        logSending(ctx(), QStringLiteral("7"), QStringLiteral("line"), true, {});
        const QByteArray log = t->readFile(QStringLiteral("tellwick.log"));
        QVERIFY(log.endsWith("/MANUAL/7: 'line' was sent successfully.\n"));
    }

    void sendingOrder() {
        // Older message groups first (by the oldest file of the group), parts by their
        // suffix as numbers, names of other programs in the same way.
        const QDateTime base = QDateTime::currentDateTime().addSecs(-100);
        auto make = [&](const QString& name, int age) {
            const QString p = writeOutgoing(name, "[Tellwick]\nNo=1\nText=x\n");
            QFile f(p);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(base.addSecs(-age), QFileDevice::FileModificationTime));
        };
        make(QStringLiteral("20260102-100000-1-001-2.sms"), 50);
        make(QStringLiteral("20260102-100000-1-001-10.sms"), 50);
        make(QStringLiteral("20260102-100000-1-001-1.sms"), 40);
        make(QStringLiteral("20260101-090000-2-001.sms"), 10);
        make(QStringLiteral("foreign.sms"), 60);
        make(QStringLiteral("notes.txt"), 70);
        QStringList names;
        for (const QString& p : outgoingFilesInOrder(out())) {
            names.append(QFileInfo(p).fileName());
        }
        QCOMPARE(names,
                 (QStringList{QStringLiteral("foreign.sms"), QStringLiteral("20260102-100000-1-001-1.sms"),
                              QStringLiteral("20260102-100000-1-001-2.sms"),
                              QStringLiteral("20260102-100000-1-001-10.sms"),
                              QStringLiteral("20260101-090000-2-001.sms")}));
    }

    void fileNameNumbers() {
        QCOMPARE(fileNameNumber(QStringLiteral("+49 170/123-4")), QStringLiteral("+49_170_123_4"));
        QCOMPARE(fileNameNumber(QStringLiteral("..")), QStringLiteral("__"));
        QCOMPARE(fileNameNumber(QStringLiteral("Info")), QStringLiteral("Info"));
    }
};

QTEST_MAIN(TestMessageFiles)
#include "tst_messagefiles.moc"
