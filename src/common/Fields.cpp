#include "Fields.h"

#include <QStringList>

QString getField(const QString& text, int index, const QString& separator) {
    if (separator.isEmpty() || !text.contains(separator)) {
        return text.trimmed();
    }
    if (index < 1) {
        return {};
    }
    qsizetype start = 0;
    for (int i = 1; i < index; ++i) {
        const qsizetype next = text.indexOf(separator, start);
        if (next < 0) {
            return {};
        }
        start = next + separator.size();
    }
    qsizetype end = text.indexOf(separator, start);
    if (end < 0) {
        end = text.size();
    }
    return text.mid(start, end - start).trimmed();
}

int countFields(const QString& text, const QString& separator) {
    if (text.isEmpty()) {
        return 0;
    }
    if (separator.isEmpty()) {
        return 1;
    }
    return int(text.count(separator)) + 1;
}

QString removeField(const QString& text, int index, const QString& separator) {
    if (separator.isEmpty() || index < 1) {
        return text;
    }
    QStringList parts = text.split(separator);
    if (index > parts.size()) {
        return text;
    }
    parts.removeAt(index - 1);
    return parts.join(separator);
}
