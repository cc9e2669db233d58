#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "AppContext.h"

// A fresh program folder (a temporary directory) and a context on it, with every prompt
// scripted. Build one per test function (init) and drop it in cleanup.
class TestContext {
public:
    TestContext();
    ~TestContext();

    AppContext& ctx() { return *m_ctx; }
    IniStore& ini() { return m_ctx->ini(); }
    MsgBox& msgBox() { return m_ctx->msgBox(); }
    QString folder() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString settingsFile() const { return m_ctx->ini().settingsFile(); }

    // Writes a file of the program folder as raw text (UTF-8), bypassing the settings layer.
    void writeFile(const QString& name, const QByteArray& content) const;
    QByteArray readFile(const QString& name) const;

    // Message boxes that asked a question nobody queued an answer for, as one text ("" when none).
    QString unansweredBoxes() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppContext> m_ctx;
};

// In cleanup(): fails the test function when a box asked a question with no scripted answer.
#define TW_VERIFY_NO_UNANSWERED(t) QVERIFY2((t).unansweredBoxes().isEmpty(), qPrintable((t).unansweredBoxes()))
