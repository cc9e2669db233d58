// The message viewer and editor on the message files of the four folders: what it shows,
// what Save writes, when closing asks, and how it hands back to its opener.
#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ListView.h"
#include "MessagesWindows.h"
#include "TabStrip.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmBrowse.h"
#include "frmEditMsg.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

class tst_frmEditMsg : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void captionsAndControls();
    void fill_data();
    void fill();
    void characterCounter();
    void saveWritesTextNumberAndReadMark();
    void closeAsksOnlyAfterAChange_data();
    void closeAsksOnlyAfterAChange();
    void everyUserEditCounts();
    void lineBreaksAreStoredAsBlanks();
    void vanishedFileIsNotRecreated();
    void saveOnAFullDiskSaysSoAndKeepsTheFile();
    void enteringABoxSelectsItsText();
    void openedModallyThroughTheRegistry();
    void openedByTheBrowser_data();
    void openedByTheBrowser();
    void screenshot();

private:
    QString writeMessage(const QString& folder, const QString& name, const QByteArray& content);
    frmEditMsg* open(const QString& file, int tab);
    QString value(const QString& file, const QString& key, const QString& section = u"Tellwick"_s) {
        return t->ini().readINI(section, key, file);
    }

    std::unique_ptr<TestContext> t;
    std::unique_ptr<frmEditMsg> dlg;
    int refreshes = 0;
};

namespace {

const QByteArray kIncoming =
    "[Tellwick]\nNo=+4917100001\ntext=Are we still on for Friday?\n"
    "Date=2026-12-07\nTime=14:05:09\nRead=1\n";
const QByteArray kSent =
    "[Tellwick]\nNo=+4917100001;+4917200002\nText=Server room temperature high\n"
    "Report=1\nFlash=0\nManual=0\nDate=2026-12-07\nTime=14:05:09\n"
    "[Job Result]\nDate=2026-12-08\nTime=09:30:00\n"
    "Result=OK: Message was sent to +4917200002.\n";
const QByteArray kOutgoing = "[Tellwick]\nNo=+4917100001\nText=See you at 8\nReport=0\nFlash=1\nManual=1\n";

}  // namespace

void tst_frmEditMsg::init() {
    t = std::make_unique<TestContext>();
    t->ctx().getSettings();
    refreshes = 0;
}

void tst_frmEditMsg::cleanup() {
    dlg.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
}

QString tst_frmEditMsg::writeMessage(const QString& folder, const QString& name, const QByteArray& content) {
    const QString path = folder + u'/' + name;
    t->writeFile(path, content);
    return path;
}

frmEditMsg* tst_frmEditMsg::open(const QString& file, int tab) {
    dlg = std::make_unique<frmEditMsg>(t->ctx());
    dlg->messageFile = file;
    dlg->browserTab = tab;
    dlg->refreshOpener = [this] { ++refreshes; };
    dlg->show();
    return dlg.get();
}

void tst_frmEditMsg::captionsAndControls() {
    frmEditMsg* d = open(writeMessage(t->ctx().state().inDir, u"a.sms"_s, kIncoming), 1);
    QCOMPARE(d->windowTitle(), u"Tellwick: Edit message"_s);
    QCOMPARE(d->windowIcon().cacheKey(), t->ctx().mainWindow().windowIcon().cacheKey());
    const QList<QPair<QString, QString>> texts{
        {d->Label1->text(), u"Date:"_s},
        {d->Label2->text(), u"Time:"_s},
        {d->Label3->text(), u"&No:"_s},
        {d->Label4->text(), u"&Text:"_s},
        {d->labRead->text(), u"this message is"_s},
        {d->optStatus[0]->text(), u"&read"_s},
        {d->optStatus[1]->text(), u"&unread"_s},
        {d->Frame1->title(), u"Additional information: "_s},
        {d->Label5->text(), u"Date:"_s},
        {d->Label6->text(), u"Time:"_s},
        {d->Label7->text(), u"Result:"_s},
        {d->cmdSave->text(), u"&Save"_s},
        {d->cmdClose->text(), u"&Close"_s},
        {d->txtText->toolTip(), u"edit here to change message text"_s}};
    for (const auto& [got, want] : texts) {
        QCOMPARE(got, want);
    }
    // Everything but the result frame fits in the short window.
    for (QWidget* w : {static_cast<QWidget*>(d->txtText), static_cast<QWidget*>(d->cmdClose),
                       static_cast<QWidget*>(d->optStatus[1]), static_cast<QWidget*>(d->labCharNum)}) {
        QVERIFY(w->geometry().bottom() < Twips::toPixels(frmEditMsg::kShortTwips));
    }
    QVERIFY(d->Frame1->geometry().top() >= Twips::toPixels(frmEditMsg::kShortTwips));
    QVERIFY(d->Frame1->geometry().bottom() < Twips::toPixels(frmEditMsg::kTallTwips));
}

