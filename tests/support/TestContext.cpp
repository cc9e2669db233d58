#include "TestContext.h"

#include <QFile>

TestContext::TestContext() {
    m_dir.setAutoRemove(true);
    m_ctx = std::make_unique<AppContext>(m_dir.path());
    m_ctx->prompts().setScripted(true);
}

TestContext::~TestContext() { m_ctx.reset(); }

void TestContext::writeFile(const QString& name, const QByteArray& content) const {
    QFile f(name.startsWith(u'/') ? name : m_dir.filePath(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(content);
    }
}

QByteArray TestContext::readFile(const QString& name) const {
    QFile f(name.startsWith(u'/') ? name : m_dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TestContext::unansweredBoxes() const {
    QString out;
    for (const MsgBox::Shown& box : m_ctx->msgBox().unanswered()) {
        out += QStringLiteral("unanswered box \"%1\": %2\n").arg(box.title, box.text);
    }
    return out;
}
