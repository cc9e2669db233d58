#pragma once

#include "EditorToolTips.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "EditorControls.h"
#include "JobDatabaseTools.h"
#include "JobEditorHost.h"
#include "JobRecord.h"
#include "RestrictionList.h"

class AppContext;
class ConnectionBuilder;
class cToolTips;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// What every job editor shares: the opening in new or edit mode, the identifier rules and the
// default job, the caption suffix, OK with the uniqueness check, Cancel, the allow/deny list,
// the tooltips and select-all on focus. An editor derives from it, puts its own controls into
// optionsArea(), and supplies getJob, saveJob and Example. The parts live beside it: the
// controls' layout (JobFrameLayout), the identifier and key rules (JobIdentity), the
// allow/deny list (RestrictionList), the job's keys (JobRecord), the database tools
// (JobDatabaseTools) and the controls' small behaviours (EditorControls).
//
// An editor that works differently overrides the hooks below: identifierChanged() (what a
// change of the identifier does; the default is the standard rule), txtJobIdent_LostFocus()
// (the check on leaving the box), captionSuffix() and canSave() (the name rule). An editor
// without the allow/deny list passes WithoutRestrictions: Frame2 and the list's controls are
// then not made (nullptr), and no Allow or Deny key is read or written.
class JobEditorFrame : public QDialog, public JobEditor, public RestrictionControls {
    Q_OBJECT
public:
    ~JobEditorFrame() override;

    // Sets the caption the opener chose and the job key, runs the opening set-up, then shows
    // the editor modally and returns when it has closed.
    void openJob(const QString& caption, const QString& jobKey) override;
    // The opening set-up alone, once: "Tellwick: Edit <type> job" edits jobKey (when it is a
    // key of this type); any other caption starts a new job under the first free number of the
    // type. Showing the window without it runs the set-up on the caption set by then.
    void setUpJob(const QString& caption, const QString& jobKey);

    int typeIndex() const { return m_typeIndex; }
    QString editCaption() const;
    bool isSetUp() const { return m_setUp; }
    bool isNewJob() const { return m_newJob; }
    QString jobKey() const { return m_record.key(); }
    int jobNumber() const { return m_jobNumber; }
    QString openingCaption() const { return m_openingCaption; }
    // The identifier as checked and saved: the box's text without surrounding blanks.
    QString identifier() const;

    // The editor's own parts.
    virtual void getJob() = 0;
    virtual void saveJob() = 0;
    virtual QString Example() const = 0;

    // Tooltips: one wrapper per editor, owned by the main window, one tool per control. The
    // editors' tips are untitled balloons at most 400 pixels wide that stay 10 seconds.
    static constexpr int kTipWidth = 400;
    static constexpr int kTipShowMilliseconds = 10000;
    void initToolTips(int style);
    void setToolTip(QWidget* control, const QString& text, const QString& title = QString(),
                    int maxWidth = kTipWidth, int autoPop = kTipShowMilliseconds);
    cToolTips* toolTips() const { return m_toolTips.get(); }

    // The connection builder of this editor, made on first use. It follows the program's
    // prompts: scripted when they are (tests).
    ConnectionBuilder* connectionBuilder();

    // Controls of the frame.
    QLabel* labJobIdent = nullptr;
    QLineEdit* txtJobIdent = nullptr;
    QLabel* labName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* labDesc = nullptr;
    QLineEdit* txtDesc = nullptr;
    QCheckBox* chkActive = nullptr;
    // The allow/deny list's controls come from RestrictionControls.
    QLabel* labExample = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Handlers.
    void txtJobIdent_Change();
    virtual void txtJobIdent_LostFocus();
    void txtName_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
    void txtRestrict_Change();
    void cmdAdd_Click();
    void cmdDel_Click();
    void lstRestrict_Click();
    void lstRestrict_DblClick();