void tst_frmEditMsg::fill_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("shown");  // date, time, number, text, result date, time, result
    QTest::addColumn<bool>("numberEditable");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("heightTwips");

    QTest::newRow("incoming, read") << 1 << kIncoming << QStringList{u"2026-12-07"_s,
                                                                     u"14:05:09"_s,
                                                                     u"+4917100001"_s,
                                                                     u"Are we still on for Friday?"_s,
                                                                     {},
                                                                     {},
                                                                     {}}
                                    << false << true << 2740;
    QTest::newRow("outgoing: no date, no result")
        << 2 << kOutgoing << QStringList{{}, {}, u"+4917100001"_s, u"See you at 8"_s, {}, {}, {}} << true
        << false << 2740;
    QTest::newRow("sent, with result") << 3 << kSent
                                       << QStringList{u"2026-12-07"_s,
                                                      u"14:05:09"_s,
                                                      u"+4917100001;+4917200002"_s,
                                                      u"Server room temperature high"_s,
                                                      u"2026-12-08"_s,
                                                      u"09:30:00"_s,
                                                      u"OK: Message was sent to +4917200002."_s}
                                       << false << false << 4335;
    // A copy as the send cycle files it: the outgoing keys and the time of sending in the
    // result, so the message's own date and time are empty and the frame shows when it went.
    QTest::newRow("sent, as filed by the send cycle")
        << 3
        << QByteArray("[Tellwick]\nNo=+4917100001\nText=See you at 8\nReport=0\nFlash=0\nManual=1\n"
                      "[Job Result]\nDate=2026-12-08\nTime=09:30:00\nResult=OK: Message was sent to +4917100001.\n")
        << QStringList{{}, {}, u"+4917100001"_s, u"See you at 8"_s, u"2026-12-08"_s, u"09:30:00"_s,
                       u"OK: Message was sent to +4917100001."_s}
        << false << false << 4335;
    // Shown as stored, whatever the format; only "1" is read.
    QTest::newRow("archive, locale date, Read=0")
        << 4 << QByteArray("[Tellwick]\nNo=123\nText=x\nDate=07.12.26\nTime=2:05 PM\nRead=0\n")
        << QStringList{u"07.12.26"_s, u"2:05 PM"_s, u"123"_s, u"x"_s, {}, {}, {}} << false << false << 2740;
    QTest::newRow("Read=yes is unread") << 1 << QByteArray("[Tellwick]\nRead=yes\n")
                                        << QStringList{{}, {}, {}, {}, {}, {}, {}} << false << false << 2740;
    QTest::newRow("result section without a result")
        << 4 << QByteArray("[Job Result]\nDate=2026-01-01\n")
        << QStringList{{}, {}, {}, {}, u"2026-01-01"_s, {}, {}} << false << false << 2740;
    QTest::newRow("missing file") << 1 << QByteArray() << QStringList{{}, {}, {}, {}, {}, {}, {}} << false
                                  << false << 2740;
}

void tst_frmEditMsg::fill() {
    QFETCH(int, tab);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, shown);
    QFETCH(bool, numberEditable);
    QFETCH(bool, read);
    QFETCH(int, heightTwips);
    const QString file = content.isEmpty() ? t->path(u"In/none.sms"_s)
                                           : writeMessage(t->ctx().state().inDir, u"m.sms"_s, content);
    frmEditMsg* d = open(file, tab);
    const QStringList got{d->labDate->text(),        d->labTime->text(),       d->txtNo->text(),
                          d->txtText->toPlainText(), d->labResultDate->text(), d->labResultTime->text(),
                          d->labResult->text()};
    QCOMPARE(got, shown);
    QCOMPARE(d->txtNo->isEnabled(), numberEditable);
    QCOMPARE(d->optStatus[0]->isChecked(), read);
    QCOMPARE(d->optStatus[1]->isChecked(), !read);
    QCOMPARE(Twips::height(d), heightTwips);
    QCOMPARE(d->height(), Twips::toPixels(heightTwips));
    QCOMPARE(d->labCharNum->text(), u"Number of characters: %1"_s.arg(shown[3].size()));
    QVERIFY(!d->messageChanged());
}

