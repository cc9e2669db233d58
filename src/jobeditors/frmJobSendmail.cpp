#include "frmJobSendmail.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "AppContext.h"
#include "Fields.h"
#include "MsgBox.h"
#include "Prompts.h"
#include "SendmailQueryTest.h"
#include "SharedState.h"
#include "TextArea.h"
#include "Twips.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int kSendmailType = 3;
constexpr int kBoxWidthTwips = 4500;
constexpr int kTextLines = 4;
constexpr int kQueryLines = 2;
const QString kCrLf = u"\r\n"_s;

// The mail text keeps its line breaks as "|" in the settings file. Every kind of line break
// counts: the settings file would otherwise turn a lone CR or LF into a blank.
QString storedText(const QString& shown) {
    QString text = shown;
    text.replace(u"\r\n"_s, u"|"_s);
    text.replace(u'\r', u'|');
    text.replace(u'\n', u'|');
    text.replace(QChar::ParagraphSeparator, u'|');
    text.replace(QChar::LineSeparator, u'|');
    return text;
}

QString shownText(const QString& stored) {
    QString text = stored;
    return text.replace(u'|', u'\n');
}
}  // namespace

// "All files": every file, also one without a dot in its name.
const QString frmJobSendmail::AttachDialogTitle = u"Select a file to attach to your message:"_s;
const QString frmJobSendmail::AttachDialogFilter = u"All files (*)"_s;

