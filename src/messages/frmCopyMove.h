#pragma once

#include <QDialog>
#include <QString>

class AppContext;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

// The destination chooser: a small modal dialog in which the user picks the store that the
// address book's copy or move sends the selected entries to. Stores are named by their
// identifiers: "SMS" the local address book, "ME" the phone memory, "SM" the SIM memory.
//
// How the address book opens it (registered as "frmCopyMove"); its getDestMemory is
//
//     return frmCopyMove::chooseDestination(ctx, button->objectName(), currentMem,
//                                           max of "ME", max of "SM", this);
//
// which loads the dialog afresh (no option chosen, OK disabled), fills it (fill below), shows
// it modally, reads the answer (chosenStore) and unloads it. The answer is the identifier of
// the chosen store, or "" when the user cancelled or closed the dialog, or could choose
// nothing: the current store is never offered, and a phone store only when its memory
// reported at least one index (maxME, maxSM are the memories' sizes, 0 without a phone).
class frmCopyMove : public QDialog {
    Q_OBJECT
public:
    explicit frmCopyMove(AppContext& ctx, QWidget* parent = nullptr);
    ~frmCopyMove() override;

    static QString chooseDestination(AppContext& ctx, const QString& buttonName, const QString& currentStore,
                                     int maxME, int maxSM, QWidget* parent = nullptr);

    // Caption and label by the pressed button's name ("cmdCopy" or "cmdMove"); the two options
    // (caption, store identifier, enabled) by the current store.
    void fill(const QString& buttonName, const QString& currentStore, int maxME, int maxSM);
    // The identifier of the chosen option: Opt1's when it is chosen, else Opt2's, else "".
    QString chosenStore() const;
    // The store identifier an option stands for ("" when it stands for none).
    static QString tagOf(const QRadioButton* option);

    QLabel* Label1 = nullptr;
    QRadioButton* Opt1 = nullptr;
    QRadioButton* Opt2 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Opt1_Click();
    void Opt2_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    void reject() override;

private:
    void setOption(QRadioButton* option, const QString& store, int maxME, int maxSM);

    AppContext& m_ctx;
    QButtonGroup* m_options = nullptr;
};
