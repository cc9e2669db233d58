#include "OdbcSqlite.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "Database.h"

QString OdbcSqlite::driverPath() {
    const QString fromEnv = qEnvironmentVariable("TELLWICK_SQLITE_ODBC");
    if (!fromEnv.isEmpty()) {
        return fromEnv;
    }
    const QString candidates[] = {QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so"),
                                  QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so"),
                                  QStringLiteral("/usr/lib/odbc/libsqlite3odbc.so"),
                                  QStringLiteral("/usr/local/lib/libsqlite3odbc.so")};
    for (const QString& c : candidates) {
        if (QFileInfo::exists(c)) {
            return c;
        }
    }
    return {};
}

bool OdbcSqlite::available() {
    return !driverPath().isEmpty() && QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"));
}

QString OdbcSqlite::odbcString(const QString& databaseFile) {
    // The SQLite ODBC driver takes no braces around its Database value: keep ";" out of the path.
    return QStringLiteral("DRIVER={%1};Database=%2").arg(driverPath(), databaseFile);
}

QString OdbcSqlite::connectionString(const QString& databaseFile) {
    return QStringLiteral("Provider=ODBC;") + odbcString(databaseFile);
}

bool createSqliteDatabase(const QString& file, const QStringList& statements, QString* error) {
    static int counter = 0;
    const QString name = QStringLiteral("tellwick-sqlite-fixture-%1").arg(++counter);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open()) {
            ok = false;
            if (error) {
                *error = db.lastError().text();
            }
        }
        for (const QString& sql : statements) {
            if (!ok) {
                break;
            }
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                ok = false;
                if (error) {
                    *error = sql + QStringLiteral(": ") + q.lastError().text();
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
