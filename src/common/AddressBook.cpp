#include "AddressBook.h"

#include <QStringList>

#include "Fields.h"
#include "IniStore.h"

namespace AddressBook {

namespace {
bool isLocal(const QString& type) { return type.compare(QLatin1String("SMS"), Qt::CaseInsensitive) == 0; }
}  // namespace

QString sectionOf(const QString& type) {
    return isLocal(type) ? QStringLiteral("Addressbook") : QStringLiteral("Addressbook.") + type.toUpper();
}

QString findAddress(const IniStore& ini, const QString& type, const QString& text, const QString& required) {
    const QString section = sectionOf(type);
    const bool local = isLocal(type);
    for (const QString& key : ini.keys(section)) {
        const QString value = ini.readINI(section, key);
        const QString haystack = local ? key : value;
        if (!haystack.contains(text, Qt::CaseInsensitive)) {
            continue;
        }
        const QString number = local ? value : getField(value, 2, QStringLiteral("|"));
        if (!required.isEmpty() && number != required) {
            continue;
        }
        return number;
    }
    return {};
}

QString numbersToNames(const IniStore& ini, const QString& type, const QString& list) {
    if (list.isEmpty()) {
        return {};
    }
    const QString section = sectionOf(type);
    const bool local = isLocal(type);
    const QStringList keys = ini.keys(section);
    QStringList out;
    for (const QString& raw : list.split(u',')) {
        const QString number = raw.trimmed();
        QString name = raw;
        for (const QString& key : keys) {
            const QString value = ini.readINI(section, key);
            if (local ? value == number : getField(value, 2, QStringLiteral("|")) == number) {
                name = local ? key : getField(value, 1, QStringLiteral("|"));
                break;
            }
        }
        out.append(name);
    }
    return out.join(u',');
}

}  // namespace AddressBook
