#include "DatabaseTest.h"

#include <QRegularExpression>

#include "Database.h"
#include "Prompts.h"
#include "TextCut.h"

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;
const QString kSqlTitle = u"Tellwick: Test SQL query"_s;
const QString kQueryTitle = u"Tellwick: Test database query"_s;
const QString kOnlyOneColumn = u"Please make sure to select only the column that contains"_s + kCrLf +
                               u"mobile phone numbers or eMail addresses."_s;

}  // namespace

DatabaseTest::Fetch DatabaseTest::fetch(const QString& connectionString, const QString& query,
                                        int timeoutSeconds) {
    Fetch result;
    Connection connection;
    if (!connection.open(connectionString, timeoutSeconds)) {
        result.stage = Fetch::ConnectFailed;
        result.error = connection.errorText();
        return result;
    }
    result.stage = Fetch::QueryFailed;
    const bool transaction = connection.hasTransactions();
    if (transaction && !connection.beginTransaction()) {
        // Without the transaction the statement could change the database: do not run it.
        result.error = connection.errorText();
        return result;
    }
    {
        std::unique_ptr<Recordset> records = connection.execute(query);
        if (!records) {
            result.error = connection.errorText();
        } else {
            result.stage = Fetch::Done;
            result.columns = records->fieldCount();
            for (; !records->eof(); records->moveNext()) {
                result.values.append(result.columns > 0 ? records->value(0) : QVariant());
            }
            const int reported = records->recordCount();
            result.recordCount = reported >= 0 ? reported : int(result.values.size());
        }
    }
    if (transaction) {
        connection.rollback();
    }
    connection.close();
    return result;
}

bool DatabaseTest::looksNumeric(const QString& value) {
    static const QRegularExpression strip(u"[ \\-/()]"_s);
    static const QRegularExpression number(u"^\\+?[0-9]+$"_s);
    QString text = value;
    text.remove(strip);
    return number.match(text).hasMatch();
}

QString DatabaseTest::collect(const QList<QVariant>& values) {
    QStringList parts;
    for (const QVariant& v : values) {
        if (!v.isNull()) {
            parts.append(v.toString());
        }
    }
    QString joined = parts.join(u", "_s);
    if (joined.size() > MaxJoinedLength) {
        joined = TextCut::left(joined, HeadLength) + u" (...) "_s + TextCut::right(joined, TailLength);
    }
    return joined;
}

std::optional<DatabaseTest::Box> DatabaseTest::failureBox(const Fetch& result) {
    switch (result.stage) {
        case Fetch::ConnectFailed:
            return Box{u"The following error occurred while connecting to your Database:"_s + kCrLf + kCrLf +
                           result.error,
                       u"Tellwick: Test database connection"_s, MsgBox::Critical};
        case Fetch::QueryFailed:
            return Box{
                u"The following error occurred while connecting to your Database and querying your table:"_s +
                    kCrLf + kCrLf + result.error,
                kQueryTitle, MsgBox::Information};
        case Fetch::Done:
            break;
    }
    return std::nullopt;
}

DatabaseTest::Box DatabaseTest::evaluate(const Fetch& result) {
    if (const auto failed = failureBox(result)) {
        return *failed;
    }
    if (result.values.isEmpty()) {
        return {u"Your query didn't return any records."_s, kSqlTitle, MsgBox::Critical};
    }
    if (result.columns >= 2) {
        return {u"Your query returned more than one column."_s + kCrLf + kCrLf + kOnlyOneColumn, kSqlTitle,
                MsgBox::Critical};
    }
    const QVariant& first = result.values.first();
    const QString firstText = first.isNull() ? QString() : first.toString();
    if (!looksNumeric(firstText) && !firstText.contains(u'@')) {
        return {u"Your query returned %1 recordsets, but the first record"_s.arg(result.recordCount) + kCrLf +
                    u"contains an unknown value: '"_s + firstText + u"'"_s + kCrLf + kCrLf + kOnlyOneColumn,
                kSqlTitle, MsgBox::Critical};
    }
    return {u"Tellwick has successfully connected to your Database"_s + kCrLf +
                u"and queried your table. The result consists of %1 record(s):"_s.arg(result.recordCount) +
                kCrLf + kCrLf + collect(result.values),
            kQueryTitle, MsgBox::Information};
}

DatabaseTest::Box DatabaseTest::run(const QString& connectionString, const QString& query) {
    return evaluate(fetch(connectionString, query));
}

DatabaseTest::Box DatabaseTest::show(MsgBox& msgBox, const QString& connectionString, const QString& query,
                                     QWidget* parent) {
    Box box;
    {
        Hourglass wait;
        box = run(connectionString, query);
    }
    msgBox.show(box.text, MsgBox::OKOnly, box.icon, box.title, parent);
    return box;
}
