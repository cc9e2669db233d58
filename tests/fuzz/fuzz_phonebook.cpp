// The phonebook replies: entries read from a memory and the size and field lengths of one.
#include "FuzzCommon.h"
#include "PhoneBook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply = Fuzz::text(Fuzz::bytes(data, size));
    for (const PhoneBook::ReadEntry& e : PhoneBook::parseEntries(reply)) {
        FUZZ_CHECK(e.index >= 0, reply);
        // What goes into a stored entry "<name>|<number>" and into a command.
        FUZZ_CHECK(!e.name.contains(u'|') && !e.name.contains(u'"'), e.name);
        FUZZ_CHECK(!e.number.contains(u'|') && !e.number.contains(u'"'), e.number);
    }
    const QStringList info = PhoneBook::parseMemoryInfo(reply).split(u',');
    FUZZ_CHECK(info.size() == 3, reply);
    for (const QString& field : info) {
        bool ok = false;
        FUZZ_CHECK(field.toInt(&ok) >= 0 && ok, field);
    }
    return 0;
}
