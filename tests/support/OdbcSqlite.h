#pragma once

#include <QString>
#include <QStringList>

// ODBC for tests without any system-wide set-up: unixODBC loads the SQLite ODBC driver by its
// path (DRIVER=<library>), so no odbcinst.ini or DSN is needed. The driver library is looked up
// in $TELLWICK_SQLITE_ODBC, then in the usual Debian places.
class OdbcSqlite {
public:
    static QString driverPath();
    // The library exists and Qt's ODBC driver is present.
    static bool available();
    // "Provider=ODBC;DRIVER={<library>};Database=<file>".
    static QString connectionString(const QString& databaseFile);
    // The ODBC part alone, as typed into the connection builder.
    static QString odbcString(const QString& databaseFile);
};

// Creates (or extends) an SQLite database file with the given statements through Qt's own
// SQLite driver; false with *error on the first failure.
bool createSqliteDatabase(const QString& file, const QStringList& statements, QString* error = nullptr);
