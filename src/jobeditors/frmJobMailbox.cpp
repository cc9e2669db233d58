#include "frmJobMailbox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AppContext.h"
#include "ListView.h"
#include "MailboxRules.h"
#include "MsgBox.h"
#include "PopFunctions.h"
#include "Prompts.h"
#include "Scramble.h"
#include "TabStrip.h"
#include "Twips.h"

using MailboxRules::Rule;

namespace {
const QString kCRLF = QStringLiteral("\r\n");
const QString kDefaultPort = QStringLiteral("110");
constexpr int kMailboxTypeIndex = 4;
constexpr int kFieldColumnTwips = 700;
constexpr int kExpressionColumnTwips = 1600;
constexpr int kBoxWidthTwips = 2400;
constexpr int kNumberBoxWidthTwips = 600;
constexpr int kOptionsWidthTwips = 6300;
constexpr int kPictureButtonPixels = 20;

QPushButton* plainButton(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// The small picture of the buttons that open the criteria editor: a list with a pen.
QIcon listEditIcon() {
    QPixmap pixmap(kPictureButtonPixels, kPictureButtonPixels);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 12, 15);
    for (int y = 5; y <= 14; y += 3) {
        p.drawLine(4, y, 12, y);
    }
    p.setPen(QPen(QColor(30, 90, 200), 2));
    p.drawLine(11, 18, 18, 8);
    return QIcon(pixmap);
}

QPushButton* pictureButton(QWidget* parent) {
    auto* b = plainButton(QString(), parent);
    b->setIcon(listEditIcon());
    b->setIconSize(QSize(kPictureButtonPixels, kPictureButtonPixels));
    b->setFixedSize(kPictureButtonPixels + 8, kPictureButtonPixels + 8);
    return b;
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
}  // namespace

frmJobMailbox::frmJobMailbox(AppContext& ctx, QWidget* parent)
    : JobEditorFrame(ctx, kMailboxTypeIndex, WithoutRestrictions, parent) {
    makeMailboxSettings();
    makeJobOptions();

    auto* area = new QHBoxLayout(optionsArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(Frame2, 0, Qt::AlignTop);
    area->addWidget(Frame3, 1);

    // New jobs start with empty lists that show their two columns.
    fillCriteriaList(QString());
    fillExceptionList(QString());
    connectHandlers();

    for (QLineEdit* box : {txtMailserver, txtPort, txtUsername, txtPassword, txtRecipient, txtIntervall, txtMaxMsg}) {
        selectAllOnFocus(box);
    }
    for (QLineEdit* box : {txtPort, txtIntervall, txtMaxMsg}) {
        box->installEventFilter(this);
    }
    setTabOrder(txtDesc, txtMailserver);

    // The design values, which a new job keeps.
    optMinutes->setChecked(true);
    choose(optNewMail);
    chkException_Click();
    chkRequest_Click();
    applyTestRule();
    finishLoad();
    tubby_Click();
}

frmJobMailbox::~frmJobMailbox() = default;

void frmJobMailbox::makeMailboxSettings() {
    Frame2 = new QGroupBox(QStringLiteral("Mailbox settings:"), optionsArea());
    Label6 = wrappedLabel(QStringLiteral("Enter access information for the mailbox you want to check:"), Frame2);
    Label7 = new QLabel(QStringLiteral("POP&3 servername or IP address:"), Frame2);
    txtMailserver = new QLineEdit(Frame2);
    Label10 = new QLabel(QStringLiteral("Po&rt:"), Frame2);
    txtPort = new QLineEdit(Frame2);
    Label8 = new QLabel(QStringLiteral("&Username:"), Frame2);
    txtUsername = new QLineEdit(Frame2);
    Label9 = new QLabel(QStringLiteral("Pass&word:"), Frame2);
    txtPassword = new QLineEdit(Frame2);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
    cmdTest = plainButton(QStringLiteral("&Test..."), Frame2);
    Label7->setBuddy(txtMailserver);
    Label10->setBuddy(txtPort);
    Label8->setBuddy(txtUsername);
    Label9->setBuddy(txtPassword);
    txtMailserver->setMinimumWidth(Twips::toPixels(kBoxWidthTwips));
    txtPort->setMaximumWidth(Twips::toPixels(kNumberBoxWidthTwips * 2));

    auto* layout = new QGridLayout(Frame2);
    layout->addWidget(Label6, 0, 0, 1, 2);
    layout->addWidget(Label7, 1, 0, 1, 2);
    layout->addWidget(txtMailserver, 2, 0, 1, 2);
    layout->addWidget(Label10, 3, 0);
    layout->addWidget(txtPort, 3, 1, Qt::AlignLeft);
    layout->addWidget(Label8, 4, 0);
    layout->addWidget(txtUsername, 4, 1);
    layout->addWidget(Label9, 5, 0);
    layout->addWidget(txtPassword, 5, 1);
    layout->addWidget(cmdTest, 6, 1, Qt::AlignRight);
}

void frmJobMailbox::makeJobOptions() {
    Frame3 = new QGroupBox(QStringLiteral("Job options: "), optionsArea());
    Frame3->setMinimumWidth(Twips::toPixels(kOptionsWidthTwips));
    Label14 = wrappedLabel(
        QStringLiteral(
            "This job can do two things: First, it can query the above mailbox and send notification SMS "
            "messages on new mail, mail from certain senders or with certain keywords in the subject. "
            "Second, you can request particular messages from this mailbox by SMS and get the message text "
            "send back to your cellphone."),
        Frame3);
    Label4 = new QLabel(QStringLiteral("&Send all SMS messages to this/these number(s):"), Frame3);
    txtRecipient = new QLineEdit(Frame3);
    Label4->setBuddy(txtRecipient);
    tubby = new TabStrip(Frame3);
    tubby->addTab1(QStringLiteral("Notification"));
    tubby->addTab1(QStringLiteral("Message request"));
    tubby->setExpanding(false);

    makeNotificationTab();
    makeRequestTab();

    auto* layout = new QVBoxLayout(Frame3);
    layout->addWidget(Label14);
    layout->addWidget(Label4);
    layout->addWidget(txtRecipient);
    layout->addWidget(tubby);
    layout->addWidget(FraNotification, 1);
    layout->addWidget(FraRequest, 1);
}

void frmJobMailbox::makeNotificationTab() {
    FraNotification = new QGroupBox(Frame3);
    // The interval belongs to the notifications; the request tab hides it with them.
    Label11 = new QLabel(QStringLiteral("Check this &mailbox every"), FraNotification);
    txtIntervall = new QLineEdit(FraNotification);
    txtIntervall->setFixedWidth(Twips::toPixels(kNumberBoxWidthTwips));
    Label11->setBuddy(txtIntervall);
    optMinutes = new QRadioButton(QStringLiteral("minutes"), FraNotification);
    optHours = new QRadioButton(QStringLiteral("hours"), FraNotification);
    m_unitGroup = new QButtonGroup(this);
    m_unitGroup->addButton(optMinutes);
    m_unitGroup->addButton(optHours);
    Label3 = new QLabel(QStringLiteral("Send a SMS notification on this event:"), FraNotification);
    optNewMail = new QRadioButton(QStringLiteral("All new mail in mail&box"), FraNotification);
    optCriteria = new QRadioButton(QStringLiteral("mess&age meets one of these criterias:"), FraNotification);
    m_eventGroup = new QButtonGroup(this);
    m_eventGroup->addButton(optNewMail);
    m_eventGroup->addButton(optCriteria);
    lstCriteria = new ListView(FraNotification);
    cmdCriteria = pictureButton(FraNotification);
    Label12 = wrappedLabel(
        QStringLiteral(
            "You may also set up exceptions. If one of the exception is found, Tellwick won't send a "
            "notification. This way, you can -for example- send notifications on new mail, but not from "
            "certain senders or with certain keywords in the subject."),
        FraNotification);
    chkException =
        new QCheckBox(QStringLiteral("Don't send a notification if one if these exceptions is met:"), FraNotification);
    lstException = new ListView(FraNotification);
    cmdException = pictureButton(FraNotification);
    // Other windows find the two lists by these names.
    lstCriteria->setObjectName(QStringLiteral("lstCriteria"));
    lstException->setObjectName(QStringLiteral("lstException"));
    // A header and three rows; the window grows with the rows' text, not with the lists.
    const int listHeight = lstCriteria->fontMetrics().height() * 5 + 8;
    for (ListView* list : {lstCriteria, lstException}) {
        list->setRootIsDecorated(false);
        list->setFixedHeight(listHeight);
    }

    auto* interval = new QHBoxLayout;
    interval->addWidget(Label11);
    interval->addWidget(txtIntervall);
    interval->addWidget(optMinutes);
    interval->addWidget(optHours);
    interval->addStretch(1);

    auto* layout = new QGridLayout(FraNotification);
    layout->addLayout(interval, 0, 0, 1, 2);
    layout->addWidget(Label3, 1, 0, 1, 2);
    layout->addWidget(optNewMail, 2, 0, 1, 2);
    layout->addWidget(optCriteria, 3, 0, 1, 2);
    layout->addWidget(lstCriteria, 4, 0);
    layout->addWidget(cmdCriteria, 4, 1, Qt::AlignTop);
    layout->addWidget(Label12, 5, 0, 1, 2);
    layout->addWidget(chkException, 6, 0, 1, 2);
    layout->addWidget(lstException, 7, 0);
    layout->addWidget(cmdException, 7, 1, Qt::AlignTop);
}

void frmJobMailbox::makeRequestTab() {
    FraRequest = new QGroupBox(Frame3);
    Label13 = wrappedLabel(
        QStringLiteral("Upon request, this job can send a particular eMail message from your inbox by SMS. Do "
                       "you want to allow this?"),
        FraRequest);
    chkRequest = new QCheckBox(QStringLiteral("Allow requesting particular eMail messages by SMS"), FraRequest);
    labRequest1 = wrappedLabel(
        QStringLiteral("Since the message text could be quite long, you can limit the max. no. of SMS "
                       "messages to return:"),
        FraRequest);
    labRequest2 = new QLabel(QStringLiteral("Send ma&x."), FraRequest);
    txtMaxMsg = new QLineEdit(FraRequest);
    txtMaxMsg->setFixedWidth(Twips::toPixels(kNumberBoxWidthTwips));
    labRequest2->setBuddy(txtMaxMsg);
    labRequest3 = new QLabel(QStringLiteral("SMS messages in return"), FraRequest);
    labRequest4 = wrappedLabel(
        QStringLiteral(
            "(You can override this limit by sending the maximum number of messages with your request)"),
        FraRequest);
    chkStripHTML = new QCheckBox(QStringLiteral("Strip HTM&L code from message text"), FraRequest);

    auto* limit = new QHBoxLayout;
    limit->addWidget(labRequest2);
    limit->addWidget(txtMaxMsg);
    limit->addWidget(labRequest3);
    limit->addStretch(1);
    auto* layout = new QVBoxLayout(FraRequest);
    layout->addWidget(Label13);
    layout->addWidget(chkRequest);
    layout->addWidget(labRequest1);
    layout->addLayout(limit);
    layout->addWidget(labRequest4);
    layout->addWidget(chkStripHTML);
    layout->addStretch(1);
}

void frmJobMailbox::connectHandlers() {
    connect(txtMailserver, &QLineEdit::textChanged, this, [this] { txtMailserver_Change(); });
    connect(txtPort, &QLineEdit::textChanged, this, [this] { txtPort_Change(); });
    connect(txtUsername, &QLineEdit::textChanged, this, [this] { txtUsername_Change(); });
    connect(txtPassword, &QLineEdit::textChanged, this, [this] { txtPassword_Change(); });
    // After the frame's own name handler, so the fuller rule has the last word.
    connect(txtName, &QLineEdit::textChanged, this, [this] { applyOkRule(); });
    connect(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });
    connect(tubby, &TabStrip::TabClick, this, [this] { tubby_Click(); });
    connect(optNewMail, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optNewMail_Click();
    });
    connect(optCriteria, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optCriteria_Click();
    });
    connect(chkException, &QCheckBox::toggled, this, [this] { chkException_Click(); });
    connect(chkRequest, &QCheckBox::toggled, this, [this] { chkRequest_Click(); });
    connect(cmdCriteria, &QPushButton::clicked, this, [this] { cmdCriteria_Click(); });
    connect(cmdException, &QPushButton::clicked, this, [this] { cmdException_Click(); });
    connect(lstCriteria, &ListView::DblClick, this, [this] { lstCriteria_DblClick(); });
    connect(lstException, &ListView::DblClick, this, [this] { lstException_DblClick(); });
}

