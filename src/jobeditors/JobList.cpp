#include "JobList.h"

#include "IniStore.h"
#include "JobTypes.h"

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
            row.active = isFlagSet(ini.readINI(section, kActive));
            row.isDefault = ident.isEmpty();
            haveDefault = haveDefault || row.isDefault;
            rows.append(row);
        }
    }
    return rows;
}
