#include "frmJobMailbox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "AppContext.h"
#include "ColumnFit.h"
#include "ListView.h"
#include "MailboxRules.h"
#include "MsgBox.h"
#include "PopFunctions.h"
#include "Prompts.h"
#include "Scramble.h"
#include "TabStrip.h"
#include "frmJobMailboxEdit.h"

using MailboxRules::Rule;

namespace {
const QString kCRLF = QStringLiteral("\r\n");
const QString kDefaultPort = QStringLiteral("110");
constexpr int kMailboxTypeIndex = 4;
constexpr int kFieldColumnTwips = 700;
constexpr int kExpressionColumnTwips = 1600;
}  // namespace

frmJobMailbox::frmJobMailbox(AppContext& ctx, QWidget* parent)
    : JobEditorFrame(ctx, kMailboxTypeIndex, WithoutRestrictions, parent) {
    labDesc->setText(QStringLiteral("Job descri&ption:"));
    makeMailboxSettings();
    makeJobOptions();

    auto* area = new QVBoxLayout(optionsArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(Frame2);
    area->addStretch(1);
    auto* side = new QVBoxLayout(sideArea());
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(Frame3);

    // New jobs start with empty lists that show their two columns.
    fillCriteriaList(QString());
    fillExceptionList(QString());
    connectHandlers();

    for (QLineEdit* box :
         {txtMailserver, txtPort, txtUsername, txtPassword, txtRecipient, txtIntervall, txtMaxMsg}) {
        selectAllOnFocus(box);
    }
    for (QLineEdit* box : {txtPort, txtIntervall, txtMaxMsg}) {
        box->installEventFilter(this);
    }
    setTabOrder(txtDesc, txtMailserver);

    // The design values, which a new job keeps.
    optMinutes->setChecked(true);
    chooseOption(optNewMail);
    chkException_Click();
    chkRequest_Click();
    applyTestRule();
    finishLoad();
    tubby_Click();
}

frmJobMailbox::~frmJobMailbox() = default;

void frmJobMailbox::connectHandlers() {
    connect(txtMailserver, &QLineEdit::textChanged, this, [this] { txtMailserver_Change(); });
    connect(txtPort, &QLineEdit::textChanged, this, [this] { txtPort_Change(); });
    connect(txtUsername, &QLineEdit::textChanged, this, [this] { txtUsername_Change(); });
    connect(txtPassword, &QLineEdit::textChanged, this, [this] { txtPassword_Change(); });
    // After the frame's own name handler, so the fuller rule has the last word.
    connect(txtName, &QLineEdit::textChanged, this, [this] { applyOkRule(); });
    connect(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });
    connect(tubby, &TabStrip::TabClick, this, [this] { tubby_Click(); });
    onChosen(optNewMail, [this] { optNewMail_Click(); });
    onChosen(optCriteria, [this] { optCriteria_Click(); });
    connect(chkException, &QCheckBox::toggled, this, [this] { chkException_Click(); });
    connect(chkRequest, &QCheckBox::toggled, this, [this] { chkRequest_Click(); });
    connect(cmdCriteria, &QPushButton::clicked, this, [this] { cmdCriteria_Click(); });
    connect(cmdException, &QPushButton::clicked, this, [this] { cmdException_Click(); });
    connect(lstCriteria, &ListView::DblClick, this, [this] { lstCriteria_DblClick(); });
    connect(lstException, &ListView::DblClick, this, [this] { lstException_DblClick(); });
}

// ---- record --------------------------------------------------------------------------------