void tst_frmEditMsg::characterCounter() {
    frmEditMsg* d = open(writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing), 2);
    d->txtText->setPlainText(QString(125, u'a'));
    QCOMPARE(d->labCharNum->text(), u"Number of characters: 125"_s);
    d->txtText->setPlainText(u"ab\ncd"_s);  // a line break counts as CR and LF
    QCOMPARE(d->labCharNum->text(), u"Number of characters: 6"_s);
    d->txtText->clear();
    QCOMPARE(d->labCharNum->text(), u"Number of characters: 0"_s);
}

void tst_frmEditMsg::saveWritesTextNumberAndReadMark() {
    // Outgoing: number, text and read mark are written; other keys stay; the window stays
    // open and the opener is not refreshed.
    const QString out = writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing);
    frmEditMsg* d = open(out, 2);
    d->txtNo->setText(u"+4917999999"_s);
    d->txtText->setPlainText(u"See you at 9"_s);
    d->optStatus[0]->click();
    QVERIFY(d->messageChanged());
    QVERIFY(d->cmdSave_Click());
    QVERIFY(!d->messageChanged());
    QCOMPARE(value(out, u"No"_s), u"+4917999999"_s);
    QCOMPARE(value(out, u"Text"_s), u"See you at 9"_s);
    QCOMPARE(value(out, u"Read"_s), u"1"_s);
    QCOMPARE(value(out, u"Flash"_s), u"1"_s);
    QCOMPARE(value(out, u"Manual"_s), u"1"_s);
    QVERIFY(d->isVisible());
    QCOMPARE(refreshes, 0);
    d->optStatus[1]->click();
    d->cmdSave->click();
    QVERIFY(!t->readFile(out).contains("Read"));

    // Incoming: the number cannot be edited and is written back as it was; the key the
    // incoming writer spelled "text" is the same key.
    const QString in = writeMessage(t->ctx().state().inDir, u"i.sms"_s, kIncoming);
    d = open(in, 1);
    d->txtText->setPlainText(u"Edited"_s);
    d->optStatus[1]->click();
    d->cmdSave->click();
    QCOMPARE(value(in, u"No"_s), u"+4917100001"_s);
    QCOMPARE(value(in, u"Text"_s), u"Edited"_s);
    QCOMPARE(t->readFile(in).count("ext="), 1);
    QCOMPARE(value(in, u"Read"_s), QString());
    QCOMPARE(value(in, u"Date"_s), u"2026-12-07"_s);
}

void tst_frmEditMsg::closeAsksOnlyAfterAChange_data() {
    QTest::addColumn<QString>("change");  // what the user does first
    QTest::addColumn<int>("answer");      // 0: no question expected
    QTest::addColumn<bool>("saved");

    QTest::newRow("typed, Yes") << u"type"_s << int(MsgBox::Yes) << true;
    QTest::newRow("typed, No") << u"type"_s << int(MsgBox::No) << false;
    QTest::newRow("backspace in an empty box") << u"backspace"_s << int(MsgBox::No) << false;
    QTest::newRow("read option clicked") << u"option"_s << int(MsgBox::Yes) << true;
    QTest::newRow("typed, saved, then closed") << u"type+save"_s << 0 << true;
    QTest::newRow("nothing") << QString() << 0 << false;
    QTest::newRow("tabbed through the boxes") << u"tab"_s << 0 << false;
    QTest::newRow("typed, closed through the frame") << u"type+frame"_s << int(MsgBox::Yes) << true;
}

void tst_frmEditMsg::closeAsksOnlyAfterAChange() {
    QFETCH(QString, change);
    QFETCH(int, answer);
    QFETCH(bool, saved);
    const QString file = writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing);
    frmEditMsg* d = open(file, 2);
    if (change.startsWith(u"type"_s)) {
        d->txtText->moveCursor(QTextCursor::End);
        QTest::keyClicks(d->txtText, u"!"_s);
    } else if (change == u"backspace"_s) {
        d->txtNo->clear();
        QTest::keyClick(d->txtNo, Qt::Key_Backspace);
        QVERIFY(d->messageChanged());
    } else if (change == u"option"_s) {
        d->optStatus[0]->click();
    } else if (change == u"tab"_s) {
        QTest::keyClick(d->txtNo, Qt::Key_Tab);
        QTest::keyClick(d->txtText, Qt::Key_Tab);
        QTest::keyClick(d->txtText, Qt::Key_Backtab);
        QVERIFY(!d->messageChanged());
    }
    if (change.endsWith(u"+save"_s)) {
        d->cmdSave->click();
    }
    if (answer) {
        t->msgBox().queueAnswer(answer);
    }
    if (change.endsWith(u"+frame"_s)) {
        d->close();
    } else {
        d->cmdClose->click();
    }
    QCOMPARE(t->msgBox().shown().size(), answer ? 1 : 0);
    if (answer) {
        const MsgBox::Shown& box = t->msgBox().shown().first();
        QCOMPARE(box.text, u"Do you want to save your changes?"_s);
        QCOMPARE(box.title, u"Message has changed"_s);
        QCOMPARE(box.buttons, MsgBox::YesNo);
        QCOMPARE(box.icon, MsgBox::Question);
    }
    QVERIFY(!d->isVisible());
    // Only Yes to the closing question refreshes the opener.
    QCOMPARE(refreshes, answer == MsgBox::Yes ? 1 : 0);
    const bool changedOnDisk = t->readFile(file) != kOutgoing;
    QCOMPARE(changedOnDisk, saved);
}

