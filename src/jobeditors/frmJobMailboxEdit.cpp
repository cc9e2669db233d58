#include "frmJobMailboxEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AppContext.h"
#include "ColumnFit.h"
#include "EditorControls.h"
#include "ListView.h"
#include "MsgBox.h"
#include "Twips.h"
#include "cToolTips.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

namespace {
const QString kWindowName = u"frmJobMailboxEdit"_s;
constexpr int kBalloonStyle = EditorToolTips::kBalloonStyle;
constexpr int kAutoPopMilliseconds = 10000;
constexpr int kTipWidth = 400;
constexpr int kFieldColumnTwips = 700;
constexpr int kExpressionColumnTwips = 1600;
}  // namespace

frmJobMailboxEdit::frmJobMailboxEdit(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    labInfo = new QLabel(this);
    labInfo->setWordWrap(true);
    lstList = new ListView(this);
    labField = new QLabel(u"&Field:"_s, this);
    lstField = new QComboBox(this);
    lstField->addItems({u"Address"_s, u"Subject"_s});
    lstField->setCurrentIndex(-1);
    labField->setBuddy(lstField);
    txtText = labelledBox(labText, u"&Expression:"_s, this);
    cmdAdd = commandButton(u"&Add"_s, this);
    cmdAdd->setToolTip(u"Add above entry to list"_s);
    cmdAdd->setEnabled(false);
    cmdDelete = commandButton(u"&Delete"_s, this);
    cmdDelete->setToolTip(u"Delete selected entry from list"_s);
    cmdOK = commandButton(u"&OK"_s, this);
    cmdOK->setDefault(true);  // Enter
    cmdCancel = commandButton(u"&Cancel"_s, this);

    auto* entry = new QGridLayout;
    entry->addWidget(labField, 0, 0);
    entry->addWidget(labText, 0, 1);
    entry->addWidget(lstField, 1, 0);
    entry->addWidget(txtText, 1, 1);
    entry->setColumnStretch(1, 1);
    lstField->setMinimumWidth(Twips::toPixels(1100));
    auto* listButtons = new QHBoxLayout;
    listButtons->addStretch(1);
    listButtons->addWidget(cmdAdd);
    listButtons->addWidget(cmdDelete);
    auto* left = new QVBoxLayout;
    left->addWidget(lstList, 1);
    left->addLayout(entry);
    left->addLayout(listButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(cmdOK);
    right->addWidget(cmdCancel);
    right->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right);
    auto* top = new QVBoxLayout(this);
    top->addWidget(labInfo);
    top->addLayout(body, 1);
    Twips::setWidth(this, 5400);
    Twips::setHeight(this, 4800);

    connect(lstField, &QComboBox::currentIndexChanged, this, [this] { lstField_Change(); });
    connect(txtText, &QLineEdit::textChanged, this, [this] { txtText_Change(); });
    connect(lstList, &ListView::ItemClick, this, &frmJobMailboxEdit::lstList_ItemClick);
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Load: the main window's icon and the tips of the two entry boxes.
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    initToolTips(kBalloonStyle);
    setToolTip(lstField, u"Select, which field of the message should be compared with your expression."_s,
               QString(), kTipWidth, kAutoPopMilliseconds);
    setToolTip(txtText,
               u"Enter an expression, for example part of an eMail address or any word/phrase to find in the "
               "selected field."_s,
               QString(), kTipWidth, kAutoPopMilliseconds);
}

frmJobMailboxEdit::~frmJobMailboxEdit() = default;

bool frmJobMailboxEdit::editRules(AppContext& ctx, const QString& tag, ListView* criteriaList,
                                  ListView* exceptionList, QWidget* parent) {
    // Every opening starts from a freshly loaded window.
    if (ctx.windows().isLoaded(kWindowName)) {
        ctx.windows().unload(kWindowName);
    }
    auto* dialog = ctx.windows().get<frmJobMailboxEdit>(kWindowName);
    if (!dialog) {
        return false;
    }
    if (parent) {
        dialog->setParent(parent, dialog->windowFlags());
    }
    dialog->setTag(tag);
    dialog->setLists(criteriaList, exceptionList);
    return dialog->exec() == QDialog::Accepted;
}

void frmJobMailboxEdit::setLists(ListView* criteriaList, ListView* exceptionList) {
    m_criteriaList = criteriaList;
    m_exceptionList = exceptionList;
}

QList<MailboxRule> frmJobMailboxEdit::rows() const {
    QList<MailboxRule> result;
    for (int i = 1; i <= lstList->count(); ++i) {
        const ListItem* row = lstList->item(i);
        result.append({row->text(), row->subItem(1)});
    }
    return result;
}

// ---- tooltips ------------------------------------------------------------------------------

void frmJobMailboxEdit::initToolTips(int style) {
    m_toolTips.create(&m_ctx.mainWindow(), style);
}

void frmJobMailboxEdit::setToolTip(QWidget* control, const QString& text, const QString& title, int maxWidth,
                                   int autoPop) {
    m_toolTips.add(&m_ctx.mainWindow(), control, text, title, maxWidth, autoPop);
}

// ---- opening -------------------------------------------------------------------------------

void frmJobMailboxEdit::showEvent(QShowEvent* event) {
    if (!m_setUp) {
        openingSetUp();
    }
    QDialog::showEvent(event);
}

