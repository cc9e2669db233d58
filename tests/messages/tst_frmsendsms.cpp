// The compose dialog as a person fills it: set-up, options, the address panel, name
// completion in the recipient box and the message text with its counter and questions.
#include <QtTest>

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ListView.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmMain.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

class tst_frmSendSMS : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void setUpWithoutPhone();
    void showResultFlag();
    void saveOnlyAndAutosplitOptions();
    void addressListSetUp();
    void addressPanelToggles();
    void headerClicksFlipTheOrder();
    void completionProposesAndEnterTurnsItIntoANumber();
    void numbersNeverCompleteAndCommasBecomeSemicolons();
    void nameHoldingASemicolonBecomesOneNumber_data();
    void nameHoldingASemicolonBecomesOneNumber();
    void backspaceOverAProposal();
    void completionWithoutAddressBook();
    void doubleClickAndEnterAppendANumber();
    void focusSelectsTheWholeText();
    void sendButtonFollowsBothBoxes();
    void typingStopsAtTheLimit();
    void overlongPasteAsksForAutosplit();
    void overlongPresetAsksBeforeShowing();
    void uncheckingAutosplitWithALongText();
    void counterWithLineBreaksAndEmoji();
    void rendersWithPanelOpenAndClosed();

private:
    frmSendSMS* open();
    void addNames(const QList<QPair<QString, QString>>& rows);
    QStringList column(int c) const;

    std::unique_ptr<TestContext> t;
    std::unique_ptr<frmSendSMS> dlg;
};

void tst_frmSendSMS::init() {
    t = std::make_unique<TestContext>();
    t->ctx().getSettings();
    // The sort images and the icon come from the main window.
    QVERIFY(!t->ctx().mainWindow().lstImages.icon(u"Asc"_s).isNull());
    QVERIFY(!t->ctx().mainWindow().lstImages.icon(u"Desc"_s).isNull());
}

void tst_frmSendSMS::cleanup() {
    dlg.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
}

frmSendSMS* tst_frmSendSMS::open() {
    dlg = std::make_unique<frmSendSMS>(t->ctx());
    dlg->show();
    return dlg.get();
}

void tst_frmSendSMS::addNames(const QList<QPair<QString, QString>>& rows) {
    for (const auto& [name, number] : rows) {
        t->ini().writeINI(u"Addressbook"_s, name, number);
    }
}

QStringList tst_frmSendSMS::column(int c) const {
    QStringList out;
    for (int i = 1; i <= dlg->lstNames->count(); ++i) {
        ListItem* item = dlg->lstNames->item(i);
        out << (c == 0 ? item->text() : item->subItem(c));
    }
    return out;
}

void tst_frmSendSMS::setUpWithoutPhone() {
    t->ctx().state().maxTextLen = 150;
    frmSendSMS* d = open();
    QCOMPARE(d->windowTitle(), u"Tellwick: Send SMS message"_s);
    QCOMPARE(d->windowIcon().cacheKey(), t->ctx().mainWindow().windowIcon().cacheKey());
    QCOMPARE(Twips::width(d), 5505);
    QVERIFY(!d->addressPanelOpen());
    QVERIFY(!d->lstNames->isVisible());
    QCOMPARE(d->labMsgText->text(), u"&Message text (150 characters left):"_s);
    QCOMPARE(d->labPhoneNo->text(),
             u"reci&pient(s) in international format, seperate multiple numbers by semicolon):"_s);
    QCOMPARE(d->fraMessage->title(), u"Message options:"_s);
    QCOMPARE(d->fraSubmission->title(), u"Submission options:"_s);
    QCOMPARE(d->chkSRR->text(), u"&request delivery confirmation"_s);
    QCOMPARE(d->chkFlash->text(), u"send as &Flash-SMS"_s);
    QCOMPARE(d->chkAutosplit->text(), u"&auto-split message text"_s);
    QCOMPARE(d->chkReverse->text(), u"send in re&verse order"_s);
    QCOMPARE(d->Check1->text(), u"Sho&w result after sending"_s);
    QCOMPARE(d->cmdClose->text(), u"&Close"_s);
    for (QCheckBox* box : {d->chkSRR, d->chkFlash, d->chkAutosplit, d->chkReverse, d->Check1}) {
        QVERIFY2(!box->isChecked(), qPrintable(box->text()));
    }
    QVERIFY(!d->chkReverse->isEnabled());
    QVERIFY(!d->cmdSendSMS->isEnabled());
    // No phone answers: the dialog can only save.
    QVERIFY(d->chkSaveOnly->isChecked());
    QVERIFY(!d->chkSaveOnly->isEnabled());
    QCOMPARE(d->chkSaveOnly->text(), u"d&on't send now, save only"_s);
    QCOMPARE(d->cmdSendSMS->text(), u"&Save SMS"_s);
    QVERIFY(d->completionOn());
}