void frmJobMailbox::ownToolTips() {
    const int width = 400;
    const int autoPop = 10000;
    const QString none;
    const QString unitTip = QStringLiteral("Select the measurement of your interval settings");
    const QList<QPair<QWidget*, QString>> tips = {
        {txtMailserver,
         QStringLiteral("Enter the name or IP address of the mailserver hosting the mailbox you want to be "
                        "checked by this job.")},
        {txtPort,
         QStringLiteral("Enter the port number the mailserver is listening on. The default POP3 port is 110.")},
        {txtUsername, QStringLiteral("Enter the username to access this mailbox")},
        {txtPassword, QStringLiteral("Enter the password to access this mailbox")},
        {cmdTest, QStringLiteral("Click here to test your mailbox settings")},
        {txtIntervall, QStringLiteral("Enter the interval to check the mailbox for this job")},
        {optMinutes, unitTip},
        {optHours, unitTip},
        {optNewMail,
         QStringLiteral("Choose this option if you want to send a SMS notification whenever new mail arrives "
                        "in the mailbox for this job.")},
        {optCriteria,
         QStringLiteral("Choose this option if you want to get a notification by SMS if mail from specific "
                        "senders or with certain keywords in the subject arrive in this mailbox.")},
        {lstCriteria,
         QStringLiteral("Set up your criterias for incoming mail here.Click the button to the right to edit "
                        "your criteria list.")},
        {chkException,
         QStringLiteral("Check this option to use the exception list below. Criterias in the exception list "
                        "will prevent notifications, for example if you want to be notified on new mail, but "
                        "not for spam or ad messages.")},
        {lstException,
         QStringLiteral("Set up your exception list here.Click the button to the right to edit your exception "
                        "list.")},
        {chkRequest,
         QStringLiteral("Check this option, if you want to allow message request from this job.If checked, you "
                        "may send an SMS request (see example below) and this job will get a message from the "
                        "mailbox and send it by SMS back to the sender.")},
        {txtMaxMsg,
         QStringLiteral("The number you enter here will be the limit of SMS messages to be send back in return "
                        "to a message request. Since eMail messages can be quite long, Tellwick will "
                        "automatically split up the message text and send it with multiple SMS messages. "
                        "Please note: This default limit can be changed by a value send by the request SMS "
                        "(see example below).")},
        {chkStripHTML,
         QStringLiteral("Check this option if you want to strip HTML code from the message text before it is "
                        "send by SMS.")},
        {txtRecipient,
         QStringLiteral("Enter the phone number(s) to send SMS notifications to here. Seperate multiple "
                        "numbers by commas. PLEASE NOTE: Only this/these number/s will be allowed to request "
                        "eMail messages by SMS.")},
    };
    for (const auto& [control, text] : tips) {
        setToolTip(control, text, none, width, autoPop);
    }
}

