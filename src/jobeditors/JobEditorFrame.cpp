#include "JobEditorFrame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
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
#include <QStyleOptionFrame>
#include <QTimer>
#include <QVBoxLayout>

#include "AppContext.h"
#include "ConnectionBuilder.h"
#include "DatabaseTest.h"
#include "Fields.h"
#include "IniStore.h"
#include "JobTypes.h"
#include "MsgBox.h"
#include "Twips.h"
#include "cToolTips.h"
#include "frmMain.h"

namespace {
const QString kCRLF = QStringLiteral("\r\n");
constexpr int kRestrictWidthTwips = 3600;
// Tooltips: balloons, tools that pass the mouse through, shown for ten seconds.
constexpr int kBalloonStyle = EditorToolTips::kBalloonStyle;
constexpr int kPlaceholders = 10;
// A stored text longer than this many characters scrolls in its box instead of widening it.
constexpr int kMostCharacters = 60;

// Widens a box to show the text it holds now whole, up to kMostCharacters.
void showWhole(QLineEdit* box) {
    const QFontMetrics fm = box->fontMetrics();
    const int text = qMin(fm.horizontalAdvance(box->text()), fm.averageCharWidth() * kMostCharacters);
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    constexpr int kInnerMargin = 2;  // the box's own room on each side of its text
    const QMargins margins = box->textMargins() + box->contentsMargins();
    const QSize contents(text + 2 * kInnerMargin + margins.left() + margins.right(), fm.height());
    const int width = box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, contents, box).width();
    box->setMinimumWidth(qMax(box->minimumWidth(), width));
}
}  // namespace