void tst_frmSendSMS::showResultFlag() {
    // Read at opening as the setting's leading number (1 checks), written at every click.
    const QList<QPair<QString, bool>> cases{{u"1"_s, true},  {u"0"_s, false},   {QString(), false},
                                            {u"12"_s, false}, {u"1abc"_s, true}, {u"yes"_s, false}};
    for (const auto& [value, checked] : cases) {
        t->ini().deleteINIKey(u"Settings"_s, u"ShowSendResult"_s);
        if (!value.isEmpty()) {
            t->ini().writeINI(u"Settings"_s, u"ShowSendResult"_s, value);
        }
        QCOMPARE(open()->Check1->isChecked(), checked);
    }
    dlg->Check1->click();
    QCOMPARE(t->ini().readINI(u"Settings"_s, u"ShowSendResult"_s), u"1"_s);
    dlg->Check1->click();
    QCOMPARE(t->ini().readINI(u"Settings"_s, u"ShowSendResult"_s), u"0"_s);
}

void tst_frmSendSMS::saveOnlyAndAutosplitOptions() {
    frmSendSMS* d = open();
    // The caption follows the save-only box however it changes.
    d->chkSaveOnly->setEnabled(true);
    d->chkSaveOnly->click();
    QCOMPARE(d->cmdSendSMS->text(), u"&Send SMS"_s);
    d->chkSaveOnly->click();
    QCOMPARE(d->cmdSendSMS->text(), u"&Save SMS"_s);
    // Reverse order is offered exactly while auto-split is on.
    d->chkAutosplit->click();
    QVERIFY(d->chkReverse->isEnabled());
    QCOMPARE(d->labMsgText->text(), u"&Message text (0 characters, 1 message):"_s);
    d->chkAutosplit->click();
    QVERIFY(!d->chkReverse->isEnabled());
    QCOMPARE(d->labMsgText->text(), u"&Message text (160 characters left):"_s);
}

void tst_frmSendSMS::addressListSetUp() {
    addNames({{u"Zoe"_s, u"+4930111"_s},
              {u"adam"_s, u"+4930333"_s},
              {u"Mia, Ben"_s, u"+4930222"_s},
              {u"Office|Desk"_s, u"+4930444"_s}});
    frmSendSMS* d = open();
    QCOMPARE(d->lstNames->columnCount(), 2);
    QCOMPARE(d->lstNames->headerItem()->text(0), u"Name"_s);
    QCOMPARE(d->lstNames->headerItem()->text(1), u"Number"_s);
    QCOMPARE(d->lstNames->columnWidthTwips(0), 1530);
    QCOMPARE(d->lstNames->columnWidthTwips(1), 1530 - 350);
    QCOMPARE(d->lstNames->columnHeaderIcon(0).cacheKey(),
             t->ctx().mainWindow().lstImages.icon(u"Asc"_s).cacheKey());
    QVERIFY(d->lstNames->columnHeaderIcon(1).isNull());
    // Sorted by name without regard to case; a name may hold a comma or a "|".
    QCOMPARE(column(0), (QStringList{u"adam"_s, u"Mia, Ben"_s, u"Office|Desk"_s, u"Zoe"_s}));
    QCOMPARE(column(1), (QStringList{u"+4930333"_s, u"+4930222"_s, u"+4930444"_s, u"+4930111"_s}));
    QVERIFY(d->lstNames->selectedListItems().isEmpty());
}

