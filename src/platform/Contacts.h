#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// One contact of the contacts source, with the name and the five phone fields the program
// reads by their property names.
struct Contact {
    QString fullName;                  // FullName: FN, else built from N
    QString mobileTelephoneNumber;     // the first TEL of type CELL
    QString homeTelephoneNumber;       // the first TEL of type HOME
    QString home2TelephoneNumber;      // the second one
    QString businessTelephoneNumber;   // the first TEL of type WORK
    QString business2TelephoneNumber;  // the second one
    QString file;                      // the file it was read from

    // The properties by name: "FullName", "MobileTelephoneNumber", "HomeTelephoneNumber",
    // "Home2TelephoneNumber", "BusinessTelephoneNumber", "Business2TelephoneNumber".
    // "" when unset; false from hasProperty for any other name.
    QString property(const QString& name) const;
    static bool hasProperty(const QString& name);
};

// The vCard reader (versions 2.1, 3.0 and 4.0): folded lines, quoted-printable and base64
// values with their CHARSET, backslash escapes, property groups ("item1.TEL"), TYPE
// parameters in every spelling ("TEL;CELL", "TYPE=cell,voice", "TYPE=cell;TYPE=voice",
// "TYPE=\"cell,voice\"") and tel: URIs. Cards nested in a card and group cards
// (KIND:group) give no contact.
//
// Phone fields: a number of type CELL fills the mobile field while it is empty; other
// numbers of type HOME fill the two home fields and of type WORK the two business fields,
// in card order. Fax, pager and modem numbers fill none of them.
namespace VCard {

QList<Contact> parse(const QByteArray& data);

}  // namespace VCard

// The contacts of a folder of vCard files (".vcf" or ".vcard", in subfolders too), in a
// stable order: files by their path below the folder, then the cards of a file in file
// order. A folder that does not exist means the source is not available.
class ContactsSource {
public:
    explicit ContactsSource(QString folder) : m_folder(std::move(folder)) {}

    // The folder a ContactsFolder setting names: "" means the default folder; a relative
    // path is taken from the program folder; "\" counts as "/".
    static QString folderFor(const QString& setting, const QString& programFolder);
    // The user's contacts folder: $XDG_DATA_HOME/contacts (~/.local/share/contacts).
    static QString defaultFolder();

    QString folder() const { return m_folder; }

    // True when the folder exists; otherwise why not in error.
    bool isAvailable(QString* error = nullptr) const;

    struct Result {
        bool available = false;  // false: the folder is missing; nothing was read
        QList<Contact> contacts;
        QStringList errors;  // files that could not be read ("<path>: <reason>")
    };
    Result read() const;

private:
    QString m_folder;
};
