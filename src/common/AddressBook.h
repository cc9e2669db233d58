#pragma once

#include <QString>

class IniStore;

// Look-ups over the address-book sections of the settings file: [Addressbook] (local list,
// name = number), [Addressbook.ME] and [Addressbook.SM] (phone memories, index = "name|number").
// Store types: "SMS" for the local list, "ME" or "SM" for a phone memory.
namespace AddressBook {

QString sectionOf(const QString& type);

// The number of the first entry whose name (local list) or value (phone memory) contains
// text without regard to case; an entry whose number differs from a non-empty required is
// passed over. "" when nothing fits.
QString findAddress(const IniStore& ini, const QString& type, const QString& text, const QString& required = {});

// Replaces each number of a ","-separated list that an address book holds by its name.
QString numbersToNames(const IniStore& ini, const QString& type, const QString& list);

}  // namespace AddressBook