void tst_frmSendSMS::addressPanelToggles() {
    frmSendSMS* d = open();
    QCOMPARE(d->cmdAddress->toolTip(), u"open addressbook ->"_s);
    QCOMPARE(d->cmdAddress->icon().cacheKey(), d->cmdOut->icon().cacheKey());
    QVERIFY(!d->cmdIn->isVisible());
    QVERIFY(!d->cmdOut->isVisible());
    d->cmdAddress->click();
    QCOMPARE(Twips::width(d), 8730);
    QVERIFY(d->addressPanelOpen());
    QVERIFY(d->lstNames->isVisible());
    QVERIFY(d->labNames->isVisible());
    QCOMPARE(d->labNames->text(),
             u"Doubleclick an entry to add it to the recipient's list of your message:"_s);
    QCOMPARE(d->cmdAddress->toolTip(), u"<- close addressbook"_s);
    QCOMPARE(d->cmdAddress->icon().cacheKey(), d->cmdIn->icon().cacheKey());
    d->cmdAddress->click();
    QCOMPARE(Twips::width(d), 5505);
    QVERIFY(!d->addressPanelOpen());
    QVERIFY(!d->lstNames->isVisible());
    QCOMPARE(d->cmdAddress->toolTip(), u"open addressbook ->"_s);
}

void tst_frmSendSMS::headerClicksFlipTheOrder() {
    addNames({{u"Anna"_s, u"+3"_s}, {u"Anton"_s, u"+1"_s}, {u"Cleo"_s, u"+2"_s}});
    frmSendSMS* d = open();
    d->cmdAddress->click();
    const qint64 asc = t->ctx().mainWindow().lstImages.icon(u"Asc"_s).cacheKey();
    const qint64 desc = t->ctx().mainWindow().lstImages.icon(u"Desc"_s).cacheKey();
    // Sorted ascending by name: a click on "Number" sorts descending by number.
    QHeaderView* header = d->lstNames->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(column(1), (QStringList{u"+3"_s, u"+2"_s, u"+1"_s}));
    QCOMPARE(d->lstNames->columnHeaderIcon(1).cacheKey(), desc);
    QVERIFY(d->lstNames->columnHeaderIcon(0).isNull());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(column(1), (QStringList{u"+1"_s, u"+2"_s, u"+3"_s}));
    QCOMPARE(d->lstNames->columnHeaderIcon(1).cacheKey(), asc);
    // The order flips whichever column was clicked before.
    d->lstNames_ColumnClick(0);
    QCOMPARE(column(0), (QStringList{u"Cleo"_s, u"Anton"_s, u"Anna"_s}));
    QCOMPARE(d->lstNames->columnHeaderIcon(0).cacheKey(), desc);
    QVERIFY(d->lstNames->columnHeaderIcon(1).isNull());
    // Completion walks the rows in the order shown.
    QTest::keyClicks(d->txtPhoneNo, u"an"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"Anton"_s);
    QCOMPARE(d->lstNames->selectedItem()->text(), u"Anton"_s);
}

