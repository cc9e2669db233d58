#pragma once

#include <QString>

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

}  // namespace AddressBookTexts