void tst_frmEditMsg::everyUserEditCounts() {
    // Delete, and paste or cut through the context menu, produce no character, yet change
    // the text: closing still asks, so the edit is not lost unasked.
    const QString file = writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing);
    frmEditMsg* d = open(file, 2);
    d->txtText->moveCursor(QTextCursor::Start);
    QTest::keyClick(d->txtText, Qt::Key_Delete);
    QVERIFY(d->messageChanged());

    d = open(file, 2);
    QApplication::clipboard()->setText(u" (pasted)"_s);
    d->txtText->moveCursor(QTextCursor::End);
    d->txtText->paste();
    QVERIFY(d->messageChanged());

    d = open(file, 2);
    d->txtNo->setCursorPosition(0);
    QTest::keyClick(d->txtNo, Qt::Key_Delete);
    QVERIFY(d->messageChanged());
    t->msgBox().queueAnswer(MsgBox::Yes);
    d->cmdClose->click();
    QCOMPARE(value(file, u"No"_s), u"4917100001"_s);
}

void tst_frmEditMsg::lineBreaksAreStoredAsBlanks() {
    const QString file = writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing);
    frmEditMsg* d = open(file, 2);
    d->txtText->setPlainText(u"line one\nline two\n\nend"_s);
    d->cmdSave->click();
    QCOMPARE(value(file, u"Text"_s), u"line one line two  end"_s);
    QCOMPARE(d->txtText->toPlainText(), u"line one line two  end"_s);
    // No stray line: every other key reads as before.
    QCOMPARE(value(file, u"Report"_s), u"0"_s);
    QCOMPARE(value(file, u"Flash"_s), u"1"_s);
    QCOMPARE(t->ini().keys(u"Tellwick"_s, file).size(), 5);
    QVERIFY(!d->messageChanged());
}

void tst_frmEditMsg::vanishedFileIsNotRecreated() {
    // The send cycle sent the message while it was open: saving must not bring back a file
    // with only text and number, which the next cycle would send again.
    const QString file = writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing);
    frmEditMsg* d = open(file, 2);
    QTest::keyClicks(d->txtText, u"x"_s);
    QVERIFY(QFile::remove(file));
    QVERIFY(!d->cmdSave_Click());
    QVERIFY(!QFile::exists(file));
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().icon, MsgBox::Critical);
    QVERIFY(t->msgBox().shown().first().text.contains(file));
    QVERIFY(d->messageChanged());

    // Yes on closing: not written, the window closes and the opener's list is refreshed.
    t->msgBox().queueAnswer(MsgBox::Yes);
    d->cmdClose->click();
    QVERIFY(!QFile::exists(file));
    QVERIFY(!d->isVisible());
    QCOMPARE(refreshes, 1);
}

void tst_frmEditMsg::saveOnAFullDiskSaysSoAndKeepsTheFile() {
    const QString file = writeMessage(t->ctx().state().inDir, u"i.sms"_s, kIncoming);
    frmEditMsg* d = open(file, 0);
    QTest::keyClicks(d->txtText, u" Yes."_s);
    IniStore::setWriteFaultForTest(0);
    const bool saved = d->cmdSave_Click();
    IniStore::setWriteFaultForTest(-1);
    QVERIFY(!saved);
    QCOMPARE(t->readFile(file), kIncoming);
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().title, u"Message not saved"_s);
    QVERIFY(t->readFile(u"tellwick.log"_s).contains("No space left on device"));
    QVERIFY(d->messageChanged());  // the typed text is still there to save again
    QVERIFY(d->cmdSave_Click());
    QCOMPARE(value(file, u"text"_s), u" Yes.Are we still on for Friday?"_s);
}

