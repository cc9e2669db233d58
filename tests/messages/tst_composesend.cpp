// Sending from the compose dialog through a simulated phone: files written per recipient,
// sent at once or saved, the result lines and box, the transaction log and the failures.
#include <QtTest>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "IniStore.h"
#include "MessageFiles.h"
#include "MessagesWindows.h"
#include "ModalWatcher.h"
#include "PhoneSimulator.h"
#include "TestContext.h"
#include "TextCounter.h"
#include "frmMain.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

namespace {

const QString kA = u"+4917100001"_s;
const QString kB = u"+4917200002"_s;

QString sentLine(const QString& number, int k, const QString& outcome) {
    return u"SMS to %1 (%2) %3\r\n"_s.arg(number).arg(k).arg(outcome);
}

// Types text key by key, as a keyboard does (a character outside Latin-1 included).
void typeKeys(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = text.at(i).isHighSurrogate() ? 2 : 1;
        const QString key = text.mid(i, len);
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, key, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, key, Qt::NoModifier);
        i += len - 1;
    }
}

}  // namespace

class tst_ComposeSend : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void setUpFollowsThePhone();
    void twoRecipientsSentOneAfterTheOther();
    void splitTextWithOneFailingPart();
    void recipientThatIsNoNumberFails_data();
    void recipientThatIsNoNumberFails();
    void threePartsSavedInPathOrder();
    void counterEqualsFilesWritten_data();
    void counterEqualsFilesWritten();
    void counterEqualsSmsReceived_data();
    void counterEqualsSmsReceived();
    void fileOfAnotherProgramGoesWhole_data();
    void fileOfAnotherProgramGoesWhole();
    void saveOnlySendsAndLogsNothing();
    void phoneGoneAfterOpening();
    void noResultBoxWhenUnchecked();
    void accentsReplacedInFilesButLoggedAsTyped();
    void boxEndingInSemicolon();
    void unwritableFileIsReportedFailed();
    void typedMessageArrivesWithNumberTextAndFlags();
    void openedByTheBrowserOrAddressBook();

private:
    bool startPhone();
    frmSendSMS* open();
    QStringList outFiles() const;
    QString log() const;
    void failFromSubmission(int n);

    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;
    std::unique_ptr<frmSendSMS> dlg;
};

void tst_ComposeSend::init() {
    t = std::make_unique<TestContext>();
    sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(sim->start(), qPrintable(sim->errorString()));
}

void tst_ComposeSend::cleanup() {
    dlg.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
    sim.reset();
}

bool tst_ComposeSend::startPhone() {
    if (!t->ctx().phone().openPort(sim->devicePath(), 115200) || !t->ctx().phone().startDevice()) {
        return false;
    }
    t->ctx().getSettings();
    t->ctx().mainWindow().showStatus({});
    return true;
}

frmSendSMS* tst_ComposeSend::open() {
    if (t->ctx().state().outDir.isEmpty()) {
        t->ctx().getSettings();
    }
    dlg = std::make_unique<frmSendSMS>(t->ctx());
    dlg->show();
    return dlg.get();
}

QStringList tst_ComposeSend::outFiles() const {
    return QDir(t->ctx().state().outDir).entryList({u"*.sms"_s}, QDir::Files, QDir::Name);
}

QString tst_ComposeSend::log() const {
    return QString::fromUtf8(t->readFile(u"tellwick.log"_s));
}

// The n-th message body and every later one get an error answer from the phone.
void tst_ComposeSend::failFromSubmission(int n) {
    auto count = std::make_shared<int>(0);
    connect(sim.get(), &PhoneSimulator::commandReceived, this, [this, n, count](const QString& command) {
        if (command.startsWith(u"AT+CMGS"_s, Qt::CaseInsensitive) && ++*count == n) {
            sim->setSubmitAnswer(u"+CMS ERROR: 500"_s);
        }
    });
}

