#include "frmJobs.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>
#include <QSet>

#include "AppContext.h"
#include "ColumnFit.h"
#include "JobEditorHost.h"
#include "JobList.h"
#include "JobTypes.h"
#include "ListView.h"
#include "Prompts.h"
#include "Twips.h"
#include "frmMain.h"

namespace {

const QColor kActiveColour(0, 0, 0);
const QColor kInactiveColour(128, 128, 128);

// The window's design, in twips; the list and the window grow where the texts need more.
constexpr int kMargin = 120;
constexpr int kListTop = 960;
constexpr int kListWidth = 4455;
constexpr int kListHeight = 2895;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kWindowWidth = 6030;
constexpr int kWindowHeight = 4290;
constexpr int kNewTop = 960;
constexpr int kEditTop = 1440;
constexpr int kDelTop = 1920;
constexpr int kCloseTop = 3480;
// Texts up to this many characters widen a column.
constexpr int kMostCharacters = 60;

QPushButton* button(QWidget* parent, const QString& text, int top) {
    auto* b = new QPushButton(text, parent);
    Twips::setGeometry(b, kMargin + kListWidth + kMargin, top, kButtonWidth, kButtonHeight);
    return b;
}

}  // namespace

frmJobs::frmJobs(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setWindowTitle(QStringLiteral("Tellwick: Job Control"));

    Label2 = new QLabel(
        QStringLiteral("Over here, you can tell Tellwick what to do with incoming SMS messages."), this);
    // Room for two lines: the sentence is wider than the window in most desktop fonts.
    Label2->setWordWrap(true);
    Twips::setGeometry(Label2, 120, 120, 5790, 480);
    Label1 = new QLabel(QStringLiteral("&Existing jobs:"), this);
    Twips::setGeometry(Label1, 120, 720, 2000, 255);
    lstJobs2 = new ListView(this);
    Twips::setGeometry(lstJobs2, kMargin, kListTop, kListWidth, kListHeight);
    lstJobs2->setCheckboxes(true);
    Label1->setBuddy(lstJobs2);
    labStatus = new QLabel(this);
    // The name of a job is shown as it was typed, never as markup.
    labStatus->setTextFormat(Qt::PlainText);
    Twips::setGeometry(labStatus, kMargin, 3915, kListWidth, 255);

    cmdNew = button(this, QStringLiteral("&New..."), kNewTop);
    cmdEdit = button(this, QStringLiteral("&Edit..."), kEditTop);
    cmdDel = button(this, QStringLiteral("D&elete"), kDelTop);
    cmdClose = button(this, QStringLiteral("&Done"), kCloseTop);
    cmdEdit->setEnabled(false);
    cmdDel->setEnabled(false);
    for (QPushButton* b : {cmdNew, cmdEdit, cmdDel, cmdClose}) {
        b->setAutoDefault(false);
    }

    Twips::setWidth(this, kWindowWidth);
    Twips::setHeight(this, kWindowHeight);
    setFixedSize(size());

    connect(lstJobs2, &ListView::ItemClick, this, [this](ListItem*) { lstJobs2_Click(); });
    connect(lstJobs2, &ListView::KeyDown, this, &frmJobs::lstJobs2_KeyDown);
    connect(lstJobs2, &ListView::DblClick, this, [this](ListItem*) { lstJobs2_DblClick(); });
    connect(lstJobs2, &ListView::ColumnClick, this, &frmJobs::lstJobs2_ColumnClick);
    connect(lstJobs2, &ListView::ItemCheck, this, &frmJobs::lstJobs2_ItemCheck);
    connect(cmdNew, &QPushButton::clicked, this, &frmJobs::cmdNew_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmJobs::cmdEdit_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmJobs::cmdDel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmJobs::cmdClose_Click);

    Form_Load();
}

void frmJobs::Form_Load() {
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    getJobs();
}