void tst_frmSendSMS::completionProposesAndEnterTurnsItIntoANumber() {
    addNames({{u"Beta"_s, u"+4917200002"_s}, {u"Alpha"_s, u"+4917100001"_s}});
    frmSendSMS* d = open();
    d->txtPhoneNo->setFocus();
    QTest::keyClicks(d->txtPhoneNo, u"a"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"Alpha"_s);
    QCOMPARE(d->txtPhoneNo->selectedText(), u"lpha"_s);
    QCOMPARE(d->txtPhoneNo->cursorPosition(), 1);
    QCOMPARE(d->lstNames->selectedItem()->text(), u"Alpha"_s);
    // The next letter overwrites the proposal, which is made again.
    QTest::keyClicks(d->txtPhoneNo, u"L"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"Alpha"_s);
    QCOMPARE(d->txtPhoneNo->selectedText(), u"pha"_s);
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Return);
    QCOMPARE(d->txtPhoneNo->text(), u"+4917100001"_s);
    QVERIFY(!d->completionOn());
    QVERIFY(d->isVisible());  // Enter never reaches the send button
    QTest::keyClicks(d->txtPhoneNo, u";b"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"+4917100001;Beta"_s);
    QCOMPARE(d->txtPhoneNo->selectedText(), u"eta"_s);
    QCOMPARE(d->lstNames->selectedItem()->text(), u"Beta"_s);
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Enter);
    QCOMPARE(d->txtPhoneNo->text(), u"+4917100001;+4917200002"_s);
    // A fragment no name begins with: every row deselected, Enter changes nothing.
    QTest::keyClicks(d->txtPhoneNo, u";q"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"+4917100001;+4917200002;q"_s);
    QVERIFY(d->lstNames->selectedListItems().isEmpty());
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Return);
    QCOMPARE(d->txtPhoneNo->text(), u"+4917100001;+4917200002;q"_s);
    QVERIFY(d->completionOn());
}

void tst_frmSendSMS::numbersNeverCompleteAndCommasBecomeSemicolons() {
    addNames({{u"1 Alpha"_s, u"+4917100001"_s}, {u"+49 Office"_s, u"+4930"_s}});
    frmSendSMS* d = open();
    QTest::keyClicks(d->txtPhoneNo, u"+49151"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"+49151"_s);
    QVERIFY(d->txtPhoneNo->selectedText().isEmpty());
    QTest::keyClicks(d->txtPhoneNo, u",1"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"+49151;1"_s);
    QVERIFY(d->txtPhoneNo->selectedText().isEmpty());
    QCOMPARE(d->txtPhoneNo->cursorPosition(), 8);
    // A second number in international format is no name either.
    QTest::keyClicks(d->txtPhoneNo, u";+49"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"+49151;1;+49"_s);
    QVERIFY(d->txtPhoneNo->selectedText().isEmpty());
    // Pasted commas too, and the caret goes to the end.
    d->txtPhoneNo->setText(u"111,222,333"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"111;222;333"_s);
    QCOMPARE(d->txtPhoneNo->cursorPosition(), 11);
}

void tst_frmSendSMS::nameHoldingASemicolonBecomesOneNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("completed");
    QTest::newRow("alone") << u"sm"_s << u"Smith; John"_s << u"+4917011"_s;
    QTest::newRow("after a number") << u"+4930;sm"_s << u"+4930;Smith; John"_s << u"+4930;+4917011"_s;
    QTest::newRow("after a blank") << u"+4930; sm"_s << u"+4930; Smith; John"_s << u"+4930; +4917011"_s;
    QTest::newRow("after a name") << u"b"_s << u"Beta"_s << u"+4917200002"_s;
}

void tst_frmSendSMS::nameHoldingASemicolonBecomesOneNumber() {
    QFETCH(QString, typed);
    QFETCH(QString, proposed);
    QFETCH(QString, completed);
    addNames({{u"Smith; John"_s, u"+4917011"_s}, {u"Beta"_s, u"+4917200002"_s}});
    frmSendSMS* d = open();
    QTest::keyClicks(d->txtPhoneNo, typed);
    QCOMPARE(d->txtPhoneNo->text(), proposed);
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Return);
    QCOMPARE(d->txtPhoneNo->text(), completed);
    // The next name after the completed one.
    QTest::keyClicks(d->txtPhoneNo, u";s"_s);
    QCOMPARE(d->txtPhoneNo->text(), completed + u";Smith; John"_s);
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Return);
    QCOMPARE(d->txtPhoneNo->text(), completed + u";+4917011"_s);
}

