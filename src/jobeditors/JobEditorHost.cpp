#include "JobEditorHost.h"

#include <QPointer>
#include <QWidget>

#include "AppContext.h"
#include "frmJobs.h"

QString jobEditorWindowName(const QString& typeLetter) {
    if (typeLetter == u"f")
        return QStringLiteral("frmJobForward");
    if (typeLetter == u"e")
        return QStringLiteral("frmJobExec");
    if (typeLetter == u"q")
        return QStringLiteral("frmJobQuery");
    if (typeLetter == u"s")
        return QStringLiteral("frmJobSendmail");
    if (typeLetter == u"m")
        return QStringLiteral("frmJobMailbox");
    return {};
}

bool openJobEditor(AppContext& ctx, const QString& windowName, const QString& caption,
                   const QString& jobKey) {
    if (windowName.isEmpty() || !ctx.windows().has(windowName)) {
        return false;
    }
    QPointer<QWidget> window = ctx.windows().get(windowName);
    auto* editor = dynamic_cast<JobEditor*>(window.data());
    if (!editor) {
        ctx.windows().unload(windowName);
        return false;
    }
    editor->openJob(caption, jobKey);
    // Only the instance this call opened; one the editor unloaded and a later one stay alone.
    if (window && ctx.windows().existing(windowName) == window) {
        ctx.windows().unload(windowName);
    }
    return true;
}

void refreshJobList(AppContext& ctx) {
    if (auto* jobs = qobject_cast<frmJobs*>(ctx.windows().existing(QStringLiteral("frmJobs")))) {
        jobs->getJobs();
    }
}
