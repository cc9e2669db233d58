// The contacts source: vCard files of every version and of every exporter's habits, and
// the folder they are read from.
#include <QtTest>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Contacts.h"

using namespace Qt::StringLiterals;

class tst_Contacts : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void phoneFields_data();
    void phoneFields();
    void cardsOfAFile();
    void folderSetting();
    void missingFolderIsNotAvailable();
    void folderOrderAndFiles();
    void unreadableFileIsReportedOthersRead();
};

namespace {

QByteArray card(const QByteArray& body, const QByteArray& version = "3.0") {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

Contact only(const QByteArray& data) {
    const QList<Contact> list = VCard::parse(data);
    if (list.size() != 1) {
        qWarning() << "cards:" << list.size();
        return {};
    }
    return list.first();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

void tst_Contacts::names_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("fullName");

    QTest::newRow("FN") << card("FN:Ada Lovelace\r\nN:Lovelace;Ada;;;\r\n") << u"Ada Lovelace"_s;
    QTest::newRow("FN wins over N") << card("N:Doe;John;;;\r\nFN:Johnny D.\r\n") << u"Johnny D."_s;
    QTest::newRow("N when FN is missing")
        << card("N:Doe;John;Quincy;Dr.;Jr.\r\n") << u"Dr. John Quincy Doe Jr."_s;
    QTest::newRow("N when FN is empty") << card("FN:\r\nN:Doe;John\r\n") << u"John Doe"_s;
    QTest::newRow("N list components") << card("N:Stevenson;John;Philip,Paul;Dr.;Jr.,M.D.\r\n")
                                       << u"Dr. John Philip Paul Stevenson Jr. M.D."_s;
    QTest::newRow("no name at all") << card("TEL;TYPE=CELL:+1\r\n") << QString();
    QTest::newRow("escapes 3.0") << card("FN:Doe\\, John \\; Jr\\\\ \\nII\r\n") << u"Doe, John ; Jr\\  II"_s;
    QTest::newRow("escaped semicolon in N") << card("N:Smith\\;Jones;Ann;;;\r\n") << u"Ann Smith;Jones"_s;
    QTest::newRow("escapes 2.1: only the semicolon")
        << card("N:O\\;Brien;Pat\\,rick\r\n", "2.1") << u"Pat\\,rick O;Brien"_s;
    QTest::newRow("fold 3.0 drops the blank") << card("FN:Ale\r\n xandra\r\n") << u"Alexandra"_s;
    QTest::newRow("fold with tab") << card("FN:Ale\r\n\txandra\r\n") << u"Alexandra"_s;
    QTest::newRow("fold 2.1 keeps the blank") << card("FN:Mary\r\n Ann\r\n", "2.1") << u"Mary Ann"_s;
    QTest::newRow("version after the fold")
        << QByteArray("BEGIN:VCARD\r\nFN:Mary\r\n Ann\r\nVERSION:2.1\r\nEND:VCARD\r\n") << u"Mary Ann"_s;
    QTest::newRow("fold inside a UTF-8 character")
        << card("FN:Bj\xC3\r\n \xB6rk\r\n", "4.0") << u"Bj\u00f6rk"_s;
    QTest::newRow("quoted-printable UTF-8")
        << card("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BCller\r\n", "2.1")
        << u"J\u00fcrgen M\u00fcller"_s;
    QTest::newRow("quoted-printable soft break, lower-case hex")
        << card("FN;QUOTED-PRINTABLE;CHARSET=UTF-8:Fran=c3=\r\n=a7ois =\r\nDupont\r\n", "2.1")
        << u"Fran\u00e7ois Dupont"_s;
    QTest::newRow("quoted-printable Latin-1")
        << card("FN;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Ren=E9e\r\n", "2.1") << u"Ren\u00e9e"_s;
    QTest::newRow("quoted-printable stray equals sign")
        << card("FN;ENCODING=QUOTED-PRINTABLE:A=3DB =ZZ\r\n", "2.1") << u"A=B =ZZ"_s;
    QTest::newRow("quoted-printable N")
        << card("N;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:=C3=96zt=C3=BCrk;Ay=C5=9Fe;;;\r\n", "2.1")
        << u"Ay\u015fe \u00d6zt\u00fcrk"_s;
    QTest::newRow("base64 value") << card("FN;ENCODING=b:Sm9zw6kgU2lsdmE=\r\n") << u"Jos\u00e9 Silva"_s;
    QTest::newRow("Windows-1252 bytes without charset")
        << card("FN:Andr\xe9 \x80uro\r\n", "2.1") << u"Andr\u00e9 \u20acuro"_s;
    QTest::newRow("lower-case names, LF lines")
        << QByteArray("begin:vcard\nversion:3.0\nfn:Lower Case\nend:vcard\n") << u"Lower Case"_s;
    QTest::newRow("CR-only lines") << QByteArray("BEGIN:VCARD\rVERSION:3.0\rFN:Old Mac\rEND:VCARD\r")
                                   << u"Old Mac"_s;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF") + card("FN:Bom Card\r\n") << u"Bom Card"_s;
    const QString wide = u"BEGIN:VCARD\r\nFN:Wide \u00c5se\r\nEND:VCARD\r\n"_s;
    QTest::newRow("UTF-16 file") << QByteArray("\xFF\xFE") +
                                        QByteArray(reinterpret_cast<const char*>(wide.utf16()),
                                                   wide.size() * 2)
                                 << u"Wide \u00c5se"_s;
    QTest::newRow("group prefix, blanks around")
        << card("item1.FN:  Grouped Name  \r\n") << u"Grouped Name"_s;
    QTest::newRow("quoted parameter holding a colon")
        << card("FN;X-NOTE=\"a:b;c\":Quoted Param\r\n", "4.0") << u"Quoted Param"_s;
    QTest::newRow("first FN of several") << card("FN:First\r\nFN:Second\r\n", "4.0") << u"First"_s;
    QTest::newRow("blank lines inside") << card("\r\nFN:Spaced\r\n\r\n") << u"Spaced"_s;
    QTest::newRow("no END line") << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut Off\r\n")
                                 << u"Cut Off"_s;
}

void tst_Contacts::names() {
    QFETCH(QByteArray, data);
    QFETCH(QString, fullName);
    QCOMPARE(only(data).fullName, fullName);
}

void tst_Contacts::phoneFields_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("fields");  // mobile, home, home 2, business, business 2

    QTest::newRow("3.0 TYPE lists") << card(
                                           "TEL;TYPE=CELL,VOICE:+49 171 1111\r\nTEL;TYPE=HOME:030 "
                                           "2222\r\nTEL;TYPE=WORK,VOICE:040 3333\r\n")
                                    << QStringList{u"+49 171 1111"_s, u"030 2222"_s, {}, u"040 3333"_s, {}};
    QTest::newRow("2.1 bare types") << card("TEL;HOME;VOICE:111\r\nTEL;CELL:222\r\nTEL;WORK:333\r\n", "2.1")
                                    << QStringList{u"222"_s, u"111"_s, {}, u"333"_s, {}};
    QTest::newRow("repeated TYPE parameters, lower case")
        << card("TEL;type=work;type=voice:1\r\nTEL;type=cell;type=pref:2\r\n")
        << QStringList{u"2"_s, {}, {}, u"1"_s, {}};
    QTest::newRow("4.0 quoted types and tel URIs")
        << card(
               "TEL;VALUE=uri;TYPE=\"cell,text\":tel:+1-555-0100\r\n"
               "TEL;VALUE=uri;TYPE=home:tel:+1-555-0101;ext=12\r\n"
               "TEL;VALUE=uri;TYPE=work:sip:someone@example.org\r\n",
               "4.0")
        << QStringList{u"+1-555-0100"_s, u"+1-555-0101"_s, {}, {}, {}};
    QTest::newRow("first and second of each, third dropped")
        << card(
               "TEL;TYPE=HOME:h1\r\nTEL;TYPE=WORK:w1\r\nTEL;TYPE=HOME:h2\r\nTEL;TYPE=HOME:h3\r\n"
               "TEL;TYPE=WORK:w2\r\nTEL;TYPE=WORK:w3\r\n")
        << QStringList{{}, u"h1"_s, u"h2"_s, u"w1"_s, u"w2"_s};
    QTest::newRow("first mobile wins, later ones fill nothing")
        << card("TEL;TYPE=CELL:c1\r\nTEL;TYPE=CELL,HOME:c2\r\nTEL;TYPE=HOME:h1\r\n")
        << QStringList{u"c1"_s, u"h1"_s, {}, {}, {}};
    QTest::newRow("home mobile is the mobile")
        << card("TEL;TYPE=HOME,CELL:hc\r\nTEL;TYPE=HOME:h\r\n") << QStringList{u"hc"_s, u"h"_s, {}, {}, {}};
    QTest::newRow("fax, pager, modem and untyped fill nothing")
        << card(
               "TEL;TYPE=HOME,FAX:f\r\nTEL;TYPE=WORK,PAGER:p\r\nTEL;WORK;MODEM:m\r\nTEL:plain\r\n"
               "TEL;TYPE=WORK:w\r\n")
        << QStringList{{}, {}, {}, u"w"_s, {}};
    QTest::newRow("grouped TEL with a label")
        << card("item1.TEL;type=CELL:+44 7700 900123\r\nitem1.X-ABLabel:mobile\r\n")
        << QStringList{u"+44 7700 900123"_s, {}, {}, {}, {}};
    QTest::newRow("empty TEL value skipped")
        << card("TEL;TYPE=CELL:\r\nTEL;TYPE=CELL:  99  \r\n") << QStringList{u"99"_s, {}, {}, {}, {}};
    QTest::newRow("folded number") << card("TEL;TYPE=CELL:+49 171\r\n  555\r\n")
                                   << QStringList{u"+49 171 555"_s, {}, {}, {}, {}};
    // A "(0)" after the country code is never dialled from abroad; other brackets stay.
    QTest::newRow("trunk zero after the country code")
        << card(
               "TEL;TYPE=CELL:+49 (0)170 1234567\r\nTEL;TYPE=HOME:+44(0) 20 7946 0000\r\n"
               "TEL;TYPE=WORK:0049 (0)30 1234\r\nTEL;TYPE=WORK:030 (0)1234\r\n")
        << QStringList{u"+49 170 1234567"_s, u"+44 20 7946 0000"_s, {}, u"0049 30 1234"_s, u"030 (0)1234"_s};
}

void tst_Contacts::phoneFields() {
    QFETCH(QByteArray, data);
    QFETCH(QStringList, fields);
    const Contact c = only(data);
    const QStringList got{c.mobileTelephoneNumber, c.homeTelephoneNumber, c.home2TelephoneNumber,
                          c.businessTelephoneNumber, c.business2TelephoneNumber};
    QCOMPARE(got, fields);
}

void tst_Contacts::cardsOfAFile() {
    // Cards in file order; text outside cards, nested agent cards and group cards give no
    // contact, and a nested card's lines never reach the card around it.
    const QByteArray data = "garbage before\r\n" + card("FN:One\r\nTEL;CELL:1\r\n", "2.1") +
                            "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Two\r\nAGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\n"
                            "FN:Agent\r\nTEL;CELL:99\r\nEND:VCARD\r\nTEL;HOME:2\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Three\r\nAGENT:BEGIN:VCARD\r\nFN:Inline\r\n"
                            "END:VCARD\r\nTEL;WORK:3\r\nEND:VCARD\r\n" +
                            card("KIND:group\r\nFN:Friends\r\nTEL;TYPE=CELL:7\r\n", "4.0") +
                            card("KIND:individual\r\nFN:Four\r\n", "4.0");
    const QList<Contact> list = VCard::parse(data);
    QStringList names;
    for (const Contact& c : list) {
        names << c.fullName;
    }
    QCOMPARE(names, (QStringList{u"One"_s, u"Two"_s, u"Three"_s, u"Four"_s}));
    QCOMPARE(list[1].mobileTelephoneNumber, QString());
    QCOMPARE(list[1].homeTelephoneNumber, u"2"_s);
    QCOMPARE(list[2].businessTelephoneNumber, u"3"_s);
    QVERIFY(VCard::parse({}).isEmpty());
    QVERIFY(VCard::parse("no cards here\r\n").isEmpty());
}

void tst_Contacts::folderSetting() {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/data/home");
    QCOMPARE(ContactsSource::defaultFolder(), u"/data/home/contacts"_s);
    QCOMPARE(ContactsSource::folderFor({}, u"/prog"_s), u"/data/home/contacts"_s);
    QCOMPARE(ContactsSource::folderFor(u"  "_s, u"/prog"_s), u"/data/home/contacts"_s);
    QCOMPARE(ContactsSource::folderFor(u"/abs/cards/"_s, u"/prog"_s), u"/abs/cards"_s);
    QCOMPARE(ContactsSource::folderFor(u"cards\\mine"_s, u"/prog"_s), u"/prog/cards/mine"_s);
    // A relative or empty XDG_DATA_HOME is not valid: the home folder's default counts.
    for (const QByteArray& value : {QByteArray("relative/data"), QByteArray()}) {
        qputenv("XDG_DATA_HOME", value);
        QCOMPARE(ContactsSource::defaultFolder(), QDir::homePath() + u"/.local/share/contacts"_s);
    }
    saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);
}

