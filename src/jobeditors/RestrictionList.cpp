#include "RestrictionList.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "EditorControls.h"
#include "Fields.h"
#include "JobRecord.h"
#include "Twips.h"

namespace {
constexpr int kRestrictWidthTwips = 3600;
const QString kAllow = QStringLiteral("Allow");
const QString kDeny = QStringLiteral("Deny");
const QString kComma = QStringLiteral(",");
}  // namespace

RestrictionList::RestrictionList(RestrictionControls& controls, QWidget* window, int typeIndex)
    : m_ui(controls) {
    auto& [Frame2, Label4, txtRestrict, cmdAdd, cmdDel, lstRestrict, optAllow, optDeny] = m_ui;
    Frame2 = new QGroupBox(QStringLiteral("Job &restrictions:"), window);
    Frame2->setMinimumWidth(Twips::toPixels(kRestrictWidthTwips));
    Label4 = new QLabel(
        QStringLiteral(
            "Add numbers here to restrict or allow execution of this job only from certain phone numbers:"),
        Frame2);
    Label4->setWordWrap(true);
    txtRestrict = new QLineEdit(Frame2);
    cmdAdd = commandButton(typeIndex == 0 ? QStringLiteral("< A&dd") : QStringLiteral("< &Add"), Frame2);
    cmdDel = commandButton(QStringLiteral("D&elete"), Frame2);
    lstRestrict = new QListWidget(Frame2);
    // As wide as the frame's texts make it, not as wide as a list would like to be.
    lstRestrict->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    optAllow = new QRadioButton(QStringLiteral("Allo&w from these numbers"), Frame2);
    optDeny = new QRadioButton(QStringLiteral("Den&y from these numbers"), Frame2);
    m_group = new QButtonGroup(window);
    m_group->addButton(optAllow);
    m_group->addButton(optDeny);
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
}

void RestrictionList::addToolTips(const std::function<void(QWidget*, const QString&)>& setToolTip) const {
    setToolTip(
        m_ui.lstRestrict,
        QStringLiteral("This list shows all phone numbers you want to allow/deny execution of this job."));
    setToolTip(
        m_ui.txtRestrict,
        QStringLiteral("Enter a phone number here and click 'Add' to allow/deny execution of this job."));
    setToolTip(m_ui.cmdAdd, QStringLiteral("Click here to add a number to the list."));
    setToolTip(m_ui.cmdDel, QStringLiteral("Click here to remove the selected number from the list."));
    setToolTip(
        m_ui.optAllow,
        QStringLiteral("Choose this option to allow execution of this job to the listed numbers only (all "
                       "others are denied)."));
    setToolTip(
        m_ui.optDeny,
        QStringLiteral("Choose this option to deny execution of this job to the listed numbers (all others "
                       "are allowed)."));
}

void RestrictionList::numberChanged() {
    m_ui.cmdAdd->setEnabled(!m_ui.txtRestrict->text().isEmpty());
}

void RestrictionList::addNumber() {
    if (m_ui.txtRestrict->text().isEmpty()) {
        return;
    }
    m_ui.lstRestrict->addItem(m_ui.txtRestrict->text());
    m_ui.txtRestrict->clear();
    if (!m_ui.optAllow->isChecked() && !m_ui.optDeny->isChecked()) {
        m_ui.optAllow->setChecked(true);
    }
    m_ui.cmdAdd->setEnabled(false);
}

void RestrictionList::selectionChanged() {
    m_ui.cmdDel->setEnabled(!m_ui.lstRestrict->selectedItems().isEmpty());
}

void RestrictionList::deleteSelected() {
    const QList<QListWidgetItem*> selected = m_ui.lstRestrict->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QListWidgetItem* item = selected.first();
    m_ui.txtRestrict->setText(item->text());
    delete m_ui.lstRestrict->takeItem(m_ui.lstRestrict->row(item));
    m_ui.lstRestrict->clearSelection();
    m_ui.cmdDel->setEnabled(false);
    if (m_ui.lstRestrict->count() == 0) {
        clearOptions();
    }
}

void RestrictionList::clearOptions() {
    m_group->setExclusive(false);
    m_ui.optAllow->setChecked(false);
    m_ui.optDeny->setChecked(false);
    m_group->setExclusive(true);
}

void RestrictionList::setUsable(bool usable) {
    setAllEnabled({m_ui.Frame2, m_ui.Label4, m_ui.optAllow, m_ui.optDeny}, usable);
}

void RestrictionList::save(JobRecord& record) const {
    QStringList items;
    for (int i = 0; i < m_ui.lstRestrict->count(); ++i) {
        items.append(m_ui.lstRestrict->item(i)->text());
    }
    const QString list = items.join(kComma);
    if (list.isEmpty()) {
        record.remove(kAllow);
        record.remove(kDeny);
    } else if (m_ui.optAllow->isChecked()) {
        record.write(kAllow, list);
        record.remove(kDeny);
    } else if (m_ui.optDeny->isChecked()) {
        record.write(kDeny, list);
        record.remove(kAllow);
    }
}

void RestrictionList::load(const JobRecord& record) {
    m_ui.lstRestrict->clear();
    QString list = record.read(kAllow);
    if (!list.isEmpty()) {
        m_ui.optAllow->setChecked(true);
    } else {
        list = record.read(kDeny);
        if (!list.isEmpty()) {
            m_ui.optDeny->setChecked(true);
        }
    }
    const int n = countFields(list, kComma);
    for (int i = 1; i <= n; ++i) {
        m_ui.lstRestrict->addItem(getField(list, i, kComma));
    }
    m_ui.cmdDel->setEnabled(false);
}
