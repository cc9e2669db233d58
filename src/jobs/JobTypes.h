#pragma once

#include <QString>
#include <QStringList>

class IniStore;

// The job type table: rows 0-4, each "<letter>,<name>,<description>"; a job's Type is its row.
const QStringList& jobTypes();
constexpr int jobTypeCount = 5;
constexpr int maxJobsPerType = 500;

// Fields of a row (getField with ","): 1 letter, 2 name, 3 description.
QString jobTypeLetter(int typeIndex);
QString jobTypeName(int typeIndex);
QString jobTypeDescription(int typeIndex);
// The row of a type letter (exact, lower case); -1 for any other text.
int jobTypeIndex(const QString& typeLetter);

// "Job <letter><n>", the settings section of a job.
QString jobSection(const QString& jobKey);
QString jobKey(int typeIndex, int number);

// Jobs of one type: numbers 1 to 500 whose section has a non-empty Type.
int countJobs(const IniStore& ini, int typeIndex);
// The first number from 1 to 500 whose section has no Type; 0 when all are taken.
int firstFreeJobNo(const IniStore& ini, int typeIndex);
// "<Name>,<job key>" of the first job whose Identification equals identification exactly
// (types in table order, then numbers 1 to 500, only sections with a Type); "" when none.
QString findJobByIdent(const IniStore& ini, const QString& identification);
