#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// A small connection/recordset pair over Qt SQL. Connection strings are "key=value;" lists
// beginning with "Provider=": SQLite (Data Source=<file>; a missing file is an error),
// PostgreSQL (Server, Port, Database, User ID, Password) or ODBC (the rest is the ODBC string).
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

    // Providers whose Qt driver is present ("SQLite", "PostgreSQL", "ODBC").
    static QStringList availableProviders();

private:
    class Private;
    std::unique_ptr<Private> d;
};
