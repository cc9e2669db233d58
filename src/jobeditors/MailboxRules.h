#pragma once

#include <QList>
#include <QString>

// The rule lists of a mailbox job (notification criteria and exceptions) and the numbers its
// editor reads from text boxes.
namespace MailboxRules {

// One row of a rule list: the field of the mail ("Address" or "Subject") and the text to look
// for in it.
struct Rule {
    QString field;
    QString expression;
    bool operator==(const Rule& other) const = default;
};

inline const QString kAddress = QStringLiteral("Address");
inline const QString kSubject = QStringLiteral("Subject");

// The stored form: one item per row, "A:<expression>" for an Address row and "S:<expression>"
// for any other, joined by "," without blanks. An empty list gives "".
QString encode(const QList<Rule>& rules);

// The rows of a stored text, items split at ",". An item is an Address row when the text
// before its first ":" is exactly "A", otherwise a Subject row; the expression is all that
// follows that ":" (so an expression may hold colons), or the whole item when it has none.
// Field and expression lose their outer blanks.
QList<Rule> decode(const QString& text);

// An unsigned whole or decimal number ("12", "1.5", ".5", "3."), blanks around it allowed.
bool isNumber(const QString& text);
// The value of a text that isNumber accepts; 0 for any other text.
double numberValue(const QString& text);
// A number as plain decimal text: 90, 7.5 (no exponent, no trailing zeros).
QString formatNumber(double value);
// A port the box may hold: a whole number from 1 to 65535, blanks around it allowed.
bool isPort(const QString& text);
// The port of a text that isPort accepts; 0 otherwise.
quint16 portValue(const QString& text);
// An interval a mailbox can be checked at: a whole number of minutes, at least 1.
bool isWholeMinutes(double minutes);

}  // namespace MailboxRules
