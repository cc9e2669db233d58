#include "frmSendSMS.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTimer>

#include "AppContext.h"
#include "AppIcons.h"
#include "ColumnFit.h"
#include "ComposeSender.h"
#include "Fields.h"
#include "GatewayPause.h"
#include "KeyCodes.h"
#include "ListView.h"
#include "RecipientCompletion.h"
#include "TextCounter.h"
#include "Twips.h"
#include "frmMain.h"

namespace {

const QString kWindowName = QStringLiteral("frmSendSMS");
const QString kNoDevice = QStringLiteral("no mobile device found");
const QString kOpenTip = QStringLiteral("open addressbook ->");
const QString kCloseTip = QStringLiteral("<- close addressbook");

// Geometry of the controls, in twips.
constexpr int kHeightTwips = 5940;
constexpr int kListLeft = 5520;
constexpr int kListWidth = 3060;

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                   Twips::toPixels(height));
}

QCheckBox* checkBox(QWidget* parent, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setChecked(false);
    return box;
}

QPushButton* button(QWidget* parent, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);  // Enter in the recipient box completes a name; it never sends
    b->setDefault(false);
    return b;
}

}  // namespace

frmSendSMS::frmSendSMS(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Tellwick: Send SMS message"));
    setModal(true);
    buildControls();

    connect(cmdAddress, &QPushButton::clicked, this, &frmSendSMS::cmdAddress_Click);
    connect(cmdSendSMS, &QPushButton::clicked, this, &frmSendSMS::cmdSendSMS_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSendSMS::cmdClose_Click);
    connect(chkSaveOnly, &QCheckBox::toggled, this, &frmSendSMS::chkSaveOnly_Click);
    connect(Check1, &QCheckBox::clicked, this, &frmSendSMS::Check1_Click);
    connect(chkAutosplit, &QCheckBox::toggled, this, &frmSendSMS::chkAutosplit_Click);
    connect(lstNames, &ListView::ColumnClick, this, &frmSendSMS::lstNames_ColumnClick);
    connect(lstNames, &ListView::DblClick, this, [this](ListItem*) { lstNames_DblClick(); });
    connect(txtPhoneNo, &QLineEdit::textChanged, this, &frmSendSMS::txtPhoneNo_Change);
    connect(Text1, &QPlainTextEdit::textChanged, this, &frmSendSMS::Text1_Change);
    txtPhoneNo->installEventFilter(this);
    Text1->installEventFilter(this);
    lstNames->installEventFilter(this);

    formLoad();
}

frmSendSMS::~frmSendSMS() = default;

