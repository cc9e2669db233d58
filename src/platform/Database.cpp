#include "Database.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// One item of a connection string with its place in the text: [begin, end) without the ";".
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
    ConnectionItem item;
};

QChar quoteAt(const QString& text, qsizetype i) {
    const QChar c = text.at(i);
    return (c == u'"' || c == u'\'') ? c : QChar();
}

// Splits at ";" outside quoted values. A quote opens a quoted value only where the value
// begins (after "=" and blanks); inside it a doubled quote stands for one quote.
QList<Span> splitItems(const QString& text) {
    QList<Span> spans;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        Span span;
        span.begin = i;
        QString key;
        QString value;
        bool inValue = false;
        bool quotedDone = false;
        while (i < n && text.at(i) != u';') {
            const QChar c = text.at(i);
            if (!inValue) {
                if (c == u'=') {
                    inValue = true;
                    // Skip blanks before a possible quote.
                    qsizetype j = i + 1;
                    while (j < n && text.at(j).isSpace()) {
                        ++j;
                    }
                    if (j < n && !quoteAt(text, j).isNull()) {
                        const QChar q = text.at(j);
                        i = j + 1;
                        while (i < n) {
                            if (text.at(i) == q) {
                                if (i + 1 < n && text.at(i + 1) == q) {
                                    value += q;
                                    i += 2;
                                    continue;
                                }
                                ++i;
                                break;
                            }
                            value += text.at(i++);
                        }
                        quotedDone = true;
                        continue;
                    }
                } else {
                    key += c;
                }
                ++i;
                continue;
            }
            // Text after a closing quote up to the ";" is dropped; otherwise it is the value.
            if (!quotedDone) {
                value += c;
            }
            ++i;
        }
        span.end = i;
        if (i < n) {
            ++i;  // the ";"
        }
        span.item.key = key.trimmed();
        span.item.value = quotedDone ? value : value.trimmed();
        if (!span.item.key.isEmpty() || !span.item.value.isEmpty()) {
            spans.append(span);
        }
    }
    return spans;
}

QString providerDriver(const QString& provider) {
    if (provider.compare(u"SQLite"_s, Qt::CaseInsensitive) == 0) {
        return QStringLiteral("QSQLITE");
    }
    if (provider.compare(u"PostgreSQL"_s, Qt::CaseInsensitive) == 0) {
        return QStringLiteral("QPSQL");
    }
    if (provider.compare(u"ODBC"_s, Qt::CaseInsensitive) == 0) {
        return QStringLiteral("QODBC");
    }
    return {};
}

// The first non-empty value among a few accepted spellings of one key.
QString valueOf(const QList<ConnectionItem>& items, std::initializer_list<const char16_t*> keys) {
    for (const char16_t* key : keys) {
        const QString v = connectionValue(items, QString::fromUtf16(key));
        if (!v.isEmpty()) {
            return v;
        }
    }
    return {};
}

QAtomicInt g_connectionCounter;

}  // namespace

QList<ConnectionItem> parseConnectionString(const QString& text) {
    QList<ConnectionItem> items;
    for (const Span& s : splitItems(text)) {
        items.append(s.item);
    }
    return items;
}

QString connectionValue(const QList<ConnectionItem>& items, const QString& key) {
    for (const ConnectionItem& item : items) {
        if (item.key.compare(key, Qt::CaseInsensitive) == 0) {
            return item.value;
        }
    }
    return {};
}

QString formatConnectionItem(const QString& key, const QString& value) {
    const bool needsQuotes =
        value.contains(u';') || value != value.trimmed() || value.startsWith(u'"') || value.startsWith(u'\'');
    if (!needsQuotes) {
        return key + u'=' + value;
    }
    QString quoted = value;
    quoted.replace(u"\""_s, u"\"\""_s);
    return key + u"=\"" + quoted + u'"';
}

// ---------------------------------------------------------------------------------------------

class RecordsetImpl;

// The recordsets still alive on one connection; closing the connection releases them first
// so none is left pointing into a removed driver.
struct LiveRecordsets {
    QList<RecordsetImpl*> list;
};