    // Identifiers may not hold these: "*", "#" and ",".
    static bool isValidIdentifier(const QString& identifier);
    // A number list as stored: typed with "," or ";" between the numbers, kept with ",".
    static QString storedNumberList(const QString& typed);
    // The placeholders "<#1>" to "<#10>" a text holds, each once, in the order of their
    // numbers: "Var#1;Var#3" for "<#3> ... <#1>" with the prefix "Var#".
    static QString placeholderList(const QString& text, const QString& prefix);

    void reject() override;

protected:
    enum Restrictions { WithRestrictions, WithoutRestrictions };
    JobEditorFrame(AppContext& ctx, int typeIndex, Restrictions restrictions = WithRestrictions,
                   QWidget* parent = nullptr);

    // Call at the end of the derived constructor, once every control exists: the icon and
    // the tooltips (the frame's, then ownToolTips()).
    void finishLoad();

    // Hooks for the derived editor.
    virtual void newJobDefaults() {}
    // Runs on every change of the identifier and once at opening: the example label, the
    // caption suffix, the Active tick and the enable states of the restrictions.
    virtual void identifierChanged();
    virtual void ownToolTips() {}
    virtual QString captionSuffix() const;
    // Whether OK may be pressed now (the name rule).
    virtual bool canSave() const;
    // Checks made when OK is pressed, before the uniqueness check; false keeps the editor
    // open. The default refuses an identifier holding "*", "#" or ",".
    virtual bool checkBeforeSave();
    // After a successful save, before the job list is rebuilt.
    virtual void afterSave() {}

    QWidget* optionsArea() const { return m_options; }
    // Without restrictions: the column beside the job's fields and the options area.
    QWidget* sideArea() const { return m_side; }

    // The job's settings section and access to its keys.
    QString section() const;
    QString readKey(const QString& key) const;
    void writeKey(const QString& key, const QString& value);
    void deleteKey(const QString& key);
    // Type, Identification, Name and Description, in this order.
    void writeCommonHead();
    // Allow or Deny, then Active.
    void writeCommonTail();
    // Identification, Name, Description and Active into their controls.
    void loadCommonFields();
    void loadRestrictions();
    void saveRestrictions();

    // Text boxes that select their whole text when they get the focus.
    void selectAllOnFocus(QLineEdit* box);
    void selectAllOnFocus(QPlainTextEdit* box);

    // The SQL examples window, modally.
    void showSqlHelp();
    // The connection builder; its result goes into target, a cancelled builder leaves it.
    void buildConnection(QLineEdit* target);
    // The database test of a recipient query.
    void testRecipientQuery(const QString& connection, const QString& query);

    // A stored flag as a check box takes it ("1" ticks, "" or "0" does not), and back.
    bool readFlag(const QString& key) const;
    void writeFlag(const QString& key, bool on);
    // A push button that Enter does not press: only cmdOK is the default button.
    static QPushButton* commandButton(const QString& text, QWidget* parent);
    static void setAllEnabled(const QList<QWidget*>& widgets, bool enabled);
    // Runs handler whenever option becomes chosen, by the user or by the code, and when the
    // user clicks it again while it is chosen.
    void onChosen(QRadioButton* option, std::function<void()> handler);
    // Chooses option and runs its handler, also when it was chosen already.
    void chooseOption(QRadioButton* option);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    AppContext& m_ctx;

private:
    void openingSetUp(const QString& requestedKey);
    void updateCaption();
    void refuseIdentifier();
    void finish(int result);

    int m_typeIndex;
    QString m_openingCaption;
    JobRecord m_record;
    int m_jobNumber = 0;
    bool m_setUp = false;
    bool m_newJob = false;
    bool m_noFreeNumber = false;
    bool m_checkingIdent = false;
    QWidget* m_options = nullptr;
    QWidget* m_side = nullptr;
    std::unique_ptr<RestrictionList> m_restrictions;
    SelectAllOnFocus* m_selectAll = nullptr;
    OptionHandlers m_optionHandlers;
    EditorToolTips m_toolTips;
    JobDatabaseTools m_database;
};