void frmJobMailbox::getJob() {
    loadCommonFields();
    txtMailserver->setText(readKey(QStringLiteral("Server")));
    txtPort->setText(readKey(QStringLiteral("Port")));
    txtUsername->setText(readKey(QStringLiteral("Username")));
    txtPassword->setText(scramble(readKey(QStringLiteral("Password")), QString()));

    // The interval always shows in minutes.
    chooseOption(optMinutes);
    txtIntervall->setText(readKey(QStringLiteral("Interval")));

    const QString criteria = readKey(QStringLiteral("Criteria"));
    if (!criteria.isEmpty()) {
        chooseOption(optCriteria);
        fillCriteriaList(criteria);
    } else {
        chooseOption(optNewMail);
    }
    const QString exception = readKey(QStringLiteral("Exception"));
    chkException->setChecked(!exception.isEmpty());
    fillExceptionList(exception);

    txtRecipient->setText(storedNumberList(readKey(QStringLiteral("Recipient"))));

    chkRequest->setChecked(readFlag(QStringLiteral("AllowMsgRequests")));
    txtMaxMsg->setText(readKey(QStringLiteral("MaxMsg")));
    chkStripHTML->setChecked(readFlag(QStringLiteral("stripHTML")));
    chkActive->setChecked(readFlag(QStringLiteral("Active")));
}

void frmJobMailbox::saveJob() {
    writeCommonHead();
    writeKey(QStringLiteral("Server"), txtMailserver->text());
    correctPort();
    writeKey(QStringLiteral("Port"), txtPort->text());
    writeKey(QStringLiteral("Username"), txtUsername->text());
    writeKey(QStringLiteral("Password"), scramble(txtPassword->text(), QString()));

    writeKey(QStringLiteral("Interval"), MailboxRules::formatNumber(std::round(intervalMinutes())));

    if (optCriteria->isChecked()) {
        saveCriteriaList();
    } else {
        deleteKey(QStringLiteral("Criteria"));
    }
    if (chkException->isChecked()) {
        saveExceptionList();
    } else {
        deleteKey(QStringLiteral("Exception"));
    }

    txtRecipient->setText(storedNumberList(txtRecipient->text()));
    writeKey(QStringLiteral("Recipient"), txtRecipient->text());

    if (txtMaxMsg->text().isEmpty()) {
        txtMaxMsg->setText(QStringLiteral("1"));
    }
    const QString allow = QStringLiteral("AllowMsgRequests");
    const QString maxMsg = QStringLiteral("MaxMsg");
    const QString strip = QStringLiteral("stripHTML");
    if (chkRequest->isChecked()) {
        writeFlag(allow, true);
        writeKey(maxMsg, MailboxRules::formatNumber(MailboxRules::numberValue(txtMaxMsg->text())));
        writeFlag(strip, chkStripHTML->isChecked());
    } else {
        deleteKey(allow);
        deleteKey(maxMsg);
        deleteKey(strip);
    }
    writeCommonTail();
}

QString frmJobMailbox::Example() const {
    if (!chkRequest->isChecked()) {
        return QString();
    }
    return QStringLiteral("Example request SMS: ") + kCRLF + identifier() + QStringLiteral("MsgNr[,MaxMsg]");
}

// ---- rule lists ----------------------------------------------------------------------------

void frmJobMailbox::fillCriteriaList(const QString& criteria) {
    fillRuleList(lstCriteria, QStringLiteral("Criteria"), criteria);
}

void frmJobMailbox::fillExceptionList(const QString& exception) {
    fillRuleList(lstException, QStringLiteral("Exception"), exception);
}

void frmJobMailbox::fillRuleList(ListView* list, const QString& caption, const QString& text) {
    list->clearItems();
    list->clearColumns();
    list->addColumn(QStringLiteral("Field"), kFieldColumnTwips);
    list->addColumn(caption, kExpressionColumnTwips);
    for (const Rule& rule : MailboxRules::decode(text)) {
        ListItem* row = list->addItem(rule.field);
        row->setSubItem(1, rule.expression);
    }
    ColumnFit::fillWithLastColumn(list);
}

QString frmJobMailbox::ruleListText(const ListView* list) const {
    QList<Rule> rules;
    for (int i = 1; i <= list->count(); ++i) {
        const ListItem* row = list->item(i);
        rules.append(Rule{row->text(), row->subItem(1)});
    }
    return MailboxRules::encode(rules);
}

void frmJobMailbox::saveCriteriaList() {
    writeKey(QStringLiteral("Criteria"), ruleListText(lstCriteria));
}