void frmSendSMS::buildControls() {
    labPhoneNo = new QLabel(
        QStringLiteral("reci&pient(s) in international format, seperate multiple numbers by semicolon):"),
        this);
    labPhoneNo->setWordWrap(true);
    place(labPhoneNo, 120, 105, 5235, 450);
    txtPhoneNo = new QLineEdit(this);
    txtPhoneNo->setObjectName(QStringLiteral("txtPhoneNo"));
    place(txtPhoneNo, 120, 570, 4755, 330);
    labPhoneNo->setBuddy(txtPhoneNo);

    cmdIn = button(this, {});
    cmdIn->setIcon(AppIcons::picture(AppIcons::Picture::ArrowLeft));
    cmdIn->setVisible(false);
    cmdOut = button(this, {});
    cmdOut->setIcon(AppIcons::picture(AppIcons::Picture::ArrowRight));
    cmdOut->setVisible(false);
    cmdAddress = button(this, {});
    cmdAddress->setIcon(cmdOut->icon());
    cmdAddress->setToolTip(kOpenTip);
    place(cmdAddress, 4935, 555, 420, 360);

    labMsgText = new QLabel(this);
    place(labMsgText, 120, 990, 5235, 255);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setTabChangesFocus(true);
    place(Text1, 120, 1260, 5235, 1740);
    labMsgText->setBuddy(Text1);

    fraMessage = new QGroupBox(QStringLiteral("Message options:"), this);
    place(fraMessage, 120, 3090, 5235, 870);
    chkSRR = checkBox(fraMessage, QStringLiteral("&request delivery confirmation"));
    place(chkSRR, 90, 270, 5040, 270);
    chkFlash = checkBox(fraMessage, QStringLiteral("send as &Flash-SMS"));
    place(chkFlash, 90, 540, 5040, 270);

    fraSubmission = new QGroupBox(QStringLiteral("Submission options:"), this);
    place(fraSubmission, 120, 4020, 5235, 870);
    chkAutosplit = checkBox(fraSubmission, QStringLiteral("&auto-split message text"));
    place(chkAutosplit, 90, 270, 5040, 270);
    chkReverse = checkBox(fraSubmission, QStringLiteral("send in re&verse order"));
    place(chkReverse, 90, 540, 5040, 270);
    chkReverse->setEnabled(false);

    chkSaveOnly = checkBox(this, QStringLiteral("d&on't send now, save only"));
    place(chkSaveOnly, 120, 5010, 3300, 270);
    Check1 = checkBox(this, QStringLiteral("Sho&w result after sending"));
    place(Check1, 120, 5340, 3300, 270);

    cmdSendSMS = button(this, QStringLiteral("&Send SMS"));
    cmdSendSMS->setEnabled(false);
    place(cmdSendSMS, 3480, 4980, 1875, 375);
    cmdClose = button(this, QStringLiteral("&Close"));
    place(cmdClose, 3480, 5430, 1875, 375);

    labNames = new QLabel(
        QStringLiteral("Doubleclick an entry to add it to the recipient's list of your message:"), this);
    labNames->setWordWrap(true);
    place(labNames, kListLeft, 105, kListWidth, 675);
    lstNames = new ListView(this);
    lstNames->setObjectName(QStringLiteral("lstNames"));
    place(lstNames, kListLeft, 810, kListWidth, 4995);
    labNames->setVisible(false);
    lstNames->setVisible(false);

    setTabOrder(txtPhoneNo, Text1);
    Twips::setHeight(this, kHeightTwips);
    setFixedHeight(height());
}

void frmSendSMS::setWindowWidth(int twips) {
    // A fixed-size dialog: only the address panel changes its width.
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    Twips::setWidth(this, twips);
    setFixedWidth(width());
}

// Set-up when the dialog is loaded; every opening starts from here.
void frmSendSMS::formLoad() {
    frmMain& main = m_ctx.mainWindow();
    setWindowIcon(main.windowIcon());
    setWindowWidth(kNarrowTwips);

    labMsgText->setText(TextCounter::caption({}, m_ctx.state(), false));

    const QString showResult = m_ctx.ini().readINI(QStringLiteral("Settings"), QStringLiteral("ShowSendResult"));
    // Checked when the setting's number is 1, as the dialog itself writes it.
    Check1->setChecked(leadingInt(showResult) == 1);

    const bool deviceAnswers = m_ctx.phone().checkDevice();
    chkSaveOnly->setChecked(!deviceAnswers);
    chkSaveOnly->setEnabled(deviceAnswers);

    fillAddressList();

    if (main.panelText(QStringLiteral("Device")) == kNoDevice) {
        chkSaveOnly->setChecked(true);
        chkSaveOnly->setEnabled(false);
    }

    m_completionOn = true;
}

void frmSendSMS::fillAddressList() {
    lstNames->clearItems();
    lstNames->clearColumns();
    lstNames->addColumn(QStringLiteral("Name"), kListWidth / 2);
    lstNames->addColumn(QStringLiteral("Number"), kListWidth / 2 - 350);
    lstNames->clearColumnHeaderIcons();
    lstNames->setColumnHeaderIcon(0, m_ctx.mainWindow().lstImages.icon(QStringLiteral("Asc")));

    // Filled unsorted and sorted once: thousands of names stay quick.
    lstNames->setSorted(false);
    const QString section = QStringLiteral("Addressbook");
    const QStringList names = m_ctx.ini().keys(section);
    for (const QString& name : names) {
        ListItem* item = lstNames->addItem(name);
        item->setSubItem(1, m_ctx.ini().readINI(section, name));
    }
    lstNames->setLanguageSorted(0);
    lstNames->setSortKey(0);
    lstNames->setSortOrder(Qt::AscendingOrder);
    lstNames->setSorted(true);
    lstNames->sort();
    lstNames->clearSelection();
    lstNames->setCurrentItem(nullptr);
    refreshNameOrder();
    fitAddressPanel();
}

