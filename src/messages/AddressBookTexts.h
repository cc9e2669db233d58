#pragma once

#include <QString>
#include <QStringList>

// The longer questions and refusals of the address book window, word for word.
namespace AddressBookTexts {

// A copy or move to a phone memory that would hold more than max entries.
QString tooManyEntries(bool move, const QString& target, int selected, int room);
// The entry is in the phone memory target already.
QString phoneEntryExists(const QString& target, const QString& name, const QString& number);
// The name is in the local address book already.
QString localNameExists(const QString& name);
// Closing with a changed phone memory.
QString saveBeforeClosing(const QString& memory);
// Reading a phone memory whose copy was changed.
QString saveBeforeReading(const QString& memory);
// An update of a phone memory that was never read from the phone.
QString readBeforeUpdate(const QString& memory);
// Entries typed into a copy that was not read, for which the read memory had no free index.
QString typedEntriesMoved(const QString& memory, const QStringList& local, const QStringList& notStored);
// Entries that a phone memory could not take as they were: names cut to nameLength
// ("'<name>' to '<cut name>'") and entries refused for a number over numberLength
// ("'<name>' (<number>)"). "" when both lists are empty.
QString tooLong(const QString& memory, const QStringList& cut, int nameLength, const QStringList& refused,
                int numberLength);

}  // namespace AddressBookTexts