// ---- record --------------------------------------------------------------------------------

void frmJobMailbox::getJob() {
    loadCommonFields();
    txtMailserver->setText(readKey(QStringLiteral("Server")));
    txtPort->setText(readKey(QStringLiteral("Port")));
    txtUsername->setText(readKey(QStringLiteral("Username")));
    txtPassword->setText(scramble(readKey(QStringLiteral("Password")), QString()));

    // The interval always shows in minutes.
    choose(optMinutes);
    txtIntervall->setText(readKey(QStringLiteral("Interval")));

    const QString criteria = readKey(QStringLiteral("Criteria"));
    if (!criteria.isEmpty()) {
        choose(optCriteria);
        fillCriteriaList(criteria);
    } else {
        choose(optNewMail);
    }
    const QString exception = readKey(QStringLiteral("Exception"));
    chkException->setChecked(!exception.isEmpty());
    fillExceptionList(exception);

    txtRecipient->setText(readKey(QStringLiteral("Recipient")).replace(u';', u','));

    chkRequest->setChecked(numericValue(readKey(QStringLiteral("AllowMsgRequests"))) != 0);
    txtMaxMsg->setText(readKey(QStringLiteral("MaxMsg")));
    chkStripHTML->setChecked(numericValue(readKey(QStringLiteral("stripHTML"))) != 0);
    chkActive->setChecked(numericValue(readKey(QStringLiteral("Active"))) != 0);
}

