#include "frmEditMsg.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimer>

#include "AppContext.h"
#include "Fields.h"
#include "KeyCodes.h"
#include "MessageFiles.h"
#include "TextCounter.h"
#include "Twips.h"
#include "frmMain.h"

namespace {

const QString kWindowName = QStringLiteral("frmEditMsg");
const QString kBrowser = QStringLiteral("frmBrowse");
const QString kSection = QString::fromLatin1(MessageFiles::kSection);
const QString kResultSection = QString::fromLatin1(MessageFiles::kResultSection);

constexpr int kWidthTwips = 5880;

QLabel* label(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* l = new QLabel(caption, parent);
    l->setTextFormat(Qt::PlainText);  // dates, numbers and results come from the file as written
    Twips::setGeometry(l, left, top, width, 255);
    return l;
}

QPushButton* button(QWidget* parent, const QString& caption, int left, int top) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    Twips::setGeometry(b, left, top, 1080, 375);
    return b;
}

}  // namespace

frmEditMsg::frmEditMsg(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Tellwick: Edit message"));
    setModal(true);
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    buildControls();

    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &frmEditMsg::cmdClose_Click);
    for (int i = 0; i < 2; ++i) {
        connect(optStatus[i], &QRadioButton::clicked, this, [this, i] { optStatus_Click(i); });
    }
    connect(txtText, &QPlainTextEdit::textChanged, this, &frmEditMsg::txtText_Change);
    // Every change the user makes counts, also those without a character key (Delete, a
    // paste or cut through the context menu), so no edit is lost without the question.
    connect(txtNo, &QLineEdit::textEdited, this, [this] { m_messageChanged = true; });
    txtNo->installEventFilter(this);
    txtText->installEventFilter(this);
}

frmEditMsg::~frmEditMsg() = default;

void frmEditMsg::buildControls() {
    Label1 = label(this, QStringLiteral("Date:"), 120, 150, 570);
    labDate = label(this, {}, 720, 150, 1800);
    Label2 = label(this, QStringLiteral("Time:"), 2640, 150, 570);
    labTime = label(this, {}, 3240, 150, 1800);

    Label3 = label(this, QStringLiteral("&No:"), 120, 510, 570);
    txtNo = new QLineEdit(this);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    Twips::setGeometry(txtNo, 720, 465, 5010, 330);
    Label3->setBuddy(txtNo);

    Label4 = label(this, QStringLiteral("&Text:"), 120, 915, 570);
    txtText = new QPlainTextEdit(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtText->setToolTip(QStringLiteral("edit here to change message text"));
    txtText->setTabChangesFocus(true);
    Twips::setGeometry(txtText, 720, 885, 5010, 1080);
    Label4->setBuddy(txtText);

    labCharNum = label(this, {}, 720, 2055, 2640);
    cmdSave = button(this, QStringLiteral("&Save"), 3480, 2010);
    cmdClose = button(this, QStringLiteral("&Close"), 4650, 2010);

    labRead = label(this, QStringLiteral("this message is"), 720, 2415, 1500);
    optStatus[0] = new QRadioButton(QStringLiteral("&read"), this);
    Twips::setGeometry(optStatus[0], 2250, 2385, 1000, 300);
    optStatus[1] = new QRadioButton(QStringLiteral("&unread"), this);
    Twips::setGeometry(optStatus[1], 3300, 2385, 1300, 300);

    // Below the short window's edge: seen only when the window is tall.
    Frame1 = new QGroupBox(QStringLiteral("Additional information: "), this);
    Twips::setGeometry(Frame1, 120, 2820, 5610, 1395);
    Label5 = label(Frame1, QStringLiteral("Date:"), 120, 330, 690);
    labResultDate = label(Frame1, {}, 840, 330, 1680);
    Label6 = label(Frame1, QStringLiteral("Time:"), 2640, 330, 690);
    labResultTime = label(Frame1, {}, 3360, 330, 1680);
    Label7 = label(Frame1, QStringLiteral("Result:"), 120, 690, 690);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // level with the first line of a long result
    labResult = label(Frame1, {}, 840, 690, 4650);
    Twips::setGeometry(labResult, 840, 690, 4650, 600);
    labResult->setWordWrap(true);
    labResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setTabOrder(txtNo, txtText);
    setTabOrder(txtText, optStatus[0]);
    setTabOrder(optStatus[0], optStatus[1]);
    setTabOrder(optStatus[1], cmdSave);
    setTabOrder(cmdSave, cmdClose);

    Twips::setWidth(this, kWidthTwips);
    Twips::setHeight(this, kShortTwips);
    setFixedSize(size());
}

void frmEditMsg::openModal(AppContext& ctx, const QString& messageFile, int browserTab,
                           std::function<void()> refreshOpener) {
    auto* dialog = ctx.windows().get<frmEditMsg>(kWindowName);
    if (!dialog) {
        return;
    }
    dialog->messageFile = messageFile;
    dialog->browserTab = browserTab;
    dialog->refreshOpener = std::move(refreshOpener);
    dialog->exec();
    if (ctx.windows().existing(kWindowName) == dialog) {
        ctx.windows().unload(kWindowName);
    }
}

void frmEditMsg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fillWindow();
}

