#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

class FilePicker;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The connection builder's window: choose a provider (only those whose driver is present),
// fill its fields, test the connection, OK. Built in code; controls are public for tests.
class ConnectionBuilderDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionBuilderDialog(FilePicker* files, QWidget* parent = nullptr);

    // The connection text of the current provider and fields ("Provider=..."), "" while a
    // required field is empty (the file; the server; the data source or driver).
    QString connectionString() const;
    // Tries the current connection; the outcome goes into labResult. True on success.
    bool testConnection();

    QComboBox* cboProvider;
    QStackedWidget* stkFields;
    // SQLite
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    // PostgreSQL
    QLineEdit* txtServer;
    QLineEdit* txtPort;
    QLineEdit* txtDatabase;
    QLineEdit* txtUser;
    QLineEdit* txtPassword;
    // ODBC
    QLineEdit* txtOdbc;

    QPushButton* cmdTest;
    QLabel* labResult;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void cboProvider_Change();
    void cmdBrowse_Click();
    void cmdTest_Click();
    void fields_Change();

    FilePicker* m_files;
};

// Runs the connection builder for an editor without blocking it: start() shows the window
// and returns at once; finished() hands back the connection text ("Provider=...") on OK, or
// "" when the user cancels or closes the window. The window is owned by the editor, so it
// stays usable under the editor's modality. When the editor hides or is destroyed while the
// builder is open, the builder closes and its result is dropped (no finished()); abort()
// does the same on request.
//
// Scripted mode (tests): nothing is shown; start() answers with the next queued text (emitted
// from the event loop), or, with none queued, stays open until answer() or abort().
class ConnectionBuilder : public QObject {
    Q_OBJECT
public:
    explicit ConnectionBuilder(QObject* parent = nullptr);
    ~ConnectionBuilder() override;

    // The picker for the SQLite file (the program's scripted one in tests); none = Qt's dialog.
    void setFilePicker(FilePicker* files) { m_files = files; }

    // Opens the builder for owner; when it is already open, brings it to the front.
    void start(QWidget* owner);
    // Closes an open builder and drops its result.
    void abort();
    bool isActive() const { return m_active; }
    // The open window (nullptr when closed or scripted).
    ConnectionBuilderDialog* dialog() const { return m_dialog; }

    void setScripted(bool on) { m_scripted = on; }
    void queueAnswer(const QString& connectionString) { m_answers.append(connectionString); }
    // Ends an open scripted session with this result.
    void answer(const QString& connectionString);
    int startCount() const { return m_starts; }

    // The connection texts the builder makes.
    static QString sqliteString(const QString& file);
    static QString postgresString(const QString& server, const QString& port, const QString& database,
                                  const QString& user, const QString& password);
    // A text without "=" is taken as the name of a data source.
    static QString odbcString(const QString& odbc);

signals:
    void finished(const QString& connectionString);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void end(const QString& result, bool emitResult);
    void dialog_Finished(int result);

    FilePicker* m_files = nullptr;
    QPointer<QWidget> m_owner;
    QMetaObject::Connection m_ownerGone;
    QPointer<ConnectionBuilderDialog> m_dialog;
    bool m_active = false;
    bool m_scripted = false;
    quint64 m_session = 0;
    QList<QString> m_answers;
    int m_starts = 0;
};