void frmJobMailbox::saveExceptionList() {
    writeKey(QStringLiteral("Exception"), ruleListText(lstException));
}

void frmJobMailbox::openRuleEditor(const QString& mode) {
    // The criteria editor copies the rows of the mode's list and writes them back on its OK;
    // it unloads itself, so every opening starts from this editor's current list.
    if (m_ctx.windows().has(kRuleEditor) &&
        frmJobMailboxEdit::editRules(m_ctx, mode, lstCriteria, lstException, this)) {
        ColumnFit::refit(mode == kCriteriaMode ? lstCriteria : lstException);
    }
}

void frmJobMailbox::cmdCriteria_Click() {
    openRuleEditor(kCriteriaMode);
}

void frmJobMailbox::cmdException_Click() {
    openRuleEditor(kExceptionMode);
}

void frmJobMailbox::lstCriteria_DblClick() {
    if (lstCriteria->isEnabled()) {
        openRuleEditor(kCriteriaMode);
    }
}

void frmJobMailbox::lstException_DblClick() {
    if (lstException->isEnabled()) {
        openRuleEditor(kExceptionMode);
    }
}

// ---- enable rules --------------------------------------------------------------------------

void frmJobMailbox::applyTestRule() {
    cmdTest->setEnabled(!txtMailserver->text().isEmpty() && !txtPort->text().isEmpty() &&
                        !txtUsername->text().isEmpty() && !txtPassword->text().isEmpty());
    applyOkRule();
}

bool frmJobMailbox::canSave() const {
    // A mailbox job is never the default job: it always needs its identifier.
    return JobEditorFrame::canSave() && !identifier().isEmpty() && cmdTest->isEnabled();
}

void frmJobMailbox::applyOkRule() {
    const bool ready = canSave();
    cmdOK->setEnabled(ready);
    chkActive->setEnabled(ready);
}

void frmJobMailbox::identifierChanged() {
    // The caption, the example and the Active tick stay as they are.
    applyOkRule();
}

QString frmJobMailbox::captionSuffix() const {
    return QStringLiteral(" [") + QString::number(jobNumber()) + u']';
}

void frmJobMailbox::txtJobIdent_LostFocus() {
    // Any character may stand in a mailbox job's identifier.
}

void frmJobMailbox::txtMailserver_Change() {
    applyTestRule();
}
void frmJobMailbox::txtPort_Change() {
    applyTestRule();
}
void frmJobMailbox::txtUsername_Change() {
    applyTestRule();
}
void frmJobMailbox::txtPassword_Change() {
    applyTestRule();
}

// ---- options -------------------------------------------------------------------------------

void frmJobMailbox::tubby_Click() {
    const bool request = tubby->selectedIndex() == 2;
    FraRequest->setVisible(request);
    FraNotification->setVisible(!request);
    optMinutes->setVisible(!request);
    optHours->setVisible(!request);
}

void frmJobMailbox::optNewMail_Click() {
    lstCriteria->setEnabled(false);
    cmdCriteria->setEnabled(false);
}

void frmJobMailbox::optCriteria_Click() {
    lstCriteria->setEnabled(true);
    cmdCriteria->setEnabled(true);
    lstCriteria->setFocus();
}

void frmJobMailbox::chkException_Click() {
    const bool on = chkException->isChecked();
    // The list can be edited either way; it is kept only while the box is ticked.
    lstException->setEnabled(on);
    if (on) {
        lstException->setFocus();
    }
}

void frmJobMailbox::chkRequest_Click() {
    const bool on = chkRequest->isChecked();
    setAllEnabled({labRequest1, labRequest2, labRequest3, labRequest4, txtMaxMsg, chkStripHTML}, on);
    labExample->setVisible(on);
    labExample->setText(Example());
}

// ---- checks on leaving a box ---------------------------------------------------------------

void frmJobMailbox::correctPort() {
    if (!MailboxRules::isPort(txtPort->text())) {
        txtPort->setText(kDefaultPort);
    }
}