void frmEditMsg::fillWindow() {
    QScopedValueRollback guard(m_filling, true);
    IniStore& ini = m_ctx.ini();
    labDate->setText(ini.readINI(kSection, QStringLiteral("Date"), messageFile));
    labTime->setText(ini.readINI(kSection, QStringLiteral("Time"), messageFile));
    txtNo->setText(ini.readINI(kSection, QStringLiteral("No"), messageFile));
    txtNo->setEnabled(openerTab() == 2);
    txtText->setPlainText(ini.readINI(kSection, QStringLiteral("Text"), messageFile));
    labResultDate->setText(ini.readINI(kResultSection, QStringLiteral("Date"), messageFile));
    labResultTime->setText(ini.readINI(kResultSection, QStringLiteral("Time"), messageFile));
    labResult->setText(ini.readINI(kResultSection, QStringLiteral("Result"), messageFile));

    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    Twips::setHeight(this, labResult->text().isEmpty() ? kShortTwips : kTallTwips);
    setFixedHeight(height());

    txtText_Change();
    const bool read = isFlagSet(ini.readINI(kSection, QStringLiteral("Read"), messageFile));
    optStatus[read ? 0 : 1]->setChecked(true);
    m_messageChanged = false;
    txtText->setFocus();
}

void frmEditMsg::txtText_Change() {
    labCharNum->setText(
        QStringLiteral("Number of characters: %1").arg(TextCounter::boxLength(txtText->toPlainText())));
    if (!m_filling) {
        m_messageChanged = true;
    }
}

void frmEditMsg::optStatus_Click(int) {
    m_messageChanged = true;
}

void frmEditMsg::txtText_KeyPress(int) {
    m_messageChanged = true;
}

void frmEditMsg::txtNo_KeyPress(int) {
    m_messageChanged = true;
}

void frmEditMsg::txtText_GotFocus() {
    txtText->selectAll();
}

void frmEditMsg::txtNo_GotFocus() {
    txtNo->selectAll();
}

QString frmEditMsg::storedText(const QString& editorText) {
    QString text = editorText;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    text.replace(QChar::LineSeparator, u' ');
    text.replace(QChar::ParagraphSeparator, u' ');
    return text;
}