void frmJobMailbox::saveJob() {
    writeCommonHead();
    writeKey(QStringLiteral("Server"), txtMailserver->text());
    correctPort();
    writeKey(QStringLiteral("Port"), txtPort->text());
    writeKey(QStringLiteral("Username"), txtUsername->text());
    writeKey(QStringLiteral("Password"), scramble(txtPassword->text(), QString()));

    double interval = MailboxRules::numberValue(txtIntervall->text());
    if (optHours->isChecked()) {
        interval *= 60;
    }
    writeKey(QStringLiteral("Interval"), MailboxRules::formatNumber(interval));

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

    txtRecipient->setText(txtRecipient->text().replace(u';', u','));
    writeKey(QStringLiteral("Recipient"), txtRecipient->text());

    if (txtMaxMsg->text().isEmpty()) {
        txtMaxMsg->setText(QStringLiteral("1"));
    }
    const QString allow = QStringLiteral("AllowMsgRequests");
    const QString maxMsg = QStringLiteral("MaxMsg");
    const QString strip = QStringLiteral("stripHTML");
    if (chkRequest->isChecked()) {
        writeKey(allow, QStringLiteral("1"));
        writeKey(maxMsg, MailboxRules::formatNumber(MailboxRules::numberValue(txtMaxMsg->text())));
        writeKey(strip, flag(chkStripHTML->isChecked()));
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
    WindowRegistry& windows = m_ctx.windows();
    if (!windows.has(kRuleEditor)) {
        return;
    }
    QPointer<QWidget> window = windows.get(kRuleEditor);
    auto* dialog = qobject_cast<QDialog*>(window.data());
    if (!dialog) {
        return;
    }
    // The editor reads its mode from its Tag, and finds the list it works on in its owner.
    dialog->setProperty("Tag", mode);
    dialog->setParent(this, dialog->windowFlags() | Qt::Dialog);
    dialog->exec();
    // Every opening starts again from this editor's current list.
    if (window && windows.existing(kRuleEditor) == window) {
        window->setParent(nullptr);
        windows.unload(kRuleEditor);
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

void frmJobMailbox::choose(QRadioButton* option) {
    if (!option->isChecked()) {
        option->setChecked(true);  // its toggled handler runs
    } else if (option == optNewMail) {
        optNewMail_Click();
    } else if (option == optCriteria) {
        optCriteria_Click();
    }
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
    for (QWidget* w : {static_cast<QWidget*>(labRequest1), static_cast<QWidget*>(labRequest2),
                       static_cast<QWidget*>(labRequest3), static_cast<QWidget*>(labRequest4),
                       static_cast<QWidget*>(txtMaxMsg), static_cast<QWidget*>(chkStripHTML)}) {
        w->setEnabled(on);
    }
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
    m_ctx.msgBox().show(message, MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick: Invalid input"), this);
    box->setFocus();
    m_checkingBox = false;
    return false;
}

void frmJobMailbox::txtPort_LostFocus() {
    correctPort();
}

void frmJobMailbox::txtIntervall_LostFocus() {
    checkNumber(txtIntervall, QStringLiteral("Please enter the number if minutes or hours") + kCRLF +
                                  QStringLiteral("for an interval to check this mailbox."));
}

void frmJobMailbox::txtMaxMsg_LostFocus() {
    checkNumber(txtMaxMsg, QStringLiteral("Please enter a number to limit the number of messages to be send."));
}

bool frmJobMailbox::checkBeforeSave() {
    // Enter presses OK without leaving a box, so what leaving would have refused is refused
    // here: an interval or a limit that is no number would be stored as 0. An empty box is
    // stored as 0 (interval) or 1 (limit).
    if (!txtIntervall->text().isEmpty() && !MailboxRules::isNumber(txtIntervall->text())) {
        txtIntervall_LostFocus();
        return false;
    }
    if (chkRequest->isChecked() && !txtMaxMsg->text().isEmpty() && !MailboxRules::isNumber(txtMaxMsg->text())) {
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

void frmJobMailbox::showEvent(QShowEvent* event) {
    JobEditorFrame::showEvent(event);
    // Wrapped labels report too small a minimum; the window never gets smaller than it needs.
    const QSize needed = sizeHint();
    setMinimumSize(needed);
    resize(size().expandedTo(needed));
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
        m_ctx.msgBox().show(QStringLiteral("An error occurred when accessing this mailbox: ") + kCRLF + result,
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick: Can't access mailbox"),
                            this);
        return;
    }
    m_ctx.msgBox().show(
        QStringLiteral("Tellwick successfully logged in to the mailbox '%1' on %2.").arg(user, server),
        MsgBox::OKOnly, MsgBox::Information, QStringLiteral("Tellwick: Mailbox configuration OK"), this);
    POPLogout(m_ctx);
}