frmJobSendmail::frmJobSendmail(AppContext& ctx, QWidget* parent)
    : JobEditorFrame(ctx, kSendmailType, WithRestrictions, parent) {
    makeControls();
    layOut();

    onChosen(optRCPwithMsg, [this] { optRCPwithMsg_Click(); });
    onChosen(optRCPList, [this] { optRCPList_Click(); });
    onChosen(optRCPDB, [this] { optRCPDB_Click(); });
    connect(txtConnection, &QLineEdit::textChanged, this, [this] { txtConnection_Change(); });
    connect(txtQuery, &QPlainTextEdit::textChanged, this, [this] { txtQuery_Change(); });
    connect(txtSubject, &QLineEdit::textChanged, this, [this] { txtSubject_Change(); });
    connect(txtText, &QPlainTextEdit::textChanged, this, [this] { txtText_Change(); });
    connect(txtAttach, &QLineEdit::textChanged, this, [this] { txtAttach_Change(); });
    connect(lstFiles, &QListWidget::itemSelectionChanged, this, [this] { lstFiles_Click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdFileAdd, &QPushButton::clicked, this, [this] { cmdFileAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdBuild, &QPushButton::clicked, this, [this] { cmdBuild_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    connect(cmdTest, &QPushButton::clicked, this, [this] { cmdTest_Click(); });

    for (QLineEdit* box : {txtRecipient, txtConnection, txtSubject, txtAttach}) {
        selectAllOnFocus(box);
    }
    selectAllOnFocus(txtQuery);
    selectAllOnFocus(txtText);
    finishLoad();
}

frmJobSendmail::~frmJobSendmail() = default;

void frmJobSendmail::makeControls() {
    // Captions of the frame that differ here: "A&dd" belongs to the attachments.
    Label2 = labDesc;
    Label2->setText(u"Job descri&ption:"_s);
    cmdAdd->setText(u"< &Add"_s);
    QFont bold = labExample->font();
    bold.setBold(true);
    labExample->setFont(bold);

    Frame1 = new QGroupBox(u"&Job options:"_s, optionsArea());
    Label3 = new QLabel(u"Recipient(s):"_s, Frame1);
    optRCPwithMsg = new QRadioButton(u"will be send with the &message"_s, Frame1);
    optRCPList = new QRadioButton(u"sen&d to this/these address(es)"_s, Frame1);
    txtRecipient = new QLineEdit(Frame1);
    optRCPDB = new QRadioButton(u"&get recipient list from a database:"_s, Frame1);
    txtConnection = labelledBox(Label8, u"D&B connection string (ADO):"_s, Frame1);
    cmdBuild = commandButton(u"B&uild"_s, Frame1);
    Label7 = new QLabel(u"S&QL query string:"_s, Frame1);
    txtQuery = new TextArea(kQueryLines, Frame1);
    Label7->setBuddy(txtQuery);
    cmdHelp = commandButton(u"&Help"_s, Frame1);
    cmdTest = commandButton(u"Te&st"_s, Frame1);
    txtSubject = labelledBox(Label9, u"Message su&bject:"_s, Frame1);
    Label10 = new QLabel(u"Message te&xt:"_s, Frame1);
    txtText = new TextArea(kTextLines, Frame1);
    Label10->setBuddy(txtText);
    txtAttach = labelledBox(Label11, u"A&ttachments:"_s, Frame1);
    cmdBrowse = commandButton(QString(), Frame1);
    cmdBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    cmdBrowse->QWidget::setToolTip(u"Browse for files to attach..."_s);
    cmdFileAdd = commandButton(u"A&dd"_s, Frame1);
    lstFiles = new QListWidget(Frame1);
    cmdRemove = commandButton(u"Remo&ve"_s, Frame1);

    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(optRCPwithMsg);
    m_modeGroup->addButton(optRCPList);
    m_modeGroup->addButton(optRCPDB);

    // A new job: no mode chosen yet.
    setAllEnabled({txtRecipient, txtConnection, txtQuery, cmdTest, cmdFileAdd, cmdRemove}, false);
}

void frmJobSendmail::layOut() {
    auto* grid = new QGridLayout(Frame1);
    int row = 0;
    grid->addWidget(Label3, row++, 0, 1, 3);
    grid->addWidget(optRCPwithMsg, row++, 0, 1, 3);
    grid->addWidget(optRCPList, row, 0);
    grid->addWidget(txtRecipient, row++, 1, 1, 2);
    grid->addWidget(optRCPDB, row++, 0, 1, 3);
    grid->addWidget(Label8, row, 0);
    grid->addWidget(txtConnection, row, 1);
    grid->addWidget(cmdBuild, row++, 2);
    grid->addWidget(Label7, row, 0, Qt::AlignTop);
    grid->addWidget(txtQuery, row, 1);
    auto* queryButtons = new QVBoxLayout;
    queryButtons->addWidget(cmdHelp);
    queryButtons->addWidget(cmdTest);
    queryButtons->addStretch(1);
    grid->addLayout(queryButtons, row++, 2);
    grid->addWidget(Label9, row, 0);
    grid->addWidget(txtSubject, row++, 1, 1, 2);
    grid->addWidget(Label10, row, 0, Qt::AlignTop);
    grid->addWidget(txtText, row, 1, 1, 2);
    grid->setRowStretch(row++, 1);
    grid->addWidget(Label11, row, 0);
    grid->addWidget(txtAttach, row, 1);
    auto* attachButtons = new QHBoxLayout;
    attachButtons->addWidget(cmdBrowse);
    attachButtons->addWidget(cmdFileAdd);
    grid->addLayout(attachButtons, row++, 2);
    grid->addWidget(lstFiles, row, 1);
    grid->addWidget(cmdRemove, row++, 2, Qt::AlignTop);
    grid->setColumnStretch(1, 1);

    for (QWidget* box : std::initializer_list<QWidget*>{txtRecipient, txtConnection, txtQuery, txtSubject,
                                                        txtText, txtAttach, lstFiles}) {
        box->setMinimumWidth(Twips::toPixels(kBoxWidthTwips));
    }
    for (QPushButton* b : {cmdBuild, cmdHelp, cmdTest, cmdBrowse, cmdFileAdd, cmdRemove}) {
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    lstFiles->setMaximumHeight(lstFiles->fontMetrics().lineSpacing() * 4 + 8);
    for (QLabel* indented : {Label8, Label7}) {
        indented->setContentsMargins(20, 0, 0, 0);
    }

    auto* area = new QVBoxLayout(optionsArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(Frame1);

    setTabOrder(txtDesc, optRCPwithMsg);
}

void frmJobSendmail::ownToolTips() {
    const QString variables =
        u"<$sender>, <$+sender> or <$sendername> and <#1>, <#2>, ..., <#10> as placeholders for values sent by SMS"_s;
    setToolTip(optRCPwithMsg,
               u"If this option is selected, the recipient's E-Mail address must be send by SMS."_s);
    setToolTip(optRCPList, u"Use this option to enter a list of addresses in the field below."_s);
    setToolTip(txtRecipient,
               u"Enter one or multiple E-Mail addresses here, seperate multiple addresses by commas."_s);
    setToolTip(optRCPDB, u"Select this option to get a list of recipients from a database."_s);
    setToolTip(
        txtConnection,
        u"Enter an ADO (Active Data Objects) connection string here or click on 'build' to create one."_s);
    setToolTip(cmdBuild, u"Click here to use a system dialog for building your connection string."_s);
    setToolTip(txtQuery,
               u"Enter a SQL statement here to select E-Mail addresses from a database. You may use system "
               "variables "_s +
                   variables +
                   u" here. PLEASE NOTE: Your query must return only one column containing valid E-Mail "
                   "addresses."_s);
    setToolTip(cmdHelp, u"Click here to get help on using SQL statements."_s);
    setToolTip(cmdTest, u"Connect to your database and test your SQL statement."_s);
    setToolTip(txtSubject, u"Enter a subject for your message here. System variables "_s + variables +
                               u" are allowed."_s);
    setToolTip(txtText,
               u"Enter your message text here. System variables "_s + variables + u" are allowed."_s);
    setToolTip(txtAttach,
               u"Enter or select files to attach to your message. You may also use system variables "_s +
                   variables + u"."_s);
    setToolTip(lstFiles,
               u"This list shows you which files will be attached to the message. Enter or select a files "
               "above and click 'Add' to add more files or select a file and click 'Remove' to remove it "
               "from the list."_s);
}

// ---- record --------------------------------------------------------------------------------

void frmJobSendmail::getJob() {
    loadCommonFields();
    txtConnection->setText(readKey(u"Connection"_s));
    txtQuery->setPlainText(readKey(u"Query"_s));
    txtRecipient->setText(readKey(u"Recipient"_s));
    txtSubject->setText(readKey(u"Subject"_s));
    txtText->setPlainText(shownText(readKey(u"Text"_s)));

    // The mode is not stored: it follows from the keys present. A connection with a query
    // wins over a list, as it does when the job runs; so the editor shows the recipients the
    // job really has, and saving it unchanged keeps the database.
    if (!txtConnection->text().isEmpty() && !txtQuery->toPlainText().isEmpty()) {
        chooseOption(optRCPDB);
    } else if (!txtRecipient->text().isEmpty()) {
        chooseOption(optRCPList);
    } else {
        chooseOption(optRCPwithMsg);
    }

    lstFiles->clear();
    const QString files = readKey(u"Attachments"_s);
    const QString comma = u","_s;
    const int n = countFields(files, comma);
    for (int i = 1; i <= n; ++i) {
        lstFiles->addItem(getField(files, i, comma));
    }
    cmdRemove->setEnabled(false);
    labExample->setText(Example());

    loadRestrictions();
}

void frmJobSendmail::saveJob() {
    writeCommonHead();
    const QString connection = u"Connection"_s;
    const QString query = u"Query"_s;
    const QString recipient = u"Recipient"_s;
    if (optRCPwithMsg->isChecked()) {
        writeKey(recipient, QString());
        deleteKey(connection);
        deleteKey(query);
    } else if (optRCPList->isChecked()) {
        writeKey(recipient, storedNumberList(txtRecipient->text()));
        deleteKey(connection);
        deleteKey(query);
    } else {
        // A database recipient, or no mode chosen: the connection and the query are kept.
        writeKey(connection, txtConnection->text());
        writeKey(query, txtQuery->toPlainText());
        if (optRCPDB->isChecked()) {
            deleteKey(recipient);
        }
    }
    writeKey(u"Subject"_s, txtSubject->text());
    writeKey(u"Text"_s, storedText(txtText->toPlainText()));
    writeKey(u"Attachments"_s, attachments().join(u','));
    writeCommonTail();
}

QStringList frmJobSendmail::attachments() const {
    QStringList files;
    files.reserve(lstFiles->count());
    for (int i = 0; i < lstFiles->count(); ++i) {
        files.append(lstFiles->item(i)->text());
    }
    return files;
}

QString frmJobSendmail::Example() const {
    // The query counts whatever the mode.
    const QString texts =
        txtQuery->toPlainText() + txtSubject->text() + txtText->toPlainText() + attachments().join(QString());
    const QString variables = placeholderList(texts, u"Var#"_s).replace(u';', u',');
    QStringList parts;
    if (optRCPwithMsg->isChecked()) {
        parts.append(u"Address(es)"_s);
    }
    if (!variables.isEmpty()) {
        parts.append(variables);
    }
    const QString tail = parts.join(u';');
    return u"Example SMS message for this job: '"_s + identifier() + tail + u'\'';
}

// After every save, for new and edited jobs alike: the job stays saved.
void frmJobSendmail::afterSave() {
    if (m_ctx.state().smtpServer.trimmed().isEmpty()) {
        m_ctx.msgBox().show(u"You haven't set up a mailserver to send E-Mail messages."_s + kCrLf +
                                u"Please use the Settings/Mail Settings menu to do so, otherwise"_s + kCrLf +
                                u"this job can't be executed."_s,
                            MsgBox::OKOnly, MsgBox::Information, u"Tellwick: No mailserver specified"_s,
                            this);
    }
}

// ---- recipient mode ------------------------------------------------------------------------

void frmJobSendmail::applyModeRules() {
    const bool list = optRCPList->isChecked();
    const bool database = optRCPDB->isChecked();
    txtRecipient->setEnabled(list);
    setAllEnabled({txtConnection, txtQuery, cmdBuild, cmdHelp}, database);
    cmdTest->setEnabled(database && !txtConnection->text().isEmpty() && !txtQuery->toPlainText().isEmpty());
    if (list) {
        txtRecipient->setFocus();
    } else if (database) {
        txtConnection->setFocus();
    }
    labExample->setText(Example());
}

void frmJobSendmail::optRCPwithMsg_Click() {
    applyModeRules();
}
void frmJobSendmail::optRCPList_Click() {
    applyModeRules();
}
void frmJobSendmail::optRCPDB_Click() {
    applyModeRules();
}

void frmJobSendmail::updateTestButton() {
    cmdTest->setEnabled(!txtConnection->text().isEmpty() && !txtQuery->toPlainText().isEmpty());
}

void frmJobSendmail::txtConnection_Change() {
    updateTestButton();
}

void frmJobSendmail::txtQuery_Change() {
    updateTestButton();
    labExample->setText(Example());
}

void frmJobSendmail::txtSubject_Change() {
    labExample->setText(Example());
}

void frmJobSendmail::txtText_Change() {
    labExample->setText(Example());
}

// ---- attachments ---------------------------------------------------------------------------

void frmJobSendmail::txtAttach_Change() {
    cmdFileAdd->setEnabled(!txtAttach->text().isEmpty());
}

void frmJobSendmail::lstFiles_Click() {
    cmdRemove->setEnabled(!lstFiles->selectedItems().isEmpty());
}

void frmJobSendmail::cmdBrowse_Click() {
    const QString file =
        m_ctx.prompts().files.openFile(this, AttachDialogTitle, m_ctx.programFolder(), AttachDialogFilter);
    // A cancelled dialog leaves the box as it was.
    if (!file.isEmpty()) {
        txtAttach->setText(file);
    }
}

void frmJobSendmail::cmdFileAdd_Click() {
    const QString file = txtAttach->text();
    if (file.isEmpty()) {
        return;
    }
    // The list is stored joined by commas: a path holding one would come back as two files.
    if (file.contains(u',')) {
        m_ctx.msgBox().show(u"You can't attach a file whose path or name holds a comma."_s, MsgBox::OKOnly,
                            MsgBox::Critical, u"Invalid attachment"_s, this);
        txtAttach->setFocus();
        return;
    }
    lstFiles->addItem(file);
    labExample->setText(Example());
    txtAttach->setFocus();
}

void frmJobSendmail::cmdRemove_Click() {
    const QList<QListWidgetItem*> selected = lstFiles->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    delete lstFiles->takeItem(lstFiles->row(selected.first()));
    lstFiles->clearSelection();
    lstFiles->setCurrentRow(-1);
    cmdRemove->setEnabled(false);
    labExample->setText(Example());
}

// ---- database ------------------------------------------------------------------------------

void frmJobSendmail::cmdBuild_Click() {
    buildConnection(txtConnection);
}

void frmJobSendmail::cmdHelp_Click() {
    showSqlHelp();
}

void frmJobSendmail::cmdTest_Click() {
    DatabaseTest::Box box;
    {
        Hourglass wait;
        box =
            SendmailQueryTest::evaluate(DatabaseTest::fetch(txtConnection->text(), txtQuery->toPlainText()));
    }
    m_ctx.msgBox().show(box.text, MsgBox::OKOnly, box.icon, box.title, this);
}
