#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The outgoing folder as a spool. Its messages are the regular "*.sms" files directly inside
// it (hidden files are not messages; links, FIFOs, devices and folders are left alone). Before
// a message goes to the phone it is claimed: renamed into the program's working folder inside
// it (".sending/<owner>", one per program folder), which the scan never takes and other
// programs do not write. It is sent from there and filed from
// there, so a file put into the outgoing folder under the same name meanwhile is a new
// message, and a second program cannot take the same file. A message that was sent but could
// not be filed stays in the working folder's "unfiled" folder and is never sent again.
//
// File names are bytes: a name that is not valid UTF-8 is claimed under its Windows-1252
// reading, and goes on from there like any other.
namespace Spool {

inline constexpr const char* kClaimFolder = ".sending";
inline constexpr const char* kUnfiledFolder = "unfiled";

struct Entry {
    QByteArray name;  // as the file system holds it
    QString path;     // for showing and listing (a name that is not UTF-8 reads lossily)
    qint64 size = 0;
    qint64 modifiedMs = 0;
    quint64 inode = 0;
};

struct Listing {
    QList<Entry> messages;
    // Names that look like messages but are no regular files, each with what it is.
    QList<std::pair<QByteArray, QString>> others;
};

// The folder's messages (unordered) and the odd entries named like messages.
Listing scan(const QString& folder);

// Sending order: oldest message first, the parts of a split message by their "-<k>" suffix
// compared as numbers.
void sortForSending(QList<Entry>& entries);

// The name of a program's working folder: the same for every run on one program folder, and
// another for another program folder (two programs may share an outgoing folder).
QString ownerId(const QString& programFolder);
QString claimFolder(const QString& folder, const QString& owner);
QString unfiledFolder(const QString& folder);
// The outgoing folder a claimed file was taken from.
QString folderOfClaim(const QString& claimed);

// A name as the program writes it: UTF-8 as it is, else read as Windows-1252.
QString decodedName(const QByteArray& name);

// Claims the message name of folder. Returns the claimed path; "" when it was not claimed,
// with gone set when the file is no longer there (another program took it) and error saying
// why otherwise.
QString claim(const QString& folder, const QString& owner, const QByteArray& name, QString* error,
              bool* gone = nullptr);

// Moves a file into folder under its own name or, when that is taken, "<name>_<m>.sms"; never
// replaces a file. Across file systems the copy is written and checked before the original
// goes. Returns the new path; "" with error when the file stays where it was.
QString moveInto(const QString& file, const QString& folder, QString* error);

// The messages the program that ended mid-send left claimed in its working folder go back
// into folder (keeping their time stamps, so their turn comes first). Returns the names.
QStringList recover(const QString& folder, const QString& owner, QStringList* errors);

}  // namespace Spool