void frmSendSMS::fitAddressPanel() {
    // The columns start at their widths in twips and grow to show every number whole and
    // names up to twice the name column's width; the open panel widens to hold them.
    lstNames->setColumnWidthTwips(0, kListWidth / 2);
    lstNames->setColumnWidthTwips(1, kListWidth / 2 - 350);
    const int need =
        ColumnFit::listWidthFor(lstNames, lstNames->growColumnsToContents(2 * Twips::toPixels(kListWidth / 2)));
    const int listWidth = qMax(Twips::toPixels(kListWidth), need);
    lstNames->resize(listWidth, lstNames->height());
    labNames->resize(listWidth, labNames->height());
    m_wideTwips = kWideTwips + Twips::fromPixels(listWidth - Twips::toPixels(kListWidth));
    if (addressPanelOpen()) {
        setWindowWidth(m_wideTwips);
    }
}

void frmSendSMS::refreshNameOrder() {
    m_namesInOrder.clear();
    const int n = lstNames->count();
    m_namesInOrder.reserve(n);
    for (int i = 1; i <= n; ++i) {
        m_namesInOrder.append(lstNames->item(i)->text());
    }
}

bool frmSendSMS::addressPanelOpen() const {
    return Twips::width(this) != kNarrowTwips;
}

void frmSendSMS::cmdAddress_Click() {
    const bool open = !addressPanelOpen();
    labNames->setVisible(open);
    lstNames->setVisible(open);
    setWindowWidth(open ? m_wideTwips : kNarrowTwips);
    cmdAddress->setIcon(open ? cmdIn->icon() : cmdOut->icon());
    cmdAddress->setToolTip(open ? kCloseTip : kOpenTip);
}

void frmSendSMS::chkSaveOnly_Click() {
    cmdSendSMS->setText(chkSaveOnly->isChecked() ? QStringLiteral("&Save SMS") : QStringLiteral("&Send SMS"));
}