void tst_frmEditMsg::enteringABoxSelectsItsText() {
    frmEditMsg* d = open(writeMessage(t->ctx().state().outDir, u"o.sms"_s, kOutgoing), 2);
    for (QWidget* box : {static_cast<QWidget*>(d->txtNo), static_cast<QWidget*>(d->txtText)}) {
        d->txtNo->deselect();
        d->txtText->moveCursor(QTextCursor::End);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(box, &in);
    }
    QTRY_COMPARE(d->txtNo->selectedText(), u"+4917100001"_s);
    QTRY_COMPARE(d->txtText->textCursor().selectedText(), u"See you at 8"_s);
    // Typing replaces the selected number.
    QTest::keyClicks(d->txtNo, u"+1"_s);
    QCOMPARE(d->txtNo->text(), u"+1"_s);
}

void tst_frmEditMsg::openedModallyThroughTheRegistry() {
    registerMessagesWindows(t->ctx().windows());
    const QString file = writeMessage(t->ctx().state().sentDir, u"s.sms"_s, kSent);
    int seenTab = 0;
    int seenHeight = 0;
    QObject guard;  // the connection ends with this function
    QTimer::singleShot(0, &guard, [&] {
        auto* d = qobject_cast<frmEditMsg*>(QApplication::activeModalWidget());
        QVERIFY(d);
        seenTab = d->browserTab;
        seenHeight = Twips::height(d);
        d->optStatus[0]->click();
        t->msgBox().queueAnswer(MsgBox::Yes);
        d->cmdClose->click();
    });
    frmEditMsg::openModal(t->ctx(), file, 3, [this] { ++refreshes; });
    QCOMPARE(seenTab, 3);
    QCOMPARE(seenHeight, 4335);
    QCOMPARE(refreshes, 1);
    QCOMPARE(value(file, u"Read"_s), u"1"_s);
    QVERIFY(!t->ctx().windows().isLoaded(u"frmEditMsg"_s));
}

void tst_frmEditMsg::openedByTheBrowser_data() {
    QTest::addColumn<int>("tab");
    QTest::newRow("outgoing") << 2;
    QTest::newRow("sent") << 3;
}

void tst_frmEditMsg::openedByTheBrowser() {
    // The browser sets only the file: the tab and the refresh are the browser's own.
    QFETCH(int, tab);
    registerMessagesWindows(t->ctx().windows());
    const QString folder = tab == 2 ? t->ctx().state().outDir : t->ctx().state().sentDir;
    const QString file = writeMessage(folder, u"m.sms"_s, tab == 2 ? kOutgoing : kSent);
    auto* browser = t->ctx().windows().get<frmBrowse>(u"frmBrowse"_s);
    QVERIFY(browser);
    browser->show();
    browser->tubby->setSelectedIndex(tab);
    browser->Tubby_Click();
    ListItem* line = browser->LstMsg2->findItemByTag(u"m.sms"_s);
    QVERIFY(line);
    browser->LstMsg2->setCurrentItem(line);
    line->setSelected(true);
    browser->LstMsg2_Click();
    bool numberEditable = false;
    QObject guard;  // the connection ends with this function
    QTimer::singleShot(0, &guard, [&] {
        auto* d = qobject_cast<frmEditMsg*>(QApplication::activeModalWidget());
        QVERIFY(d);
        numberEditable = d->txtNo->isEnabled();
        d->txtText->selectAll();
        QTest::keyClicks(d->txtText, u"Changed in the editor"_s);
        t->msgBox().queueAnswer(MsgBox::Yes);
        d->cmdClose->click();
    });
    browser->cmdEdit_Click();
    QCOMPARE(numberEditable, tab == 2);
    QCOMPARE(value(file, u"Text"_s), u"Changed in the editor"_s);
    line = browser->LstMsg2->findItemByTag(u"m.sms"_s);
    QVERIFY(line);
    QCOMPARE(tab == 2 ? line->subItem(1) : line->subItem(2), u"Changed in the editor"_s);
    t->ctx().windows().unloadAll();
}

void tst_frmEditMsg::screenshot() {
    frmEditMsg* d = open(writeMessage(t->ctx().state().sentDir, u"s.sms"_s, kSent), 3);
    const QPixmap shot = d->grab();
    QCOMPARE(shot.height(), Twips::toPixels(4335));
    shot.save(u"/tmp/b_viewer.png"_s);
}

QTEST_MAIN(tst_frmEditMsg)
#include "tst_frmeditmsg.moc"