void frmJobMailboxEdit::openingSetUp() {
    m_setUp = true;
    // The mode is fixed here, so OK writes back into the list the rows came from.
    m_criteriaMode = m_tag == u"C"_s;
    lstList->addColumn(u"Field"_s, kFieldColumnTwips);
    if (!m_criteriaMode) {
        setWindowTitle(u"Tellwick: Edit mailbox job exception list"_s);
        labInfo->setText(
            u"Edit your list of exception critera for this job. If one of these criterias is met, Tellwick "
            u"won't "
            "send any notification."_s);
        lstList->addColumn(u"Exception"_s, kExpressionColumnTwips);
        getException();
    } else {
        setWindowTitle(u"Tellwick: Edit mailbox job criteria list"_s);
        labInfo->setText(
            u"Edit your list of notification critera for this job. If one of these criterias is met, "
            u"Tellwick "
            "will send a notification by SMS."_s);
        lstList->addColumn(u"Criteria"_s, kExpressionColumnTwips);
        getCriteria();
    }
    // The field column as wide as its texts, the expressions in all the room that is left.
    ColumnFit::fillWithLastColumn(lstList);
    // The explanation's height follows its new text before the window is drawn.
    layout()->activate();
}

void frmJobMailboxEdit::getCriteria() {
    copyIn(m_criteriaList);
}

void frmJobMailboxEdit::getException() {
    copyIn(m_exceptionList);
}

void frmJobMailboxEdit::setCriteria() {
    copyOut(m_criteriaList);
}

void frmJobMailboxEdit::setException() {
    copyOut(m_exceptionList);
}

void frmJobMailboxEdit::copyIn(const ListView* source) {
    if (!source) {
        return;
    }
    for (int i = 1; i <= source->count(); ++i) {
        const ListItem* from = source->item(i);
        ListItem* row = lstList->addItem(from->text());
        row->setSubItem(1, from->subItem(1));
    }
}

void frmJobMailboxEdit::copyOut(ListView* target) const {
    if (!target) {
        return;
    }
    target->clearItems();
    for (const MailboxRule& rule : rows()) {
        ListItem* row = target->addItem(rule.field);
        row->setSubItem(1, rule.expression);
    }
}

// ---- editing -------------------------------------------------------------------------------

void frmJobMailboxEdit::applyAddRule() {
    cmdAdd->setEnabled(lstField->currentIndex() >= 0 && !txtText->text().isEmpty());
}

void frmJobMailboxEdit::lstField_Change() {
    applyAddRule();
}

void frmJobMailboxEdit::txtText_Change() {
    applyAddRule();
}

void frmJobMailboxEdit::lstList_ItemClick(ListItem* item) {
    if (!item) {
        return;
    }
    // A field the box does not offer leaves the box as it was; the rest goes on.
    const int index = lstField->findText(item->text(), Qt::MatchExactly);
    if (index >= 0) {
        lstField->setCurrentIndex(index);
    }
    txtText->setText(item->subItem(1));
    cmdDelete->setEnabled(true);
}

void frmJobMailboxEdit::cmdAdd_Click() {
    // Never a row without a field or an expression, even when called while disabled.
    if (lstField->currentIndex() < 0 || txtText->text().isEmpty()) {
        return;
    }
    // The job keeps its rules separated by commas: an expression holding one would come back
    // as two rules, the second an empty Subject rule that every mail meets.
    if (txtText->text().contains(u',')) {
        m_ctx.msgBox().show(u"You can't use commas in an expression."_s, MsgBox::OKOnly, MsgBox::Critical,
                            u"Invalid expression"_s, this);
        txtText->setFocus();
        return;
    }
    ListItem* row = lstList->addItem(lstField->currentText());
    row->setSubItem(1, txtText->text());
    ColumnFit::refit(lstList);
}

void frmJobMailboxEdit::cmdDelete_Click() {
    if (ListItem* row = lstList->selectedItem()) {
        delete row;
        lstList->setSelectedItem(nullptr);
    }
    cmdDelete->setEnabled(false);
}

void frmJobMailboxEdit::cmdOK_Click() {
    // Never write back before the rows were copied in: that would empty the opener's list.
    if (!m_setUp) {
        openingSetUp();
    }
    // An expression typed but not added yet is added now, never dropped without a word.
    const QString typed = txtText->text();
    if (!typed.isEmpty() && !listHolds(lstField->currentText(), typed)) {
        if (lstField->currentIndex() >= 0) {
            const int rows = lstList->count();
            cmdAdd_Click();
            if (lstList->count() == rows) {
                return;  // refused: the box said why, the window stays open
            }
        } else if (m_ctx.msgBox().show(
                       u"The expression '%1' is not in the list: no field was chosen for it."_s.arg(typed) +
                           u"\r\n\r\nDo you want to close the window without it?"_s,
                       MsgBox::YesNo, MsgBox::Question, u"Expression not added"_s, this) != MsgBox::Yes) {
            lstField->setFocus();
            return;
        }
    }
    if (m_criteriaMode) {
        setCriteria();
    } else {
        setException();
    }
    finish(QDialog::Accepted);
}

bool frmJobMailboxEdit::listHolds(const QString& field, const QString& expression) const {
    for (int i = 1; i <= lstList->count(); ++i) {
        const ListItem* row = lstList->item(i);
        if (row->text() == field && row->subItem(1) == expression) {
            return true;
        }
    }
    return false;
}

void frmJobMailboxEdit::cmdCancel_Click() {
    finish(QDialog::Rejected);
}

void frmJobMailboxEdit::reject() {
    cmdCancel_Click();
}

void frmJobMailboxEdit::finish(int result) {
    QDialog::done(result);
    // Closing unloads the window, so the next opening starts from the opener's list again.
    if (m_ctx.windows().existing(kWindowName) == this) {
        m_ctx.windows().unload(kWindowName);
    }
}
