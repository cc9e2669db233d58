#include "ConnectionBuilder.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "Database.h"
#include "Prompts.h"
#include "Twips.h"

using namespace Qt::StringLiterals;

namespace {

QWidget* formPage(QWidget* parent, const QList<std::pair<QString, QWidget*>>& rows) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    form->setContentsMargins(0, 0, 0, 0);
    for (const auto& [label, field] : rows) {
        auto* l = new QLabel(label, page);
        l->setBuddy(field);
        form->addRow(l, field);
    }
    return page;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

ConnectionBuilderDialog::ConnectionBuilderDialog(FilePicker* files, QWidget* parent)
    : QDialog(parent), m_files(files) {
    setWindowTitle(u"Tellwick: Build connection string"_s);
    setMinimumWidth(Twips::toPixels(6600));

    cboProvider = new QComboBox(this);
    cboProvider->addItems(Connection::availableProviders());
    stkFields = new QStackedWidget(this);

    // SQLite: the database file.
    txtFile = new QLineEdit(this);
    cmdBrowse = new QPushButton(u"&Browse..."_s, this);
    auto* fileRow = new QWidget(this);
    auto* fileLayout = new QHBoxLayout(fileRow);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->addWidget(txtFile, 1);
    fileLayout->addWidget(cmdBrowse);
    stkFields->addWidget(formPage(stkFields, {{u"Database &file:"_s, fileRow}}));

    // PostgreSQL: server, port, database, user, password.
    txtServer = new QLineEdit(this);
    txtServer->setPlaceholderText(u"localhost"_s);
    txtPort = new QLineEdit(this);
    txtPort->setPlaceholderText(u"5432"_s);
    txtPort->setMaxLength(5);
    txtDatabase = new QLineEdit(this);
    txtUser = new QLineEdit(this);
    txtPassword = new QLineEdit(this);
    txtPassword->setEchoMode(QLineEdit::Password);
    stkFields->addWidget(formPage(stkFields, {{u"&Server:"_s, txtServer},
                                              {u"P&ort:"_s, txtPort},
                                              {u"&Database:"_s, txtDatabase},
                                              {u"&User name:"_s, txtUser},
                                              {u"Pass&word:"_s, txtPassword}}));

    // ODBC: a data source name or a whole ODBC connection string.
    txtOdbc = new QLineEdit(this);
    txtOdbc->setPlaceholderText(u"DSN=name or DRIVER={driver};Database=..."_s);
    stkFields->addWidget(formPage(stkFields, {{u"Data source or &driver string:"_s, txtOdbc}}));

    cmdTest = new QPushButton(u"&Test Connection"_s, this);
    labResult = new QLabel(this);
    labResult->setWordWrap(true);
    labResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdOK = new QPushButton(u"&OK"_s, this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(u"&Cancel"_s, this);

    auto* top = new QFormLayout;
    auto* providerLabel = new QLabel(u"&Provider:"_s, this);
    providerLabel->setBuddy(cboProvider);
    top->addRow(providerLabel, cboProvider);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(cmdTest);
    testRow->addWidget(labResult, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(stkFields);
    layout->addLayout(testRow);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(cboProvider, &QComboBox::currentIndexChanged, this, &ConnectionBuilderDialog::cboProvider_Change);
    connect(cmdBrowse, &QPushButton::clicked, this, &ConnectionBuilderDialog::cmdBrowse_Click);
    connect(cmdTest, &QPushButton::clicked, this, &ConnectionBuilderDialog::cmdTest_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* e : {txtFile, txtServer, txtPort, txtDatabase, txtUser, txtPassword, txtOdbc}) {
        connect(e, &QLineEdit::textChanged, this, &ConnectionBuilderDialog::fields_Change);
    }
    cboProvider_Change();
}

void ConnectionBuilderDialog::cboProvider_Change() {
    const QString provider = cboProvider->currentText();
    stkFields->setCurrentIndex(provider == u"PostgreSQL" ? 1 : provider == u"ODBC" ? 2 : 0);
    stkFields->setEnabled(!provider.isEmpty());
    fields_Change();
}

void ConnectionBuilderDialog::fields_Change() {
    const bool complete = !connectionString().isEmpty();
    cmdOK->setEnabled(complete);
    cmdTest->setEnabled(complete);
    labResult->clear();
}

void ConnectionBuilderDialog::cmdBrowse_Click() {
    const QString title = u"Choose the database file"_s;
    const QString filter = u"SQLite databases (*.db *.sqlite *.sqlite3);;All files (*)"_s;
    const QString file = m_files ? m_files->openFile(this, title, QString(), filter)
                                 : QFileDialog::getOpenFileName(this, title, QString(), filter);
    if (!file.isEmpty()) {
        txtFile->setText(file);
    }
}

void ConnectionBuilderDialog::cmdTest_Click() {
    testConnection();
}

bool ConnectionBuilderDialog::testConnection() {
    const QString text = connectionString();
    if (text.isEmpty()) {
        return false;
    }
    Connection connection;
    bool ok = false;
    {
        Hourglass wait;
        ok = connection.open(text);
    }
    labResult->setText(ok ? u"Test connection succeeded."_s
                          : u"Test connection failed: "_s + connection.errorText());
    return ok;
}

QString ConnectionBuilderDialog::connectionString() const {
    const QString provider = cboProvider->currentText();
    if (provider == u"SQLite") {
        return txtFile->text().trimmed().isEmpty()
                   ? QString()
                   : ConnectionBuilder::sqliteString(txtFile->text().trimmed());
    }
    if (provider == u"PostgreSQL") {
        if (txtServer->text().trimmed().isEmpty()) {
            return {};
        }
        return ConnectionBuilder::postgresString(txtServer->text().trimmed(), txtPort->text().trimmed(),
                                                 txtDatabase->text().trimmed(), txtUser->text().trimmed(),
                                                 txtPassword->text());
    }
    if (provider == u"ODBC") {
        return ConnectionBuilder::odbcString(txtOdbc->text());
    }
    return {};
}

// ---------------------------------------------------------------------------------------------

ConnectionBuilder::ConnectionBuilder(QObject* parent) : QObject(parent) {}

ConnectionBuilder::~ConnectionBuilder() {
    m_active = false;
    if (m_owner) {
        m_owner->removeEventFilter(this);
    }
    delete m_dialog.data();
}

QString ConnectionBuilder::sqliteString(const QString& file) {
    return u"Provider=SQLite;"_s + formatConnectionItem(u"Data Source"_s, file);
}

QString ConnectionBuilder::postgresString(const QString& server, const QString& port, const QString& database,
                                          const QString& user, const QString& password) {
    QString text = u"Provider=PostgreSQL"_s;
    const std::pair<QString, QString> items[] = {{u"Server"_s, server},
                                                 {u"Port"_s, port},
                                                 {u"Database"_s, database},
                                                 {u"User ID"_s, user},
                                                 {u"Password"_s, password}};
    for (const auto& [key, value] : items) {
        if (!value.isEmpty()) {
            text += u';' + formatConnectionItem(key, value);
        }
    }
    return text;
}

QString ConnectionBuilder::odbcString(const QString& odbc) {
    const QString text = odbc.trimmed();
    if (text.isEmpty()) {
        return {};
    }
    return u"Provider=ODBC;"_s + (text.contains(u'=') ? text : u"DSN="_s + text);
}

void ConnectionBuilder::start(QWidget* owner) {
    ++m_starts;
    if (m_active) {
        if (m_dialog) {
            m_dialog->raise();
            m_dialog->activateWindow();
        }
        return;
    }
    m_active = true;
    const quint64 session = ++m_session;
    m_owner = owner;
    if (owner) {
        owner->installEventFilter(this);
        m_ownerGone = connect(owner, &QObject::destroyed, this, [this, session] {
            if (m_active && m_session == session) {
                m_owner.clear();
                end(QString(), false);
            }
        });
    }
    if (m_scripted) {
        if (!m_answers.isEmpty()) {
            const QString result = m_answers.takeFirst();
            QTimer::singleShot(0, this, [this, session, result] {
                if (m_active && m_session == session) {
                    end(result, true);
                }
            });
        }
        return;
    }
    m_dialog = new ConnectionBuilderDialog(m_files, owner);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    connect(m_dialog, &QDialog::finished, this, &ConnectionBuilder::dialog_Finished);
    // The owner's destruction takes the window with it: the session ends without a result.
    connect(m_dialog, &QObject::destroyed, this, [this, session] {
        if (m_active && m_session == session) {
            m_active = false;
        }
    });
    m_dialog->setWindowModality(Qt::NonModal);
    m_dialog->show();
}

void ConnectionBuilder::dialog_Finished(int result) {
    if (!m_active || !m_dialog) {
        return;
    }
    end(result == QDialog::Accepted ? m_dialog->connectionString() : QString(), true);
}

void ConnectionBuilder::answer(const QString& connectionString) {
    if (m_active) {
        end(connectionString, true);
    }
}

void ConnectionBuilder::abort() {
    if (m_active) {
        end(QString(), false);
    }
}

void ConnectionBuilder::end(const QString& result, bool emitResult) {
    m_active = false;
    ++m_session;
    disconnect(m_ownerGone);
    if (m_owner) {
        m_owner->removeEventFilter(this);
    }
    m_owner.clear();
    if (m_dialog) {
        ConnectionBuilderDialog* dialog = m_dialog;
        m_dialog.clear();
        disconnect(dialog, nullptr, this, nullptr);
        dialog->hide();
        dialog->deleteLater();
    }
    if (emitResult) {
        emit finished(result);
    }
}

bool ConnectionBuilder::eventFilter(QObject* watched, QEvent* event) {
    if (m_active && watched == m_owner && event->type() == QEvent::Hide && !m_owner->isVisible()) {
        abort();
    }
    return QObject::eventFilter(watched, event);
}