void tst_ComposeSend::setUpFollowsThePhone() {
    // A phone that answers but was never identified: save only all the same.
    QVERIFY(t->ctx().phone().openPort(sim->devicePath(), 115200));
    t->ctx().getSettings();
    t->ctx().mainWindow().showStatus({});
    QCOMPARE(t->ctx().mainWindow().panelText(u"Device"_s), u"no mobile device found"_s);
    frmSendSMS* d = open();
    QVERIFY(d->chkSaveOnly->isChecked());
    QVERIFY(!d->chkSaveOnly->isEnabled());
    QVERIFY(sim->commands().contains(u"AT"_s));
    dlg.reset();
    // Identified and answering: sending is the default.
    QVERIFY(t->ctx().phone().startDevice());
    t->ctx().mainWindow().showStatus({});
    d = open();
    QVERIFY(!d->chkSaveOnly->isChecked());
    QVERIFY(d->chkSaveOnly->isEnabled());
    QCOMPARE(d->cmdSendSMS->text(), u"&Send SMS"_s);
}

void tst_ComposeSend::twoRecipientsSentOneAfterTheOther() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    // An outgoing folder whose name holds a comma: each file is still sent as one.
    QVERIFY(QDir(t->folder()).mkdir(u"Out, manual"_s));
    t->ctx().state().outDir = t->path(u"Out, manual"_s);
    frmSendSMS* d = open();
    QTest::keyClicks(d->txtPhoneNo, kA + u";"_s + kB);
    QTest::keyClicks(d->Text1, u"Hello there"_s);

    // While the phone is waited for, both buttons stay off and the dialog cannot be closed.
    struct During {
        bool sendEnabled = true;
        bool closeEnabled = true;
        QString status;
        bool visibleAfterClose = false;
    };
    QList<During> during;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& command) {
        if (!command.startsWith(u"AT+CMGS"_s, Qt::CaseInsensitive)) {
            return;
        }
        During now{d->cmdSendSMS->isEnabled(), d->cmdClose->isEnabled(),
                   t->ctx().mainWindow().panelText(u"Status"_s), false};
        d->reject();
        d->txtPhoneNo->setText(d->txtPhoneNo->text() + u" "_s);
        now.visibleAfterClose = d->isVisible();
        now.sendEnabled = now.sendEnabled || d->cmdSendSMS->isEnabled();
        during << now;
    });
    d->cmdSendSMS->click();

    const QList<SubmittedSms> sent = sim->decodedSubmissions();
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent[0].number, kA);
    QCOMPARE(sent[1].number, kB);
    QCOMPARE(sent[0].text, u"Hello there"_s);
    QCOMPARE(during.size(), 2);
    for (const During& now : during) {
        QVERIFY(!now.sendEnabled);
        QVERIFY(!now.closeEnabled);
        QCOMPARE(now.status, u"sending SMS..."_s);
        QVERIFY(now.visibleAfterClose);
    }
    QCOMPARE(t->msgBox().shown().size(), 1);
    const MsgBox::Shown box = t->msgBox().shown().first();
    QCOMPARE(box.text, u"Result:\r\n\r\n"_s + sentLine(kA, 1, u"sent successfully"_s) +
                           sentLine(kB, 1, u"sent successfully"_s));
    QCOMPARE(box.title, u"Tellwick"_s);
    QCOMPARE(box.icon, MsgBox::Information);
    QCOMPARE(box.buttons, MsgBox::OKOnly);
    // Sent files leave the outgoing folder; the status is back to idle; the dialog is gone.
    QVERIFY(outFiles().isEmpty());
    QCOMPARE(t->ctx().mainWindow().panelText(u"Status"_s), u"Idle..."_s);
    QVERIFY(!d->isVisible());
}