void tst_frmSendSMS::backspaceOverAProposal() {
    addNames({{u"Alpha"_s, u"+4917100001"_s}});
    frmSendSMS* d = open();
    QTest::keyClicks(d->txtPhoneNo, u"al"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"Alpha"_s);
    // The typed part keeps the case of the name it completed.
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Backspace);
    QCOMPARE(d->txtPhoneNo->text(), u"Al"_s);
    QVERIFY(!d->completionOn());
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Backspace);
    QCOMPARE(d->txtPhoneNo->text(), u"A"_s);
    // Space and Delete keep it off as well; another key proposes again.
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Delete);
    QVERIFY(!d->completionOn());
    QTest::keyClicks(d->txtPhoneNo, u"l"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"Alpha"_s);
    QCOMPARE(d->txtPhoneNo->selectedText(), u"pha"_s);
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Space);
    QCOMPARE(d->txtPhoneNo->text(), u"Al "_s);
    QVERIFY(!d->completionOn());
}

void tst_frmSendSMS::completionWithoutAddressBook() {
    frmSendSMS* d = open();
    QCOMPARE(d->lstNames->count(), 0);
    QTest::keyClicks(d->txtPhoneNo, u"al"_s);
    QCOMPARE(d->txtPhoneNo->text(), u"al"_s);
    QTest::keyClick(d->txtPhoneNo, Qt::Key_Return);
    QCOMPARE(d->txtPhoneNo->text(), u"al"_s);
}

