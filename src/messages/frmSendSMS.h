#pragma once

#include <QDialog>
#include <QStringList>

#include "RecipientCompletion.h"

class AppContext;
class ListView;
class ListItem;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The compose-and-send dialog: one text for one or more recipients, written as outgoing
// message files and sent at once or saved for the send cycle. Openers suspend the engine's
// timers around it; the dialog unloads itself after sending and on close.
class frmSendSMS : public QDialog {
    Q_OBJECT
public:
    explicit frmSendSMS(AppContext& ctx, QWidget* parent = nullptr);
    ~frmSendSMS() override;

    // The way the browser and the address book open it: timers off, the single instance with
    // the caption, recipients and text preset (the text goes through the change handling, so
    // an over-long one asks its question first), shown modally, timers on again.
    // With over, the dialog opens centred over that window (its opener, a window of its own).
    static void openModal(AppContext& ctx, const QString& caption, const QString& phoneNo,
                          const QString& text, QWidget* over = nullptr);

    QLabel* labPhoneNo = nullptr;
    QLineEdit* txtPhoneNo = nullptr;
    QPushButton* cmdAddress = nullptr;
    QPushButton* cmdIn = nullptr;   // holds the image shown while the panel is open
    QPushButton* cmdOut = nullptr;  // holds the image shown while it is closed
    QLabel* labMsgText = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QGroupBox* fraMessage = nullptr;
    QCheckBox* chkSRR = nullptr;
    QCheckBox* chkFlash = nullptr;
    QGroupBox* fraSubmission = nullptr;
    QCheckBox* chkAutosplit = nullptr;
    QCheckBox* chkReverse = nullptr;
    QCheckBox* chkSaveOnly = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* cmdSendSMS = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* labNames = nullptr;
    ListView* lstNames = nullptr;

    // Name completion in the recipient box.
    bool completionOn() const { return m_completionOn; }
    bool addressPanelOpen() const;
    static constexpr int kNarrowTwips = 5505;
    static constexpr int kWideTwips = 8730;

    // Handlers.
    void cmdAddress_Click();
    void cmdSendSMS_Click();
    void cmdClose_Click();
    void chkSaveOnly_Click();
    void Check1_Click();
    void chkAutosplit_Click();
    void lstNames_ColumnClick(int column);
    void lstNames_DblClick();
    void lstNames_KeyDown(int keyCode);
    void txtPhoneNo_GotFocus();
    void txtPhoneNo_KeyDown(int keyCode);
    void txtPhoneNo_Change();
    void Text1_GotFocus();
    // False when the key is refused: auto-split is off and its character (keyText, else
    // keyAscii) would make the text longer than one message.
    bool Text1_KeyPress(int keyAscii, const QString& keyText = {});
    void Text1_Change();

    // The message text as the box holds it (line breaks as CR LF).
    QString messageText() const;

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setWindowWidth(int twips);
    void formLoad();
    void fillAddressList();
    void refreshNameOrder();
    void fitAddressPanel();
    void refreshCounter();
    void updateSendButton();
    void unloadMe();

    AppContext& m_ctx;
    bool m_completionOn = false;
    bool m_inPhoneChange = false;
    bool m_inTextChange = false;
    bool m_inAutosplitClick = false;
    bool m_sending = false;
    int m_wideTwips = kWideTwips;  // the open panel's width, grown where its texts need it
    QStringList m_namesInOrder;  // the names of lstNames as shown, top to bottom
    // The last name proposed in the recipient box.
    RecipientCompletion::Proposal m_proposal;
};