void tst_ComposeSend::splitTextWithOneFailingPart() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    t->ini().writeINI(u"Settings"_s, u"LogSMS"_s, u"1"_s);
    t->ctx().getSettings();
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(kA + u";"_s + kB);
    d->chkAutosplit->click();
    d->chkSRR->click();
    const QString text = QString(200, u'm');
    d->Text1->setPlainText(text);
    QCOMPARE(d->labMsgText->text(), u"&Message text (200 characters, 2 messages):"_s);
    failFromSubmission(4);  // the second part for B
    d->cmdSendSMS->click();

    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().text,
             u"Result:\r\n\r\n"_s + sentLine(kA, 1, u"sent successfully"_s) +
                 sentLine(kA, 2, u"sent successfully"_s) + sentLine(kB, 1, u"sent successfully"_s) +
                 sentLine(kB, 2, u"failed"_s) +
                 u"\r\nA delivery confirmation was\r\nrequested for each message."_s);
    // Files go out in the order of the paths written: the last part first.
    const QList<SubmittedSms> sent = sim->decodedSubmissions();
    QCOMPARE(sent.size(), 3);
    const QStringList prefixes{u"2/2:"_s, u"1/2:"_s, u"2/2:"_s};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(sent[i].text.startsWith(prefixes[i]), qPrintable(sent[i].text));
        QVERIFY(sent[i].statusReport);
    }
    // One log line per file, from the dialog, with the text as typed.
    const QString log = this->log();
    QCOMPARE(log.count(u"/MANUAL/%1: '%2' was sent successfully."_s.arg(kA, text)), 2);
    QCOMPARE(log.count(u"/MANUAL/%1: '%2' was sent successfully."_s.arg(kB, text)), 1);
    QCOMPARE(log.count(u"/MANUAL/%1: '%2' was NOT sent."_s.arg(kB, text)), 1);
}

void tst_ComposeSend::recipientThatIsNoNumberFails_data() {
    QTest::addColumn<QString>("recipient");
    QTest::newRow("a name holding OK") << u"BROOKE"_s;
    QTest::newRow("a name ending in a digit") << u"Mum2"_s;
    QTest::newRow("letters inside a number") << u"+49170ABC123"_s;
}

// A recipient that is no number is refused before the phone is asked: listed as failed,
// logged as not sent and filed with its error, never dialled as what is left of it.
void tst_ComposeSend::recipientThatIsNoNumberFails() {
    QFETCH(QString, recipient);
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    t->ini().writeINI(u"Settings"_s, u"LogSMS"_s, u"1"_s);
    t->ctx().getSettings();
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(recipient);
    QTest::keyClicks(d->Text1, u"Hi"_s);
    d->cmdSendSMS->click();
    QCOMPARE(sim->submissions().size(), 0);
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().text, u"Result:\r\n\r\n"_s + sentLine(recipient, 1, u"failed"_s));
    QVERIFY2(log().contains(recipient + u": 'Hi' was NOT sent."_s), qPrintable(log()));
    const QString sentDir = t->ctx().state().sentDir;
    const QStringList filed = QDir(sentDir).entryList({u"*.sms"_s}, QDir::Files);
    QCOMPARE(filed.size(), 1);
    QCOMPARE(t->ini().readINI(u"Job Result"_s, u"Result"_s, sentDir + u'/' + filed.first()),
             u"ERROR ERROR: invalid number '%1'"_s.arg(recipient));
}

void tst_ComposeSend::threePartsSavedInPathOrder() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    frmSendSMS* d = open();
    d->chkSaveOnly->click();
    d->chkAutosplit->click();
    d->chkFlash->click();
    d->txtPhoneNo->setText(kA);
    d->Text1->setPlainText(QString(400, u't'));
    QCOMPARE(d->labMsgText->text(), u"&Message text (400 characters, 3 messages):"_s);
    d->cmdSendSMS->click();

    QCOMPARE(t->msgBox().shown().first().text, u"Result:\r\n\r\n"_s + sentLine(kA, 1, u"saved"_s) +
                                                   sentLine(kA, 2, u"saved"_s) + sentLine(kA, 3, u"saved"_s));
    const QStringList files = outFiles();
    QCOMPARE(files.size(), 3);
    for (const QString& name : files) {
        const QString path = t->ctx().state().outDir + u'/' + name;
        QCOMPARE(t->ini().readINI(u"Tellwick"_s, u"No"_s, path), kA);
        QCOMPARE(t->ini().readINI(u"Tellwick"_s, u"Flash"_s, path), u"1"_s);
        QCOMPARE(t->ini().readINI(u"Tellwick"_s, u"Report"_s, path), u"0"_s);
        QCOMPARE(t->ini().readINI(u"Tellwick"_s, u"Manual"_s, path), u"1"_s);
    }
    QVERIFY(sim->submissions().isEmpty());
}

