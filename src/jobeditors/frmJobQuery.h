#pragma once

#include "JobEditorFrame.h"

class QButtonGroup;
class QPlainTextEdit;

// The query job editor: a message carrying the job's identifier runs SQL over a database
// connection (a stored text with placeholders, or the SQL the message brings) and may answer
// with the result by SMS.
class frmJobQuery : public JobEditorFrame {
    Q_OBJECT
public:
    explicit frmJobQuery(AppContext& ctx, QWidget* parent = nullptr);
    ~frmJobQuery() override;

    void getJob() override;
    void saveJob() override;
    QString Example() const override;

    QGroupBox* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtConnection = nullptr;
    QPushButton* cmdBuild = nullptr;
    QRadioButton* optUseThisQuery = nullptr;
    QRadioButton* optSendQuery = nullptr;
    QPlainTextEdit* txtQuery = nullptr;
    QPushButton* cmdHelp = nullptr;
    QLabel* Label6 = nullptr;
    QCheckBox* chkAnswer = nullptr;
    QRadioButton* optToSender = nullptr;
    QRadioButton* optToNumber = nullptr;
    QLineEdit* txtDefaultNo = nullptr;
    QCheckBox* chkReportEOF = nullptr;
    QCheckBox* chkNoComment = nullptr;
    QLabel* labFieldDelimiter = nullptr;
    QLineEdit* txtFieldDelimiter = nullptr;
    QLabel* labRecordDelimiter = nullptr;
    QLineEdit* txtRecordDelimiter = nullptr;

    void chkAnswer_Click();
    void optToSender_Click();
    void optToNumber_Click();
    void optSendQuery_Click();
    void optUseThisQuery_Click();
    void txtQuery_Change();
    void cmdBuild_Click();
    void cmdHelp_Click();

protected:
    void newJobDefaults() override;
    void ownToolTips() override;

private:
    QButtonGroup* m_queryGroup = nullptr;
    QButtonGroup* m_answerGroup = nullptr;
};