void tst_frmSendSMS::doubleClickAndEnterAppendANumber() {
    addNames({{u"Alpha"_s, u"+4917100001"_s}, {u"Beta"_s, u"+4917200002"_s}});
    frmSendSMS* d = open();
    d->cmdAddress->click();
    d->txtPhoneNo->setText(u"+4930"_s);
    ListItem* beta = d->lstNames->item(2);
    d->lstNames->setSelectedItem(beta);
    const QRect rect = d->lstNames->visualItemRect(beta);
    QTest::mouseDClick(d->lstNames->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(d->txtPhoneNo->text(), u"+4930;+4917200002"_s);
    // Ending in ";" already: no second one. Enter in the list does the same.
    d->txtPhoneNo->setText(u"+4930;"_s);
    d->lstNames->setSelectedItem(d->lstNames->item(1));
    d->lstNames->setFocus();
    QTest::keyClick(d->lstNames, Qt::Key_Return);
    QCOMPARE(d->txtPhoneNo->text(), u"+4930;+4917100001"_s);
    QVERIFY(d->isVisible());
    // Into an empty box, just the number.
    d->txtPhoneNo->clear();
    d->lstNames->setSelectedItem(d->lstNames->item(1));
    d->lstNames_DblClick();
    QCOMPARE(d->txtPhoneNo->text(), u"+4917100001"_s);
}

void tst_frmSendSMS::focusSelectsTheWholeText() {
    frmSendSMS* d = open();
    d->activateWindow();
    d->txtPhoneNo->setText(u"+4930"_s);
    d->Text1->setPlainText(u"hello"_s);
    d->Text1->setFocus();
    QTRY_COMPARE(d->Text1->textCursor().selectedText(), u"hello"_s);
    d->txtPhoneNo->setFocus();
    QTRY_COMPARE(d->txtPhoneNo->selectedText(), u"+4930"_s);
}

void tst_frmSendSMS::sendButtonFollowsBothBoxes() {
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(u"+4930"_s);
    QVERIFY(!d->cmdSendSMS->isEnabled());
    d->Text1->setPlainText(u"x"_s);
    QVERIFY(d->cmdSendSMS->isEnabled());
    d->txtPhoneNo->clear();
    QVERIFY(!d->cmdSendSMS->isEnabled());
    d->txtPhoneNo->setText(u";"_s);
    QVERIFY(d->cmdSendSMS->isEnabled());
    d->Text1->clear();
    QVERIFY(!d->cmdSendSMS->isEnabled());
}

void tst_frmSendSMS::typingStopsAtTheLimit() {
    frmSendSMS* d = open();
    d->Text1->setPlainText(QString(159, u'x'));
    d->Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(d->Text1, u"y"_s);
    QCOMPARE(d->messageText().size(), 160);
    QCOMPARE(d->labMsgText->text(), u"&Message text (0 characters left):"_s);
    const int beeps = t->ctx().prompts().beeper.count();
    QTest::keyClicks(d->Text1, u"z"_s);
    QCOMPARE(d->messageText().size(), 160);
    QCOMPARE(t->ctx().prompts().beeper.count(), beeps + 1);
    QVERIFY(t->msgBox().shown().isEmpty());
    QTest::keyClick(d->Text1, Qt::Key_Backspace);
    QCOMPARE(d->messageText().size(), 159);
    QCOMPARE(d->labMsgText->text(), u"&Message text (1 characters left):"_s);
    // With auto-split on nothing stops the typing.
    d->chkAutosplit->click();
    QTest::keyClicks(d->Text1, u"ab"_s);
    QCOMPARE(d->messageText().size(), 161);
    QCOMPARE(d->labMsgText->text(), u"&Message text (161 characters, 2 messages):"_s);
    QCOMPARE(t->ctx().prompts().beeper.count(), beeps + 1);
}

void tst_frmSendSMS::overlongPasteAsksForAutosplit() {
    frmSendSMS* d = open();
    QGuiApplication::clipboard()->setText(QString(170, u'p'));
    t->msgBox().queueAnswer(MsgBox::No);
    d->Text1->paste();
    QCOMPARE(t->msgBox().shown().size(), 1);
    const MsgBox::Shown& box = t->msgBox().shown().first();
    QCOMPARE(
        box.text,
        u"Your Text is longer than the maximum characters you can send,\r\ndo you want to enable AutoSplit?"
        u"\r\n\r\nIf you choose 'No', your text will be truncated."_s);
    QCOMPARE(box.buttons, MsgBox::YesNo);
    QCOMPARE(box.icon, MsgBox::Question);
    QVERIFY(box.title.isEmpty());
    QCOMPARE(d->Text1->toPlainText(), QString(160, u'p'));
    QCOMPARE(d->labMsgText->text(), u"&Message text (0 characters left):"_s);
    QVERIFY(!d->chkAutosplit->isChecked());

    // Yes turns auto-split on and keeps the whole text.
    t->msgBox().clearShown();
    t->msgBox().queueAnswer(MsgBox::Yes);
    d->Text1->clear();
    QGuiApplication::clipboard()->setText(QString(170, u'q'));
    d->Text1->paste();
    QCOMPARE(t->msgBox().shown().size(), 1);
    QVERIFY(d->chkAutosplit->isChecked());
    QVERIFY(d->chkReverse->isEnabled());
    QCOMPARE(d->Text1->toPlainText(), QString(170, u'q'));
    QCOMPARE(d->labMsgText->text(), u"&Message text (170 characters, 2 messages):"_s);
}

void tst_frmSendSMS::overlongPresetAsksBeforeShowing() {
    // As the browser presets a forwarded text: the question comes before the dialog shows.
    t->ctx().state().maxTextLen = 100;
    dlg = std::make_unique<frmSendSMS>(t->ctx());
    dlg->setWindowTitle(u"Tellwick: Forward SMS message"_s);
    t->msgBox().queueAnswer(MsgBox::No);
    dlg->Text1->setPlainText(QString(99, u'a') + u"\nbb"_s);
    QCOMPARE(t->msgBox().shown().size(), 1);
    // The cut keeps no half line break: 99 letters, one left.
    QCOMPARE(dlg->Text1->toPlainText(), QString(99, u'a'));
    QCOMPARE(dlg->labMsgText->text(), u"&Message text (1 characters left):"_s);
    QVERIFY(!dlg->isVisible());
}

void tst_frmSendSMS::uncheckingAutosplitWithALongText() {
    frmSendSMS* d = open();
    d->chkAutosplit->click();
    d->Text1->setPlainText(QString(200, u'x'));
    const QString question =
        u"Your message text is longer than 160 characters,\r\nif you disable AutoSplit, it will be "
        u"truncated.\r\n\r\nDo you want to continue?"_s;
    t->msgBox().queueAnswer(MsgBox::No);
    d->chkAutosplit->click();
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().last().text, question);
    QCOMPARE(t->msgBox().shown().last().title, u"Messagetext too long"_s);
    QCOMPARE(t->msgBox().shown().last().buttons, MsgBox::YesNo);
    QCOMPARE(t->msgBox().shown().last().icon, MsgBox::Question);
    QVERIFY(d->chkAutosplit->isChecked());
    QVERIFY(d->chkReverse->isEnabled());
    QCOMPARE(d->messageText().size(), 200);
    QCOMPARE(d->labMsgText->text(), u"&Message text (200 characters, 2 messages):"_s);

    t->msgBox().queueAnswer(MsgBox::Yes);
    d->chkAutosplit->click();
    QCOMPARE(t->msgBox().shown().size(), 2);
    QVERIFY(!d->chkAutosplit->isChecked());
    QVERIFY(!d->chkReverse->isEnabled());
    QCOMPARE(d->messageText(), QString(160, u'x'));
    QCOMPARE(d->labMsgText->text(), u"&Message text (0 characters left):"_s);

    // A text outside the phone's alphabet goes out in UCS2: 70 to a message.
    d->chkAutosplit->click();
    d->Text1->setPlainText(u"\u0436"_s.repeated(100));
    QCOMPARE(d->labMsgText->text(), u"&Message text (100 characters, 2 messages):"_s);
    t->msgBox().queueAnswer(MsgBox::Yes);
    d->chkAutosplit->click();
    QCOMPARE(t->msgBox().shown().last().text, QString(question).replace(u"160"_s, u"70"_s));
    QCOMPARE(d->messageText(), u"\u0436"_s.repeated(70));
    QCOMPARE(d->labMsgText->text(), u"&Message text (0 characters left):"_s);
}

