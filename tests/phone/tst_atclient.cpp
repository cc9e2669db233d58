// The phone simulator as a client written for real modems sees it: the standard answers, and
// gammu reading the identity and the phonebook and sending a message, which must come out as
// the simulator holds them. Where gammu is missing its runs skip, except in CI.
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "PhoneRig.h"

using namespace Qt::StringLiterals;

class tst_AtClient : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void standardAnswers_data();
    void standardAnswers();
    void identify();
    void phonebook_data();
    void phonebook();
    void sendSms_data();
    void sendSms();

private:
    // gammu's standard output for args; fails the test when it does not end well.
    QString gammu(const QStringList& args);

    QString m_gammu;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PhoneSimulator> m_sim;
};

#define NEED_GAMMU()                                                \
    if (m_gammu.isEmpty()) {                                        \
        if (qEnvironmentVariableIsSet("CI")) {                      \
            QFAIL("gammu is not installed (Debian package gammu)"); \
        }                                                           \
        QSKIP("gammu is not installed (Debian package gammu)");     \
    }

void tst_AtClient::initTestCase() {
    m_gammu = QStandardPaths::findExecutable(u"gammu"_s);
}

void tst_AtClient::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
    QFile rc(m_dir->filePath(u"gammurc"_s));
    QVERIFY(rc.open(QIODevice::WriteOnly));
    rc.write("[gammu]\ndevice = " + m_sim->devicePath().toUtf8() + "\nconnection = at115200\n");
}

void tst_AtClient::cleanup() {
    m_sim.reset();
    m_dir.reset();
}

QString tst_AtClient::gammu(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    env.insert(u"HOME"_s, m_dir->path());
    p.setProcessEnvironment(env);
    QSignalSpy finished(&p, &QProcess::finished);
    p.start(m_gammu, QStringList{u"-c"_s, m_dir->filePath(u"gammurc"_s)} + args);
    // The simulator answers from this thread's event loop, which the spy's wait runs.
    if (!finished.wait(90'000)) {
        p.kill();
        p.waitForFinished();
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning().noquote() << "gammu" << args.join(u' ') << "failed:\n"
                             << out << err << "\nphone got:\n"
                             << m_sim->commands().join(u'\n');
        return QString();
    }
    return out;
}

void tst_AtClient::standardAnswers_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reply");
    const QString ucs2 = u"AT+CSCS=\"UCS2\""_s;
    const QString badIndex = u"AT+CPBR=999"_s;
    QTest::newRow("unknown command") << QStringList() << u"AT+FOO=1"_s << u"ERROR"_s;
    QTest::newRow("ATI") << QStringList() << u"ATI"_s << u"Tellwick||Simulated GSM Modem||Revision: 1.0.4"_s;
    QTest::newRow("line setting") << QStringList() << u"AT&D2"_s << u"OK"_s;
    QTest::newRow("CMEE test") << QStringList() << u"AT+CMEE=?"_s << u"+CMEE: (0-2)"_s;
    QTest::newRow("CMEE read") << QStringList() << u"AT+CMEE?"_s << u"+CMEE: 1"_s;
    QTest::newRow("CMEE out of range") << QStringList() << u"AT+CMEE=3"_s << u"ERROR"_s;
    QTest::newRow("errors plain") << QStringList{u"AT+CMEE=0"_s} << badIndex << u"ERROR"_s;
    QTest::newRow("errors numeric") << QStringList{u"AT+CMEE=1"_s} << badIndex << u"+CME ERROR: 21"_s;
    QTest::newRow("errors verbose") << QStringList{u"AT+CMEE=2"_s} << badIndex
                                    << u"+CME ERROR: invalid index"_s;
    QTest::newRow("CSCS test") << QStringList() << u"AT+CSCS=?"_s
                               << u"+CSCS: (\"GSM\",\"IRA\",\"8859-1\",\"UCS2\")"_s;
    QTest::newRow("CSCS set") << QStringList{ucs2} << u"AT+CSCS?"_s << u"+CSCS: \"UCS2\""_s;
    QTest::newRow("CSCS set in hex") << QStringList{ucs2} << u"AT+CSCS=\"004700530034\""_s << u"ERROR"_s;
    QTest::newRow("CSCS back in hex")
        << QStringList{ucs2, u"AT+CSCS=\"00470053004D\""_s} << u"AT+CSCS?"_s << u"+CSCS: \"GSM\""_s;
    QTest::newRow("CSCS unknown") << QStringList() << u"AT+CSCS=\"KOI8-R\""_s << u"ERROR"_s;
    QTest::newRow("CSCA in UCS2") << QStringList{ucs2} << u"AT+CSCA?"_s
                                  << u"+CSCA: \"002B003400390031003700310030003700360030003000300030\",145"_s;
    QTest::newRow("CPMS test") << QStringList() << u"AT+CPMS=?"_s
                               << u"+CPMS: (\"ME\",\"SM\"),(\"ME\",\"SM\"),(\"ME\",\"SM\")"_s;
    QTest::newRow("CPMS set") << QStringList() << u"AT+CPMS=\"ME\",\"ME\""_s << u"+CPMS: 0,30,0,30"_s;
    QTest::newRow("CPMS read") << QStringList{u"AT+CPMS=\"ME\",\"ME\""_s} << u"AT+CPMS?"_s
                               << u"+CPMS: \"ME\",0,30,\"ME\",0,30,\"SM\",0,30"_s;
    QTest::newRow("CPMS unknown") << QStringList() << u"AT+CPMS=\"XX\""_s << u"+CMS ERROR: 302"_s;
    QTest::newRow("CPBW test") << QStringList() << u"AT+CPBW=?"_s << u"+CPBW: (1-250),40,(129,145),16"_s;
}