void tst_Contacts::missingFolderIsNotAvailable() {
    QTemporaryDir dir;
    QString error;
    QVERIFY(ContactsSource(dir.path()).isAvailable(&error));
    const QString missing = dir.filePath(u"gone"_s);
    QVERIFY(!ContactsSource(missing).isAvailable(&error));
    QVERIFY(error.contains(missing));
    writeFile(missing, "a file, not a folder");
    QVERIFY(!ContactsSource(missing).isAvailable());
    QVERIFY(!ContactsSource({}).isAvailable());
    const ContactsSource::Result r = ContactsSource(dir.filePath(u"none"_s)).read();
    QVERIFY(!r.available);
    QVERIFY(r.contacts.isEmpty());
    QCOMPARE(r.errors.size(), 1);
}

void tst_Contacts::folderOrderAndFiles() {
    QTemporaryDir dir;
    writeFile(dir.filePath(u"b.vcf"_s), card("FN:B1\r\n") + card("FN:B2\r\n"));
    writeFile(dir.filePath(u"a.VCF"_s), card("FN:A\r\n"));
    writeFile(dir.filePath(u"work/c.vcard"_s), card("FN:C\r\n"));
    writeFile(dir.filePath(u"Z.vcf"_s), card("FN:Z\r\n"));
    writeFile(dir.filePath(u"notes.txt"_s), card("FN:Not a card file\r\n"));
    writeFile(dir.filePath(u"empty.vcf"_s), {});
    for (int round = 0; round < 2; ++round) {  // the same order every time
        const ContactsSource::Result r = ContactsSource(dir.path()).read();
        QVERIFY(r.available);
        QVERIFY(r.errors.isEmpty());
        QStringList names;
        for (const Contact& c : r.contacts) {
            names << c.fullName;
        }
        QCOMPARE(names, (QStringList{u"Z"_s, u"A"_s, u"B1"_s, u"B2"_s, u"C"_s}));
        QCOMPARE(r.contacts.last().file, dir.filePath(u"work/c.vcard"_s));
    }
}

void tst_Contacts::unreadableFileIsReportedOthersRead() {
    if (::geteuid() == 0) {
        QSKIP("root reads every file");
    }
    QTemporaryDir dir;
    writeFile(dir.filePath(u"a.vcf"_s), card("FN:A\r\n"));
    writeFile(dir.filePath(u"b.vcf"_s), card("FN:B\r\n"));
    QFile::setPermissions(dir.filePath(u"a.vcf"_s), QFileDevice::WriteOwner);
    const ContactsSource::Result r = ContactsSource(dir.path()).read();
    QVERIFY(r.available);
    QCOMPARE(r.contacts.size(), 1);
    QCOMPARE(r.contacts.first().fullName, u"B"_s);
    QCOMPARE(r.errors.size(), 1);
    QVERIFY(r.errors.first().startsWith(dir.filePath(u"a.vcf"_s)));
}

QTEST_GUILESS_MAIN(tst_Contacts)
#include "tst_contacts.moc"
