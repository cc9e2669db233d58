#include "JobEditorFrame.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AppContext.h"
#include "JobFrameLayout.h"
#include "JobIdentity.h"
#include "JobTypes.h"
#include "MsgBox.h"
#include "frmMain.h"

namespace {
// Tooltips: balloons, tools that pass the mouse through, shown for ten seconds.
constexpr int kBalloonStyle = EditorToolTips::kBalloonStyle;
}  // namespace

JobEditorFrame::JobEditorFrame(AppContext& ctx, int typeIndex, Restrictions restrictions, QWidget* parent)
    : QDialog(parent),
      m_ctx(ctx),
      m_typeIndex(typeIndex),
      m_record(ctx.ini()),
      m_optionHandlers(this),
      m_database(ctx, this) {
    m_options = JobFrameLayout::makeControls(*this, typeIndex);
    if (restrictions == WithRestrictions) {
        m_restrictions = std::make_unique<RestrictionList>(*this, this, typeIndex);
        connect(txtRestrict, &QLineEdit::textChanged, this, [this] { txtRestrict_Change(); });
        connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
        connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
        connect(lstRestrict, &QListWidget::itemSelectionChanged, this, [this] { lstRestrict_Click(); });
        connect(lstRestrict, &QListWidget::itemDoubleClicked, this, [this] { lstRestrict_DblClick(); });
    }
    m_side = JobFrameLayout::arrange(*this, m_options, Frame2);

    connect(txtJobIdent, &QLineEdit::textChanged, this, [this] { txtJobIdent_Change(); });
    connect(txtName, &QLineEdit::textChanged, this, [this] { txtName_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    txtJobIdent->installEventFilter(this);

    m_selectAll = new SelectAllOnFocus(this);
    for (QLineEdit* box : {txtJobIdent, txtName, txtDesc}) {
        selectAllOnFocus(box);
    }
}

JobEditorFrame::~JobEditorFrame() = default;

void JobEditorFrame::finishLoad() {
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    initToolTips(kBalloonStyle);
    setToolTip(txtJobIdent,
               QStringLiteral(
                   "Enter an unique identification string here. This string must be preceeding the message "
                   "text in order to identify this job. Leave empty for setting up the default job (this job "
                   "will be started if no identifier found, only one default job can be set up)."));
    setToolTip(txtName, QStringLiteral("Enter a name for this job."));
    setToolTip(txtDesc, QStringLiteral("Enter a brief description of your job here."));
    if (m_restrictions) {
        m_restrictions->addToolTips(
            [this](QWidget* control, const QString& text) { setToolTip(control, text); });
    }
    setToolTip(chkActive,
               QStringLiteral(
                   "Check this to activate your job. If this is not checked, your job won't be executed."));
    ownToolTips();
}

// ---- tooltips ----------------------------------------------------------------------------

void JobEditorFrame::initToolTips(int style) {
    m_toolTips.create(&m_ctx.mainWindow(), style);
}

void JobEditorFrame::setToolTip(QWidget* control, const QString& text, const QString& title, int maxWidth,
                                int autoPop) {
    m_toolTips.add(&m_ctx.mainWindow(), control, text, title, maxWidth, autoPop);
}

// ---- opening -----------------------------------------------------------------------------

QString JobEditorFrame::editCaption() const {
    return JobIdentity::editCaption(m_typeIndex);
}

QString JobEditorFrame::identifier() const {
    return txtJobIdent->text().trimmed();
}

void JobEditorFrame::openJob(const QString& caption, const QString& jobKey) {
    setUpJob(caption, jobKey);
    exec();
}

void JobEditorFrame::setUpJob(const QString& caption, const QString& jobKey) {
    if (m_setUp) {
        return;
    }
    setWindowTitle(caption);
    openingSetUp(jobKey);
}

void JobEditorFrame::showEvent(QShowEvent* event) {
    if (!m_setUp) {
        openingSetUp(QString());
    }
    QDialog::showEvent(event);
    JobFrameLayout::keepToContents(*this);
}

void JobEditorFrame::openingSetUp(const QString& requestedKey) {
    m_setUp = true;
    m_openingCaption = windowTitle();
    const QString letter = jobTypeLetter(m_typeIndex);

    // A key of another type, or one out of range, must never be edited here.
    m_newJob = !(m_openingCaption == editCaption() && JobIdentity::isKeyOfType(requestedKey, m_typeIndex));
    if (!m_newJob) {
        m_record.setKey(requestedKey);
        m_jobNumber = requestedKey.mid(letter.size()).toInt();
        getJob();
    } else {
        m_jobNumber = firstFreeJobNo(m_ctx.ini(), m_typeIndex);
        m_noFreeNumber = m_jobNumber == 0;
        m_record.setKey(letter + QString::number(m_jobNumber));
        txtJobIdent->setText(JobIdentity::standardIdentifier(m_record.key()));
        newJobDefaults();
        cmdOK->setEnabled(false);
    }
    labExample->setText(Example());
    updateCaption();
    // The stored Active of a job just loaded is what getJob put into the box; a new job has
    // none, so the box stays unticked.
    identifierChanged();
    txtJobIdent->setFocus();

    if (m_noFreeNumber) {
        cmdOK->setEnabled(false);
        m_ctx.msgBox().show(
            QStringLiteral("All %1 %2 jobs are in use. Delete one of them before you create a new one.")
                .arg(maxJobsPerType)
                .arg(jobTypeName(m_typeIndex)),
            MsgBox::OKOnly, MsgBox::Critical, m_openingCaption, this);
    }
}

QString JobEditorFrame::captionSuffix() const {
    return JobIdentity::captionSuffix(identifier(), m_jobNumber);
}

void JobEditorFrame::updateCaption() {
    if (m_setUp) {
        setWindowTitle(m_openingCaption + captionSuffix());
    }
}

// ---- identifier and name -------------------------------------------------------------------

void JobEditorFrame::txtJobIdent_Change() {
    identifierChanged();
}

void JobEditorFrame::identifierChanged() {
    labExample->setText(Example());
    updateCaption();
    const bool hasIdentifier = !identifier().isEmpty();
    if (hasIdentifier) {
        // A tick the user changed goes back to what is stored.
        chkActive->setChecked(m_record.readActive());
    } else {
        // The default job is always active.
        chkActive->setChecked(true);
    }
    chkActive->setEnabled(hasIdentifier);
    if (m_restrictions) {
        m_restrictions->setUsable(hasIdentifier);
    }
}

bool JobEditorFrame::isValidIdentifier(const QString& identifier) {
    return JobIdentity::isValid(identifier);
}

void JobEditorFrame::refuseIdentifier() {
    JobIdentity::refuse(m_ctx.msgBox(), this);
    txtJobIdent->setFocus();
}

void JobEditorFrame::txtJobIdent_LostFocus() {
    if (m_checkingIdent || isValidIdentifier(identifier())) {
        return;
    }
    m_checkingIdent = true;
    refuseIdentifier();
    m_checkingIdent = false;
}

bool JobEditorFrame::canSave() const {
    return !txtName->text().isEmpty() && !m_noFreeNumber;
}

bool JobEditorFrame::checkBeforeSave() {
    // Enter presses OK without leaving the box, so the characters are checked here as well.
    if (!isValidIdentifier(identifier())) {
        refuseIdentifier();
        return false;
    }
    return true;
}

void JobEditorFrame::txtName_Change() {
    cmdOK->setEnabled(canSave());
}

// ---- OK and Cancel -------------------------------------------------------------------------

void JobEditorFrame::cmdOK_Click() {
    if (!m_setUp || !canSave()) {
        return;
    }
    if (!checkBeforeSave()) {
        return;
    }
    std::function<bool()> settle;
    if (!JobIdentity::settleClash(m_ctx, identifier(), m_record.key(), this, &settle)) {
        txtJobIdent->setFocus();
        return;
    }
    m_record.beginSave();
    saveJob();
    if (!m_record.commitSave()) {
        // Nothing of the job was stored: the editor stays open with what was typed.
        m_ctx.msgBox().show(QStringLiteral("The job could not be saved: the settings file %1 could not be "
                                           "written.\r\n\r\nNothing of this job was changed; your input "
                                           "is still here.")
                                .arg(QDir::toNativeSeparators(m_ctx.ini().settingsFile())),
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Job not saved"), this);
        return;
    }
    if (!settle()) {
        m_ctx.msgBox().show(
            QStringLiteral("The job was saved, but the other default job could not be changed: "
                           "the settings file could not be written."),
            MsgBox::OKOnly, MsgBox::Exclamation, QStringLiteral("Default job"), this);
    }
    afterSave();
    refreshJobList(m_ctx);
    finish(QDialog::Accepted);
}

void JobEditorFrame::cmdCancel_Click() {
    finish(QDialog::Rejected);
}

// Escape and the window's close box end the editor as Cancel does.
void JobEditorFrame::reject() {
    cmdCancel_Click();
}

void JobEditorFrame::finish(int result) {
    m_database.abortBuilder();
    QDialog::done(result);
    // The editor is unloaded when it closes, so the next opening starts afresh.
    if (!objectName().isEmpty() && m_ctx.windows().existing(objectName()) == this) {
        m_ctx.windows().unload(objectName());
    }
}

bool JobEditorFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == txtJobIdent) {
        // Only a move to another control of this window counts as leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible()) {
            txtJobIdent_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- restriction list ----------------------------------------------------------------------

void JobEditorFrame::txtRestrict_Change() {
    m_restrictions->numberChanged();
}

void JobEditorFrame::cmdAdd_Click() {
    m_restrictions->addNumber();
}

void JobEditorFrame::lstRestrict_Click() {
    m_restrictions->selectionChanged();
}

void JobEditorFrame::lstRestrict_DblClick() {
    cmdDel_Click();
}

void JobEditorFrame::cmdDel_Click() {
    m_restrictions->deleteSelected();
}

void JobEditorFrame::saveRestrictions() {
    if (m_restrictions) {
        m_restrictions->save(m_record);
    }
}

void JobEditorFrame::loadRestrictions() {
    if (m_restrictions) {
        m_restrictions->load(m_record);
    }
}

// ---- job record ----------------------------------------------------------------------------

QString JobEditorFrame::section() const {
    return m_record.section();
}

QString JobEditorFrame::readKey(const QString& key) const {
    return m_record.read(key);
}

void JobEditorFrame::writeKey(const QString& key, const QString& value) {
    m_record.write(key, value);
}

void JobEditorFrame::deleteKey(const QString& key) {
    m_record.remove(key);
}

bool JobEditorFrame::readFlag(const QString& key) const {
    return m_record.readFlag(key);
}

void JobEditorFrame::writeFlag(const QString& key, bool on) {
    m_record.writeFlag(key, on);
}

void JobEditorFrame::writeCommonHead() {
    m_record.writeHead(m_typeIndex, identifier(), txtName->text(), txtDesc->text());
}

void JobEditorFrame::writeCommonTail() {
    saveRestrictions();
    m_record.writeActive(chkActive->isChecked());
}

void JobEditorFrame::loadCommonFields() {
    const JobRecord::Common keys = m_record.readCommon();
    txtJobIdent->setText(keys.identifier);
    txtName->setText(keys.name);
    txtDesc->setText(keys.description);
    for (QLineEdit* box : {txtJobIdent, txtName, txtDesc}) {
        JobFrameLayout::showWhole(box);
    }
    chkActive->setChecked(keys.active);
}

QString JobEditorFrame::storedNumberList(const QString& typed) {
    return JobRecord::storedNumberList(typed);
}

QString JobEditorFrame::placeholderList(const QString& text, const QString& prefix) {
    return JobIdentity::placeholderList(text, prefix);
}

// ---- helpers shared by the editors ---------------------------------------------------------

QPushButton* JobEditorFrame::commandButton(const QString& text, QWidget* parent) {
    return ::commandButton(text, parent);
}

void JobEditorFrame::setAllEnabled(const QList<QWidget*>& widgets, bool enabled) {
    ::setAllEnabled(widgets, enabled);
}

void JobEditorFrame::onChosen(QRadioButton* option, std::function<void()> handler) {
    m_optionHandlers.onChosen(option, std::move(handler));
}

void JobEditorFrame::chooseOption(QRadioButton* option) {
    m_optionHandlers.choose(option);
}

void JobEditorFrame::selectAllOnFocus(QLineEdit* box) {
    m_selectAll->add(box);
}

void JobEditorFrame::selectAllOnFocus(QPlainTextEdit* box) {
    m_selectAll->add(box);
}

// ---- database ------------------------------------------------------------------------------

ConnectionBuilder* JobEditorFrame::connectionBuilder() {
    return m_database.builder();
}

void JobEditorFrame::buildConnection(QLineEdit* target) {
    m_database.buildConnection(target);
}

void JobEditorFrame::testRecipientQuery(const QString& connection, const QString& query) {
    m_database.testRecipientQuery(connection, query);
}

void JobEditorFrame::showSqlHelp() {
    m_database.showSqlHelp();
}
