#include "JobDatabaseTools.h"

#include <QDialog>
#include <QLineEdit>

#include "AppContext.h"
#include "ConnectionBuilder.h"
#include "DatabaseTest.h"
#include "MsgBox.h"

ConnectionBuilder* JobDatabaseTools::builder() {
    if (!m_builder) {
        m_builder = new ConnectionBuilder(m_editor);
        m_builder->setFilePicker(&m_ctx.prompts().files);
        m_builder->setScripted(m_ctx.msgBox().scripted());
    }
    return m_builder;
}

void JobDatabaseTools::buildConnection(QLineEdit* target) {
    ConnectionBuilder* b = builder();
    // One connection per start, so a second click while the builder is open adds none.
    b->disconnect(m_editor);
    QObject::connect(b, &ConnectionBuilder::finished, m_editor, [target](const QString& connection) {
        // A cancelled builder hands back "": the box keeps what it held.
        if (!connection.isEmpty()) {
            target->setText(connection);
        }
    });
    b->start(m_editor);
}

void JobDatabaseTools::abortBuilder() {
    if (m_builder) {
        m_builder->abort();
    }
}

void JobDatabaseTools::testRecipientQuery(const QString& connection, const QString& query) {
    DatabaseTest::show(m_ctx.msgBox(), connection, query, m_editor);
}

void JobDatabaseTools::showSqlHelp() {
    if (auto* help = qobject_cast<QDialog*>(m_ctx.windows().get(QStringLiteral("frmSQLHelp")))) {
        help->exec();
    }
}
