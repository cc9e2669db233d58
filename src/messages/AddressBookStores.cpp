#include "AddressBookStores.h"

#include <algorithm>

#include "AddressBookTexts.h"
#include "AppContext.h"
#include "Fields.h"

namespace {

const QString kLocal = QStringLiteral("SMS");
const QString kSection = QStringLiteral("Addressbook");

}  // namespace

AddressBookStores::AddressBookStores(AppContext& ctx, QWidget* window)
    : m_ctx(ctx), m_window(window), m_book(ctx) {}

bool AddressBookStores::isPhoneStore(const QString& store) {
    return store == QLatin1String("ME") || store == QLatin1String("SM");
}

FittedEntry AddressBookStores::fit(const QString& memory, const QString& name, const QString& number) {
    const FittedEntry e = m_book.copies().fit(memory, name, number);
    if (e.numberTooLong) {
        m_refused.append(QStringLiteral("'%1' (%2)").arg(name, number));
    } else if (e.nameCut) {
        m_cut.append(QStringLiteral("'%1' to '%2'").arg(name, e.name));
    }
    return e;
}

void AddressBookStores::reportTooLong(const QString& mem) {
    const MemoryState& st = memory(mem);
    const QString text = AddressBookTexts::tooLong(mem, m_cut, st.nameLength, m_refused, st.numberLength);
    m_cut.clear();
    m_refused.clear();
    if (!text.isEmpty()) {
        m_ctx.msgBox().show(text, MsgBox::OKOnly, MsgBox::Exclamation, QStringLiteral("Entry too long"),
                            m_window);
    }
}

bool AddressBookStores::add(const QString& store, const QString& name, const QString& number) {
    if (isPhoneStore(store)) {
        const FittedEntry e = fit(store, name, number);
        reportTooLong(store);
        return !e.numberTooLong && m_book.savePhoneEntry(store, e.name, e.number, {});
    }
    IniStore& ini = m_ctx.ini();
    if (localHas(name) &&
        m_ctx.msgBox().show(
            QStringLiteral("The name '%1' already exists, do you want to overwrite it?").arg(name),
            MsgBox::YesNo, MsgBox::Question, QStringLiteral("Overwrite existing entry"),
            m_window) != MsgBox::Yes) {
        return false;
    }
    return ini.writeINI(kSection, name, number);
}

bool AddressBookStores::replace(const QString& store, const BookRow& row, const QString& name,
                                const QString& number) {
    if (isPhoneStore(store)) {
        const FittedEntry e = fit(store, name, number);
        reportTooLong(store);
        return !e.numberTooLong && m_book.savePhoneEntry(store, e.name, e.number, row.tag);
    }
    IniStore& ini = m_ctx.ini();
    const QString& old = row.name;
    if (old.trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0) {
        ini.deleteINIKey(kSection, old);  // so the key takes the new spelling
        return ini.writeINI(kSection, name, number);
    }
    if (ini.writeINI(kSection, name, number)) {
        return ini.deleteINIKey(kSection, old);  // only once the new entry is safe
    }
    return false;
}

void AddressBookStores::remove(const QString& store, const QList<BookRow>& rows) {
    for (const BookRow& row : rows) {
        if (store == kLocal) {
            m_ctx.ini().deleteINIKey(kSection, row.name);
        } else {
            m_book.copies().deleteEntry(store, row.tag);
        }
    }
}

bool AddressBookStores::roomFor(const QString& target, int selected, bool move) {
    if (!isPhoneStore(target)) {
        return true;
    }
    // Indexes the copy has not read count as used: what the phone holds there is unknown.
    const int room = m_book.copies().freeIndexes(target);
    if (selected <= room) {
        return true;
    }
    m_ctx.msgBox().show(AddressBookTexts::tooManyEntries(move, target, selected, room), MsgBox::OKOnly,
                        MsgBox::Critical, QStringLiteral("Too many entries selected"), m_window);
    return false;
}

