#pragma once

#include <QString>
#include <QStringList>

// The rules of the recipient box: recipients separated by ";", name completion from the
// local address book, and the edits that put a number into the box.
namespace RecipientCompletion {

// Digits with an optional leading sign, blanks around them allowed. "" is not a number.
bool readsAsNumber(const QString& text);

// True when every non-empty ";"-field of the box reads as a number and at least one does:
// such a box is never completed.
bool holdsOnlyNumbers(const QString& box);

// The last ";"-field of the box, trimmed: the fragment that completion works on.
QString fragment(const QString& box);

// The first of names (in the order given) that begins with fragment, compared without regard
// to case; -1 when none does. An empty fragment finds the first name.
int findName(const QStringList& names, const QString& fragment);

struct Proposal {
    bool ran = false;         // completion applied at all (on, and the box is not a number)
    int row = -1;             // the name found, -1 when none (every row deselected)
    QString text;             // the box's new text
    int selectionStart = -1;  // the proposed rest of the name; -1 leaves the caret alone
    int selectionLength = 0;
    int fieldStart = -1;  // where the completed field begins (the name may hold ";" itself)
};

// Completion of the box's text against names in list order. When a name fits a non-empty
// fragment, the fragment is replaced by the full name (with the case as stored) and the part
// not typed is the selection.
Proposal complete(const QString& box, const QStringList& names);

// The box with its last field (without the blanks around it) replaced by number.
QString replaceLastField(const QString& box, const QString& number);

// The box with the field that begins at from (all the rest, without its blanks around it)
// replaced by number.
QString replaceFieldFrom(const QString& box, qsizetype from, const QString& number);

// The box with number appended, a ";" first when the box is not empty and does not end in one.
QString appendNumber(const QString& box, const QString& number);

}  // namespace RecipientCompletion
