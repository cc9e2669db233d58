#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// A small connection/recordset pair over Qt SQL. Connection strings are "key=value;" lists
// beginning with "Provider=": SQLite (Data Source=<file>; a missing file is an error),
// PostgreSQL (Server, Port, Database, User ID, Password) or ODBC (the rest is the ODBC string).
// One "key=value" item of a connection string. A value may be quoted with " or ' (a doubled
// quote inside stands for itself), so it can hold ";" or outer blanks.
struct ConnectionItem {
    QString key;
    QString value;
};
// The items in order, keys and unquoted values trimmed; empty items are skipped.
QList<ConnectionItem> parseConnectionString(const QString& text);
// The value of the first item whose key matches (case-insensitive); "" when there is none.
QString connectionValue(const QList<ConnectionItem>& items, const QString& key);
// "key=value", the value quoted when it needs it.
QString formatConnectionItem(const QString& key, const QString& value);

class Recordset {
public:
    virtual ~Recordset() = default;
    virtual bool eof() const = 0;
    virtual void moveNext() = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;  // 0-based
    virtual QVariant value(int index) const = 0;     // 0-based, of the current record
    // Records in all, -1 when the driver cannot tell without walking them.
    virtual int recordCount() const = 0;
};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens within timeoutSeconds; false with errorText() on failure.
    bool open(const QString& connectionString, int timeoutSeconds = 30);
    void close();
    bool isOpen() const;
    QString errorText() const;

    // Runs a statement; nullptr with errorText() on failure.
    std::unique_ptr<Recordset> execute(const QString& sql);
    bool beginTransaction();
    bool rollback();
    // Whether the open connection's driver has transactions.
    bool hasTransactions() const;

    // Providers whose Qt driver is present ("SQLite", "PostgreSQL", "ODBC").
    static QStringList availableProviders();

private:
    class Private;
    std::unique_ptr<Private> d;
};
