#pragma once

#include <QString>

class AppContext;

// What the job list and the new-job chooser need of a job editor window.
//
// Every editor window (frmJobForward, frmJobExec, frmJobQuery, frmJobSendmail, frmJobMailbox)
// derives from its Qt window class and from JobEditor, and is registered in the window
// registry under its name. The opener gets the window through ctx.windows().get(name) (which
// loads it) and calls openJob once:
//
// - caption: the window caption to show and to tell the mode by, exactly one of
//   "Tellwick: Edit <type> job" (edit the job jobKey) or "Tellwick: New <type> job" (create
//   the job jobKey), <type> being the type name of the job type table ("forward", "exec",
//   "query", "sendmail", "mailbox");
// - jobKey: the job's key, the type letter and the number ("e12"). For an edit it is the key
//   of the row selected in the job list when the user chose Edit, always of the editor's own
//   type. For a new job it is the type letter and the first free number of that type
//   (firstFreeJobNo), never 0: the chooser opens no editor when all numbers are taken.
//
// openJob shows the editor modally and returns when it has closed. An editor that saved the
// job rebuilds the job list (refreshJobList below) before it closes; a cancelled one leaves
// the list alone. The opener unloads the editor window after openJob returns, so the next
// opening gets a freshly loaded window; an editor may unload itself earlier.
class JobEditor {
public:
    virtual ~JobEditor() = default;
    virtual void openJob(const QString& caption, const QString& jobKey) = 0;
};

// The editor window of a job type letter: "f" frmJobForward, "e" frmJobExec, "q" frmJobQuery,
// "s" frmJobSendmail, "m" frmJobMailbox (exact, lower case); "" for anything else.
QString jobEditorWindowName(const QString& typeLetter);

// Loads the editor window registered under windowName, hands it caption and jobKey through
// openJob, and unloads it when it has closed. false (and nothing opened) when no window is
// registered under that name or the window is no JobEditor.
bool openJobEditor(AppContext& ctx, const QString& windowName, const QString& caption, const QString& jobKey);

// Rebuilds the job list when it is loaded (an editor calls it after saving a job).
void refreshJobList(AppContext& ctx);