void frmSendSMS::Check1_Click() {
    m_ctx.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("ShowSendResult"),
                         Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmSendSMS::chkAutosplit_Click() {
    if (m_inAutosplitClick) {
        return;
    }
    QScopedValueRollback guard(m_inAutosplitClick, true);
    const SharedState& s = m_ctx.state();
    if (!chkAutosplit->isChecked() && TextCounter::unitsLeft(messageText(), s) < 0) {
        const int answer = m_ctx.msgBox().show(
            QStringLiteral("Your message text is longer than %1 characters,\r\n"
                           "if you disable AutoSplit, it will be truncated.\r\n\r\n"
                           "Do you want to continue?")
                .arg(TextCounter::room(messageText(), s)),
            MsgBox::YesNo, MsgBox::Question, QStringLiteral("Messagetext too long"), this);
        if (answer == MsgBox::Yes) {
            Text1->setPlainText(TextCounter::fromBoxText(TextCounter::truncated(messageText(), s)));
            Text1->moveCursor(QTextCursor::End);
        } else {
            chkAutosplit->setChecked(true);
        }
    }
    chkReverse->setEnabled(chkAutosplit->isChecked());
    refreshCounter();
}

void frmSendSMS::lstNames_ColumnClick(int column) {
    const Qt::SortOrder order =
        lstNames->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lstNames->setSortKey(column);
    lstNames->setSortOrder(order);
    lstNames->setSorted(true);
    lstNames->sort();
    lstNames->clearColumnHeaderIcons();
    lstNames->setColumnHeaderIcon(
        column, m_ctx.mainWindow().lstImages.icon(order == Qt::AscendingOrder ? QStringLiteral("Asc")
                                                                              : QStringLiteral("Desc")));
    refreshNameOrder();
}

void frmSendSMS::lstNames_DblClick() {
    ListItem* item = lstNames->selectedItem();
    if (item && item->isSelected()) {
        txtPhoneNo->setText(RecipientCompletion::appendNumber(txtPhoneNo->text(), item->subItem(1)));
    }
}

void frmSendSMS::lstNames_KeyDown(int keyCode) {
    if (keyCode == KeyCodes::Return) {
        lstNames_DblClick();
    }
}

void frmSendSMS::txtPhoneNo_GotFocus() {
    txtPhoneNo->selectAll();
}

void frmSendSMS::txtPhoneNo_KeyDown(int keyCode) {
    switch (keyCode) {
        case KeyCodes::Back:
        case KeyCodes::Delete:
        case KeyCodes::Space:
        case KeyCodes::Comma:
            m_completionOn = false;
            break;
        case KeyCodes::Return: {
            ListItem* item = lstNames->selectedItem();
            if (item && item->isSelected() && !item->text().isEmpty()) {
                m_completionOn = false;
                const QString box = txtPhoneNo->text();
                // A proposed name may hold ";": the field it replaced is the one to replace.
                txtPhoneNo->setText(
                    box == m_proposal.text
                        ? RecipientCompletion::replaceFieldFrom(box, m_proposal.fieldStart, item->subItem(1))
                        : RecipientCompletion::replaceLastField(box, item->subItem(1)));
            }
            break;
        }
        default:
            m_completionOn = true;
            break;
    }
}

void frmSendSMS::txtPhoneNo_Change() {
    if (m_inPhoneChange) {
        return;
    }
    QScopedValueRollback guard(m_inPhoneChange, true);
    QString text = txtPhoneNo->text();
    if (text.contains(u',')) {
        text.replace(u',', u';');
        txtPhoneNo->setText(text);
    }
    txtPhoneNo->setCursorPosition(int(text.size()));

    if (m_completionOn) {
        const RecipientCompletion::Proposal p = RecipientCompletion::complete(text, m_namesInOrder);
        if (p.ran) {
            if (p.row < 0) {
                lstNames->clearSelection();
                lstNames->setCurrentItem(nullptr);
            } else {
                lstNames->setSelectedItem(lstNames->item(p.row + 1));
            }
            if (p.selectionStart >= 0) {
                m_proposal = p;
                txtPhoneNo->setText(p.text);
                // The caret stays right after the typed part; the proposed rest is selected.
                txtPhoneNo->setCursorPosition(int(p.text.size()));
                txtPhoneNo->cursorBackward(true, p.selectionLength);
            }
        }
    }
    updateSendButton();
}

void frmSendSMS::Text1_GotFocus() {
    Text1->selectAll();
}

bool frmSendSMS::Text1_KeyPress(int keyAscii, const QString& keyText) {
    if (keyAscii == KeyCodes::Back || keyAscii == KeyCodes::Return || chkAutosplit->isChecked()) {
        return true;
    }
    // The text as the key would leave it: a character that does not fit one message (an
    // escape character takes two septets, a letter outside the alphabet makes it UCS2) is
    // refused.
    const QTextCursor cursor = Text1->textCursor();
    QString after = Text1->toPlainText();
    after.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
                  keyText.isEmpty() ? QString(QChar(keyAscii)) : keyText);
    if (TextCounter::unitsLeft(TextCounter::toBoxText(after), m_ctx.state()) < 0) {
        m_ctx.prompts().beeper.beep();
        return false;
    }
    return true;
}

void frmSendSMS::Text1_Change() {
    if (m_inTextChange) {
        return;
    }
    QScopedValueRollback guard(m_inTextChange, true);
    const SharedState& s = m_ctx.state();
    if (!chkAutosplit->isChecked() && TextCounter::unitsLeft(messageText(), s) < 0) {
        const int answer = m_ctx.msgBox().show(
            QStringLiteral("Your Text is longer than the maximum characters you can send,\r\n"
                           "do you want to enable AutoSplit?\r\n\r\n"
                           "If you choose 'No', your text will be truncated."),
            MsgBox::YesNo, MsgBox::Question, {}, this);
        if (answer == MsgBox::Yes) {
            chkAutosplit->setChecked(true);
        } else {
            Text1->setPlainText(TextCounter::fromBoxText(TextCounter::truncated(messageText(), s)));
            Text1->moveCursor(QTextCursor::End);
        }
    }
    updateSendButton();
    refreshCounter();
}

QString frmSendSMS::messageText() const {
    return TextCounter::toBoxText(Text1->toPlainText());
}

