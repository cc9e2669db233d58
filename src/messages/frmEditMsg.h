#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class AppContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The message viewer and editor: one message file shown in full (date, time, number, text,
// read state and, for sent and archived messages, the result), with its text, read state
// and, for an outgoing message, its number saved back into the same file.
//
// How an opener uses it, either way:
// - frmEditMsg::openModal(ctx, "<folder>/<file name>", tab, [this] { Tubby_Click(); });
//   tab is the opener's selected tab (1 incoming, 2 outgoing, 3 sent, 4 archive): the
//   number can be edited on tab 2 only. The refresh runs when the user answered Yes to the
//   save question on closing, after the save; "&Save" alone refreshes nothing.
// - Get the single instance "frmEditMsg" from ctx.windows(), set its property
//   "messageFile" and exec() it. With browserTab 0 and no refreshOpener, the tab and the
//   refresh are those of the message browser "frmBrowse" of the registry (its invokable
//   selectedTab() and Tubby_Click()); without a browser the number stays read-only.
// The window unloads itself on closing.
class frmEditMsg : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString messageFile MEMBER messageFile)
public:
    explicit frmEditMsg(AppContext& ctx, QWidget* parent = nullptr);
    ~frmEditMsg() override;

    static void openModal(AppContext& ctx, const QString& messageFile, int browserTab,
                          std::function<void()> refreshOpener);

    // Set by the opener before the window is shown; the last two are forgotten on closing.
    QString messageFile;
    int browserTab = 0;  // 0: the browser's shown tab
    std::function<void()> refreshOpener;

    // Window heights in twips, with and without the result frame.
    static constexpr int kTallTwips = 4335;
    static constexpr int kShortTwips = 2740;

    QLabel* Label1 = nullptr;
    QLabel* labDate = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* labTime = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtNo = nullptr;
    QLabel* Label4 = nullptr;
    QPlainTextEdit* txtText = nullptr;
    QLabel* labCharNum = nullptr;
    QLabel* labRead = nullptr;
    std::array<QRadioButton*, 2> optStatus{};  // 0 "&read", 1 "&unread"
    QGroupBox* Frame1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* labResultDate = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* labResultTime = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* labResult = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;

    bool messageChanged() const { return m_messageChanged; }

    // Fills the window from messageFile (runs when the window is shown).
    void fillWindow();

    // Handlers.
    // False when the file is gone: nothing is written then.
    bool cmdSave_Click();
    void cmdClose_Click();
    void optStatus_Click(int index);
    void txtText_Change();
    void txtText_GotFocus();
    void txtNo_GotFocus();
    void txtText_KeyPress(int keyAscii);
    void txtNo_KeyPress(int keyAscii);

    // The text as it is stored: one line, every line break one blank.
    static QString storedText(const QString& editorText);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void unloadMe();
    int openerTab() const;
    void refreshTheOpener();

    AppContext& m_ctx;
    bool m_messageChanged = false;
    bool m_filling = false;
    bool m_closing = false;
};
