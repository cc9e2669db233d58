#pragma once

#include "EditorToolTips.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <memory>

class AppContext;
class ListItem;
class ListView;
class cToolTips;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// One rule of a mailbox job: the field of a mail to compare ("Address" for the sender address,
// "Subject" for the subject) and the expression to look for in it.
struct MailboxRule {
    QString field;
    QString expression;
    friend bool operator==(const MailboxRule&, const MailboxRule&) = default;
};

// The criteria and exception editor: a small modal dialog in which the user edits one of the
// two rule lists of a mailbox job, on a copy.
//
// How the mailbox job editor opens it (registered as "frmJobMailboxEdit"):
//
//     frmJobMailboxEdit::editRules(ctx, u"C"_s, lstCriteria, lstException, this);
//
// which does, step by step:
//   1. loads the single instance (ctx.windows().get<frmJobMailboxEdit>("frmJobMailboxEdit"));
//   2. setTag(tag): "C" edits the criteria list; any other text ("E", "", ...) the exceptions;
//   3. setLists(criteriaList, exceptionList): the opener's two lists. In both, each row's text
//      is the field and its first sub-item the expression;
//   4. exec(). The first show fixes the mode from the Tag and copies the rows of that mode's
//      list into lstList, in order (getCriteria / getException). OK clears that list's rows
//      and appends one row per row of lstList, in order, leaving its columns as they are
//      (setCriteria / setException). Cancel, Escape and the close box leave it untouched;
//   5. the window unloads itself when it closes, so every opening starts again from the
//      opener's current list.
// editRules returns true when the window was closed with OK (the list then holds the edited
// rows), false otherwise (and when the window is not registered).
//
// rows() gives the rows the dialog holds now, for an opener that wants them without a list.
class frmJobMailboxEdit : public QDialog {
    Q_OBJECT
public:
    explicit frmJobMailboxEdit(AppContext& ctx, QWidget* parent = nullptr);
    ~frmJobMailboxEdit() override;

    static bool editRules(AppContext& ctx, const QString& tag, ListView* criteriaList,
                          ListView* exceptionList, QWidget* parent = nullptr);

    // The mode, set by the opener before the window is shown: "C" criteria, else exceptions.
    void setTag(const QString& tag) { m_tag = tag; }
    QString tag() const { return m_tag; }
    void setLists(ListView* criteriaList, ListView* exceptionList);

    // True once the opening set-up has run (at the first show); the mode is fixed from then on.
    bool isSetUp() const { return m_setUp; }
    bool isCriteriaMode() const { return m_criteriaMode; }
    QList<MailboxRule> rows() const;

    // Copy the rows of the opener's list into lstList, or lstList's rows into the opener's list.
    void getCriteria();
    void getException();
    void setCriteria();
    void setException();

    void initToolTips(int style);
    void setToolTip(QWidget* control, const QString& text, const QString& title, int maxWidth, int autoPop);
    cToolTips* toolTips() const { return m_toolTips.get(); }

    QLabel* labInfo = nullptr;
    ListView* lstList = nullptr;
    QLabel* labField = nullptr;
    QComboBox* lstField = nullptr;
    QLabel* labText = nullptr;
    QLineEdit* txtText = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void lstField_Change();
    void txtText_Change();
    void lstList_ItemClick(ListItem* item);
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Whether a row of the list has this field and expression.
    bool listHolds(const QString& field, const QString& expression) const;
    void openingSetUp();
    void applyAddRule();
    void copyIn(const ListView* source);
    void copyOut(ListView* target) const;
    void finish(int result);

    AppContext& m_ctx;
    QString m_tag;
    QPointer<ListView> m_criteriaList;
    QPointer<ListView> m_exceptionList;
    bool m_setUp = false;
    bool m_criteriaMode = false;
    EditorToolTips m_toolTips;
};
