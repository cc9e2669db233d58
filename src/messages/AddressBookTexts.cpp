#include "AddressBookTexts.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
bool isPhone(const QString& memory) {
    return memory == QLatin1String("ME");
}
}  // namespace

namespace AddressBookTexts {

QString tooManyEntries(bool move, const QString& target, int selected, int room) {
    const QString where =
        isPhone(target) ? QStringLiteral(" phone's addressbook") : QStringLiteral(" addressbook on SIM card");
    return QStringLiteral("You have selected ") + QString::number(selected) +
           (move ? QStringLiteral(" entries to be moved to the ")
                 : QStringLiteral(" entries to be copied to the ")) +
           where + QStringLiteral(", ") + kCrLf +
           QStringLiteral("this would exeed the maximum entries to store.") + kCrLf + kCrLf +
           QStringLiteral("Please select max. ") + QString::number(room) +
           (move ? QStringLiteral(" entries or delete addresses ")
                 : QStringLiteral(" or delete addresses ")) +
           QStringLiteral("in target storage and try again.");
}

QString phoneEntryExists(const QString& target, const QString& name, const QString& number) {
    return QStringLiteral("An entry with name '%1'").arg(name) + kCrLf +
           QStringLiteral("and number '%1'").arg(number) + kCrLf + QStringLiteral("already exists in ") +
           (isPhone(target) ? QStringLiteral("phone") : QStringLiteral("SIM")) +
           QStringLiteral(" addressbook.") + kCrLf + kCrLf + QStringLiteral("Do you want to overwrite it?");
}

QString localNameExists(const QString& name) {
    return QStringLiteral("The name '%1'").arg(name) + kCrLf +
           QStringLiteral("already exists in Tellwick's addressbook.") + kCrLf + kCrLf +
           QStringLiteral("Do you want to overwrite it?");
}

QString saveBeforeClosing(const QString& memory) {
    const QString lost = kCrLf + QStringLiteral("If you exit now, all changes will be lost.") + kCrLf + kCrLf;
    return isPhone(memory) ? QStringLiteral("Your phone addressbook has been changed.") + lost +
                                 QStringLiteral("Do you want to save it to the phone now?")
                           : QStringLiteral("Your SIM addressbook has been changed.") + lost +
                                 QStringLiteral("Do you want to save it now?");
}

QString saveBeforeReading(const QString& memory) {
    return isPhone(memory)
               ? QStringLiteral(
                     "Your phone addressbook has been changed, do you want to save it to the phone, first?")
               : QStringLiteral(
                     "Your SIM addressbook has been changed, do you want to save it to the phone, first?");
}

QString readBeforeUpdate(const QString& memory) {
    const QString book =
        isPhone(memory) ? QStringLiteral("phone addressbook") : QStringLiteral("SIM addressbook");
    return QStringLiteral(
               "Your %1 has not been read from the phone yet, so Tellwick does not know what an "
               "update would erase there.")
               .arg(book) +
           QStringLiteral(
               "\r\n\r\nDo you want to read it now? The entries you added are kept and stored at "
               "free places; then the addressbook is saved to the phone.") +
           QStringLiteral("\r\n\r\nIf you choose no, nothing is written to the phone.");
}

QString typedEntriesMoved(const QString& memory, const QStringList& local, const QStringList& notStored) {
    const QString where = isPhone(memory) ? QStringLiteral("phone memory") : QStringLiteral("SIM card");
    QString text = QStringLiteral("The %1 has no free place for some of the entries you added.").arg(where);
    if (!local.isEmpty()) {
        text += QStringLiteral("\r\n\r\nThese were put into Tellwick's addressbook instead:\r\n") +
                local.join(QStringLiteral("\r\n"));
    }
    if (!notStored.isEmpty()) {
        text += QStringLiteral(
                    "\r\n\r\nThese were not stored (Tellwick's addressbook has another number "
                    "under the name):\r\n") +
                notStored.join(QStringLiteral("\r\n"));
    }
    return text;
}

QString tooLong(const QString& memory, const QStringList& cut, int nameLength, const QStringList& refused,
                int numberLength) {
    const QString where =
        isPhone(memory) ? QStringLiteral("the phone memory") : QStringLiteral("the SIM card");
    QString text;
    if (!cut.isEmpty()) {
        text = QStringLiteral("These names are longer than %1 stores (%2 characters) and were cut:")
                   .arg(where)
                   .arg(nameLength) +
               kCrLf + cut.join(kCrLf);
    }
    if (!refused.isEmpty()) {
        if (!text.isEmpty()) {
            text += kCrLf + kCrLf;
        }
        text += QStringLiteral(
                    "These entries were not stored, their numbers are longer than %1 stores (%2 digits):")
                    .arg(where)
                    .arg(numberLength) +
                kCrLf + refused.join(kCrLf);
    }
    return text;
}

}  // namespace AddressBookTexts