bool frmEditMsg::cmdSave_Click() {
    // The gateway keeps running meanwhile: a message sent, moved or deleted since it was
    // opened is not brought back as a stray file with only these keys.
    if (!QFileInfo(messageFile).isFile()) {
        m_ctx.msgBox().show(QStringLiteral("The message file '%1' no longer exists, it has been sent, moved "
                                           "or deleted meanwhile.\r\nYour changes were not saved.")
                                .arg(messageFile),
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Message not saved"), this);
        return false;
    }
    const QString text = storedText(txtText->toPlainText());
    IniStore& ini = m_ctx.ini();
    bool ok = ini.writeINIValues(
        kSection, {{QStringLiteral("Text"), text}, {QStringLiteral("No"), txtNo->text()}}, messageFile);
    if (ok) {
        ok = optStatus[0]->isChecked()
                 ? ini.writeINI(kSection, QStringLiteral("Read"), QStringLiteral("1"), messageFile)
                 : ini.deleteINIKey(kSection, QStringLiteral("Read"), messageFile);
    }
    if (!ok) {
        m_ctx.msgBox().show(QStringLiteral("Your changes could not be saved to '%1'.").arg(messageFile),
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Message not saved"), this);
        return false;
    }
    if (text != txtText->toPlainText()) {
        // The box shows what the file holds now.
        QScopedValueRollback guard(m_filling, true);
        txtText->setPlainText(text);
        txtText->moveCursor(QTextCursor::End);
    }
    m_messageChanged = false;
    return true;
}

void frmEditMsg::cmdClose_Click() {
    if (m_closing) {
        return;
    }
    if (m_messageChanged) {
        const int answer =
            m_ctx.msgBox().show(QStringLiteral("Do you want to save your changes?"), MsgBox::YesNo,
                                MsgBox::Question, QStringLiteral("Message has changed"), this);
        if (answer == MsgBox::Yes) {
            const bool saved = cmdSave_Click();
            if (!saved && QFileInfo(messageFile).isFile()) {
                return;  // the file is there but could not be written: the text stays on screen
            }
            refreshTheOpener();
        }
    }
    unloadMe();
}

void frmEditMsg::reject() {
    // Closing through the frame or with Escape asks like "&Close".
    cmdClose_Click();
}

int frmEditMsg::openerTab() const {
    if (browserTab != 0) {
        return browserTab;
    }
    int tab = 0;
    if (QWidget* browser = m_ctx.windows().existing(kBrowser)) {
        QMetaObject::invokeMethod(browser, "selectedTab", Qt::DirectConnection, Q_RETURN_ARG(int, tab));
    }
    return tab;
}

void frmEditMsg::refreshTheOpener() {
    if (refreshOpener) {
        refreshOpener();
    } else if (QWidget* browser = m_ctx.windows().existing(kBrowser)) {
        QMetaObject::invokeMethod(browser, "Tubby_Click", Qt::DirectConnection);
    }
}

void frmEditMsg::unloadMe() {
    QScopedValueRollback guard(m_closing, true);
    browserTab = 0;
    refreshOpener = {};
    done(QDialog::Accepted);
    if (m_ctx.windows().existing(kWindowName) == this) {
        m_ctx.windows().unload(kWindowName);
    }
}

bool frmEditMsg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Deferred, so a click that gave the focus does not undo the selection.
        if (watched == txtNo) {
            QTimer::singleShot(0, this, &frmEditMsg::txtNo_GotFocus);
        } else if (watched == txtText) {
            QTimer::singleShot(0, this, &frmEditMsg::txtText_GotFocus);
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && (watched == txtNo || watched == txtText)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyAscii = 0;
        if (key->key() == Qt::Key_Backspace) {
            keyAscii = KeyCodes::Back;
        } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyAscii = KeyCodes::Return;
        } else if (!key->text().isEmpty() && key->key() != Qt::Key_Delete && key->key() != Qt::Key_Escape &&
                   key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            // Tab only moves the focus on: no change to ask about on closing.
            keyAscii = key->text().at(0).unicode();
        }
        if (keyAscii != 0) {
            watched == txtNo ? txtNo_KeyPress(keyAscii) : txtText_KeyPress(keyAscii);
        }
    }
    return false;
}
