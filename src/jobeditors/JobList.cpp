#include "JobList.h"

#include "IniStore.h"
#include "JobTypes.h"

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

QList<JobRow> scanJobs(const IniStore& ini) {
    static const QString kType = QStringLiteral("Type");
    static const QString kIdent = QStringLiteral("Identification");
    static const QString kName = QStringLiteral("Name");
    static const QString kActive = QStringLiteral("Active");

    QList<JobRow> rows;
    bool haveDefault = false;
    for (int t = 0; t < jobTypeCount; ++t) {
        const QString letter = jobTypeLetter(t);
        const QString typeName = jobTypeName(t);
        for (int n = 1; n <= maxJobsPerType; ++n) {
            const QString key = letter + QString::number(n);
            const QString section = jobSection(key);
            const QString type = ini.readINI(section, kType);
            if (type.isEmpty() || leadingNumber(type) != double(t)) {
                continue;
            }
            const QString ident = ini.readINI(section, kIdent);
            if (ident.isEmpty() && haveDefault) {
                continue;
            }
            JobRow row;
            row.typeIndex = t;
            row.key = key;
            row.typeName = typeName;
            row.ident = ident;
            row.name = ini.readINI(section, kName);
            row.active = ini.readINI(section, kActive) == u"1";
            row.isDefault = ident.isEmpty();
            haveDefault = haveDefault || row.isDefault;
            rows.append(row);
        }
    }
    return rows;
}
