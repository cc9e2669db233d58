#include "frmJobQuery.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "AppContext.h"
#include "TextArea.h"
#include "Twips.h"

namespace {
constexpr int kQueryType = 2;
constexpr int kBoxWidthTwips = 4800;
constexpr int kQueryHeightTwips = 1200;
constexpr int kDelimiterWidthTwips = 600;
constexpr int kIndentPixels = 20;

// The SQL text as the settings file can hold it: one line, each line break one blank.
QString oneLine(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n|\u2028|\u2029"));
    return QString(text).replace(lineBreak, QStringLiteral(" "));
}
constexpr int kQueryLines = 4;
}  // namespace

frmJobQuery::frmJobQuery(AppContext& ctx, QWidget* parent)
    : JobEditorFrame(ctx, kQueryType, WithRestrictions, parent) {
    Frame1 = new QGroupBox(QStringLiteral("&Job options:"), optionsArea());
    txtConnection = labelledBox(Label3, QStringLiteral("DB connection st&ring (ADO):"), Frame1);
    cmdBuild = commandButton(QStringLiteral("&Build"), Frame1);
    optUseThisQuery =
        new QRadioButton(QStringLiteral("&Use this query (<#1>, <#2>,..., <#10> for variables):"), Frame1);
    optSendQuery = new QRadioButton(QStringLiteral("&Query will be send with SMS message"), Frame1);
    txtQuery = new TextArea(kQueryLines, Frame1);
    cmdHelp = commandButton(QStringLiteral("Hel&p"), Frame1);
    Label6 = new QLabel(
        QStringLiteral("use <$sender> or <$sendername> in your query to insert sender's phone number or name "
                       "from your addressbook."),
        Frame1);
    Label6->setWordWrap(true);
    Label6->setTextFormat(Qt::PlainText);
    chkAnswer = new QCheckBox(QStringLiteral("&Send a result message:"), Frame1);
    optToSender = new QRadioButton(QStringLiteral("&Back to sender"), Frame1);
    optToNumber = new QRadioButton(QStringLiteral("To th&is/these number/s:"), Frame1);
    txtDefaultNo = new QLineEdit(Frame1);
    chkReportEOF = new QCheckBox(QStringLiteral("Send e&ven if SELECT result is empty"), Frame1);
    chkNoComment = new QCheckBox(QStringLiteral("Don't add co&mments to message"), Frame1);
    txtFieldDelimiter =
        labelledBox(labFieldDelimiter, QStringLiteral("S&eperate fields with this character:"), Frame1);
    txtRecordDelimiter =
        labelledBox(labRecordDelimiter, QStringLiteral("Seper&ate recordsets with this char:"), Frame1);

    m_queryGroup = new QButtonGroup(this);
    m_queryGroup->addButton(optUseThisQuery);
    m_queryGroup->addButton(optSendQuery);
    m_answerGroup = new QButtonGroup(this);
    m_answerGroup->addButton(optToSender);
    m_answerGroup->addButton(optToNumber);

    // Connection on top, the SQL in the middle, the answer below.
    auto* box = new QVBoxLayout(Frame1);
    auto* connectionRow = new QHBoxLayout;
    connectionRow->addWidget(Label3);
    connectionRow->addWidget(txtConnection, 1);
    connectionRow->addWidget(cmdBuild);
    box->addLayout(connectionRow);
    box->addWidget(optSendQuery);
    box->addWidget(optUseThisQuery);
    auto* queryRow = new QHBoxLayout;
    queryRow->setContentsMargins(kIndentPixels, 0, 0, 0);
    queryRow->addWidget(txtQuery, 1);
    queryRow->addWidget(cmdHelp, 0, Qt::AlignTop);
    box->addLayout(queryRow);
    box->addWidget(Label6);
    box->addWidget(chkAnswer);
    auto* answer = new QGridLayout;
    answer->setContentsMargins(kIndentPixels, 0, 0, 0);
    answer->addWidget(optToSender, 0, 0, 1, 2);
    answer->addWidget(optToNumber, 1, 0);
    answer->addWidget(txtDefaultNo, 1, 1, 1, 2);
    answer->addWidget(chkReportEOF, 2, 0, 1, 3);
    answer->addWidget(chkNoComment, 3, 0, 1, 3);
    answer->addWidget(labFieldDelimiter, 4, 0);
    answer->addWidget(txtFieldDelimiter, 4, 1);
    answer->addWidget(labRecordDelimiter, 5, 0);
    answer->addWidget(txtRecordDelimiter, 5, 1);
    answer->setColumnStretch(2, 1);
    box->addLayout(answer);
    auto* area = new QVBoxLayout(optionsArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(Frame1);

    txtConnection->setMinimumWidth(Twips::toPixels(kBoxWidthTwips));
    txtQuery->setMinimumHeight(Twips::toPixels(kQueryHeightTwips));
    for (QLineEdit* delimiter : {txtFieldDelimiter, txtRecordDelimiter}) {
        delimiter->setFixedWidth(Twips::toPixels(kDelimiterWidthTwips));
    }
    for (QPushButton* b : {cmdBuild, cmdHelp}) {
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    // As a new job starts: the SQL comes with the message, no answer.
    txtQuery->setEnabled(false);
    chkAnswer_Click();

    connect(chkAnswer, &QCheckBox::toggled, this, [this] { chkAnswer_Click(); });
    onChosen(optToSender, [this] { optToSender_Click(); });
    onChosen(optToNumber, [this] { optToNumber_Click(); });
    onChosen(optSendQuery, [this] { optSendQuery_Click(); });
    onChosen(optUseThisQuery, [this] { optUseThisQuery_Click(); });
    connect(txtQuery, &QPlainTextEdit::textChanged, this, [this] { txtQuery_Change(); });
    connect(cmdBuild, &QPushButton::clicked, this, [this] { cmdBuild_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });

    selectAllOnFocus(txtRestrict);
    selectAllOnFocus(txtConnection);
    selectAllOnFocus(txtQuery);
    for (QLineEdit* edit : {txtDefaultNo, txtFieldDelimiter, txtRecordDelimiter}) {
        selectAllOnFocus(edit);
    }
    setTabOrder(txtDesc, txtConnection);
    finishLoad();
}

frmJobQuery::~frmJobQuery() = default;

void frmJobQuery::ownToolTips() {
    setToolTip(txtConnection,
               QStringLiteral("Enter an ADO connection string to connect to your database. ") +
                   QStringLiteral("Example: 'PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=<FullPathToDB>;'"));
    setToolTip(optSendQuery, QStringLiteral("Choose this option if you want to send your SQL query by SMS."));
    setToolTip(optUseThisQuery, QStringLiteral("Choose this option to enter your SQL query below."));
    setToolTip(cmdBuild,
               QStringLiteral(
                   "Open a dialog to build your connection string by choosing an ODBC datasource or driver "
                   "and database file."));
    setToolTip(txtQuery, QStringLiteral(
                             "Enter your SQL query string here, for example 'SELECT * from [yourTable] WHERE "
                             "[yourField] LIKE <#1>'."));
    setToolTip(cmdHelp, QStringLiteral("Click here to get more help on creating SQL query strings..."));
    setToolTip(chkAnswer, QStringLiteral("Check this, if you want Tellwick to send a result by SMS."));
    setToolTip(optToSender, QStringLiteral("This option will send the result back to the originator."));
    setToolTip(
        optToNumber,
        QStringLiteral("This option will send the result to the number(s) specified in the field below. "
                       "Seperate multiple numbers by semicolon."));
    setToolTip(txtDefaultNo,
               QStringLiteral("Enter the number(s) to which the result should be send to here. Seperate "
                              "multiple numbers by commas."));
    setToolTip(
        chkReportEOF,
        QStringLiteral("Check this box, if you want to send a result, even if no recordsets where found "
                       "for your job."));
    setToolTip(
        chkNoComment,
        QStringLiteral("Check this box, if you don't want to add comments to the result message. If not "
                       "checked, the SQL command(s) and recordset numbers will be added to result "
                       "message."));
    setToolTip(txtFieldDelimiter,
               QStringLiteral("Enter one or more character here to seperate field values in result message "
                              "(defaults to comma)."));
    setToolTip(txtRecordDelimiter,
               QStringLiteral("Enter one or more character here to seperate recordsets in result message "
                              "(defaults to pipe)."));
}

// ---- record --------------------------------------------------------------------------------

void frmJobQuery::getJob() {
    loadCommonFields();
    txtConnection->setText(readKey(QStringLiteral("Connection")));
    txtQuery->setPlainText(readKey(QStringLiteral("Query")));
    txtDefaultNo->setText(readKey(QStringLiteral("DefaultNo")));
    chkAnswer->setChecked(readFlag(QStringLiteral("Answer")));
    chkReportEOF->setChecked(readFlag(QStringLiteral("ReportEOF")));
    chkNoComment->setChecked(readFlag(QStringLiteral("NoComments")));
    txtFieldDelimiter->setText(readKey(QStringLiteral("FieldDelimiter")));
    txtRecordDelimiter->setText(readKey(QStringLiteral("RecordDelimiter")));
    // Neither mode is stored: an empty number list answers the sender, an empty query takes
    // the SQL from the message.
    chooseOption(txtDefaultNo->text().isEmpty() ? optToSender : optToNumber);
    chooseOption(txtQuery->toPlainText().isEmpty() ? optSendQuery : optUseThisQuery);
    loadRestrictions();
}

void frmJobQuery::saveJob() {
    writeCommonHead();
    writeKey(QStringLiteral("FieldDelimiter"), txtFieldDelimiter->text());
    writeKey(QStringLiteral("RecordDelimiter"), txtRecordDelimiter->text());
    writeKey(QStringLiteral("Connection"), txtConnection->text());
    writeKey(QStringLiteral("Query"),
             optSendQuery->isChecked() ? QString() : oneLine(txtQuery->toPlainText()));
    writeKey(QStringLiteral("DefaultNo"),
             optToSender->isChecked() ? QString() : storedNumberList(txtDefaultNo->text()));
    writeFlag(QStringLiteral("Answer"), chkAnswer->isChecked());
    writeFlag(QStringLiteral("Active"), chkActive->isChecked());
    writeFlag(QStringLiteral("NoComments"), chkNoComment->isChecked());
    writeFlag(QStringLiteral("ReportEOF"), chkReportEOF->isChecked());
    saveRestrictions();
}

QString frmJobQuery::Example() const {
    const QString head = QStringLiteral("Example SMS message for this job: '") + identifier();
    if (!optUseThisQuery->isChecked()) {
        return head + QStringLiteral("SELECT * FROM [yourTable] WHERE [yourCriteria]=[yourValue]'");
    }
    // Each placeholder is looked for by itself: "<#2>" counts without "<#1>".
    return head + placeholderList(txtQuery->toPlainText(), QStringLiteral("Var#")) + u'\'';
}

void frmJobQuery::newJobDefaults() {
    chooseOption(optToSender);
    chooseOption(optSendQuery);
}

// ---- options -------------------------------------------------------------------------------

void frmJobQuery::chkAnswer_Click() {
    // Ticking it makes the number box usable whichever option is chosen.
    setAllEnabled({optToSender, optToNumber, txtDefaultNo, chkReportEOF, chkNoComment, labFieldDelimiter,
                   labRecordDelimiter, txtFieldDelimiter, txtRecordDelimiter},
                  chkAnswer->isChecked());
}

void frmJobQuery::optToSender_Click() {
    // The numbers stay in the box; saving drops them.
    txtDefaultNo->setEnabled(false);
}

void frmJobQuery::optToNumber_Click() {
    txtDefaultNo->setEnabled(true);
    txtDefaultNo->setFocus();
}

void frmJobQuery::optSendQuery_Click() {
    // The SQL stays in the box; saving stores the query empty.
    txtQuery->setEnabled(false);
    labExample->setText(Example());
}

void frmJobQuery::optUseThisQuery_Click() {
    txtQuery->setEnabled(true);
    txtQuery->setFocus();
    labExample->setText(Example());
}

void frmJobQuery::txtQuery_Change() {
    labExample->setText(Example());
}

// ---- database ------------------------------------------------------------------------------

void frmJobQuery::cmdBuild_Click() {
    buildConnection(txtConnection);
}

void frmJobQuery::cmdHelp_Click() {
    showSqlHelp();
}