void tst_AtClient::standardAnswers() {
    QFETCH(QStringList, before);
    QFETCH(QString, command);
    QFETCH(QString, reply);
    PhoneRig rig;
    QVERIFY(rig.sim.start());
    QVERIFY(rig.link.openPort(rig.sim.devicePath(), 115200));
    rig.sim.setEcho(false);
    for (const QString& c : before) {
        QVERIFY(!rig.link.sendCommand(c).contains(u"ERROR"_s));
    }
    QCOMPARE(rig.link.sendCommand(command), reply);
}

// "Label : value" lines of gammu's output.
static QString field(const QString& out, const QString& label) {
    const QRegularExpression re(u"^"_s + QRegularExpression::escape(label) + uR"(\s*:\s*(.*?)\s*$)"_s,
                                QRegularExpression::MultilineOption);
    return re.match(out).captured(1);
}

void tst_AtClient::identify() {
    NEED_GAMMU();
    m_sim->setIdentity(u"Tellwick Labs"_s, u"TW-900 Modem"_s, u"356938035643809"_s);
    const QString out = gammu({u"identify"_s});
    QVERIFY(!out.isEmpty());
    QCOMPARE(field(out, u"Manufacturer"_s), u"Tellwick Labs"_s);
    QVERIFY2(field(out, u"Model"_s).contains(u"TW-900 Modem"_s), qPrintable(out));
    QCOMPARE(field(out, u"Firmware"_s), m_sim->revision());
    QCOMPARE(field(out, u"IMEI"_s), u"356938035643809"_s);
    QCOMPARE(field(out, u"SIM IMSI"_s), m_sim->imsi());
}

void tst_AtClient::phonebook_data() {
    QTest::addColumn<QStringList>("charsets");
    QTest::newRow("every set") << QStringList{u"GSM"_s, u"IRA"_s, u"8859-1"_s, u"UCS2"_s};
    QTest::newRow("GSM only") << QStringList{u"GSM"_s};
    QTest::newRow("8859-1 only") << QStringList{u"8859-1"_s};
    QTest::newRow("UCS2 and IRA") << QStringList{u"IRA"_s, u"UCS2"_s};
}