void frmJobs::getJobs() {
    Hourglass hourglass;
    labStatus->clear();
    lstJobs2->clearItems();
    lstJobs2->clearColumns();

    // The columns start from the list's design width; fitToTexts widens what needs more.
    Twips::setWidth(lstJobs2, kListWidth);
    const double width = Twips::width(lstJobs2);
    lstJobs2->addColumn(QStringLiteral("Active/Type"), qRound(width / 4));
    lstJobs2->addColumn(QStringLiteral("Ident."), qRound(width / 7));
    lstJobs2->addColumn(QStringLiteral("Name"), qRound(2 * (width / 3) - 600));
    lstJobs2->setSortKey(0);
    lstJobs2->setSortOrder(Qt::AscendingOrder);
    lstJobs2->setSorted(true);

    for (const JobRow& job : scanJobs(m_ctx.ini())) {
        ListItem* item = nullptr;
        if (job.isDefault) {
            // A blank in front sorts the default job before every other row.
            item = lstJobs2->addItem(u' ' + job.typeName);
            item->setSubItem(1, QStringLiteral("---"));
            item->setSubItem(2, job.name);
            item->setTag(job.key);
            item->setToolTipText(QStringLiteral("DEFAULT JOB: ") + job.name);
            item->setBold(true);
            item->setSubItemBold(1, true);
            item->setSubItemBold(2, true);
            item->setChecked(true);
        } else {
            item = lstJobs2->addItem(job.typeName);
            item->setSubItem(1, job.ident);
            item->setSubItem(2, job.name);
            item->setTag(job.key);
            item->setToolTipText(job.name);
            item->setChecked(job.active);
            ColorItem(item);
        }
    }

    lstJobs2->setSelectedItem(nullptr);
    cmdEdit->setEnabled(false);
    cmdDel->setEnabled(false);
    fitToTexts();
}

void frmJobs::fitToTexts() {
    // Every column as wide as its header (with the sort picture a click adds) and its cells;
    // a name or an identifier longer than any a person types scrolls into view instead.
    const int most = lstJobs2->fontMetrics().averageCharWidth() * kMostCharacters;
    const int columns = lstJobs2->growColumnsToContents(most, true);
    const int listWidth = qMax(Twips::toPixels(kListWidth), ColumnFit::listWidthFor(lstJobs2, columns));
    // The status line shows a row's tip: as wide as the widest (each text measured once).
    int statusWidth = listWidth;
    const QFontMetrics statusMetrics = labStatus->fontMetrics();
    QSet<QString> measured;
    for (int i = 0; i < lstJobs2->topLevelItemCount(); ++i) {
        const QString tip = static_cast<ListItem*>(lstJobs2->topLevelItem(i))->toolTipText();
        if (!measured.contains(tip)) {
            measured.insert(tip);
            statusWidth = qMax(statusWidth, statusMetrics.horizontalAdvance(tip));
        }
    }
    statusWidth = qMin(statusWidth, listWidth + most);
    const int margin = Twips::toPixels(kMargin);
    const int buttonsLeft = margin + listWidth + margin;
    const int windowWidth = std::max({Twips::toPixels(kWindowWidth), buttonsLeft + Twips::toPixels(kButtonWidth) + margin,
                                  margin + statusWidth + margin});

    // The sentence on top wraps within the window; what is below moves down when it needs
    // more than its two lines.
    const int labelWidth = windowWidth - 2 * margin;
    const int labelHeight = qMax(Twips::toPixels(480), Label2->heightForWidth(labelWidth));
    const int down = labelHeight - Twips::toPixels(480);
    Label2->resize(labelWidth, labelHeight);
    Label1->move(Label1->x(), Twips::toPixels(720) + down);
    lstJobs2->setGeometry(margin, Twips::toPixels(kListTop) + down, listWidth, Twips::toPixels(kListHeight));
    labStatus->setGeometry(margin, Twips::toPixels(3915) + down, statusWidth,
                           qMax(Twips::toPixels(255), labStatus->fontMetrics().height()));
    const QList<std::pair<QPushButton*, int>> buttons{
        {cmdNew, kNewTop}, {cmdEdit, kEditTop}, {cmdDel, kDelTop}, {cmdClose, kCloseTop}};
    for (const auto& [b, top] : buttons) {
        b->move(buttonsLeft, Twips::toPixels(top) + down);
    }
    const int windowHeight = qMax(Twips::toPixels(kWindowHeight), labStatus->geometry().bottom() + 1 + margin);
    setFixedSize(windowWidth, windowHeight);
}

