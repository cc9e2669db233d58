#pragma once

#include "JobEditorFrame.h"

class ListView;
class QButtonGroup;
class TabStrip;

// The mailbox job editor: a job that checks a POP3 mailbox on its own interval and tells the
// notification numbers about new mail by SMS, and sends a particular mail back on request.
// It always needs an identifier, has no allow/deny list (only the notification numbers may
// request mail), tries the mailbox access with a login, and keeps two rule lists, the
// notification criteria and the exceptions, edited in the criteria editor.
class frmJobMailbox : public JobEditorFrame {
    Q_OBJECT
public:
    explicit frmJobMailbox(AppContext& ctx, QWidget* parent = nullptr);
    ~frmJobMailbox() override;

    void getJob() override;
    void saveJob() override;
    QString Example() const override;

    // The rule lists: columns and rows from a stored text, and back into the job's section.
    void fillCriteriaList(const QString& criteria);
    void fillExceptionList(const QString& exception);
    void saveCriteriaList();
    void saveExceptionList();

    // Mailbox settings.
    QGroupBox* Frame2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* txtMailserver = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* txtPort = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* txtUsername = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdTest = nullptr;

    // Job options.
    QGroupBox* Frame3 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtRecipient = nullptr;
    TabStrip* tubby = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* txtIntervall = nullptr;
    QRadioButton* optMinutes = nullptr;
    QRadioButton* optHours = nullptr;

    // Tab 1: notification.
    QGroupBox* FraNotification = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* optNewMail = nullptr;
    QRadioButton* optCriteria = nullptr;
    ListView* lstCriteria = nullptr;
    QPushButton* cmdCriteria = nullptr;
    QLabel* Label12 = nullptr;
    QCheckBox* chkException = nullptr;
    ListView* lstException = nullptr;
    QPushButton* cmdException = nullptr;

    // Tab 2: message request.
    QGroupBox* FraRequest = nullptr;
    QLabel* Label13 = nullptr;
    QCheckBox* chkRequest = nullptr;
    QLabel* labRequest1 = nullptr;
    QLabel* labRequest2 = nullptr;
    QLineEdit* txtMaxMsg = nullptr;
    QLabel* labRequest3 = nullptr;
    QLabel* labRequest4 = nullptr;
    QCheckBox* chkStripHTML = nullptr;

    // Handlers.
    void txtMailserver_Change();
    void txtPort_Change();
    void txtUsername_Change();
    void txtPassword_Change();
    void txtPort_LostFocus();
    void txtIntervall_LostFocus();
    void txtMaxMsg_LostFocus();
    void cmdTest_Click();
    void tubby_Click();
    void optNewMail_Click();
    void optCriteria_Click();
    void chkException_Click();
    void chkRequest_Click();
    void cmdCriteria_Click();
    void cmdException_Click();
    void lstCriteria_DblClick();
    void lstException_DblClick();
    void txtJobIdent_LostFocus() override;

    // The window of the criteria editor, and the modes it is opened with (its Tag).
    static inline const QString kRuleEditor = QStringLiteral("frmJobMailboxEdit");
    static inline const QString kCriteriaMode = QStringLiteral("C");
    static inline const QString kExceptionMode = QStringLiteral("E");

protected:
    void identifierChanged() override;
    QString captionSuffix() const override;
    bool canSave() const override;
    bool checkBeforeSave() override;
    void ownToolTips() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeMailboxSettings();
    void makeJobOptions();
    void makeNotificationTab();
    void makeRequestTab();
    void connectHandlers();

    void applyTestRule();
    void applyOkRule();
    void fillRuleList(ListView* list, const QString& caption, const QString& text);
    QString ruleListText(const ListView* list) const;
    void openRuleEditor(const QString& mode);
    // The port rule: an empty box, or one that holds no port number, becomes "110".
    void correctPort();
    // The "Tellwick: Invalid input" box about the interval, with the focus back in its box.
    void refuseInterval();
    // The interval the boxes give, in minutes.
    double intervalMinutes() const;
    // Shown when the limit is no number; false then, with the focus back.
    bool checkNumber(QLineEdit* box, const QString& message);

    QButtonGroup* m_unitGroup = nullptr;
    QButtonGroup* m_eventGroup = nullptr;
    bool m_checkingBox = false;
};