bool frmJobMailbox::checkNumber(QLineEdit* box, const QString& message) {
    if (MailboxRules::isNumber(box->text())) {
        return true;
    }
    m_checkingBox = true;
    m_ctx.msgBox().show(message, MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick: Invalid input"),
                        this);
    box->setFocus();
    m_checkingBox = false;
    return false;
}

void frmJobMailbox::txtPort_LostFocus() {
    correctPort();
}

void frmJobMailbox::txtIntervall_LostFocus() {
    // A mailbox is checked every so many minutes: no interval, or one of 0, would have it
    // checked on every tick.
    if (MailboxRules::numberValue(txtIntervall->text()) > 0) {
        return;
    }
    refuseInterval();
}

void frmJobMailbox::refuseInterval() {
    m_checkingBox = true;
    m_ctx.msgBox().show(QStringLiteral("Please enter the number if minutes or hours") + kCRLF +
                            QStringLiteral("for an interval to check this mailbox."),
                        MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick: Invalid input"), this);
    txtIntervall->setFocus();
    m_checkingBox = false;
}

double frmJobMailbox::intervalMinutes() const {
    const double value = MailboxRules::numberValue(txtIntervall->text());
    return optHours->isChecked() ? value * 60 : value;
}

void frmJobMailbox::txtMaxMsg_LostFocus() {
    checkNumber(txtMaxMsg,
                QStringLiteral("Please enter a number to limit the number of messages to be send."));
}

bool frmJobMailbox::checkBeforeSave() {
    // The interval is stored as a positive whole number of minutes, also when the box was
    // never touched or the job had none. Enter presses OK without leaving a box, so a limit
    // that is no number is refused here too; an empty limit is stored as 1.
    if (!MailboxRules::isWholeMinutes(intervalMinutes())) {
        refuseInterval();
        return false;
    }
    if (chkRequest->isChecked() && !txtMaxMsg->text().isEmpty() &&
        !MailboxRules::isNumber(txtMaxMsg->text())) {
        txtMaxMsg_LostFocus();
        return false;
    }
    return true;
}

bool frmJobMailbox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !m_checkingBox && isVisible() &&
        (watched == txtPort || watched == txtIntervall || watched == txtMaxMsg)) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move to another control of this window counts as leaving the box, and the
        // way out through Cancel stays open.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            QApplication::focusWidget() != cmdCancel) {
            if (watched == txtPort) {
                txtPort_LostFocus();
            } else if (watched == txtIntervall) {
                txtIntervall_LostFocus();
            } else {
                txtMaxMsg_LostFocus();
            }
        }
    }
    return JobEditorFrame::eventFilter(watched, event);
}

// ---- login test ----------------------------------------------------------------------------

void frmJobMailbox::cmdTest_Click() {
    if (!cmdTest->isEnabled()) {
        return;
    }
    // The port goes to the server as a 16-bit number: a box that holds none gets the default
    // port, as leaving the box would have given it.
    correctPort();
    const QString user = txtUsername->text();
    const QString server = txtMailserver->text();
    AppContext& ctx = m_ctx;
    QPointer<frmJobMailbox> self(this);
    Hourglass wait;
    const QString result =
        POPLogin(ctx, user, txtPassword->text(), server, MailboxRules::portValue(txtPort->text()));
    wait.restore();
    if (!self) {
        // The editor closed while the server was being asked: no box, and no session left open.
        if (result == u"OK") {
            POPLogout(ctx);
        }
        return;
    }
    if (result != u"OK") {
        // POPLogin has logged out already.
        m_ctx.msgBox().show(
            QStringLiteral("An error occurred when accessing this mailbox: ") + kCRLF + result,
            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick: Can't access mailbox"), this);
        return;
    }
    m_ctx.msgBox().show(
        QStringLiteral("Tellwick successfully logged in to the mailbox '%1' on %2.").arg(user, server),
        MsgBox::OKOnly, MsgBox::Information, QStringLiteral("Tellwick: Mailbox configuration OK"), this);
    POPLogout(m_ctx);
}
