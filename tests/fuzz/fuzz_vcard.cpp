// The vCard reader: any bytes as a contacts file.
#include "Contacts.h"
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QStringList properties = {
        QStringLiteral("FullName"),           QStringLiteral("MobileTelephoneNumber"),
        QStringLiteral("HomeTelephoneNumber"), QStringLiteral("Home2TelephoneNumber"),
        QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("Business2TelephoneNumber")};
    const QList<Contact> contacts = VCard::parse(Fuzz::bytes(data, size));
    for (const Contact& c : contacts) {
        for (const QString& name : properties) {
            c.property(name);
        }
        FUZZ_CHECK(c.property(QStringLiteral("FullName")) == c.fullName, c.fullName);
    }
    return 0;
}