void frmJobs::ColorItem(ListItem* item) {
    if (!item) {
        return;
    }
    const QColor colour = item->checked() ? kActiveColour : kInactiveColour;
    item->setForeColor(colour);
    item->setSubItemForeColor(1, colour);
    item->setSubItemForeColor(2, colour);
}

void frmJobs::lstJobs2_Click() {
    const ListItem* item = lstJobs2->selectedItem();
    if (!item) {
        return;
    }
    selectedJobText = item->text();
    selectedJobKey = item->tag();
    cmdEdit->setEnabled(true);
    cmdDel->setEnabled(true);
    labStatus->setText(item->toolTipText());
}

void frmJobs::lstJobs2_KeyDown(int, int) {
    lstJobs2_Click();
}

void frmJobs::lstJobs2_DblClick() {
    cmdEdit_Click();
}

void frmJobs::lstJobs2_ColumnClick(int column) {
    // Every header click turns the order round, whichever column was sorted before.
    const Qt::SortOrder order =
        lstJobs2->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lstJobs2->setSortKey(column);
    lstJobs2->setSortOrder(order);
    lstJobs2->sort();

    const ImageList& images = m_ctx.mainWindow().lstImages;
    const QString key = order == Qt::AscendingOrder ? QStringLiteral("Asc") : QStringLiteral("Desc");
    lstJobs2->clearColumnHeaderIcons();
    if (images.contains(key)) {
        lstJobs2->setColumnHeaderIcon(column, images.icon(key));
    }
}

void frmJobs::lstJobs2_ItemCheck(ListItem* item) {
    if (!item) {
        return;
    }
    lstJobs2->setSelectedItem(item);
    if (item->bold()) {
        // The default job runs for every message no other job takes: it stays active.
        if (!item->checked()) {
            m_ctx.msgBox().show(
                QStringLiteral("The default job can't be deactivated,\r\ngive it an identifier, first."),
                MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Tellwick: Default job must be activated"),
                this);
        }
        item->setChecked(true);
        return;
    }
    m_ctx.ini().writeINI(jobSection(item->tag()), QStringLiteral("Active"),
                         item->checked() ? QStringLiteral("1") : QStringLiteral("0"));
    ColorItem(item);
}

void frmJobs::cmdNew_Click() {
    const QString chooserName = QStringLiteral("frmJobNew");
    if (!m_ctx.windows().has(chooserName)) {
        return;
    }
    QDialog* chooser = nullptr;
    {
        Hourglass hourglass;  // until the chooser has loaded
        chooser = qobject_cast<QDialog*>(m_ctx.windows().get(chooserName));
    }
    if (chooser) {
        chooser->exec();
    }
}

void frmJobs::cmdEdit_Click() {
    // The row selected now names the job and its editor; a remembered key could belong to
    // another row (ticking a box moves the selection) and open the wrong type's editor.
    const ListItem* item = lstJobs2->selectedItem();
    if (!item) {
        return;
    }
    const QString key = item->tag();
    const QString letter = key.left(1);
    const QString window = jobEditorWindowName(letter);
    if (window.isEmpty()) {
        return;
    }
    selectedJobKey = key;
    selectedJobText = item->text();
    const QString caption =
        QStringLiteral("Tellwick: Edit ") + jobTypeName(jobTypeIndex(letter)) + QStringLiteral(" job");
    openJobEditor(m_ctx, window, caption, key);
}

void frmJobs::cmdDel_Click() {
    const ListItem* item = lstJobs2->selectedItem();
    if (!item) {
        return;
    }
    const QString key = item->tag();
    const QString text = QStringLiteral("Do you really want to delete ") + item->text() +
                         QStringLiteral("-job\r\n'") + item->subItem(2) + QStringLiteral("'?");
    if (m_ctx.msgBox().show(text, MsgBox::YesNo, MsgBox::Question, QStringLiteral("Delete Job"), this) ==
        MsgBox::Yes) {
        m_ctx.ini().deleteINISection(jobSection(key));
        getJobs();
    }
}

void frmJobs::cmdClose_Click() {
    done(QDialog::Accepted);
}

void frmJobs::done(int result) {
    QDialog::done(result);
    if (m_ctx.windows().existing(QStringLiteral("frmJobs")) == this) {
        m_ctx.windows().unload(QStringLiteral("frmJobs"));
    }
}