void tst_ComposeSend::counterEqualsFilesWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("footer");
    QTest::newRow("160") << QString(160, u'a') << QString();
    QTest::newRow("161") << QString(161, u'a') << QString();
    QTest::newRow("two full parts") << QString(312, u'a') << QString();
    QTest::newRow("313") << QString(313, u'a') << QString();
    QTest::newRow("nine parts") << QString(1404, u'a') << QString();
    QTest::newRow("ten parts") << QString(1405, u'a') << QString();
    QTest::newRow("line breaks") << QString(80, u'a') + u"\n"_s + QString(79, u'b') << QString();
    QTest::newRow("line breaks over") << QString(80, u'a') + u"\n\n"_s + QString(79, u'b') << QString();
    QTest::newRow("emoji") << QString(150, u'a') +
                                  u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"_s
                           << QString();
    QTest::newRow("footer") << QString(150, u'a') << u" -- sent by Tellwick"_s;
}

void tst_ComposeSend::counterEqualsFilesWritten() {
    QFETCH(QString, text);
    QFETCH(QString, footer);
    if (!footer.isEmpty()) {
        t->ini().writeINI(u"Settings"_s, u"Footer"_s, footer);
    }
    t->ctx().getSettings();
    frmSendSMS* d = open();
    d->chkAutosplit->click();
    d->txtPhoneNo->setText(kA);
    d->Text1->setPlainText(text);
    static const QRegularExpression count(u", (\\d+) messages?\\):$"_s);
    const QRegularExpressionMatch m = count.match(d->labMsgText->text());
    QVERIFY2(m.hasMatch(), qPrintable(d->labMsgText->text()));
    d->cmdSendSMS->click();  // no phone: saved
    QCOMPARE(int(outFiles().size()), m.captured(1).toInt());
}