void tst_frmSendSMS::counterWithLineBreaksAndEmoji() {
    frmSendSMS* d = open();
    d->chkAutosplit->click();
    // A line break counts two in the box, one in the message.
    d->Text1->setPlainText(QString(159, u'x') + u"\n"_s);
    QCOMPARE(d->messageText(), QString(159, u'x') + u"\r\n"_s);
    QCOMPARE(d->labMsgText->text(), u"&Message text (161 characters, 1 message):"_s);
    d->Text1->setPlainText(u"tab\there \U0001F600"_s);
    QCOMPARE(d->labMsgText->text(), u"&Message text (11 characters, 1 message):"_s);
}

void tst_frmSendSMS::rendersWithPanelOpenAndClosed() {
    // Set TELLWICK_SHOTS to a folder to keep the pictures.
    addNames({{u"Alpha Example"_s, u"+4917100001"_s}, {u"Beta Example"_s, u"+4917200002"_s}});
    frmSendSMS* d = open();
    d->txtPhoneNo->setText(u"+4917100001;"_s);
    d->Text1->setPlainText(u"Meeting moved to 14:00, room 2."_s);
    const QString folder = qEnvironmentVariable("TELLWICK_SHOTS");
    QPixmap closed = d->grab();
    QCOMPARE(closed.width(), Twips::toPixels(5505));
    d->cmdAddress->click();
    QPixmap open = d->grab();
    // 8730 twips, grown where a name or number needs more room.
    QVERIFY(open.width() >= Twips::toPixels(8730));
    QVERIFY(d->addressPanelOpen());
    // The panel's list lies inside the wide window, and everything else inside the narrow one.
    QVERIFY(d->lstNames->geometry().right() < open.width());
    for (QWidget* w : {static_cast<QWidget*>(d->txtPhoneNo), static_cast<QWidget*>(d->cmdAddress),
                       static_cast<QWidget*>(d->Text1), static_cast<QWidget*>(d->cmdSendSMS),
                       static_cast<QWidget*>(d->fraSubmission)}) {
        QVERIFY2(w->geometry().right() < closed.width(), qPrintable(w->objectName()));
        QVERIFY2(w->geometry().bottom() < closed.height(), qPrintable(w->objectName()));
    }
    if (!folder.isEmpty()) {
        closed.save(folder + u"/compose_closed.png"_s);
        open.save(folder + u"/compose_open.png"_s);
    }
}

QTEST_MAIN(tst_frmSendSMS)
#include "tst_frmsendsms.moc"
