#include "PhoneCopies.h"

#include <QList>
#include <algorithm>

#include "AppContext.h"
#include "Fields.h"
#include "PhoneBook.h"

namespace {

const QString kChanged = QStringLiteral("Changed");
const QString kUnread = QStringLiteral("Unread");
const QString kRead = QStringLiteral("Read");
// No phone numbers its phonebook higher; a hand-edited range cannot make the set huge.
constexpr int kHighestIndex = 65535;

}  // namespace

PhoneCopies::PhoneCopies(AppContext& ctx) : m_ctx(ctx) {}

MemoryState& PhoneCopies::state(const QString& memory) {
    return memory == QLatin1String("ME") ? m_me : m_sm;
}

const MemoryState& PhoneCopies::state(const QString& memory) const {
    return memory == QLatin1String("ME") ? m_me : m_sm;
}

QString PhoneCopies::section(const QString& memory) {
    return QStringLiteral("Addressbook.") + memory;
}

QString PhoneCopies::stateSection(const QString& memory) {
    return section(memory) + QStringLiteral(".State");
}

void PhoneCopies::loadState() {
    for (const QString& mem : {QStringLiteral("ME"), QStringLiteral("SM")}) {
        MemoryState& st = state(mem);
        st.read = isFlagSet(m_ctx.ini().readINI(stateSection(mem), kRead));
        st.changed = isFlagSet(m_ctx.ini().readINI(stateSection(mem), kChanged));
        st.unread = rangesOf(m_ctx.ini().readINI(stateSection(mem), kUnread), kHighestIndex);
    }
}

bool PhoneCopies::saveState(const QString& memory) {
    const MemoryState& st = state(memory);
    QList<std::pair<QString, QString>> keys;
    if (st.read) {
        keys.append({kRead, QStringLiteral("1")});
    }
    if (st.changed) {
        keys.append({kChanged, QStringLiteral("1")});
    }
    if (st.incomplete()) {
        keys.append({kUnread, rangesText(st.unread)});
    }
    return m_ctx.ini().replaceINISections({{stateSection(memory), keys}});
}

bool PhoneCopies::setChanged(const QString& memory, bool changed) {
    MemoryState& st = state(memory);
    if (st.changed == changed &&
        m_ctx.ini().hasSection(stateSection(memory)) == (changed || st.incomplete() || st.read)) {
        return true;
    }
    st.changed = changed;
    return saveState(memory);
}

bool PhoneCopies::savePhoneEntry(const QString& memory, const QString& name, const QString& number,
                                 const QString& index) {
    IniStore& ini = m_ctx.ini();
    const QString mem = memory == QLatin1String("ME") ? QStringLiteral("ME") : QStringLiteral("SM");
    const MemoryState& st = state(mem);
    QString key = index;
    if (key.isEmpty()) {
        for (int i = 1; i <= st.max; ++i) {
            if (!st.unread.contains(i) && ini.readINI(section(mem), QString::number(i)).isEmpty()) {
                key = QString::number(i);
                break;
            }
        }
    }
    if (key.isEmpty()) {
        m_ctx.msgBox().show(QStringLiteral("This memory is already full, you can't save any more entries."),
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Can't save entry"));
        return false;
    }
    // The mark first: should the entry's write fail, a copy marked changed costs nothing.
    setChanged(mem, true);
    return ini.writeINI(section(mem), key,
                        PhoneBook::storableName(name) + u'|' + PhoneBook::storableNumber(number));
}

bool PhoneCopies::deleteEntry(const QString& memory, const QString& index) {
    setChanged(memory, true);
    return m_ctx.ini().deleteINIKey(section(memory), index);
}

int PhoneCopies::getNumEntries(const QString& memory) const {
    return int(m_ctx.ini().keys(section(memory)).size());
}

int PhoneCopies::freeIndexes(const QString& memory) const {
    const MemoryState& st = state(memory);
    QSet<int> used = st.unread;
    for (const QString& key : m_ctx.ini().keys(section(memory))) {
        used.insert(key.toInt());
    }
    int free = 0;
    for (int i = 1; i <= st.max; ++i) {
        free += used.contains(i) ? 0 : 1;
    }
    return free;
}

bool PhoneCopies::replaceCopy(const QString& memory, const QMap<int, StoredEntry>& entries,
                              const QSet<int>& unread) {
    QList<std::pair<QString, QString>> copy;
    copy.reserve(entries.size());
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        copy.append({QString::number(it.key()), it->name + u'|' + it->number});
    }
    QList<std::pair<QString, QString>> keys{{kRead, QStringLiteral("1")}};
    if (!unread.isEmpty()) {
        keys.append({kUnread, rangesText(unread)});
    }
    if (!m_ctx.ini().replaceINISections({{section(memory), copy}, {stateSection(memory), keys}})) {
        return false;
    }
    MemoryState& st = state(memory);
    st.unread = unread;
    st.changed = false;
    st.read = true;
    return true;
}

QList<StoredEntry> PhoneCopies::entries(const QString& memory) const {
    const IniStore& ini = m_ctx.ini();
    QList<StoredEntry> out;
    for (const QString& key : ini.keys(section(memory))) {
        const QString value = ini.readINI(section(memory), key);
        out.append({getField(value, 1, QStringLiteral("|")), getField(value, 2, QStringLiteral("|"))});
    }
    return out;
}

void PhoneCopies::markRead(const QString& memory, const QSet<int>& indexes) {
    MemoryState& st = state(memory);
    if (st.unread.intersects(indexes)) {
        st.unread.subtract(indexes);
        saveState(memory);
    }
}

QString PhoneCopies::cutText(const QString& text, int length) {
    if (length < 0 || text.size() <= length) {
        return text;
    }
    qsizetype n = length;
    if (n > 0 && text.at(n - 1).isHighSurrogate()) {
        --n;
    }
    return text.left(n);
}

FittedEntry PhoneCopies::fit(const QString& memory, const QString& name, const QString& number) const {
    const MemoryState& st = state(memory);
    FittedEntry out{name, number};
    if (st.nameLength > 0 && name.size() > st.nameLength) {
        out.name = cutText(name, st.nameLength);
        out.nameCut = true;
    }
    out.numberTooLong = st.numberLength > 0 && number.size() > st.numberLength;
    return out;
}

QString PhoneCopies::rangesText(const QSet<int>& indexes) {
    QList<int> sorted(indexes.cbegin(), indexes.cend());
    std::sort(sorted.begin(), sorted.end());
    QStringList parts;
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype j = i;
        while (j + 1 < sorted.size() && sorted.at(j + 1) == sorted.at(j) + 1) {
            ++j;
        }
        parts.append(j == i ? QString::number(sorted.at(i))
                            : QString::number(sorted.at(i)) + u'-' + QString::number(sorted.at(j)));
        i = j + 1;
    }
    return parts.join(u',');
}

QSet<int> PhoneCopies::rangesOf(const QString& text, int limit) {
    QSet<int> out;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString from = part.section(u'-', 0, 0).trimmed();
        const QString to = part.contains(u'-') ? part.section(u'-', 1, 1).trimmed() : from;
        bool ok1 = false, ok2 = false;
        const int a = from.toInt(&ok1);
        const int b = std::min(to.toInt(&ok2), limit);
        for (int i = std::max(a, 1); ok1 && ok2 && i <= b; ++i) {
            out.insert(i);
        }
    }
    return out;
}
