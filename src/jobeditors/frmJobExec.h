#pragma once

#include "JobEditorFrame.h"

class QButtonGroup;

// The exec job editor: a message carrying the job's identifier runs a program, script or
// document with parameters in a working folder, optionally hidden, and may send an SMS about
// the run afterwards.
class frmJobExec : public JobEditorFrame {
    Q_OBJECT
public:
    explicit frmJobExec(AppContext& ctx, QWidget* parent = nullptr);
    ~frmJobExec() override;

    void getJob() override;
    void saveJob() override;
    QString Example() const override;

    QGroupBox* Frame1 = nullptr;
    QLabel* labCmd = nullptr;
    QLineEdit* txtCmd = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* labParam = nullptr;
    QLineEdit* txtParam = nullptr;
    QLabel* labWorkDir = nullptr;
    QLineEdit* txtWorkDir = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkHidden = nullptr;
    QCheckBox* chkNotify = nullptr;
    QRadioButton* optSender = nullptr;
    QRadioButton* optNumber = nullptr;
    QLineEdit* txtNumber = nullptr;
    QCheckBox* chkSRR = nullptr;
    QCheckBox* chkFlash = nullptr;
    QLabel* Label8 = nullptr;

    void Command2_Click();
    void cmdBrowse_Click();
    void txtCmd_Change();
    void txtParam_Change();
    void chkNotify_Click();
    void optSender_Click();
    void optNumber_Click();

    // The file dialog's title and its filters, as description|patterns pairs.
    static const QString kDlgTitle;
    static const QString kDlgFilter;
    // The same filters as Qt's file dialog takes them.
    static QString dialogNameFilters(const QString& pairs);

protected:
    void ownToolTips() override;

private:
    QButtonGroup* m_notifyGroup = nullptr;
    // The file name the file dialog holds; it lasts as long as the window.
    QString m_dlgFileName;
};
