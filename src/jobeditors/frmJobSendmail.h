#pragma once

#include "JobEditorFrame.h"

class QButtonGroup;
class QPlainTextEdit;

// The sendmail job editor: an incoming message starts an e-mail with the job's subject, text
// and attachments, to the addresses written in the message, to a fixed list, or to the list
// a database query returns.
class frmJobSendmail : public JobEditorFrame {
    Q_OBJECT
public:
    explicit frmJobSendmail(AppContext& ctx, QWidget* parent = nullptr);
    ~frmJobSendmail() override;

    void getJob() override;
    void saveJob() override;
    QString Example() const override;

    // The file dialog for attachments.
    static const QString AttachDialogTitle;
    static const QString AttachDialogFilter;

    QLabel* Label2 = nullptr;  // the description's label
    QGroupBox* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* optRCPwithMsg = nullptr;
    QRadioButton* optRCPList = nullptr;
    QLineEdit* txtRecipient = nullptr;
    QRadioButton* optRCPDB = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* txtConnection = nullptr;
    QPushButton* cmdBuild = nullptr;
    QLabel* Label7 = nullptr;
    QPlainTextEdit* txtQuery = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdTest = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* txtSubject = nullptr;
    QLabel* Label10 = nullptr;
    QPlainTextEdit* txtText = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* txtAttach = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdFileAdd = nullptr;
    QListWidget* lstFiles = nullptr;
    QPushButton* cmdRemove = nullptr;

    void optRCPwithMsg_Click();
    void optRCPList_Click();
    void optRCPDB_Click();
    void txtConnection_Change();
    void txtQuery_Change();
    void txtSubject_Change();
    void txtText_Change();
    void txtAttach_Change();
    void lstFiles_Click();
    void cmdBrowse_Click();
    void cmdFileAdd_Click();
    void cmdRemove_Click();
    void cmdBuild_Click();
    void cmdHelp_Click();
    void cmdTest_Click();

protected:
    void ownToolTips() override;
    void afterSave() override;

private:
    void makeControls();
    void layOut();
    void applyModeRules();
    void updateTestButton();
    QStringList attachments() const;

    QButtonGroup* m_modeGroup = nullptr;
};
