#include "RecipientCompletion.h"

#include <QRegularExpression>
#include <algorithm>

#include "Fields.h"

namespace RecipientCompletion {

namespace {

const QString kSep = QStringLiteral(";");

// Where the last field begins (after the last ";").
qsizetype lastFieldStart(const QString& box) {
    return box.lastIndexOf(u';') + 1;
}

qsizetype leadingBlanks(const QString& text, qsizetype from) {
    qsizetype i = from;
    while (i < text.size() && text.at(i).isSpace()) {
        ++i;
    }
    return i - from;
}

}  // namespace

bool readsAsNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    return number.match(text).hasMatch();
}

QString fragment(const QString& box) {
    return getField(box, countFields(box, kSep), kSep);
}

int findName(const QStringList& names, const QString& fragment) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i).startsWith(fragment, Qt::CaseInsensitive)) {
            return int(i);
        }
    }
    return -1;
}

bool holdsOnlyNumbers(const QString& box) {
    // Field by field, so that a second number in international format ("+49..;+49..") counts
    // as a number too; empty fields are passed over, and a box without a number is none.
    bool any = false;
    for (const QString& field : box.split(u';')) {
        if (field.trimmed().isEmpty()) {
            continue;
        }
        if (!readsAsNumber(field)) {
            return false;
        }
        any = true;
    }
    return any;
}

Proposal complete(const QString& box, const QStringList& names) {
    Proposal p;
    p.text = box;
    if (holdsOnlyNumbers(box)) {
        return p;
    }
    p.ran = true;
    const QString frag = fragment(box);
    p.row = findName(names, frag);
    if (p.row < 0 || frag.isEmpty()) {
        return p;
    }
    const QString& name = names.at(p.row);
    const qsizetype start = lastFieldStart(box);
    const qsizetype nameStart = start + leadingBlanks(box, start);
    p.text = box.left(nameStart) + name;
    p.selectionStart = int(nameStart + frag.size());
    p.selectionLength = int(name.size() - frag.size());
    p.fieldStart = int(start);
    return p;
}

QString replaceLastField(const QString& box, const QString& number) {
    return replaceFieldFrom(box, lastFieldStart(box), number);
}

QString replaceFieldFrom(const QString& box, qsizetype from, const QString& number) {
    const qsizetype start = std::clamp<qsizetype>(from, 0, box.size());
    const qsizetype begin = start + leadingBlanks(box, start);
    qsizetype end = box.size();
    while (end > begin && box.at(end - 1).isSpace()) {
        --end;
    }
    return box.left(begin) + number + box.mid(end);
}

QString appendNumber(const QString& box, const QString& number) {
    if (!box.isEmpty() && !box.endsWith(u';')) {
        return box + u';' + number;
    }
    return box + number;
}

}  // namespace RecipientCompletion
