#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "IniStore.h"
#include "LogWriter.h"

using namespace Qt::StringLiterals;

namespace {

void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readRaw(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestIniStore : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QDir m_dir;
    QString m_file;
    std::unique_ptr<LogWriter> m_log;
    std::unique_ptr<IniStore> m_ini;

private slots:
    void init() {
        QVERIFY(m_root.isValid());
        static int n = 0;
        const QString sub = QStringLiteral("case%1").arg(++n);
        QVERIFY(QDir(m_root.path()).mkpath(sub));
        m_dir = QDir(m_root.filePath(sub));
        m_file = m_dir.filePath(QStringLiteral("test.ini"));
        m_log = std::make_unique<LogWriter>(m_dir.path());
        m_ini = std::make_unique<IniStore>(m_file, m_log.get());
    }

    void readingFollowsTheProfileRules() {
        writeRaw(m_file,
                 "orphan=before any section\n"
                 "[Settings]\n"
                 "  Port  =  /dev/ttyUSB0  \n"
                 "Quoted=\"  padded  \"\n"
                 "Eq=a=b=c\n"
                 "no equals sign here\n"
                 "; comment=not a key\n"
                 "Empty=\n"
                 "Dup=first\n"
                 "dup=second\n"
                 "[ settings ]\n"
                 "Port=second section\n"
                 "[Other]\n"
                 "Key=other\n");
        const auto s = QStringLiteral("Settings");
        QCOMPARE(m_ini->readINI(s, QStringLiteral("port")), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(m_ini->readINI(QStringLiteral(" SETTINGS "), QStringLiteral(" Port ")), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(m_ini->readINI(s, QStringLiteral("Quoted")), QStringLiteral("  padded  "));
        QCOMPARE(m_ini->readINI(s, QStringLiteral("Eq")), QStringLiteral("a=b=c"));
        QCOMPARE(m_ini->readINI(s, QStringLiteral("Empty")), QString());
        QCOMPARE(m_ini->readINI(s, QStringLiteral("Dup")), QStringLiteral("first"));
        QCOMPARE(m_ini->readINI(s, QStringLiteral("no equals sign here")), QString());
        QCOMPARE(m_ini->readINI(s, QStringLiteral("; comment")), QString());
        QCOMPARE(m_ini->readINI(s, QStringLiteral("Missing")), QString());
        QCOMPARE(m_ini->readINI(QStringLiteral("Nope"), QStringLiteral("Port")), QString());
        QCOMPARE(m_ini->readINI(QStringLiteral("Other"), QStringLiteral("Key")), QStringLiteral("other"));
        QCOMPARE(m_ini->readINI({}, QStringLiteral("orphan")), QString());
        QCOMPARE(m_ini->readINIKeys(s, {}, QStringLiteral("|")), QStringLiteral("Port|Quoted|Eq|Empty|Dup|dup"));
        QCOMPARE(m_ini->readINIKeys(QStringLiteral("Nope")), QString());
        QCOMPARE(m_ini->readINI(s, QStringLiteral("Port"), m_dir.filePath(QStringLiteral("missing.ini"))), QString());
        // Several values in one look: the same rules, in the order asked, sections mixed.
        const QList<std::pair<QString, QString>> wanted{{s, QStringLiteral("PORT")},
                                                        {QStringLiteral("other"), QStringLiteral("Key")},
                                                        {s, QStringLiteral("Dup")},
                                                        {QStringLiteral("Nope"), QStringLiteral("Port")},
                                                        {s, QStringLiteral("Missing")},
                                                        {s, QStringLiteral("Quoted")}};
        QCOMPARE(m_ini->readINIValues(wanted),
                 QStringList({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("other"), QStringLiteral("first"), {}, {},
                              QStringLiteral("  padded  ")}));
        QCOMPARE(m_ini->readINIValues(wanted, m_dir.filePath(QStringLiteral("missing.ini"))), QStringList(6));
    }

    void longValuesComeBackWhole() {
        const QString sql = QStringLiteral("SELECT ") + QString(600, u'x');
        QVERIFY(m_ini->writeINI(QStringLiteral("Job q1"), QStringLiteral("Query"), sql));
        QCOMPARE(m_ini->readINI(QStringLiteral("Job q1"), QStringLiteral("Query")), sql);
    }

    void writingKeepsEverythingElse() {
        writeRaw(m_file,
                 "; settings of the gateway\n"
                 "[Settings]\n"
                 "Port=1\n"
                 "; speed below\n"
                 "Speed=9600\n"
                 "\n"
                 "[Addressbook]\n"
                 "Anna=+491\n");
        QVERIFY(m_ini->writeINI(QStringLiteral("settings"), QStringLiteral("SPEED"), QStringLiteral("115200")));
        QVERIFY(m_ini->writeINI(QStringLiteral("Settings"), QStringLiteral("Timeout"), QStringLiteral("20")));
        QVERIFY(m_ini->writeINI(QStringLiteral("Job f1"), QStringLiteral("Type"), QStringLiteral("0")));
        QCOMPARE(readRaw(m_file),
                 QByteArray("; settings of the gateway\n"
                            "[Settings]\n"
                            "Port=1\n"
                            "; speed below\n"
                            "Speed=115200\n"
                            "Timeout=20\n"
                            "\n"
                            "[Addressbook]\n"
                            "Anna=+491\n"
                            "[Job f1]\n"
                            "Type=0\n"));
    }

    void severalValuesInOneWriteAllOrNothing() {
        writeRaw(m_file, "[Tellwick]\nNo=1\n");
        QVERIFY(m_ini->writeINIValues(QStringLiteral("tellwick"),
                                      {{QStringLiteral("NO"), QStringLiteral("+49")}, {QStringLiteral("Text"), QStringLiteral("a\nb")},
                                       {QStringLiteral("Flash"), QStringLiteral("0")}}));
        QCOMPARE(readRaw(m_file), QByteArray("[Tellwick]\nNo=+49\nText=a b\nFlash=0\n"));
        // One bad name refuses the whole write.
        QVERIFY(!m_ini->writeINIValues(QStringLiteral("Tellwick"),
                                       {{QStringLiteral("Report"), QStringLiteral("1")}, {QStringLiteral("a=b"), QStringLiteral("x")}}));
        QCOMPARE(readRaw(m_file), QByteArray("[Tellwick]\nNo=+49\nText=a b\nFlash=0\n"));
    }

    void sectionsReplacedInOneWrite() {
        writeRaw(m_file, "[A]\nx=1\n; note\ny=2\n\n[B]\nz=3\n[C]\nw=4\n");
        using Keys = QList<std::pair<QString, QString>>;
        QVERIFY(m_ini->replaceINISections({{QStringLiteral("a"), Keys{{QStringLiteral("7"), QStringLiteral("Ann|1")}, {QStringLiteral("2"), QStringLiteral("Bob|2")}}},
                                           {QStringLiteral("B"), Keys{}},
                                           {QStringLiteral("D"), Keys{{QStringLiteral("Changed"), QStringLiteral("1")}}}}));
        QCOMPARE(readRaw(m_file), QByteArray("[a]\n7=Ann|1\n2=Bob|2\n\n[C]\nw=4\n[D]\nChanged=1\n"));
        // One bad name refuses the whole write.
        QVERIFY(!m_ini->replaceINISections({{QStringLiteral("C"), Keys{}}, {QStringLiteral("D"), Keys{{QStringLiteral("[x"), QStringLiteral("1")}}}}));
        QCOMPARE(m_ini->readINI(QStringLiteral("C"), QStringLiteral("w")), QStringLiteral("4"));
        // Thousands of new keys in one write, a key named twice keeping its last value.
        Keys many;
        for (int i = 0; i < 5000; ++i) {
            many.append({QStringLiteral("Name%1").arg(i), QString::number(i)});
        }
        many.append({QStringLiteral("name7"), QStringLiteral("seven")});
        QVERIFY(m_ini->writeINIValues(QStringLiteral("C"), many));
        QCOMPARE(m_ini->keys(QStringLiteral("C")).size(), 5001);
        QCOMPARE(m_ini->readINI(QStringLiteral("C"), QStringLiteral("Name7")), QStringLiteral("seven"));
        QCOMPARE(m_ini->keys(QStringLiteral("C")).value(1), QStringLiteral("Name0"));
    }

    void deletingKeysAndSections() {
        writeRaw(m_file, "[A]\nx=1\ny=2\n[B]\nz=3\n[C]\nw=4\n");
        QVERIFY(m_ini->deleteINIKey(QStringLiteral("a"), QStringLiteral("X")));
        QVERIFY(m_ini->deleteINISection(QStringLiteral("b")));
        QVERIFY(m_ini->deleteINIKey(QStringLiteral("A"), QStringLiteral("absent")));
        QVERIFY(m_ini->deleteINISection(QStringLiteral("absent")));
        QCOMPARE(readRaw(m_file), QByteArray("[A]\ny=2\n[C]\nw=4\n"));
    }

    void writeCreatesTheFileButNotItsFolder() {
        const QString fresh = m_dir.filePath(QStringLiteral("fresh.sms"));
        QVERIFY(m_ini->writeINI(QStringLiteral("Tellwick"), QStringLiteral("No"), QStringLiteral("+4917"), fresh));
        QCOMPARE(readRaw(fresh), QByteArray("[Tellwick]\nNo=+4917\n"));
        const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/x.sms"));
        QVERIFY(!m_ini->writeINI(QStringLiteral("Tellwick"), QStringLiteral("No"), QStringLiteral("1"), nowhere));
        QVERIFY(!QFileInfo::exists(nowhere));
    }

    void valuesNeverBreakTheFile() {
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("Text"), QStringLiteral("one\r\ntwo\rthree\nfour")));
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("Next"), QStringLiteral("[Evil]")));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("Text")), QStringLiteral("one two three four"));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("Next")), QStringLiteral("[Evil]"));
        QCOMPARE(m_ini->sections(), QStringList{QStringLiteral("S")});
        // A value in quotes keeps them.
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("Q"), QStringLiteral("\"quoted\"")));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("Q")), QStringLiteral("\"quoted\""));
        // So does a value with blanks at its ends, a single blank included.
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("Sep"), QStringLiteral(" ; ")));
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("Blank"), QStringLiteral(" ")));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("Sep")), QStringLiteral(" ; "));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("Blank")), QStringLiteral(" "));
    }

    void namesThatWouldBreakTheFileAreRefused_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("key with =") << "S" << "a=b";
        QTest::newRow("key with LF") << "S" << "a\nb";
        QTest::newRow("key with CR") << "S" << "a\rb";
        QTest::newRow("key starting [") << "S" << "[x";
        QTest::newRow("key starting ;") << "S" << ";x";
        QTest::newRow("empty key") << "S" << "  ";
        QTest::newRow("section with ]") << "a]b" << "k";
        QTest::newRow("section with LF") << "a\nb" << "k";
    }
    void namesThatWouldBreakTheFileAreRefused() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        writeRaw(m_file, "[S]\nk=1\n");
        QVERIFY(!m_ini->writeINI(section, key, QStringLiteral("v")));
        QCOMPARE(readRaw(m_file), QByteArray("[S]\nk=1\n"));
        QVERIFY(readRaw(m_log->transactionLogPath()).contains("refused"));
    }

    void encodingsAndLineEnds() {
        // Lines in Windows-1252 (not valid UTF-8) beside lines in UTF-8, CR LF line ends.
        writeRaw(m_file, "[Addressbook]\r\nJos\xE9=+34\r\nM\xC3\xBCller=+49\r\nEuro=\x80 5\r\n");
        QCOMPARE(m_ini->readINIKeys(QStringLiteral("Addressbook")), QStringLiteral("José,Müller,Euro"));
        QCOMPARE(m_ini->readINI(QStringLiteral("Addressbook"), QStringLiteral("Euro")), QStringLiteral("€ 5"));
        QCOMPARE(m_ini->readINI(QStringLiteral("addressbook"), QStringLiteral("MÜLLER")), QStringLiteral("+49"));
        // UTF-8 with a byte-order mark.
        writeRaw(m_file, "\xEF\xBB\xBF[Tellwick]\nText=Gr\xC3\xBC\xC3\x9F" "e\n");
        QCOMPARE(m_ini->readINI(QStringLiteral("Tellwick"), QStringLiteral("Text")), QStringLiteral("Grüße"));
    }

    // A write changes only the lines it must; the others keep their bytes, line ends included.
    // An empty key deletes the section, a null value the key.
    void writesKeepEveryOtherLineByteForByte_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const QByteArray mixed = "; gateway\r\n[Addressbook]\r\nJos\xE9=+34\r\nM\xC3\xBCller=+49\r\n\r\n"
                                 "[Settings]\r\nisRunning=0\r\n";
        QTest::newRow("value of a mixed file") << mixed << "Settings" << "isRunning" << "1"
                                               << mixed.chopped(3) + "1\r\n";
        QTest::newRow("new key beside Windows-1252")
            << mixed << "Addressbook" << u"Zoë"_s << "+1"
            << QByteArray("; gateway\r\n[Addressbook]\r\nJos\xE9=+34\r\nM\xC3\xBCller=+49\r\nZo\xC3\xAB=+1\r\n\r\n"
                          "[Settings]\r\nisRunning=0\r\n");
        QTest::newRow("new section") << mixed << "Job f1" << "Type" << "0" << mixed + "[Job f1]\r\nType=0\r\n";
        QTest::newRow("changed Windows-1252 line") << mixed << "Addressbook" << u"josé"_s << "+35"
                                                    << QByteArray(mixed).replace("Jos\xE9=+34", "Jos\xC3\xA9=+35");
        QTest::newRow("delete key") << mixed << "Addressbook" << u"Müller"_s << QString()
                                    << QByteArray(mixed).replace("M\xC3\xBCller=+49\r\n", "");
        QTest::newRow("delete section") << mixed << "Addressbook" << "" << QString()
                                        << QByteArray("; gateway\r\n[Settings]\r\nisRunning=0\r\n");
        QTest::newRow("same value, other spelling") << QByteArray("[S]\r\n  K = \"v\" \r\n") << "s" << "k" << "v"
                                                    << QByteArray("[S]\r\n  K = \"v\" \r\n");
        QTest::newRow("no final line end") << QByteArray("[S]\r\nk=1") << "S" << "n" << "2"
                                           << QByteArray("[S]\r\nk=1\r\nn=2\r\n");
        QTest::newRow("last line changed, no line end") << QByteArray("[S]\nk=1") << "S" << "k" << "2"
                                                        << QByteArray("[S]\nk=2");
        QTest::newRow("first line end counts") << QByteArray("[S]\nk=1\r\n") << "T" << "n" << "2"
                                               << QByteArray("[S]\nk=1\r\n[T]\nn=2\n");
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[S]\r\nk=\xE9\r\n") << "S" << "k" << "2"
                                         << QByteArray("\xEF\xBB\xBF[S]\r\nk=2\r\n");
    }
    void writesKeepEveryOtherLineByteForByte() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        writeRaw(m_file, before);
        if (key.isEmpty()) {
            QVERIFY(m_ini->deleteINISection(section));
        } else if (value.isNull()) {
            QVERIFY(m_ini->deleteINIKey(section, key));
        } else {
            QVERIFY(m_ini->writeINI(section, key, value));
            QCOMPARE(m_ini->readINI(section, key), value);
        }
        QCOMPARE(readRaw(m_file), after);
    }

    void aFileOfRandomBytesIsNotConverted() {
        QRandomGenerator random(1302);
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        for (char& c : noise) {
            c = char(random.bounded(256));
        }
        writeRaw(m_file, noise);
        QVERIFY(m_ini->writeINI(QStringLiteral("Settings"), QStringLiteral("isRunning"), QStringLiteral("1")));
        const QByteArray now = readRaw(m_file);
        QVERIFY(now.startsWith(noise));
        QVERIFY2(now.size() < noise.size() + 40, QByteArray::number(now.size()).constData());
        QCOMPARE(m_ini->readINI(QStringLiteral("Settings"), QStringLiteral("isRunning")), QStringLiteral("1"));
    }

    // Half an emoji cannot be stored: the store reads back what the file holds, as a second
    // store (or the next start) does.
    void aWriteReadsBackWhatTheFileHolds() {
        const QString half = u"ab"_s + QChar(0xD83D);
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("k"), half));
        IniStore fresh(m_file);
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")),
                 fresh.readINI(QStringLiteral("S"), QStringLiteral("k")));
    }

    void anUnreadableFileIsNeverOverwritten() {
        if (::geteuid() == 0) {
            // root reads every file; emulate an unreadable one with a folder of the same name.
            const QString path = m_dir.filePath(QStringLiteral("dir.ini"));
            QVERIFY(QDir().mkpath(path));
            QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k"), path), QString());
            QVERIFY(!m_ini->writeINI(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"), path));
            QVERIFY(QFileInfo(path).isDir());
            return;
        }
        writeRaw(m_file, "[S]\nk=1\n");
        QFile::setPermissions(m_file, QFileDevice::WriteOwner);
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QString());
        QVERIFY(!m_ini->writeINI(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("2")));
        QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(readRaw(m_file), QByteArray("[S]\nk=1\n"));
        // Readable again under the same stamp: the file is no longer taken for empty.
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("1"));
    }

    void writesAreAtomic() {
        writeRaw(m_file, "[S]\nk=1\n");
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("2")));
        // Nothing but the file itself is left in the folder (no temporary files).
        const QStringList left = m_dir.entryList(QDir::Files);
        for (const QString& name : left) {
            QVERIFY2(name.endsWith(QLatin1String(".ini")) || name.endsWith(QLatin1String(".log")), qPrintable(name));
        }
        // A read-only folder: the write fails and the old file stays whole.
        if (::geteuid() != 0) {
            QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QVERIFY(!m_ini->writeINI(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("3")));
            QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QCOMPARE(readRaw(m_file), QByteArray("[S]\nk=2\n"));
        }
    }

    void theCacheSeesChangesMadeBehindItsBack() {
        writeRaw(m_file, "[S]\nk=1\n");
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("1"));
        // Same size, rewritten in place.
        writeRaw(m_file, "[S]\nk=2\n");
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("2"));
        // Replaced by another file (another inode).
        const QString other = m_dir.filePath(QStringLiteral("other.tmp"));
        writeRaw(other, "[S]\nk=3\n");
        QFile::remove(m_file);
        QVERIFY(QFile::rename(other, m_file));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("3"));
        // Rewritten in place within one tick of the file system's clock: same size, inode and
        // time stamp (pinned here to one moment), yet the new text is read.
        const QDateTime pinned = QDateTime::currentDateTime().addSecs(5);
        const auto pinTime = [this, pinned] {
            QFile f(m_file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(pinned, QFileDevice::FileModificationTime));
        };
        writeRaw(m_file, "[S]\nk=5\n");
        pinTime();
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("5"));
        writeRaw(m_file, "[S]\nk=6\n");
        pinTime();
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("6"));
        // Removed.
        QFile::remove(m_file);
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QString());
        // Two stores on one file see each other's writes.
        IniStore second(m_file);
        QVERIFY(m_ini->writeINI(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("4")));
        QCOMPARE(second.readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("4"));
        QVERIFY(second.writeINI(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("5")));
        QCOMPARE(m_ini->readINI(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("5"));
    }
};

QTEST_GUILESS_MAIN(TestIniStore)
#include "tst_inistore.moc"