void tst_ComposeSend::counterEqualsSmsReceived_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("autoSplit");
    QTest::addColumn<bool>("typed");  // key by key; otherwise pasted (a question answered No)
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("footer");
    QTest::addColumn<int>("kept");      // characters the box keeps, -1 all
    QTest::addColumn<int>("messages");  // SMS the phone gets
    const QString a(1600, u'a');
    const QString zhe = u"\u0436"_s.repeated(1600);  // Cyrillic: the text goes out in UCS2
    const QString euro = u"\u20AC"_s;
    const QString escapes = u"[]{}~^|\\"_s;  // two septets each
    const QString maker = u"SIEMENS"_s;
    const auto row = [&](const char* name, const QString& text, bool split, bool typed, int kept,
                         int messages) {
        QTest::newRow(name) << text << split << typed << maker << QString() << kept << messages;
    };
    row("gsm 159", a.left(159), false, true, -1, 1);
    row("gsm 160", a.left(160), false, true, -1, 1);
    row("gsm 161: the last key is refused", a.left(161), false, true, 160, 1);
    row("gsm 160 split", a.left(160), true, false, -1, 1);
    row("gsm 161 split", a.left(161), true, false, -1, 2);
    row("euro as the 160th septet", a.left(158) + euro, false, true, -1, 1);
    row("euro past the 160th septet: refused", a.left(159) + euro, false, true, 159, 1);
    row("euro past the 160th septet, split", a.left(159) + euro, true, false, -1, 2);
    row("escapes fill one message", a.left(144) + escapes, false, true, -1, 1);
    row("escapes one septet over, split", a.left(145) + escapes, true, false, -1, 2);
    row("escape pasted past the limit", a.left(159) + u"]"_s, false, false, 159, 1);
    row("accent replaced before counting", a.left(159) + u"\u00E1"_s, false, true, -1, 1);
    row("ucs2 70", zhe.left(70), false, true, -1, 1);
    row("ucs2 71: the last key is refused", zhe.left(71), false, true, 70, 1);
    row("ucs2 71 split", zhe.left(71), true, false, -1, 2);
    row("ucs2 140 pasted", zhe.left(140), false, false, 70, 1);
    row("ucs2 140 split", zhe.left(140), true, false, -1, 3);
    row("ucs2 141 split", zhe.left(141), true, false, -1, 3);
    row("ucs2 letter after 70 gsm letters: refused", a.left(70) + zhe.left(1), false, true, 70, 1);
    row("tab, emoji, Cyrillic, Chinese, euro", u"tab\there \U0001F600 \u0416\u4E2D \u20AC [x]"_s, false,
        false, -1, 1);
    row("emoji across a part's end", a.left(68) + u"\U0001F600"_s + a.left(3), true, false, -1, 2);
    row("1600 gsm split", a, true, false, -1, 11);
    row("1600 gsm pasted", a, false, false, 160, 1);
    row("1600 ucs2 split", zhe, true, false, -1, 25);
    row("1600 ucs2 pasted", zhe, false, false, 70, 1);
    row("1600 with a ucs2 letter last, split", a.left(1599) + zhe.left(1), true, false, -1, 25);
    row("1600 with a ucs2 letter last, pasted", a.left(1599) + zhe.left(1), false, false, 160, 1);
    QTest::newRow("nokia 160: the last key is refused")
        << a.left(160) << false << true << u"Nokia"_s << QString() << 159 << 1;
    QTest::newRow("nokia 160 split") << a.left(160) << true << false << u"Nokia"_s << QString() << -1 << 2;
    QTest::newRow("footer with an escape") << a.left(154) << false << true << maker << u" {TW}"_s << 153 << 1;
    QTest::newRow("footer on ucs2 parts") << zhe.left(200) << true << false << maker << u" {TW}"_s << -1 << 4;
    QTest::newRow("longest footer on ucs2 parts")
        << zhe.left(100) << true << false << maker << QString(52, u'F') << -1 << 8;
}

void tst_ComposeSend::counterEqualsSmsReceived() {
    QFETCH(QString, text);
    QFETCH(bool, autoSplit);
    QFETCH(bool, typed);
    QFETCH(QString, maker);
    QFETCH(QString, footer);
    QFETCH(int, kept);
    QFETCH(int, messages);
    if (!footer.isEmpty()) {
        t->ini().writeINI(u"Settings"_s, u"Footer"_s, footer);
    }
    sim->setIdentity(maker, u"M1"_s, u"350000000000001"_s);
    QVERIFY(startPhone());
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(kA);
    if (autoSplit) {
        d->chkAutosplit->click();
    }
    d->Text1->setFocus();
    const int beeps = t->ctx().prompts().beeper.count();
    if (typed) {
        typeKeys(d->Text1, text);
        QCOMPARE(t->ctx().prompts().beeper.count() > beeps, kept >= 0);
    } else {
        if (kept >= 0) {
            t->msgBox().queueAnswer(MsgBox::No);
        }
        d->Text1->insertPlainText(text);
    }
    const QString box = kept < 0 ? text : text.left(kept);
    QCOMPARE(d->Text1->toPlainText(), box);

    static const QRegularExpression splitCount(u", (\\d+) messages?\\):$"_s);
    static const QRegularExpression left(u"\\((-?\\d+) characters left\\):$"_s);
    const QString caption = d->labMsgText->text();
    const QRegularExpressionMatch m = (autoSplit ? splitCount : left).match(caption);
    QVERIFY2(m.hasMatch(), qPrintable(caption));
    if (!autoSplit) {
        QVERIFY2(m.captured(1).toInt() >= 0, qPrintable(caption));
    }
    const int counted = autoSplit ? m.captured(1).toInt() : 1;
    QCOMPARE(counted, messages);

    sim->clearRecords();
    d->cmdSendSMS->click();
    QCOMPARE(int(sim->commands()
                     .filter(QRegularExpression(u"^AT\\+CMGS"_s, QRegularExpression::CaseInsensitiveOption))
                     .size()),
             counted);

    // The parts put together again, without their "i/n:" prefixes and the footer.
    static const QRegularExpression prefix(u"^(\\d+)/(\\d+):"_s);
    QMap<int, QString> parts;
    for (const SubmittedSms& sms : sim->decodedSubmissions()) {
        QVERIFY2(sms.valid, qPrintable(sms.error));
        QVERIFY2(sms.text.endsWith(footer), qPrintable(sms.text));
        QString body = sms.text.chopped(footer.size());
        int part = 1;
        if (counted > 1) {
            const QRegularExpressionMatch p = prefix.match(body);
            QVERIFY2(p.hasMatch(), qPrintable(body));
            QCOMPARE(p.captured(2).toInt(), counted);
            part = p.captured(1).toInt();
            body = body.mid(p.capturedLength());
        }
        parts.insert(part, body);
    }
    QCOMPARE(int(parts.size()), counted);
    QCOMPARE(QStringList(parts.values()).join(QString()), TextCounter::replaceAccents(box));
}