class RecordsetImpl final : public Recordset {
public:
    RecordsetImpl(QSqlQuery query, const std::shared_ptr<LiveRecordsets>& live)
        : m_query(std::move(query)), m_live(live) {
        live->list.append(this);
        m_record = m_query.record();
        if (m_query.isSelect()) {
            m_hasRow = m_query.next();
            const QSqlDriver* driver = m_query.driver();
            m_size = (driver && driver->hasFeature(QSqlDriver::QuerySize)) ? m_query.size() : -1;
        } else {
            m_size = 0;  // a statement that returns no rows
        }
    }
    ~RecordsetImpl() override {
        if (auto live = m_live.lock()) {
            live->list.removeAll(this);
        }
    }

    void release() {
        m_query = QSqlQuery();
        m_hasRow = false;
    }

    bool eof() const override { return !m_hasRow; }
    void moveNext() override {
        if (m_hasRow) {
            m_hasRow = m_query.next();
        }
    }
    int fieldCount() const override { return m_record.count(); }
    QString fieldName(int index) const override { return m_record.fieldName(index); }
    QVariant value(int index) const override { return m_hasRow ? m_query.value(index) : QVariant(); }
    int recordCount() const override { return m_size; }

private:
    QSqlQuery m_query;
    QSqlRecord m_record;
    std::weak_ptr<LiveRecordsets> m_live;
    bool m_hasRow = false;
    int m_size = -1;
};

class Connection::Private {
public:
    QString name;  // the QSqlDatabase connection name, "" when closed
    QString error;
    std::shared_ptr<LiveRecordsets> live = std::make_shared<LiveRecordsets>();

    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

    bool fail(const QString& text) {
        error = text;
        return false;
    }
};

Connection::Connection() : d(std::make_unique<Private>()) {}

Connection::~Connection() {
    close();
}

bool Connection::open(const QString& connectionString, int timeoutSeconds) {
    close();
    d->error.clear();
    const QList<Span> spans = splitItems(connectionString);
    const Span* providerSpan = nullptr;
    for (const Span& s : spans) {
        if (s.item.key.compare(u"Provider"_s, Qt::CaseInsensitive) == 0) {
            providerSpan = &s;
            break;
        }
    }
    if (!providerSpan || providerSpan->item.value.isEmpty()) {
        return d->fail(
            QStringLiteral("The connection string names no provider; it must begin with "
                           "\"Provider=\" (SQLite, PostgreSQL or ODBC)."));
    }
    const QString provider = providerSpan->item.value;
    const QString driver = providerDriver(provider);
    if (driver.isEmpty()) {
        return d->fail(QStringLiteral("Unknown provider '%1'. Known providers: SQLite, PostgreSQL, ODBC.")
                           .arg(provider));
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        return d->fail(
            QStringLiteral("The database driver for '%1' (%2) is not installed.").arg(provider, driver));
    }
    QList<ConnectionItem> items;
    for (const Span& s : spans) {
        items.append(s.item);
    }
    const int timeout = qMax(1, timeoutSeconds);

    const QString name =
        QStringLiteral("tellwick-connection-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        if (driver == u"QSQLITE") {
            const QString file = valueOf(items, {u"Data Source", u"DataSource", u"Database"});
            if (file.isEmpty()) {
                d->error = QStringLiteral("No database file is given (Data Source=).");
            } else if (!QFileInfo(file).isFile()) {
                d->error = QStringLiteral("The database file '%1' does not exist.").arg(file);
            } else {
                // Opened as a URI in read-write mode: even a file removed meanwhile is never
                // created anew.
                const QString uri =
                    QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded);
                db.setDatabaseName(uri + u"?mode=rw");
                db.setConnectOptions(
                    QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(timeout * 1000));
                ok = true;
            }
        } else if (driver == u"QPSQL") {
            db.setHostName(valueOf(items, {u"Server", u"Host", u"Data Source"}));
            const QString port = connectionValue(items, u"Port"_s);
            if (!port.isEmpty()) {
                bool numeric = false;
                const int p = port.toInt(&numeric);
                if (!numeric || p <= 0 || p > 65535) {
                    d->error = QStringLiteral("The port '%1' is not a valid port number.").arg(port);
                } else {
                    db.setPort(p);
                }
            }
            db.setDatabaseName(valueOf(items, {u"Database", u"Initial Catalog"}));
            db.setUserName(valueOf(items, {u"User ID", u"User", u"UID"}));
            db.setPassword(valueOf(items, {u"Password", u"PWD"}));
            db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(timeout));
            ok = d->error.isEmpty();
        } else {
            // Everything but the provider item is the ODBC connection string, as written.
            QString odbc = connectionString.left(providerSpan->begin);
            QString rest = connectionString.mid(providerSpan->end);
            if (rest.startsWith(u';')) {
                rest.remove(0, 1);
            }
            odbc = QString(odbc + rest).trimmed();
            if (odbc.isEmpty()) {
                d->error = QStringLiteral("No ODBC data source or driver is given.");
            } else {
                db.setDatabaseName(odbc);
                db.setConnectOptions(
                    QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(timeout));
                ok = true;
            }
        }
        if (ok && !db.open()) {
            d->error = db.lastError().text().trimmed();
            if (d->error.isEmpty()) {
                d->error = QStringLiteral("The database could not be opened.");
            }
            ok = false;
        }
        if (!ok) {
            db.close();
        }
    }
    if (!ok) {
        QSqlDatabase::removeDatabase(name);
        return false;
    }
    d->name = name;
    return true;
}

