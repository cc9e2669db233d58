#include "JobTypes.h"

#include "Fields.h"
#include "IniStore.h"

const QStringList& jobTypes() {
    static const QStringList rows = {
        QStringLiteral("f,forward,Forwards incoming messages by SMS or E-Mail"),
        QStringLiteral("e,exec,Executes programs/batch jobs/scripts"),
        QStringLiteral("q,query,Queries/manipulates databases"),
        QStringLiteral("s,sendmail,Sends text messages/binary files by E-Mail"),
        QStringLiteral("m,mailbox,Checks mailboxes and sends E-Mail notifications by SMS or E-Mail"),
    };
    return rows;
}

namespace {
QString typeField(int typeIndex, int field) {
    if (typeIndex < 0 || typeIndex >= jobTypeCount) {
        return {};
    }
    return getField(jobTypes().at(typeIndex), field, QStringLiteral(","));
}
}  // namespace

QString jobTypeLetter(int typeIndex) {
    return typeField(typeIndex, 1);
}
QString jobTypeName(int typeIndex) {
    return typeField(typeIndex, 2);
}
QString jobTypeDescription(int typeIndex) {
    return typeField(typeIndex, 3);
}

int jobTypeIndex(const QString& typeLetter) {
    for (int t = 0; t < jobTypeCount; ++t) {
        if (jobTypeLetter(t) == typeLetter) {
            return t;
        }
    }
    return -1;
}

QString jobSection(const QString& jobKey) {
    return QStringLiteral("Job ") + jobKey;
}
QString jobKey(int typeIndex, int number) {
    return jobTypeLetter(typeIndex) + QString::number(number);
}

namespace {
bool validType(int typeIndex) {
    return typeIndex >= 0 && typeIndex < jobTypeCount;
}
}  // namespace

int countJobs(const IniStore& ini, int typeIndex) {
    if (!validType(typeIndex)) {
        return 0;  // no letter: "Job <n>" sections are no jobs
    }
    int count = 0;
    for (int n = 1; n <= maxJobsPerType; ++n) {
        if (!ini.readINI(jobSection(jobKey(typeIndex, n)), QStringLiteral("Type")).isEmpty()) {
            ++count;
        }
    }
    return count;
}

int firstFreeJobNo(const IniStore& ini, int typeIndex) {
    if (!validType(typeIndex)) {
        return 0;
    }
    for (int n = 1; n <= maxJobsPerType; ++n) {
        if (ini.readINI(jobSection(jobKey(typeIndex, n)), QStringLiteral("Type")).isEmpty()) {
            return n;
        }
    }
    return 0;
}

QString findJobByIdent(const IniStore& ini, const QString& identification) {
    for (int t = 0; t < jobTypeCount; ++t) {
        for (int n = 1; n <= maxJobsPerType; ++n) {
            const QString key = jobKey(t, n);
            const QString section = jobSection(key);
            if (ini.readINI(section, QStringLiteral("Type")).isEmpty()) {
                continue;
            }
            if (ini.readINI(section, QStringLiteral("Identification")) == identification) {
                return ini.readINI(section, QStringLiteral("Name")) + u',' + key;
            }
        }
    }
    return {};
}