void AddressBookStores::transfer(const QString& source, const QString& target, const QList<BookRow>& rows,
                                 bool move) {
    IniStore& ini = m_ctx.ini();
    QList<BookRow> stored;
    for (const BookRow& row : rows) {
        QString name = row.name;
        while (name.startsWith(u' ')) {
            name.remove(0, 1);
        }
        const QString& number = row.number;
        bool kept = true;
        if (isPhoneStore(target)) {
            // Asked about the entry as the memory will hold it.
            const FittedEntry e = fit(target, PhoneBook::storableName(QString(name).remove(u',')), number);
            if (e.numberTooLong) {
                continue;
            }
            name = e.name;
            const QString index = phoneIndexOf(target, name, number);
            if (!index.isEmpty()) {
                const QString text = AddressBookTexts::phoneEntryExists(target, name, number);
                kept = m_ctx.msgBox().show(text, MsgBox::YesNo, MsgBox::Question,
                                           QStringLiteral("Overwrite address"), m_window) == MsgBox::Yes &&
                       m_book.savePhoneEntry(target, name, number, index);
            } else {
                kept = m_book.savePhoneEntry(target, name, number, {});
            }
        } else {
            // Asked about the key the entry is stored under (";Boss" is stored as "Boss").
            const QString key = PhoneBook::localKey(name);
            if (localHas(key)) {
                const QString text = AddressBookTexts::localNameExists(key);
                kept = m_ctx.msgBox().show(text, MsgBox::YesNo, MsgBox::Question,
                                           QStringLiteral("Overwrite address"), m_window) == MsgBox::Yes;
            }
            if (kept) {
                kept = !key.isEmpty() && ini.writeINI(kSection, key, number);
            }
        }
        if (kept) {
            stored.append(row);  // a move leaves what was not stored where it was
        }
    }
    if (isPhoneStore(target)) {
        reportTooLong(target);
    }
    if (move) {
        remove(source, stored);
    }
}

bool AddressBookStores::localHas(const QString& key) const {
    const QStringList keys = m_ctx.ini().keys(kSection);
    return std::any_of(keys.cbegin(), keys.cend(), [&](const QString& k) {
        return k.trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0;
    });
}

QString AddressBookStores::phoneIndexOf(const QString& memory, const QString& name,
                                        const QString& number) const {
    const IniStore& ini = m_ctx.ini();
    const QString section = PhoneBook::section(memory);
    for (const QString& key : ini.keys(section)) {
        const QString value = ini.readINI(section, key);
        if (getField(value, 1, QStringLiteral("|")).compare(name, Qt::CaseInsensitive) == 0 &&
            getField(value, 2, QStringLiteral("|")) == number) {
            return key;
        }
    }
    return {};
}

void AddressBookStores::keepTyped(const QString& memory, const QList<StoredEntry>& typed) {
    PhoneCopies& copies = m_book.copies();
    IniStore& ini = m_ctx.ini();
    QStringList local, notStored;
    for (const StoredEntry& e : typed) {
        const QList<StoredEntry> now = copies.entries(memory);
        if (std::any_of(now.cbegin(), now.cend(),
                        [&](const StoredEntry& o) { return o.name == e.name && o.number == e.number; })) {
            continue;
        }
        if (copies.freeIndexes(memory) > 0) {
            copies.savePhoneEntry(memory, e.name, e.number, {});
            continue;
        }
        const QString key = PhoneBook::localKey(e.name);
        const QString there = ini.readINI(kSection, key);
        const QString shown = QStringLiteral("'%1' (%2)").arg(e.name, e.number);
        if (there == e.number || (there.isEmpty() && ini.writeINI(kSection, key, e.number))) {
            local.append(shown);
        } else {
            notStored.append(shown);
        }
    }
    if (!local.isEmpty() || !notStored.isEmpty()) {
        m_ctx.msgBox().show(AddressBookTexts::typedEntriesMoved(memory, local, notStored), MsgBox::OKOnly,
                            MsgBox::Exclamation, QStringLiteral("No free place in the phonebook"), m_window);
    }
}

PhoneBook::WriteResult AddressBookStores::writeBack(const QString& memory, const QList<BookRow>& rows) {
    QList<PhoneEntry> entries;
    entries.reserve(rows.size());
    for (const BookRow& row : rows) {
        entries.append({row.tag, row.name, row.number});
    }
    const PhoneBook::WriteResult result = m_book.writeBack(memory, entries);
    if (result == PhoneBook::WriteResult::Written) {
        // Only a copy that reached the phone whole counts as saved.
        m_book.copies().setChanged(memory, false);
    }
    return result;
}
