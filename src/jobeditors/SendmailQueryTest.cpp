#include "SendmailQueryTest.h"

#include <QStringList>

#include "TextCut.h"

using namespace Qt::StringLiterals;

namespace {
const QString kCrLf = u"\r\n"_s;
const QString kSqlTitle = u"Tellwick: Test SQL query"_s;
const QString kQueryTitle = u"Tellwick: Test database query"_s;
const QString kSelectOnly = u"Please make sure to select only the column that contains"_s;
}  // namespace

QString SendmailQueryTest::collect(const QList<QVariant>& values) {
    QStringList parts;
    parts.reserve(values.size());
    for (const QVariant& v : values) {
        parts.append(v.isNull() ? QString() : v.toString());
    }
    QString joined = parts.join(u", "_s);
    if (joined.size() > DatabaseTest::MaxJoinedLength) {
        joined = TextCut::left(joined, DatabaseTest::HeadLength) + u"..."_s +
                 TextCut::right(joined, DatabaseTest::TailLength);
    }
    return joined;
}

DatabaseTest::Box SendmailQueryTest::evaluate(const DatabaseTest::Fetch& result) {
    if (const auto failed = DatabaseTest::failureBox(result)) {
        return *failed;
    }
    if (result.columns >= 2) {
        return {u"Your query returned more than one column."_s + kCrLf + kCrLf + kSelectOnly + kCrLf +
                    u"mobile phone numbers."_s,
                kSqlTitle, MsgBox::Critical};
    }
    if (!result.values.isEmpty()) {
        const QVariant& first = result.values.first();
        if (first.isNull() || !first.toString().contains(u'@')) {
            return {u"Your query returned an unknown value in the first record."_s + kCrLf + kCrLf +
                        kSelectOnly + kCrLf + u"mobile phone numbers or E-Mail addresses."_s,
                    kSqlTitle, MsgBox::Critical};
        }
    }
    return {u"Tellwick has successfully connected to your Database"_s + kCrLf +
                u"and queried your table. The result consists of %1 record(s):"_s.arg(result.recordCount) +
                kCrLf + kCrLf + collect(result.values),
            kQueryTitle, MsgBox::Information};
}
