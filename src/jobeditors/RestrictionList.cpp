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

RestrictionList::RestrictionList(QWidget* window, int typeIndex) {
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
    setToolTip(lstRestrict,
               QStringLiteral("This list shows all phone numbers you want to allow/deny execution of this job."));
    setToolTip(txtRestrict,
               QStringLiteral("Enter a phone number here and click 'Add' to allow/deny execution of this job."));
    setToolTip(cmdAdd, QStringLiteral("Click here to add a number to the list."));
    setToolTip(cmdDel, QStringLiteral("Click here to remove the selected number from the list."));
    setToolTip(optAllow,
               QStringLiteral("Choose this option to allow execution of this job to the listed numbers only (all "
                              "others are denied)."));
    setToolTip(optDeny,
               QStringLiteral("Choose this option to deny execution of this job to the listed numbers (all others "
                              "are allowed)."));
}

void RestrictionList::numberChanged() {
    cmdAdd->setEnabled(!txtRestrict->text().isEmpty());
}

void RestrictionList::addNumber() {
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

void RestrictionList::selectionChanged() {
    cmdDel->setEnabled(!lstRestrict->selectedItems().isEmpty());
}

void RestrictionList::deleteSelected() {
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
        clearOptions();
    }
}

void RestrictionList::clearOptions() {
    m_group->setExclusive(false);
    optAllow->setChecked(false);
    optDeny->setChecked(false);
    m_group->setExclusive(true);
}

void RestrictionList::setUsable(bool usable) {
    setAllEnabled({Frame2, Label4, optAllow, optDeny}, usable);
}

void RestrictionList::save(JobRecord& record) const {
    QStringList items;
    for (int i = 0; i < lstRestrict->count(); ++i) {
        items.append(lstRestrict->item(i)->text());
    }
    const QString list = items.join(kComma);
    if (list.isEmpty()) {
        record.remove(kAllow);
        record.remove(kDeny);
    } else if (optAllow->isChecked()) {
        record.write(kAllow, list);
        record.remove(kDeny);
    } else if (optDeny->isChecked()) {
        record.write(kDeny, list);
        record.remove(kAllow);
    }
}

void RestrictionList::load(const JobRecord& record) {
    lstRestrict->clear();
    QString list = record.read(kAllow);
    if (!list.isEmpty()) {
        optAllow->setChecked(true);
    } else {
        list = record.read(kDeny);
        if (!list.isEmpty()) {
            optDeny->setChecked(true);
        }
    }
    const int n = countFields(list, kComma);
    for (int i = 1; i <= n; ++i) {
        lstRestrict->addItem(getField(list, i, kComma));
    }
    cmdDel->setEnabled(false);
}
