#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

// Where the program keeps tellwick.ini, its logs and the default message folders:
// --home DIR, else $TELLWICK_HOME, else $XDG_DATA_HOME/tellwick (~/.local/share/tellwick).
namespace ProgramFolder {

// The folder chosen from the command line and the environment (not created).
QString locate(const QStringList& arguments);

// Creates the folder when missing (each folder it makes readable by its owner only: the
// messages, the address book and the mail password are nobody else's); false when it cannot
// be created.
bool ensure(const QString& folder);

// "" when the file is private to its owner (or missing), else a line saying that other users
// of the machine can read it.
QString sharedFileWarning(const QString& file);

// The settings file of a program folder: tellwick.ini there, unless its [Settings] INI
// names another file (a relative name is taken from the program folder).
QString settingsFile(const QString& folder);

// Joins a folder and a name with "/" (a name that is already absolute stays as it is).
QString join(const QString& folder, const QString& name);

}  // namespace ProgramFolder

// One program per program folder: a lock file in it, held while the program runs. A lock left
// by a program that is gone is taken over.
class ProgramLock {
public:
    static constexpr const char* kFileName = "tellwick.lock";

    explicit ProgramLock(const QString& folder);
    // False when another running program holds the folder (holder() then says which).
    bool tryLock();
    // "process <pid> on <host>" of the program holding the lock, "" when unknown.
    QString holder() const;
    // Why tryLock failed other than a holder ("" when it did not).
    QString error() const { return m_error; }

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_error;
};
