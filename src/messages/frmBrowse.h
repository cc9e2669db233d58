#pragma once

#include <QDialog>
#include <QString>

class AppContext;
class ListItem;
class ListView;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class TabStrip;

// The message browser: one list per message folder (incoming, outgoing, sent, archive), and
// what the user does with the listed message files. Shown beside the main window; "Cl&ose"
// unloads it.
class frmBrowse : public QDialog {
    Q_OBJECT
public:
    explicit frmBrowse(AppContext& ctx, QWidget* parent = nullptr);
    ~frmBrowse() override;

    TabStrip* tubby = nullptr;
    ListView* LstMsg2 = nullptr;
    QLabel* labFileName = nullptr;
    QPushButton* cmdReply = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdForward = nullptr;
    QPushButton* cmdMove = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* Command1 = nullptr;

    QMenu* mnuKontext = nullptr;
    QAction* mnuSendNow = nullptr;
    QAction* mnuSepSend = nullptr;  // the separator after mnuSendNow
    QAction* mnuMarkRead = nullptr;
    QAction* mnuMarkunRead = nullptr;
    QAction* mnuSepRead = nullptr;  // the separator after the read marks
    QAction* mnuReply = nullptr;
    QAction* mnuForward = nullptr;
    QAction* mnuEdit = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuMove = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuRefresh = nullptr;

    // The folder of the shown tab, without a trailing "/", and the file name of the last
    // selection handling.
    QString currentFolder;
    QString selectedFile;

    // The index of the shown tab, 1 to 4.
    Q_INVOKABLE int selectedTab() const;

    // Refreshes the shown tab's list (also called by the message editor after it saved).
    Q_INVOKABLE void Tubby_Click();
    void showCaptions(int tab);
    void listIncomingMsg();
    void listOutgoingMessages();
    void listSentMessages();
    void listArchivedMsg();
    // Marks the selected lines unread (true) or read (false), on screen and in their files.
    Q_INVOKABLE void MakeBold(bool bold);

    // Handlers.
    void LstMsg2_Click();  // the selection handling
    void LstMsg2_DblClick();
    void LstMsg2_KeyDown(int keyCode, int shift);
    void LstMsg2_ColumnClick(int column);  // 0-based
    void cmdCopy_Click();
    void cmdMove_Click();
    void cmdDelete_Click();
    void cmdEdit_Click();
    void cmdReply_Click();
    void cmdForward_Click();
    void cmdRefresh_Click();
    void Command1_Click();
    void mnuSendNow_Click();
    void mnuMarkRead_Click();
    void mnuMarkunRead_Click();
    void mnuAdd_Click();

    // The lines selected now, in list order.
    int selectedCount() const;

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void formLoad();
    void fillList(int tab);
    void fitListWidth();
    // After the compose dialog of a reply or forward has closed.
    void afterCompose();
    ListItem* currentLine() const;
    QStringList selectedTags() const;
    void afterFileOperation(bool refresh);
    // Whether the message file is still there; otherwise says so and lists the folder again.
    bool messageStillThere(const QString& path);
    // Runs one key of the list's key table; false for a key the table does not hold.
    bool runKey(int keyCode, int shift);
    void unloadMe();

    AppContext& m_ctx;
    // Handlers that wait for the phone or for another window let the message loop run; while
    // one does, the window is not unloaded under it and sends nothing else.
    int m_busy = 0;
};