void tst_AtClient::phonebook() {
    NEED_GAMMU();
    QFETCH(QStringList, charsets);
    m_sim->setCharsets(charsets);
    m_sim->setPhonebook(u"SM"_s, 30, 20, 16);
    m_sim->setPhonebookEntry(u"SM"_s, 1, u"+4917100001"_s, u"Doe, John"_s);
    m_sim->setPhonebookEntry(u"SM"_s, 2, u"0171222"_s, u"J\u00F6rg M\u00FCller"_s);
    m_sim->setPhonebookEntry(u"SM"_s, 17, u"0049301234"_s, u"Ann & Bob"_s);
    m_sim->setPhonebookEntry(u"SM"_s, 30, u"112"_s, u"Last one"_s);
    m_sim->setPhonebookEntry(u"ME"_s, 1, u"999"_s, u"Only in the phone"_s);
    const QString out = gammu({u"getallmemory"_s, u"SM"_s});
    QVERIFY(!out.isEmpty());

    // One block per entry: "Memory SM, Location <n>", then its number and name.
    QMap<int, QPair<QString, QString>> got;
    const QStringList blocks = out.split(u"Memory SM, Location "_s, Qt::SkipEmptyParts);
    for (const QString& b : blocks) {
        bool ok = false;
        const int index = b.section(u'\n', 0, 0).trimmed().toInt(&ok);
        if (ok) {
            const QRegularExpression quoted(uR"re(:\s*"(.*)"\s*$)re"_s, QRegularExpression::MultilineOption);
            QRegularExpressionMatchIterator it = quoted.globalMatch(b);
            QStringList values;
            while (it.hasNext()) {
                values.append(it.next().captured(1));
            }
            QVERIFY2(values.size() == 2, qPrintable(b));
            got.insert(index, {values.at(0), values.at(1)});
        }
    }
    const auto held = m_sim->phonebook(u"SM"_s);
    QCOMPARE(got.keys(), held.keys());
    for (auto it = held.begin(); it != held.end(); ++it) {
        QCOMPARE(got.value(it.key()).first, it.value().number);
        QCOMPARE(got.value(it.key()).second, it.value().name);
    }
}

void tst_AtClient::sendSms_data() {
    QTest::addColumn<bool>("pdu");  // false: a phone that takes text mode only
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("unicode");
    const QString latin = u"Gr\u00FC\u00DFe aus K\u00F6ln: 5 \u20AC {x} [y] ~"_s;
    QTest::newRow("alphabet and escapes") << true << latin << false;
    QTest::newRow("unicode") << true
                             << u"\u0417\u0434\u0440\u0430\u0432\u0441\u0442\u0432\u0443\u0439 \u4F60\u597D"_s
                             << true;
    QTest::newRow("text mode") << false << latin << false;
}

void tst_AtClient::sendSms() {
    NEED_GAMMU();
    QFETCH(bool, pdu);
    QFETCH(QString, text);
    QFETCH(bool, unicode);
    m_sim->setPduSupported(pdu);
    QStringList args{u"sendsms"_s, u"TEXT"_s, u"+491701234567"_s, u"-text"_s, text};
    if (unicode) {
        args.append(u"-unicode"_s);
    }
    QVERIFY(!gammu(args).isEmpty());
    QCOMPARE(m_sim->submissions().size(), 1);
    if (!pdu) {
        const PhoneSimulator::Submission s = m_sim->submissions().at(0);
        QCOMPARE(s.number, u"+491701234567"_s);
        QCOMPARE(s.text, text);
        QCOMPARE(s.unfit, 0);
        return;
    }
    const SubmittedSms sent = m_sim->decodedSubmissions().at(0);
    QVERIFY2(sent.valid, qPrintable(sent.error));
    QCOMPARE(sent.number, u"+491701234567"_s);
    QCOMPARE(sent.text, text);
    QCOMPARE(sent.ucs2, unicode);
}

QTEST_GUILESS_MAIN(tst_AtClient)
#include "tst_atclient.moc"
