#include "Fields.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

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

double leadingNumber(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') {
            s.append(c);
        }
    }
    int i = 0;
    const int n = int(s.size());
    auto digitsFrom = [&](int at) {
        int j = at;
        while (j < n && s.at(j).isDigit() && s.at(j).unicode() < 128) {
            ++j;
        }
        return j;
    };
    if (i < n && (s.at(i) == u'+' || s.at(i) == u'-')) {
        ++i;
    }
    const int intEnd = digitsFrom(i);
    int end = intEnd;
    if (end < n && s.at(end) == u'.') {
        end = digitsFrom(end + 1);
    }
    if (end == i || (end == i + 1 && s.at(i) == u'.')) {
        return 0;  // no digits
    }
    if (end < n && (s.at(end) == u'e' || s.at(end) == u'E')) {
        int e = end + 1;
        if (e < n && (s.at(e) == u'+' || s.at(e) == u'-')) {
            ++e;
        }
        const int expEnd = digitsFrom(e);
        if (expEnd > e) {
            end = expEnd;
        }
    }
    bool ok = false;
    const double value = s.left(end).toDouble(&ok);
    return ok ? value : 0;
}

int leadingInt(const QString& text, bool* present) {
    if (present) {
        *present = !text.trimmed().isEmpty();
    }
    const double value = std::clamp(leadingNumber(text), double(std::numeric_limits<int>::min()),
                                    double(std::numeric_limits<int>::max()));
    return int(std::lround(value));
}

bool isFlagSet(const QString& text, bool whenBlank) {
    bool present = false;
    const int value = leadingInt(text, &present);
    return present ? value != 0 : whenBlank;
}