void tst_ComposeSend::fileOfAnotherProgramGoesWhole_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("messages");
    QTest::newRow("gsm") << QString(400, u'g') << 3;          // 153 septets a part
    QTest::newRow("ucs2") << u"\u0436"_s.repeated(400) << 6;  // 67 units a part
    QTest::newRow("fits one") << u"\u0436"_s.repeated(70) << 1;
}

void tst_ComposeSend::fileOfAnotherProgramGoesWhole() {
    QFETCH(QString, text);
    QFETCH(int, messages);
    QVERIFY(startPhone());
    // Written by another program: no parts, one text longer than one SMS.
    const QString path = t->ctx().state().outDir + u"/other.sms"_s;
    QVERIFY(t->ini().writeINIValues(u"Tellwick"_s, {{u"No"_s, kA}, {u"Text"_s, text}}, path));
    QVERIFY(MessageFiles::sendSMSFile(t->ctx(), path).startsWith(u"OK"_s));
    const QList<SubmittedSms> sent = sim->decodedSubmissions();
    QCOMPARE(int(sent.size()), messages);
    QString joined;
    for (const SubmittedSms& sms : sent) {
        QCOMPARE(sms.concatTotal, messages > 1 ? messages : 0);
        joined += sms.text;
    }
    QCOMPARE(joined, text);
}

void tst_ComposeSend::saveOnlySendsAndLogsNothing() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"LogSMS"_s, u"1"_s);
    t->ctx().getSettings();
    frmSendSMS* d = open();
    d->chkSaveOnly->click();
    QCOMPARE(d->cmdSendSMS->text(), u"&Save SMS"_s);
    d->txtPhoneNo->setText(kA + u";"_s + kB);
    d->Text1->setPlainText(u"later"_s);
    sim->clearRecords();
    d->cmdSendSMS->click();
    QCOMPARE(outFiles().size(), 2);
    QVERIFY(sim->submissions().isEmpty());
    QVERIFY(!sim->commands().join(u'|').contains(u"CMGS"_s, Qt::CaseInsensitive));
    QVERIFY(!log().contains(u"MANUAL"_s));
    QVERIFY(t->msgBox().shown().isEmpty());  // the result box is off by default
}

