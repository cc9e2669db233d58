#include "frmJobForward.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AppContext.h"
#include "Twips.h"

namespace {
constexpr int kBoxWidthTwips = 2700;
}  // namespace

frmJobForward::frmJobForward(AppContext& ctx, QWidget* parent)
    : JobEditorFrame(ctx, 0, WithRestrictions, parent) {
    Frame1 = new QGroupBox(QStringLiteral("&Job options:"), optionsArea());
    optToUserDef = new QRadioButton(
        QStringLiteral("recipient's nu&mber or address will be send with the message"), Frame1);
    optToDefault = new QRadioButton(QStringLiteral("&forward to this number/address (list):"), Frame1);
    txtRecipient = new QLineEdit(Frame1);
    optFromDB = new QRadioButton(QStringLiteral("&get recipient list from a database:"), Frame1);
    txtConnection = labelledBox(Label3, QStringLiteral("D&B connection string (ADO):"), Frame1);
    cmdBuild = commandButton(QStringLiteral("B&uild"), Frame1);
    txtQuery = labelledBox(Label6, QStringLiteral("S&QL query string:"), Frame1);
    cmdTest = commandButton(QStringLiteral("&Test"), Frame1);
    cmdHelp = commandButton(QStringLiteral("&Help"), Frame1);
    txtSubject = labelledBox(labSubject, QStringLiteral("&Subject for E-Mail messages:"), Frame1);
    chkSRR = new QCheckBox(QStringLiteral("request deli&very confirmation"), Frame1);
    chkFlash = new QCheckBox(QStringLiteral("forwar&d as flash (alert) SMS"), Frame1);
    Label7 = new QLabel(
        QStringLiteral(
            "Incoming SMS messages can be forwarded by SMS or E-Mail, depending on the type of address you "
            "enter or select here. Tellwick will automatically detect which messaging system to use for "
            "forwarding messages."),
        Frame1);
    Label7->setWordWrap(true);

    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(optToUserDef);
    m_modeGroup->addButton(optToDefault);
    m_modeGroup->addButton(optFromDB);

    auto* box = new QVBoxLayout(Frame1);
    box->addWidget(optToUserDef);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(optToDefault);
    listRow->addWidget(txtRecipient, 1);
    box->addLayout(listRow);
    box->addWidget(optFromDB);
    auto* connectionRow = new QHBoxLayout;
    connectionRow->setContentsMargins(24, 0, 0, 0);
    connectionRow->addWidget(Label3);
    connectionRow->addWidget(txtConnection, 1);
    connectionRow->addWidget(cmdBuild);
    box->addLayout(connectionRow);
    auto* queryRow = new QHBoxLayout;
    queryRow->setContentsMargins(24, 0, 0, 0);
    queryRow->addWidget(Label6);
    queryRow->addWidget(txtQuery, 1);
    queryRow->addWidget(cmdTest);
    queryRow->addWidget(cmdHelp);
    box->addLayout(queryRow);
    const int labelWidth = qMax(Label3->sizeHint().width(), Label6->sizeHint().width());
    Label3->setFixedWidth(labelWidth);
    Label6->setFixedWidth(labelWidth);
    for (QLineEdit* edit : {txtRecipient, txtConnection, txtQuery}) {
        edit->setMinimumWidth(Twips::toPixels(kBoxWidthTwips));
    }
    for (QPushButton* b : {cmdBuild, cmdTest, cmdHelp}) {
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    auto* subjectRow = new QHBoxLayout;
    subjectRow->addWidget(labSubject);
    subjectRow->addWidget(txtSubject, 1);
    box->addLayout(subjectRow);
    auto* flagRow = new QHBoxLayout;
    flagRow->addWidget(chkSRR);
    flagRow->addWidget(chkFlash);
    flagRow->addStretch(1);
    box->addLayout(flagRow);
    box->addWidget(Label7);
    auto* area = new QVBoxLayout(optionsArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(Frame1);

    onChosen(optToUserDef, [this] { optToUserDef_Click(); });
    onChosen(optToDefault, [this] { optToDefault_Click(); });
    onChosen(optFromDB, [this] { optFromDB_Click(); });
    connect(txtQuery, &QLineEdit::textChanged, this, [this] { txtQuery_Change(); });
    connect(cmdBuild, &QPushButton::clicked, this, [this] { cmdBuild_Click(); });
    connect(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });

    for (QLineEdit* box : {txtRecipient, txtSubject, txtConnection, txtQuery}) {
        selectAllOnFocus(box);
    }
    setTabOrder(txtDesc, optToUserDef);
    finishLoad();
}

frmJobForward::~frmJobForward() = default;

void frmJobForward::ownToolTips() {
    setToolTip(
        optToUserDef,
        QStringLiteral("Choose this option, if you want to send the recipient's number(s) by SMS. In your "
                       "message, seperate multiple numbers by commas."));
    setToolTip(
        optToDefault,
        QStringLiteral("Choose this to pre-define the recipient's number(s) in the field to the right."));
    setToolTip(
        optFromDB,
        QStringLiteral("Choose this to get a recipient list from a database. Enter the ADO connection string "
                       "and SQL query in the fields below."));
    setToolTip(
        txtRecipient,
        QStringLiteral("Enter the phone number(s) or E-Mail address(es) you want to forward messages to with "
                       "this jobs. Seperate multiple numbers/Addresses by commas."));
    setToolTip(txtSubject,
               QStringLiteral(
                   "Enter the subject here, if you want to forward by E-Mail. The subject will be ignored "
                   "if forwarded by SMS."));
    setToolTip(txtConnection,
               QStringLiteral("Enter an ADO connection string to connect to your database. Example: "
                              "'PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=<FullPathToDB>;'."));
    setToolTip(cmdBuild,
               QStringLiteral(
                   "Open a dialog to build your connection string by choosing an ODBC datasource or driver "
                   "and database file."));
    setToolTip(cmdTest, QStringLiteral("Test your SQL query and show the result."));
    setToolTip(txtQuery,
               QStringLiteral(
                   "Enter your SQL query string here, for example 'SELECT [MobileNumber] from [yourTable]. "
                   "PLEASE NOTE: Make sure to select the column containing the mobile phone number or "
                   "E-Mail address, only. It's strongly recommended to test all SQL queries!"));
    setToolTip(cmdHelp, QStringLiteral("Click here to get more help on creating SQL query strings..."));
    setToolTip(chkSRR, QStringLiteral(
                           "Check this box to request a delivery confirmation from the service center after "
                           "forwarding a message. Applies to SMS messages only."));
    setToolTip(chkFlash,
               QStringLiteral(
                   "Check this box to forward messages as flash (alert) SMS. Applies to SMS messages only."));
}

// ---- record --------------------------------------------------------------------------------

void frmJobForward::getJob() {
    loadCommonFields();
    chkSRR->setChecked(readFlag(QStringLiteral("Report")));
    chkFlash->setChecked(readFlag(QStringLiteral("Flash")));
    txtConnection->setText(readKey(QStringLiteral("Connection")));
    txtQuery->setText(readKey(QStringLiteral("Query")));
    txtSubject->setText(readKey(QStringLiteral("Subject")));
    // The mode is not stored: it follows from the keys present.
    if (!txtConnection->text().isEmpty() && !txtQuery->text().isEmpty()) {
        chooseOption(optFromDB);
    } else {
        txtRecipient->setText(readKey(QStringLiteral("DefaultNo")));
        chooseOption(txtRecipient->text().isEmpty() ? optToUserDef : optToDefault);
    }
    loadRestrictions();
}

void frmJobForward::saveJob() {
    writeCommonHead();
    writeKey(QStringLiteral("Subject"), txtSubject->text());
    writeFlag(QStringLiteral("Report"), chkSRR->isChecked());
    writeFlag(QStringLiteral("Flash"), chkFlash->isChecked());
    const QString defaultNo = QStringLiteral("DefaultNo");
    const QString connection = QStringLiteral("Connection");
    const QString query = QStringLiteral("Query");
    if (optToUserDef->isChecked()) {
        writeKey(defaultNo, QString());
        deleteKey(connection);
        deleteKey(query);
    } else if (optToDefault->isChecked()) {
        writeKey(defaultNo, storedNumberList(txtRecipient->text()));
        deleteKey(connection);
        deleteKey(query);
    } else if (optFromDB->isChecked()) {
        deleteKey(defaultNo);
        writeKey(connection, txtConnection->text());
        writeKey(query, txtQuery->text());
    }
    writeCommonTail();
}

QString frmJobForward::Example() const {
    const QString tail = optToUserDef->isChecked() ? QStringLiteral("Number/Address(list);yourMessageText")
                                                   : QStringLiteral("yourMessageText");
    return QStringLiteral("Example SMS message for this job:\r\n'") + identifier() + tail + u'\'';
}

void frmJobForward::newJobDefaults() {
    chooseOption(optToUserDef);
}

// ---- recipient mode ------------------------------------------------------------------------

void frmJobForward::applyModeRules() {
    labExample->setText(Example());
    const bool fixedList = optToDefault->isChecked();
    const bool database = optFromDB->isChecked();
    txtRecipient->setEnabled(fixedList);
    setAllEnabled({Label3, txtConnection, cmdBuild, Label6, txtQuery, cmdHelp}, database);
    cmdTest->setEnabled(database && !txtQuery->text().isEmpty());
    if (database) {
        txtConnection->setFocus();
    } else if (fixedList) {
        txtRecipient->setFocus();
    }
}

void frmJobForward::optToUserDef_Click() {
    applyModeRules();
}
void frmJobForward::optToDefault_Click() {
    applyModeRules();
}
void frmJobForward::optFromDB_Click() {
    applyModeRules();
}

void frmJobForward::txtQuery_Change() {
    cmdTest->setEnabled(optFromDB->isChecked() && !txtQuery->text().isEmpty());
}

// ---- database ------------------------------------------------------------------------------

void frmJobForward::cmdBuild_Click() {
    buildConnection(txtConnection);
}

void frmJobForward::cmdTest_Click() {
    testRecipientQuery(txtConnection->text(), txtQuery->text());
}

void frmJobForward::cmdHelp_Click() {
    showSqlHelp();
}
