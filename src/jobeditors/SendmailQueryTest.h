#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include "DatabaseTest.h"

// How the sendmail editor judges the test of its recipient query: the query must give one
// column whose first value is an e-mail address. An empty result is no error, null values
// count as empty items, and a long list is shortened to head + "..." + tail.
class SendmailQueryTest {
public:
    // The checks in their order: connection, query, more than one column (also without
    // rows), first value without "@", then the success box.
    static DatabaseTest::Box evaluate(const DatabaseTest::Fetch& result);
    // Every value followed by ", ", the last ", " dropped; longer than
    // DatabaseTest::MaxJoinedLength: the first 25 characters, "..." and the last 25.
    static QString collect(const QList<QVariant>& values);
};