void tst_ComposeSend::phoneGoneAfterOpening() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    frmSendSMS* d = open();
    QVERIFY(!d->chkSaveOnly->isChecked());
    d->txtPhoneNo->setText(kA);
    d->Text1->setPlainText(u"are you there?"_s);
    sim->disappear();
    d->cmdSendSMS->click();
    QVERIFY(d->chkSaveOnly->isChecked());
    QCOMPARE(d->cmdSendSMS->text(), u"&Save SMS"_s);
    QCOMPARE(
        t->msgBox().shown().first().text,
        u"Result:\r\n\r\nCan't send SMS, mobile device not found!\r\n\r\n"_s + sentLine(kA, 1, u"saved"_s));
    QCOMPARE(outFiles().size(), 1);
}

void tst_ComposeSend::noResultBoxWhenUnchecked() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"LogSMS"_s, u"1"_s);
    t->ctx().getSettings();
    sim->setSubmitAnswer(u"+CMS ERROR: 500"_s);
    frmSendSMS* d = open();
    QVERIFY(!d->Check1->isChecked());
    d->txtPhoneNo->setText(kA + u";"_s + kB);
    d->Text1->setPlainText(u"nobody gets this"_s);
    d->cmdSendSMS->click();
    QVERIFY(t->msgBox().shown().isEmpty());
    QCOMPARE(log().count(u"/MANUAL/"_s), 2);
    QCOMPARE(log().count(u"/MANUAL/%1: 'nobody gets this' was NOT sent.\n"_s.arg(kA)), 1);
}

void tst_ComposeSend::accentsReplacedInFilesButLoggedAsTyped() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"LogSMS"_s, u"1"_s);
    t->ctx().getSettings();
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(kA);
    d->Text1->setPlainText(u"á, ê and é"_s);
    d->cmdSendSMS->click();
    QCOMPARE(sim->decodedSubmissions().size(), 1);
    QCOMPARE(sim->decodedSubmissions().first().text, u"a, e and é"_s);
    QVERIFY(log().contains(u"/MANUAL/%1: 'á, ê and é' was sent successfully."_s.arg(kA)));

    // Saved, the file holds the replaced text.
    d = open();
    d->chkSaveOnly->click();
    d->txtPhoneNo->setText(kA);
    d->Text1->setPlainText(u"Ôla Ú á, ê and é"_s);
    d->cmdSendSMS->click();
    QCOMPARE(outFiles().size(), 1);
    QCOMPARE(t->ini().readINI(u"Tellwick"_s, u"Text"_s, t->ctx().state().outDir + u'/' + outFiles().first()),
             u"Ola U a, e and é"_s);
}

void tst_ComposeSend::boxEndingInSemicolon() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(kA + u";"_s);
    d->Text1->setPlainText(u"x"_s);
    d->cmdSendSMS->click();
    // The empty field gets its own file, which the send reports as having no recipient.
    QCOMPARE(
        t->msgBox().shown().first().text,
        u"Result:\r\n\r\n"_s + sentLine(kA, 1, u"sent successfully"_s) + sentLine(QString(), 1, u"failed"_s));
    QCOMPARE(sim->decodedSubmissions().size(), 1);

    // Only blanks and ";": every field is handled, nothing crashes.
    d = open();
    d->chkSaveOnly->click();
    d->txtPhoneNo->setText(u" ; ;"_s);
    d->Text1->setPlainText(u"x"_s);
    t->msgBox().clearShown();
    d->cmdSendSMS->click();
    QCOMPARE(t->msgBox().shown().first().text,
             u"Result:\r\n\r\n"_s + sentLine(QString(), 1, u"saved"_s).repeated(3));
}

void tst_ComposeSend::unwritableFileIsReportedFailed() {
    t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, u"1"_s);
    t->ctx().getSettings();
    t->writeFile(u"not-a-folder"_s, "x");
    frmSendSMS* d = open();
    t->ctx().state().outDir = t->path(u"not-a-folder"_s);
    d->txtPhoneNo->setText(kA + u";"_s + kB);
    d->Text1->setPlainText(u"lost?"_s);
    d->cmdSendSMS->click();
    // Nothing could be written: each recipient says so instead of vanishing from the result.
    QCOMPARE(t->msgBox().shown().first().text,
             u"Result:\r\n\r\nCan't send SMS, mobile device not found!\r\n\r\n"_s +
                 sentLine(kA, 1, u"failed"_s) + sentLine(kB, 1, u"failed"_s));
}

