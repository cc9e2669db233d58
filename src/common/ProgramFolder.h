#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps tellwick.ini, its logs and the default message folders:
// --home DIR, else $TELLWICK_HOME, else $XDG_DATA_HOME/tellwick (~/.local/share/tellwick).
namespace ProgramFolder {

// The folder chosen from the command line and the environment (not created).
QString locate(const QStringList& arguments);

// Creates the folder when missing; false when it cannot be created.
bool ensure(const QString& folder);

// The settings file of a program folder: tellwick.ini there, unless its [Settings] INI
// names another file (a relative name is taken from the program folder).
QString settingsFile(const QString& folder);

// Joins a folder and a name with "/" (a name that is already absolute stays as it is).
QString join(const QString& folder, const QString& name);

}  // namespace ProgramFolder
