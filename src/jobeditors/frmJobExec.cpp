#include "frmJobExec.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

#include "AppContext.h"
#include "Twips.h"

namespace {
constexpr int kBoxWidthTwips = 3900;
constexpr int kNumberWidthTwips = 2400;
constexpr int kIndentTwips = 360;

QPushButton* pictureButton(QStyle::StandardPixmap picture, QWidget* parent) {
    auto* b = commandButton(QString(), parent);
    b->setIcon(parent->style()->standardIcon(picture));
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

// The variables a command or parameter text takes from the message; none unless "<#1>" is
// among them.
QString variablesOf(const QString& text, const QString& emptyWord, const QString& prefix) {
    if (text.isEmpty()) {
        return emptyWord;
    }
    return text.contains(QLatin1String("<#1>")) ? JobEditorFrame::placeholderList(text, prefix) : QString();
}
}  // namespace

const QString frmJobExec::kDlgTitle =
    QStringLiteral("Select executable file to run or any document to be opened:");
const QString frmJobExec::kDlgFilter =
    QStringLiteral("all files (*.*)|*.*|executable files (*.exe;*.com;*.bat)|*.exe;*.com;*.bat|") +
    QStringLiteral(
        "scripts "
        "(*.wsh;*.wsf;*.wsc;*.js;*.jse;*.sct;*.vbe;*.vbs)|*.wsh;*.wsf;*.wsc;*.js;*.jse;*.sct;*.vbe;*.vbs");

frmJobExec::frmJobExec(AppContext& ctx, QWidget* parent) : JobEditorFrame(ctx, 1, WithRestrictions, parent) {
    Frame1 = new QGroupBox(QStringLiteral("&Job options:"), optionsArea());
    txtCmd = labelledBox(labCmd, QStringLiteral("Command&line (leave blank to send by SMS):"), Frame1);
    Command2 = pictureButton(QStyle::SP_FileIcon, Frame1);
    txtParam = labelledBox(labParam, QStringLiteral("&Parameters (leave blank to send by SMS):"), Frame1);
    txtWorkDir = labelledBox(labWorkDir, QStringLiteral("Wor&king directory:"), Frame1);
    cmdBrowse = pictureButton(QStyle::SP_DirOpenIcon, Frame1);
    chkHidden = new QCheckBox(QStringLiteral("R&un job in hidden window"), Frame1);
    chkNotify = new QCheckBox(QStringLiteral("Send a notification after e&xecuting this job"), Frame1);
    optSender = new QRadioButton(QStringLiteral("&back to sender"), Frame1);
    optNumber = new QRadioButton(QStringLiteral("&to this number(list):"), Frame1);
    txtNumber = new QLineEdit(Frame1);
    chkSRR = new QCheckBox(QStringLiteral("request deli&very confirmation"), Frame1);
    chkFlash = new QCheckBox(QStringLiteral("send noti&fication as flash (alert) SMS"), Frame1);
    Label8 = new QLabel(
        QStringLiteral(
            "Please note: If commandline and/or para- meters are empty, they must be sent by SMS."),
        optionsArea());
    Label8->setWordWrap(true);

    m_notifyGroup = new QButtonGroup(this);
    m_notifyGroup->addButton(optSender);
    m_notifyGroup->addButton(optNumber);

    // A new job: no notification, so its options are greyed and none is chosen; the number
    // box stays usable.
    setAllEnabled({optSender, optNumber, chkSRR, chkFlash}, false);

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(labCmd, 0, 0, 1, 2);
    grid->addWidget(txtCmd, 1, 0);
    grid->addWidget(Command2, 1, 1);
    grid->addWidget(labParam, 2, 0, 1, 2);
    grid->addWidget(txtParam, 3, 0);
    grid->addWidget(labWorkDir, 4, 0, 1, 2);
    grid->addWidget(txtWorkDir, 5, 0);
    grid->addWidget(cmdBrowse, 5, 1);
    grid->addWidget(chkHidden, 6, 0, 1, 2);
    grid->addWidget(chkNotify, 7, 0, 1, 2);
    auto* notify = new QVBoxLayout;
    notify->setContentsMargins(Twips::toPixels(kIndentTwips), 0, 0, 0);
    notify->addWidget(optSender);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(optNumber);
    numberRow->addWidget(txtNumber, 1);
    notify->addLayout(numberRow);
    notify->addWidget(chkSRR);
    notify->addWidget(chkFlash);
    grid->addLayout(notify, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    txtCmd->setMinimumWidth(Twips::toPixels(kBoxWidthTwips));
    txtNumber->setMinimumWidth(Twips::toPixels(kNumberWidthTwips));

    auto* area = new QVBoxLayout(optionsArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(Frame1, 1);
    area->addWidget(Label8);

    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(txtCmd, &QLineEdit::textChanged, this, [this] { txtCmd_Change(); });
    connect(txtParam, &QLineEdit::textChanged, this, [this] { txtParam_Change(); });
    connect(chkNotify, &QCheckBox::toggled, this, [this] { chkNotify_Click(); });
    onChosen(optSender, [this] { optSender_Click(); });
    onChosen(optNumber, [this] { optNumber_Click(); });

    for (QLineEdit* box : {txtRestrict, txtCmd, txtParam, txtWorkDir, txtNumber}) {
        selectAllOnFocus(box);
    }
    setTabOrder(txtDesc, txtCmd);
    finishLoad();
}

frmJobExec::~frmJobExec() = default;

void frmJobExec::ownToolTips() {
    setToolTip(txtCmd,
               QStringLiteral("Enter the full path to the program, batch file or script here. You may use "
                              "placeholders <#1>, <#2>, ..., <#10> for variables") +
                   QStringLiteral(" and system variables <$sender> or <$+sender> here. Leave blank to send "
                                  "complete commandline by SMS."));
    setToolTip(
        Command2,
        QStringLiteral("Click here to browser for the program, batch file or script you want to execute "
                       "with this job..."));
    setToolTip(
        txtParam,
        QStringLiteral("Enter your command line parameters here. You may use system variables <$sender> "
                       "or <$+sender> and placeholders <#1>, <#2>, ..., <#10> for variables here. If you "
                       "leave this field blank, you may send the complete parameter string by SMS."));
    setToolTip(txtWorkDir,
               QStringLiteral("Enter a working directory here. Tellwick will change to this folder before "
                              "executing your commandline."));
    setToolTip(cmdBrowse, QStringLiteral("Click here to browse for a working directory..."));
    setToolTip(chkHidden, QStringLiteral("Check this to run your commandline invisible in a hidden window."));
    setToolTip(chkNotify, QStringLiteral("Check this to send an SMS after executing this job."));
    setToolTip(optSender, QStringLiteral("Check this to send the notification back to the sender."));
    setToolTip(optNumber,
               QStringLiteral("Check this to send the notification to the number(s) specified below."));
    setToolTip(txtNumber,
               QStringLiteral("Enter a number(list) here to send the notification SMS to. Seperate multiple "
                              "numbers by commas."));
    setToolTip(chkSRR, QStringLiteral(
                           "Check this box to request a delivery confirmation from the service center after "
                           "sending a notification message."));
    setToolTip(chkFlash,
               QStringLiteral("Check this box to send notification messages as flash (alert) SMS."));
}

// ---- record --------------------------------------------------------------------------------

void frmJobExec::getJob() {
    loadCommonFields();
    txtCmd->setText(readKey(QStringLiteral("Command")));
    txtParam->setText(readKey(QStringLiteral("Param")));
    txtWorkDir->setText(readKey(QStringLiteral("WorkDir")));
    chkHidden->setChecked(readFlag(QStringLiteral("Hidden")));
    chkNotify->setChecked(readFlag(QStringLiteral("Notify")));
    chkSRR->setChecked(readFlag(QStringLiteral("Report")));
    chkFlash->setChecked(readFlag(QStringLiteral("Flash")));
    txtNumber->setText(readKey(QStringLiteral("DefaultNo")));
    // Choosing the option runs its handler, which sets the number box's state.
    chooseOption(txtNumber->text().isEmpty() ? optSender : optNumber);
    loadRestrictions();
}

void frmJobExec::saveJob() {
    writeCommonHead();
    writeKey(QStringLiteral("Command"), txtCmd->text());
    writeKey(QStringLiteral("Param"), txtParam->text());
    writeKey(QStringLiteral("WorkDir"), txtWorkDir->text());
    writeFlag(QStringLiteral("Active"), chkActive->isChecked());
    writeFlag(QStringLiteral("Hidden"), chkHidden->isChecked());
    writeFlag(QStringLiteral("Notify"), chkNotify->isChecked());
    writeFlag(QStringLiteral("Report"), chkSRR->isChecked());
    writeFlag(QStringLiteral("Flash"), chkFlash->isChecked());
    // Back to the sender needs no number, whatever the box still shows.
    writeKey(QStringLiteral("DefaultNo"),
             optSender->isChecked() ? QString() : storedNumberList(txtNumber->text()));
    saveRestrictions();
}

QString frmJobExec::Example() const {
    const QString command =
        variablesOf(txtCmd->text(), QStringLiteral("YourCommandline"), QStringLiteral("CmdVar#"));
    const QString params =
        variablesOf(txtParam->text(), QStringLiteral("YourParameters"), QStringLiteral("ParamVar#"));
    QString example = QStringLiteral("Example SMS message for this job:\r\n'") + identifier() + command;
    if (!params.isEmpty()) {
        example += QStringLiteral(", ") + params;
    }
    return example + u'\'';
}

void frmJobExec::txtCmd_Change() {
    labExample->setText(Example());
}

void frmJobExec::txtParam_Change() {
    labExample->setText(Example());
}

// ---- notification --------------------------------------------------------------------------

void frmJobExec::chkNotify_Click() {
    setAllEnabled({optSender, optNumber, chkSRR, chkFlash, txtNumber}, chkNotify->isChecked());
}

void frmJobExec::optSender_Click() {
    // The numbers stay in the box but are not stored.
    txtNumber->setEnabled(false);
}

void frmJobExec::optNumber_Click() {
    txtNumber->setEnabled(true);
    txtNumber->setFocus();
}

// ---- choosers ------------------------------------------------------------------------------

QString frmJobExec::dialogNameFilters(const QString& pairs) {
    static const QRegularExpression patternsInName(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts.at(i);
        name.remove(patternsInName);
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        // "*.*" stands for every file, also those without an extension.
        for (QString& p : patterns) {
            if (p == u"*.*") {
                p = QStringLiteral("*");
            }
        }
        filters.append(name + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

void frmJobExec::Command2_Click() {
    const QString command = txtCmd->text();
    const qsizetype last = command.lastIndexOf(u'/');
    QString folder;
    if (last < 0) {
        // A bare name (or nothing): the program folder, and the name the dialog already holds.
        folder = m_ctx.programFolder();
    } else {
        // The folder is what comes up to the last "/" before the text's final character.
        const qsizetype split = command.size() >= 2 ? command.lastIndexOf(u'/', command.size() - 2) : -1;
        folder = split < 0 ? QString() : command.left(split + 1);
        m_dlgFileName = command.mid(split + 1);
    }
    const QString chosen =
        m_ctx.prompts().files.openFile(this, kDlgTitle, folder, dialogNameFilters(kDlgFilter), m_dlgFileName);
    // A cancelled dialog leaves the command line as it was.
    if (!chosen.isEmpty()) {
        m_dlgFileName = chosen;
        txtCmd->setText(chosen);
    }
}

void frmJobExec::cmdBrowse_Click() {
    const QString start = txtWorkDir->text().isEmpty() ? m_ctx.programFolder() : txtWorkDir->text();
    const QString folder = m_ctx.prompts().folders.browseForFolder(
        this, start, QStringLiteral("Please select the working directory for this job:"));
    if (!folder.isEmpty()) {
        txtWorkDir->setText(folder);
    }
}
