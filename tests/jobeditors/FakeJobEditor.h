#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "AppContext.h"
#include "JobEditorHost.h"
#include "WindowRegistry.h"

// Stands in for a job editor window: records how it was opened, shows itself modally for a
// moment and may run a test's action (saving a job, say) while it is open.
struct EditorOpening {
    QString window;
    QString caption;
    QString jobKey;
    bool chooserLoaded = false;
    bool chooserVisible = false;
};

class FakeJobEditor : public QDialog, public JobEditor {
public:
    FakeJobEditor(AppContext& ctx, QString name, QList<EditorOpening>* log,
                  std::function<void(AppContext&)> action)
        : m_ctx(ctx), m_name(std::move(name)), m_log(log), m_action(std::move(action)) {}

    void openJob(const QString& caption, const QString& jobKey) override {
        setWindowTitle(caption);
        EditorOpening o{m_name, caption, jobKey};
        if (QWidget* chooser = m_ctx.windows().existing(QStringLiteral("frmJobNew"))) {
            o.chooserLoaded = true;
            o.chooserVisible = chooser->isVisible();
        }
        m_log->append(o);
        if (m_action) {
            m_action(m_ctx);
        }
        QTimer::singleShot(0, this, [this] { accept(); });
        exec();
    }

private:
    AppContext& m_ctx;
    QString m_name;
    QList<EditorOpening>* m_log;
    std::function<void(AppContext&)> m_action;
};

// Registers a fake editor under each of the given window names.
inline void registerFakeEditors(AppContext& ctx, const QStringList& names, QList<EditorOpening>* log,
                                std::function<void(AppContext&)> action = {}) {
    for (const QString& name : names) {
        ctx.windows().registerFactory(
            name, [name, log, action](AppContext& c) { return new FakeJobEditor(c, name, log, action); });
    }
}

// The registry of a program without the editor of one type: the name gives no window.
inline void withoutEditor(AppContext& ctx, const QString& name) {
    ctx.windows().registerFactory(name, [](AppContext&) -> QWidget* { return nullptr; });
}

inline QStringList allEditorNames() {
    return {QStringLiteral("frmJobForward"), QStringLiteral("frmJobExec"), QStringLiteral("frmJobQuery"),
            QStringLiteral("frmJobSendmail"), QStringLiteral("frmJobMailbox")};
}
