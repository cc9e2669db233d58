#pragma once

#include <QString>

class AppContext;
class ConnectionBuilder;
class QDialog;
class QLineEdit;

// What an editor of a job that reads a database offers beside its boxes: the connection
// builder, the test of a recipient query and the SQL examples.
class JobDatabaseTools {
public:
    JobDatabaseTools(AppContext& ctx, QDialog* editor) : m_ctx(ctx), m_editor(editor) {}

    // The builder, made on first use. It follows the program's prompts: scripted when they
    // are (tests).
    ConnectionBuilder* builder();
    // Starts the builder; its result goes into target, a cancelled builder leaves it.
    void buildConnection(QLineEdit* target);
    // A builder still open ends with the editor, and its result is dropped.
    void abortBuilder();
    void testRecipientQuery(const QString& connection, const QString& query);
    // The SQL examples window, modally.
    void showSqlHelp();

private:
    AppContext& m_ctx;
    QDialog* m_editor;
    ConnectionBuilder* m_builder = nullptr;
};