void Connection::close() {
    if (d->name.isEmpty()) {
        return;
    }
    for (RecordsetImpl* r : std::as_const(d->live->list)) {
        r->release();
    }
    d->live->list.clear();
    {
        QSqlDatabase db = d->db();
        db.close();
    }
    QSqlDatabase::removeDatabase(d->name);
    d->name.clear();
}

bool Connection::isOpen() const {
    return !d->name.isEmpty() && d->db().isOpen();
}

QString Connection::errorText() const {
    return d->error;
}

std::unique_ptr<Recordset> Connection::execute(const QString& sql) {
    if (!isOpen()) {
        d->fail(QStringLiteral("The connection is not open."));
        return nullptr;
    }
    QSqlDatabase db = d->db();
    QSqlQuery query(db);
    // Drivers that know a result's size need the whole result to tell it; the others are
    // walked forward only.
    query.setForwardOnly(!(db.driver() && db.driver()->hasFeature(QSqlDriver::QuerySize)));
    if (!query.exec(sql)) {
        d->error = query.lastError().text().trimmed();
        if (d->error.isEmpty()) {
            d->error = QStringLiteral("The statement failed.");
        }
        return nullptr;
    }
    return std::make_unique<RecordsetImpl>(std::move(query), d->live);
}

bool Connection::hasTransactions() const {
    if (!isOpen()) {
        return false;
    }
    const QSqlDriver* driver = d->db().driver();
    return driver && driver->hasFeature(QSqlDriver::Transactions);
}

bool Connection::beginTransaction() {
    if (!hasTransactions()) {
        return d->fail(QStringLiteral("The connection has no transactions."));
    }
    QSqlDatabase db = d->db();
    if (!db.transaction()) {
        return d->fail(db.lastError().text().trimmed());
    }
    return true;
}

bool Connection::rollback() {
    if (!isOpen()) {
        return d->fail(QStringLiteral("The connection is not open."));
    }
    QSqlDatabase db = d->db();
    if (!db.rollback()) {
        return d->fail(db.lastError().text().trimmed());
    }
    return true;
}

QStringList Connection::availableProviders() {
    QStringList providers;
    const std::pair<const char16_t*, const char*> known[] = {
        {u"SQLite", "QSQLITE"}, {u"PostgreSQL", "QPSQL"}, {u"ODBC", "QODBC"}};
    for (const auto& [provider, driver] : known) {
        if (QSqlDatabase::isDriverAvailable(QLatin1String(driver))) {
            providers.append(QString::fromUtf16(provider));
        }
    }
    return providers;
}
