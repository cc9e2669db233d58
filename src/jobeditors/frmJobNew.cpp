#include "frmJobNew.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

#include "AppContext.h"
#include "ColumnFit.h"
#include "JobEditorHost.h"
#include "JobTypes.h"
#include "ListView.h"
#include "Twips.h"
#include "frmMain.h"

namespace {

constexpr int kLeft = 120;
constexpr int kListTop = 360;
constexpr int kListWidth = 3615;
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;
constexpr int kRowHeight = 224;

}  // namespace

frmJobNew::frmJobNew(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setWindowTitle(QStringLiteral("Select job type"));

    Label1 = new QLabel(QStringLiteral("Please select which kind of job you want to create:"), this);
    Twips::setGeometry(Label1, kLeft, 60, kListWidth, 255);
    lstJobTypes = new ListView(this);
    Twips::setGeometry(lstJobTypes, kLeft, kListTop, kListWidth, 1440);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    const int right = kLeft + kListWidth;
    Twips::setGeometry(cmdCancel, right - 2 * kButtonWidth - 120, 1905, kButtonWidth, kButtonHeight);
    Twips::setGeometry(cmdOK, right - kButtonWidth, 1905, kButtonWidth, kButtonHeight);
    cmdOK->setDefault(true);
    Twips::setWidth(this, right + kLeft);

    connect(cmdOK, &QPushButton::clicked, this, &frmJobNew::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmJobNew::cmdCancel_Click);
    connect(lstJobTypes, &ListView::DblClick, this, [this](ListItem*) { lstJobTypes_DblClick(); });

    Form_Load();
}

void frmJobNew::Form_Load() {
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    getJobTypes();
    lstJobTypes->setSelectedItem(lstJobTypes->item(1));
}

void frmJobNew::getJobTypes() {
    lstJobTypes->clearItems();
    lstJobTypes->clearColumns();
    lstJobTypes->addColumn(QStringLiteral("Job type"), 800);
    lstJobTypes->addColumn(QStringLiteral("Job description"), 2700);
    for (int t = 0; t < jobTypeCount; ++t) {
        ListItem* item = lstJobTypes->addItem(jobTypeName(t));
        item->setTag(jobTypeLetter(t));
        item->setSubItem(1, jobTypeDescription(t));
        item->setToolTipText(jobTypeDescription(t));
    }

    // As wide as the question above it and as the texts of the columns need, and high enough
    // to show every type without scrolling.
    const int columns = lstJobTypes->growColumnsToContents();
    const int width = std::max({kListWidth, Twips::fromPixels(Label1->sizeHint().width()),
                                Twips::fromPixels(ColumnFit::listWidthFor(lstJobTypes, columns))});
    const int right = kLeft + width;
    Twips::setWidth(Label1, width);
    Twips::setHeight(Label1, std::max(255, Twips::fromPixels(Label1->sizeHint().height())));
    Twips::setWidth(lstJobTypes, width);
    Twips::setLeft(cmdCancel, right - 2 * kButtonWidth - 120);
    Twips::setLeft(cmdOK, right - kButtonWidth);
    Twips::setWidth(this, right + kLeft);

    const int listTop = Twips::top(lstJobTypes);
    const int listHeight = std::max(lstJobTypes->count() * kRowHeight + 320,
                                    Twips::fromPixels(ColumnFit::listHeightFor(lstJobTypes, lstJobTypes->count())));
    Twips::setHeight(lstJobTypes, listHeight);
    const int buttonTop = listTop + listHeight + 105;
    Twips::setTop(cmdCancel, buttonTop);
    Twips::setTop(cmdOK, buttonTop);
    Twips::setHeight(this, buttonTop + Twips::height(cmdCancel) + 480);
}

void frmJobNew::cmdOK_Click() {
    const ListItem* item = lstJobTypes->selectedItem();
    if (!item) {
        return;
    }
    const QString letter = item->tag();
    const int typeIndex = jobTypeIndex(letter);
    const QString window = jobEditorWindowName(letter);
    if (typeIndex >= 0 && !window.isEmpty() && m_ctx.windows().has(window)) {
        const QString typeName = jobTypeName(typeIndex);
        // With every number of the type taken, a new job would get the number 0, a job that
        // is never listed nor run.
        const int number = firstFreeJobNo(m_ctx.ini(), typeIndex);
        if (number == 0) {
            m_ctx.msgBox().show(QStringLiteral("All %1 %2 jobs are in use; delete one first.")
                                    .arg(QString::number(maxJobsPerType), typeName),
                                MsgBox::OKOnly, MsgBox::Critical,
                                QStringLiteral("Tellwick: New ") + typeName + QStringLiteral(" job"), this);
            return;
        }
        hide();
        openJobEditor(m_ctx, window, QStringLiteral("Tellwick: New ") + typeName + QStringLiteral(" job"),
                      letter + QString::number(number));
    }
    done(QDialog::Accepted);
}

void frmJobNew::lstJobTypes_DblClick() {
    cmdOK_Click();
}

void frmJobNew::cmdCancel_Click() {
    done(QDialog::Rejected);
}

void frmJobNew::done(int result) {
    QDialog::done(result);
    if (m_ctx.windows().existing(QStringLiteral("frmJobNew")) == this) {
        m_ctx.windows().unload(QStringLiteral("frmJobNew"));
    }
}
