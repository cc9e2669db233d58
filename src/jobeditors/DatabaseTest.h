#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QVariant>

#include "MsgBox.h"

class QWidget;

// The database test of a recipient query: connects with the job's connection string, runs the
// query and judges what came back. The query runs inside a transaction that is rolled back
// (where the driver has transactions), so testing a statement never changes the database.
//
// Use: DatabaseTest::show(ctx.msgBox(), connection, query, this) runs the test with the
// hourglass pointer, resets the pointer and shows the one resulting box through MsgBox (OK
// button, critical or information icon). run() gives the same box without showing it;
// fetch() and evaluate() are its two halves, so an editor with other checks and texts can
// judge a fetch() of its own.
class DatabaseTest {
public:
    static constexpr int TimeoutSeconds = 30;
    // Joined values longer than this are shortened to head + " (...) " + tail.
    static constexpr int MaxJoinedLength = 50;
    static constexpr int HeadLength = 25;
    static constexpr int TailLength = 25;

    struct Box {
        QString text;
        QString title;
        MsgBox::Icon icon = MsgBox::NoIcon;
    };

    // What the query gave, read whole.
    struct Fetch {
        enum Stage { ConnectFailed, QueryFailed, Done };
        Stage stage = ConnectFailed;
        QString error;           // the driver's text for the failed stage
        int columns = 0;         // columns of the result
        QList<QVariant> values;  // the first column of every record, in order (nulls included)
        int recordCount = 0;     // as the driver reports it, or counted by walking the records
    };

    static Fetch fetch(const QString& connectionString, const QString& query,
                       int timeoutSeconds = TimeoutSeconds);
    // The checks in their order: connection, query, no record, more than one column, first
    // value neither a number nor an address, then the success box.
    static Box evaluate(const Fetch& result);
    // The box of a failed connection or query; nothing when the query ran.
    static std::optional<Box> failureBox(const Fetch& result);
    static Box run(const QString& connectionString, const QString& query);
    // Runs the test and shows its box; returns the box shown.
    static Box show(MsgBox& msgBox, const QString& connectionString, const QString& query,
                    QWidget* parent = nullptr);

    // A value counts as a number when, without blanks, "-", "/", "(" and ")", it is digits
    // with an optional leading "+".
    static bool looksNumeric(const QString& value);
    // The non-null values joined by ", ", shortened when longer than MaxJoinedLength.
    static QString collect(const QList<QVariant>& values);
};
