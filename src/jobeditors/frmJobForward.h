#pragma once

#include "JobEditorFrame.h"

class QButtonGroup;

// The forward job editor: an incoming message goes on to the numbers or addresses written in
// it, to a fixed list, or to the list a database query returns.
class frmJobForward : public JobEditorFrame {
    Q_OBJECT
public:
    explicit frmJobForward(AppContext& ctx, QWidget* parent = nullptr);
    ~frmJobForward() override;

    void getJob() override;
    void saveJob() override;
    QString Example() const override;

    QGroupBox* Frame1 = nullptr;
    QRadioButton* optToUserDef = nullptr;
    QRadioButton* optToDefault = nullptr;
    QLineEdit* txtRecipient = nullptr;
    QRadioButton* optFromDB = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtConnection = nullptr;
    QPushButton* cmdBuild = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtQuery = nullptr;
    QPushButton* cmdTest = nullptr;
    QPushButton* cmdHelp = nullptr;
    QLabel* labSubject = nullptr;
    QLineEdit* txtSubject = nullptr;
    QCheckBox* chkSRR = nullptr;
    QCheckBox* chkFlash = nullptr;
    QLabel* Label7 = nullptr;

    void optToUserDef_Click();
    void optToDefault_Click();
    void optFromDB_Click();
    void txtQuery_Change();
    void cmdBuild_Click();
    void cmdTest_Click();
    void cmdHelp_Click();

protected:
    void newJobDefaults() override;
    void ownToolTips() override;

private:
    void applyModeRules();

    QButtonGroup* m_modeGroup = nullptr;
};