JobEditorFrame::JobEditorFrame(AppContext& ctx, int typeIndex, Restrictions restrictions, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_typeIndex(typeIndex) {
    labJobIdent = new QLabel(QStringLiteral("Job identi&fier:"), this);
    txtJobIdent = new QLineEdit(this);
    labJobIdent->setBuddy(txtJobIdent);
    labName = new QLabel(QStringLiteral("Job &name:"), this);
    txtName = new QLineEdit(this);
    labName->setBuddy(txtName);
    labDesc = new QLabel(QStringLiteral("Job &description:"), this);
    txtDesc = new QLineEdit(this);
    labDesc->setBuddy(txtDesc);
    chkActive = new QCheckBox(
        typeIndex == 0 ? QStringLiteral("This job is &active") : QStringLiteral("T&his job is active"), this);

    m_options = new QWidget(this);

    labExample = new QLabel(this);
    labExample->setWordWrap(true);
    // The example quotes the identifier as typed, never as markup.
    labExample->setTextFormat(Qt::PlainText);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = commandButton(QStringLiteral("&Cancel"), this);
    // The buttons keep their size also when the example beside them is hidden.
    for (QPushButton* b : {cmdOK, cmdCancel}) {
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    // The job's own fields and options on the left, activation and restrictions on the right;
    // without restrictions the activation stands beside the identifier and the options take
    // the whole width.
    auto* fields = new QGridLayout;
    fields->addWidget(labJobIdent, 0, 0);
    fields->addWidget(txtJobIdent, 0, 1);
    fields->addWidget(labName, 1, 0);
    fields->addWidget(txtName, 1, 1);
    fields->addWidget(labDesc, 2, 0);
    fields->addWidget(txtDesc, 2, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(m_options, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(0);  // takes the room of a hidden example
    buttons->addWidget(cmdOK, 0, Qt::AlignBottom);
    buttons->addWidget(cmdCancel, 0, Qt::AlignBottom);

    auto* outer = new QGridLayout(this);
    outer->addLayout(left, 0, 0);
    if (restrictions == WithRestrictions) {
        makeRestrictions();
        auto* right = new QVBoxLayout;
        right->addWidget(chkActive);
        right->addWidget(Frame2, 1);
        outer->addLayout(right, 0, 1);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(labExample, 1);
        bottom->addLayout(buttons);
        outer->addLayout(bottom, 1, 0, 1, 2);
        // The job's own options take what the window gains; the restrictions keep their width.
        outer->setColumnStretch(0, 1);
    } else {
        // The activation under the description, the example and the buttons at the foot of
        // the same column; the side area beside it takes the window's height.
        fields->addWidget(chkActive, 3, 1);
        left->addWidget(labExample);
        left->addLayout(buttons);
        m_side = new QWidget(this);
        outer->addWidget(m_side, 0, 1);
        outer->setColumnStretch(1, 1);
    }

    connect(txtJobIdent, &QLineEdit::textChanged, this, [this] { txtJobIdent_Change(); });
    connect(txtName, &QLineEdit::textChanged, this, [this] { txtName_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    txtJobIdent->installEventFilter(this);

    selectAllOnFocus(txtJobIdent);
    selectAllOnFocus(txtName);
    selectAllOnFocus(txtDesc);
}

JobEditorFrame::~JobEditorFrame() = default;

void JobEditorFrame::makeRestrictions() {
    Frame2 = new QGroupBox(QStringLiteral("Job &restrictions:"), this);
    Frame2->setMinimumWidth(Twips::toPixels(kRestrictWidthTwips));
    Label4 = new QLabel(
        QStringLiteral(
            "Add numbers here to restrict or allow execution of this job only from certain phone numbers:"),
        Frame2);
    Label4->setWordWrap(true);
    txtRestrict = new QLineEdit(Frame2);
    cmdAdd = commandButton(m_typeIndex == 0 ? QStringLiteral("< A&dd") : QStringLiteral("< &Add"), Frame2);
    cmdDel = commandButton(QStringLiteral("D&elete"), Frame2);
    lstRestrict = new QListWidget(Frame2);
    // As wide as the frame's texts make it, not as wide as a list would like to be.
    lstRestrict->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    optAllow = new QRadioButton(QStringLiteral("Allo&w from these numbers"), Frame2);
    optDeny = new QRadioButton(QStringLiteral("Den&y from these numbers"), Frame2);
    m_restrictGroup = new QButtonGroup(this);
    m_restrictGroup->addButton(optAllow);
    m_restrictGroup->addButton(optDeny);
    cmdAdd->setEnabled(false);
    cmdDel->setEnabled(false);

    auto* layout = new QGridLayout(Frame2);
    layout->addWidget(Label4, 0, 0, 1, 2);
    layout->addWidget(txtRestrict, 1, 0);
    layout->addWidget(cmdAdd, 1, 1);
    layout->addWidget(lstRestrict, 2, 0);
    layout->addWidget(cmdDel, 2, 1, Qt::AlignTop);
    layout->addWidget(optAllow, 3, 0, 1, 2);
    layout->addWidget(optDeny, 4, 0, 1, 2);
    layout->setRowStretch(2, 1);

    connect(txtRestrict, &QLineEdit::textChanged, this, [this] { txtRestrict_Change(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(lstRestrict, &QListWidget::itemSelectionChanged, this, [this] { lstRestrict_Click(); });
    connect(lstRestrict, &QListWidget::itemDoubleClicked, this, [this] { lstRestrict_DblClick(); });
}

void JobEditorFrame::finishLoad() {
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    initToolTips(kBalloonStyle);
    const int width = kTipWidth;
    const int autoPop = kTipShowMilliseconds;
    const QString none;
    setToolTip(txtJobIdent,
               QStringLiteral(
                   "Enter an unique identification string here. This string must be preceeding the message "
                   "text in order to identify this job. Leave empty for setting up the default job (this job "
                   "will be started if no identifier found, only one default job can be set up)."),
               none, width, autoPop);
    setToolTip(txtName, QStringLiteral("Enter a name for this job."), none, width, autoPop);
    setToolTip(txtDesc, QStringLiteral("Enter a brief description of your job here."), none, width, autoPop);
    if (lstRestrict) {
        restrictionToolTips();
    }
    setToolTip(chkActive,
               QStringLiteral(
                   "Check this to activate your job. If this is not checked, your job won't be executed."),
               none, width, autoPop);
    ownToolTips();
}

void JobEditorFrame::restrictionToolTips() {
    const int width = kTipWidth;
    const int autoPop = kTipShowMilliseconds;
    const QString none;
    setToolTip(
        lstRestrict,
        QStringLiteral("This list shows all phone numbers you want to allow/deny execution of this job."),
        none, width, autoPop);
    setToolTip(
        txtRestrict,
        QStringLiteral("Enter a phone number here and click 'Add' to allow/deny execution of this job."),
        none, width, autoPop);
    setToolTip(cmdAdd, QStringLiteral("Click here to add a number to the list."), none, width, autoPop);
    setToolTip(cmdDel, QStringLiteral("Click here to remove the selected number from the list."), none, width,
               autoPop);
    setToolTip(
        optAllow,
        QStringLiteral("Choose this option to allow execution of this job to the listed numbers only (all "
                       "others are denied)."),
        none, width, autoPop);
    setToolTip(optDeny,
               QStringLiteral(
                   "Choose this option to deny execution of this job to the listed numbers (all others are "
                   "allowed)."),
               none, width, autoPop);
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
    return QStringLiteral("Tellwick: Edit ") + jobTypeName(m_typeIndex) + QStringLiteral(" job");
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
    // Wrapped labels report too small a minimum: the window never gets smaller than its texts
    // need, whatever room the screen offers.
    const QSize needed = sizeHint();
    setMinimumSize(needed);
    resize(size().expandedTo(needed));
}

void JobEditorFrame::openingSetUp(const QString& requestedKey) {
    m_setUp = true;
    m_openingCaption = windowTitle();
    const QString letter = jobTypeLetter(m_typeIndex);

    // A key of another type, or one out of range, must never be edited here.
    bool keyFits = false;
    if (requestedKey.startsWith(letter)) {
        const QString digits = requestedKey.mid(letter.size());
        const int n = digits.toInt(&keyFits);
        keyFits = keyFits && n >= 1 && n <= maxJobsPerType && QString::number(n) == digits;
    }

    m_newJob = !(m_openingCaption == editCaption() && keyFits);
    if (!m_newJob) {
        m_jobKey = requestedKey;
        m_jobNumber = m_jobKey.mid(letter.size()).toInt();
        getJob();
    } else {
        m_jobNumber = firstFreeJobNo(m_ctx.ini(), m_typeIndex);
        m_noFreeNumber = m_jobNumber == 0;
        m_jobKey = letter + QString::number(m_jobNumber);
        txtJobIdent->setText(u'>' + m_jobKey + u'<');
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
    return identifier().isEmpty() ? QStringLiteral(" [DEFAULT JOB]")
                                  : QStringLiteral(" [") + QString::number(m_jobNumber) + u']';
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
        chkActive->setChecked(readFlag(QStringLiteral("Active")));
    } else {
        // The default job is always active.
        chkActive->setChecked(true);
    }
    chkActive->setEnabled(hasIdentifier);
    if (Frame2) {
        Frame2->setEnabled(hasIdentifier);
        Label4->setEnabled(hasIdentifier);
        optAllow->setEnabled(hasIdentifier);
        optDeny->setEnabled(hasIdentifier);
    }
}

bool JobEditorFrame::isValidIdentifier(const QString& identifier) {
    return !identifier.contains(u',') && !identifier.contains(u'#') && !identifier.contains(u'*');
}

void JobEditorFrame::refuseIdentifier() {
    m_ctx.msgBox().show(QStringLiteral("You can't use '*' or '#' or commas in your identifier for a job."),
                        MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Invalid identifier"), this);
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
    const QString ident = identifier();
    const QString found = findJobByIdent(m_ctx.ini(), ident);
    if (!found.isEmpty()) {
        // "<name>,<key>": the name may hold commas, the key is after the last one.
        const int comma = int(found.lastIndexOf(u','));
        const QString otherKey = found.mid(comma + 1);
        const QString otherName = found.left(comma);
        if (otherKey != m_jobKey) {
            if (ident.isEmpty()) {
                const int answer = m_ctx.msgBox().show(
                    QStringLiteral("You already have a default job that doesn't need an identifier.") +
                        kCRLF + QStringLiteral("Do you want to give this job a new (standard) identifier?") +
                        kCRLF + kCRLF +
                        QStringLiteral("(If you choose no, the old default job will be deleted!)"),
                    MsgBox::YesNoCancel, MsgBox::Question, QStringLiteral("Default job already exists"),
                    this);
                if (answer == MsgBox::Yes) {
                    m_ctx.ini().writeINI(jobSection(otherKey), QStringLiteral("Identification"),
                                         u'>' + otherKey + u'<');
                } else if (answer == MsgBox::No) {
                    m_ctx.ini().deleteINISection(jobSection(otherKey));
                } else {
                    txtJobIdent->setFocus();
                    return;
                }
            } else {
                m_ctx.msgBox().show(QStringLiteral("The job '") + otherName + u'\'' + kCRLF +
                                        QStringLiteral("already uses this identifier, please change it."),
                                    MsgBox::OKOnly, MsgBox::Critical,
                                    QStringLiteral("Job identifier not unique"), this);
                txtJobIdent->setFocus();
                return;
            }
        }
    }
    saveJob();
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
    // A builder still open ends with the editor, and its result is dropped.
    if (m_builder) {
        m_builder->abort();
    }
    QDialog::done(result);
    // The editor is unloaded when it closes, so the next opening starts afresh.
    if (!objectName().isEmpty() && m_ctx.windows().existing(objectName()) == this) {
        m_ctx.windows().unload(objectName());
    }
}

// ---- restriction list ----------------------------------------------------------------------

void JobEditorFrame::txtRestrict_Change() {
    cmdAdd->setEnabled(!txtRestrict->text().isEmpty());
}

void JobEditorFrame::cmdAdd_Click() {
    if (txtRestrict->text().isEmpty()) {
        return;
    }
    lstRestrict->addItem(txtRestrict->text());
    txtRestrict->clear();
    if (!optAllow->isChecked() && !optDeny->isChecked()) {
        optAllow->setChecked(true);
    }
    cmdAdd->setEnabled(false);
}

void JobEditorFrame::lstRestrict_Click() {
    cmdDel->setEnabled(!lstRestrict->selectedItems().isEmpty());
}

void JobEditorFrame::lstRestrict_DblClick() {
    cmdDel_Click();
}

void JobEditorFrame::cmdDel_Click() {
    const QList<QListWidgetItem*> selected = lstRestrict->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QListWidgetItem* item = selected.first();
    txtRestrict->setText(item->text());
    delete lstRestrict->takeItem(lstRestrict->row(item));
    lstRestrict->clearSelection();
    cmdDel->setEnabled(false);
    if (lstRestrict->count() == 0) {
        clearRestrictOptions();
    }
}

void JobEditorFrame::clearRestrictOptions() {
    m_restrictGroup->setExclusive(false);
    optAllow->setChecked(false);
    optDeny->setChecked(false);
    m_restrictGroup->setExclusive(true);
}

void JobEditorFrame::saveRestrictions() {
    if (!lstRestrict) {
        return;
    }
    QStringList items;
    for (int i = 0; i < lstRestrict->count(); ++i) {
        items.append(lstRestrict->item(i)->text());
    }
    const QString list = items.join(u',');
    const QString allow = QStringLiteral("Allow");
    const QString deny = QStringLiteral("Deny");
    if (list.isEmpty()) {
        deleteKey(allow);
        deleteKey(deny);
    } else if (optAllow->isChecked()) {
        writeKey(allow, list);
        deleteKey(deny);
    } else if (optDeny->isChecked()) {
        writeKey(deny, list);
        deleteKey(allow);
    }
}

void JobEditorFrame::loadRestrictions() {
    if (!lstRestrict) {
        return;
    }
    lstRestrict->clear();
    QString list = readKey(QStringLiteral("Allow"));
    if (!list.isEmpty()) {
        optAllow->setChecked(true);
    } else {
        list = readKey(QStringLiteral("Deny"));
        if (!list.isEmpty()) {
            optDeny->setChecked(true);
        }
    }
    const QString comma = QStringLiteral(",");
    const int n = countFields(list, comma);
    for (int i = 1; i <= n; ++i) {
        lstRestrict->addItem(getField(list, i, comma));
    }
    cmdDel->setEnabled(false);
}

// ---- job record ----------------------------------------------------------------------------

QString JobEditorFrame::section() const {
    return jobSection(m_jobKey);
}

QString JobEditorFrame::readKey(const QString& key) const {
    return m_jobKey.isEmpty() ? QString() : m_ctx.ini().readINI(section(), key);
}

void JobEditorFrame::writeKey(const QString& key, const QString& value) {
    m_ctx.ini().writeINI(section(), key, value);
}

void JobEditorFrame::deleteKey(const QString& key) {
    m_ctx.ini().deleteINIKey(section(), key);
}

void JobEditorFrame::writeCommonHead() {
    writeKey(QStringLiteral("Type"), QString::number(m_typeIndex));
    writeKey(QStringLiteral("Identification"), identifier());
    writeKey(QStringLiteral("Name"), txtName->text());
    writeKey(QStringLiteral("Description"), txtDesc->text());
}

void JobEditorFrame::writeCommonTail() {
    saveRestrictions();
    writeFlag(QStringLiteral("Active"), chkActive->isChecked());
}

void JobEditorFrame::loadCommonFields() {
    txtJobIdent->setText(readKey(QStringLiteral("Identification")));
    txtName->setText(readKey(QStringLiteral("Name")));
    txtDesc->setText(readKey(QStringLiteral("Description")));
    for (QLineEdit* box : {txtJobIdent, txtName, txtDesc}) {
        showWhole(box);
    }
    chkActive->setChecked(readFlag(QStringLiteral("Active")));
}

bool JobEditorFrame::readFlag(const QString& key) const {
    return isFlagSet(readKey(key));
}

void JobEditorFrame::writeFlag(const QString& key, bool on) {
    writeKey(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString JobEditorFrame::storedNumberList(const QString& typed) {
    return QString(typed).replace(u';', u',');
}

QString JobEditorFrame::placeholderList(const QString& text, const QString& prefix) {
    QStringList found;
    for (int i = 1; i <= kPlaceholders; ++i) {
        // "<#1>" is not found inside "<#10>": the closing ">" must follow the digit.
        if (text.contains(QStringLiteral("<#") + QString::number(i) + u'>')) {
            found.append(prefix + QString::number(i));
        }
    }
    return found.join(u';');
}

// ---- helpers shared by the editors ---------------------------------------------------------

QPushButton* JobEditorFrame::commandButton(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

void JobEditorFrame::setAllEnabled(const QList<QWidget*>& widgets, bool enabled) {
    for (QWidget* w : widgets) {
        w->setEnabled(enabled);
    }
}

void JobEditorFrame::onChosen(QRadioButton* option, std::function<void()> handler) {
    m_chosenHandlers.insert(option, handler);
    // Chosen by the code, or by a click or key that changes the choice.
    connect(option, &QRadioButton::toggled, this, [handler](bool on) {
        if (on) {
            handler();
        }
    });
    // A click on the option already chosen changes nothing, so only the click tells of it.
    auto chosenBefore = std::make_shared<bool>(false);
    connect(option, &QRadioButton::pressed, this,
            [option, chosenBefore] { *chosenBefore = option->isChecked(); });
    connect(option, &QRadioButton::clicked, this, [handler, chosenBefore] {
        if (*chosenBefore) {
            handler();
        }
    });
}

void JobEditorFrame::chooseOption(QRadioButton* option) {
    if (!option->isChecked()) {
        option->setChecked(true);  // its toggled handler runs
    } else if (const auto handler = m_chosenHandlers.value(option)) {
        handler();
    }
}

void JobEditorFrame::selectAllOnFocus(QLineEdit* box) {
    if (!m_selectAll.contains(box)) {
        m_selectAll.append(box);
        box->installEventFilter(this);
    }
}

void JobEditorFrame::selectAllOnFocus(QPlainTextEdit* box) {
    if (!m_selectAll.contains(box)) {
        m_selectAll.append(box);
        box->installEventFilter(this);
    }
}

bool JobEditorFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Later, so the click that brought the focus does not undo the selection.
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && m_selectAll.contains(box)) {
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        } else if (auto* area = qobject_cast<QPlainTextEdit*>(watched); area && m_selectAll.contains(area)) {
            QTimer::singleShot(0, area, &QPlainTextEdit::selectAll);
        }
    } else if (event->type() == QEvent::FocusOut && watched == txtJobIdent) {
        // Only a move to another control of this window counts as leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible()) {
            txtJobIdent_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void JobEditorFrame::showSqlHelp() {
    if (auto* help = qobject_cast<QDialog*>(m_ctx.windows().get(QStringLiteral("frmSQLHelp")))) {
        help->exec();
    }
}

ConnectionBuilder* JobEditorFrame::connectionBuilder() {
    if (!m_builder) {
        m_builder = new ConnectionBuilder(this);
        m_builder->setFilePicker(&m_ctx.prompts().files);
        m_builder->setScripted(m_ctx.msgBox().scripted());
    }
    return m_builder;
}

void JobEditorFrame::buildConnection(QLineEdit* target) {
    ConnectionBuilder* builder = connectionBuilder();
    // One connection per start, so a second click while the builder is open adds none.
    builder->disconnect(this);
    connect(builder, &ConnectionBuilder::finished, this, [target](const QString& connection) {
        // A cancelled builder hands back "": the box keeps what it held.
        if (!connection.isEmpty()) {
            target->setText(connection);
        }
    });
    builder->start(this);
}

void JobEditorFrame::testRecipientQuery(const QString& connection, const QString& query) {
    DatabaseTest::show(m_ctx.msgBox(), connection, query, this);
}