void frmSendSMS::refreshCounter() {
    labMsgText->setText(TextCounter::caption(Text1->toPlainText(), m_ctx.state(), chkAutosplit->isChecked()));
}

void frmSendSMS::updateSendButton() {
    // Stays off while a send runs: the message loop turns while the phone is waited for.
    cmdSendSMS->setEnabled(!m_sending && !txtPhoneNo->text().isEmpty() && !Text1->toPlainText().isEmpty());
}

void frmSendSMS::cmdSendSMS_Click() {
    if (m_sending || !cmdSendSMS->isEnabled()) {
        return;
    }
    m_sending = true;
    frmMain& main = m_ctx.mainWindow();
    Hourglass hourglass;
    main.showStatus(QStringLiteral("sending SMS..."));
    cmdSendSMS->setEnabled(false);
    cmdClose->setEnabled(false);

    QString result;
    if (!m_ctx.phone().checkDevice()) {
        result = ComposeSender::deviceMissingText();
        chkSaveOnly->setChecked(true);
    }
    ComposeSender::Options options;
    options.report = chkSRR->isChecked();
    options.flash = chkFlash->isChecked();
    options.split = chkAutosplit->isChecked();
    options.reverse = chkReverse->isChecked();
    options.saveOnly = chkSaveOnly->isChecked();
    result += ComposeSender(m_ctx).sendAll(txtPhoneNo->text(), messageText(), options);

    m_sending = false;
    cmdSendSMS->setEnabled(true);
    cmdClose->setEnabled(true);
    hourglass.restore();

    if (Check1->isChecked()) {
        m_ctx.msgBox().show(ComposeSender::resultBoxText(result, chkSRR->isChecked()), MsgBox::OKOnly,
                            MsgBox::Information, QStringLiteral("Tellwick"), this);
    }
    main.showStatus({});
    unloadMe();
}

void frmSendSMS::cmdClose_Click() {
    if (!m_sending) {
        unloadMe();
    }
}

void frmSendSMS::reject() {
    cmdClose_Click();
}

void frmSendSMS::unloadMe() {
    done(QDialog::Accepted);
    if (m_ctx.windows().existing(kWindowName) == this) {
        m_ctx.windows().unload(kWindowName);
    }
}

bool frmSendSMS::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Deferred, so a click that gave the focus does not undo the selection.
        if (watched == txtPhoneNo) {
            QTimer::singleShot(0, this, &frmSendSMS::txtPhoneNo_GotFocus);
        } else if (watched == Text1) {
            QTimer::singleShot(0, this, &frmSendSMS::Text1_GotFocus);
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == txtPhoneNo) {
        txtPhoneNo_KeyDown(enter ? int(KeyCodes::Return) : KeyCodes::fromEvent(key));
        return enter;  // Enter only completes; it never reaches the dialog's buttons
    }
    if (watched == lstNames && enter) {
        lstNames_KeyDown(KeyCodes::Return);
        return true;
    }
    if (watched == Text1) {
        int keyAscii = 0;
        QString keyText;
        if (enter) {
            keyAscii = KeyCodes::Return;
        } else if (key->key() == Qt::Key_Backspace) {
            keyAscii = KeyCodes::Back;
        } else if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            keyAscii = key->text().at(0).unicode();
            keyText = key->text();
        }
        return keyAscii != 0 && !Text1_KeyPress(keyAscii, keyText);
    }
    return false;
}

void frmSendSMS::openModal(AppContext& ctx, const QString& caption, const QString& phoneNo,
                           const QString& text, QWidget* over) {
    const GatewayPause pause(ctx);
    if (auto* dialog = ctx.windows().get<frmSendSMS>(kWindowName)) {
        if (!caption.isEmpty()) {
            dialog->setWindowTitle(caption);
        }
        dialog->txtPhoneNo->setText(phoneNo);
        dialog->Text1->setPlainText(text);
        // The user types where something is missing: a text without a recipient (a forward)
        // starts in the recipient box, so typing does not replace the text.
        if (phoneNo.isEmpty() && !text.isEmpty()) {
            dialog->txtPhoneNo->setFocus();
        } else {
            dialog->Text1->setFocus();
        }
        if (over) {
            dialog->move(over->frameGeometry().center() - dialog->rect().center());
        }
        dialog->exec();
    }
}
