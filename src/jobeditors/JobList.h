#pragma once

#include <QList>
#include <QString>

#include "Fields.h"  // leadingNumber, isFlagSet

class IniStore;

// One row of the job list, as read from the job sections of the settings file.
struct JobRow {
    int typeIndex = 0;    // row of the job type table
    QString key;          // "e7"
    QString typeName;     // "exec"
    QString ident;        // Identification
    QString name;         // Name
    bool active = false;  // Active is set (isFlagSet)
    bool isDefault = false;
};

// The jobs to list, in scan order (types in table order, then numbers 1 to 500). A section is
// listed under the type of its letter only when its Type is not empty and its numeric value is
// that type's row. Only the first job with an empty identifier is listed (as the default job);
// later ones are left out. Reads the settings file only.
QList<JobRow> scanJobs(const IniStore& ini);