void tst_ComposeSend::typedMessageArrivesWithNumberTextAndFlags() {
    QVERIFY(startPhone());
    frmSendSMS* d = open();
    d->activateWindow();
    QTRY_VERIFY(d->isActiveWindow());
    d->txtPhoneNo->setFocus();
    QTest::keyClicks(d->txtPhoneNo, u"+4915712345678"_s);
    QTest::keyClicks(d->Text1, u"Hi Bob, 5 pm at the station?"_s);
    QTest::keyClick(d->Text1, Qt::Key_Return);
    QTest::keyClicks(d->Text1, u"Ann"_s);
    // Access keys click their buttons a moment later, as a pressed button shows.
    QTest::keyClick(d, Qt::Key_F, Qt::AltModifier);  // send as &Flash-SMS
    QTRY_VERIFY(d->chkFlash->isChecked());
    QTest::keyClick(d, Qt::Key_R, Qt::AltModifier);  // &request delivery confirmation
    QTRY_VERIFY(d->chkSRR->isChecked());
    QTest::keyClick(d, Qt::Key_S, Qt::AltModifier);  // &Send SMS
    QTRY_COMPARE(sim->decodedSubmissions().size(), 1);
    const SubmittedSms sms = sim->decodedSubmissions().first();
    QCOMPARE(sms.number, u"+4915712345678"_s);
    // A line break goes out as one blank.
    QCOMPARE(sms.text, u"Hi Bob, 5 pm at the station? Ann"_s);
    QVERIFY(sms.flash);
    QVERIFY(sms.statusReport);
}

void tst_ComposeSend::openedByTheBrowserOrAddressBook() {
    registerMessagesWindows(t->ctx().windows());
    t->ctx().getSettings();
    frmMain& main = t->ctx().mainWindow();
    struct Seen {
        QString caption;
        QString phoneNo;
        QString text;
        bool timersOff = false;
    };
    // Looks at the dialog once it is up in its modal loop, then closes it.
    ModalWatcher modal;
    const auto whenUp = [&](Seen& seen) {
        modal.whenModal(t->ctx().windows(), u"frmSendSMS"_s, [&](QWidget* w) {
            auto* d = static_cast<frmSendSMS*>(w);
            seen = {d->windowTitle(), d->txtPhoneNo->text(), d->Text1->toPlainText(), main.timersDisabled()};
            d->cmdClose->click();
        });
    };

    // The main window's command: timers off while it is open.
    Seen fromMain;
    whenUp(fromMain);
    main.mnuSendSMS_Click();
    QCOMPARE(fromMain.caption, u"Tellwick: Send SMS message"_s);
    QVERIFY(fromMain.timersOff);
    QVERIFY(!main.timersDisabled());
    QVERIFY(!t->ctx().windows().isLoaded(u"frmSendSMS"_s));

    // A reply: caption, recipient and text preset before it shows.
    Seen reply;
    whenUp(reply);
    frmSendSMS::openModal(t->ctx(), u"Tellwick: Reply to SMS message"_s, kA, u"> earlier text"_s);
    QCOMPARE(reply.caption, u"Tellwick: Reply to SMS message"_s);
    QCOMPARE(reply.phoneNo, kA);
    QCOMPARE(reply.text, u"> earlier text"_s);
    QVERIFY(reply.timersOff);
    QVERIFY(!main.timersDisabled());
    // Closed means unloaded: the next opening starts from the set-up again.
    QVERIFY(!t->ctx().windows().isLoaded(u"frmSendSMS"_s));
    QVERIFY(outFiles().isEmpty());
}

QTEST_MAIN(tst_ComposeSend)
#include "tst_composesend.moc"
