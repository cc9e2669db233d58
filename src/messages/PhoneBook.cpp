#include "PhoneBook.h"

#include <QScopeGuard>
#include <QSet>
#include <QTimer>

#include "AppContext.h"
#include "Fields.h"
#include "ListView.h"
#include "frmMain.h"

namespace {

// How often a query is sent again while the phone answers only a late "OK".
constexpr int kMaxRepeats = 5;
const QString kNotSupported = QStringLiteral("0,0,0");

// Characters below the blank would end or garble a command line or a settings value.
QString withoutControls(QString text) {
    text.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    return text;
}

// A text split at sep outside double quotes (a name may hold commas and even "|").
QStringList splitOutsideQuotes(const QString& text, QChar sep) {
    QStringList out;
    QString cur;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
            cur.append(c);
        } else if (c == sep && !quoted) {
            out.append(cur);
            cur.clear();
        } else {
            cur.append(c);
        }
    }
    out.append(cur);
    return out;
}

bool isCount(const QString& text, int* value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok && v >= 0) {
        *value = v;
        return true;
    }
    return false;
}

}  // namespace

PhoneBook::PhoneBook(AppContext& ctx) : m_ctx(ctx) {}

MemoryState& PhoneBook::state(const QString& memory) {
    return memory == QLatin1String("ME") ? m_me : m_sm;
}

QString PhoneBook::section(const QString& memory) {
    return QStringLiteral("Addressbook.") + memory;
}

QString PhoneBook::storableNumber(const QString& number) {
    return withoutControls(number).remove(u'"').remove(u'|');
}

QString PhoneBook::storableName(const QString& name) {
    return withoutControls(name).remove(u'"').replace(u'|', u' ');
}

QString PhoneBook::cleanNumber(const QString& number) {
    QString out = storableNumber(number);
    out.removeIf([](QChar c) { return c == u' ' || c == u'-' || c == u'/' || c == u'\\' || c == u','; });
    return out;
}

QString PhoneBook::cleanName(const QString& name) {
    return storableName(name).replace(u',', u' ');
}

QString PhoneBook::localKey(const QString& name) {
    QString out = storableName(name).replace(u'=', u' ');
    while (!out.isEmpty() && (out.front() == u'[' || out.front() == u';' || out.front() == u' ')) {
        out.remove(0, 1);
    }
    return out;
}

QList<PhoneBook::ReadEntry> PhoneBook::parseEntries(const QString& reply) {
    QList<ReadEntry> out;
    for (const QString& line : splitOutsideQuotes(reply, u'|')) {
        if (!line.startsWith(QLatin1String("+CPBR:"))) {
            continue;
        }
        const QStringList fields = splitOutsideQuotes(line.mid(6), u',');
        ReadEntry e;
        bool ok = false;
        e.index = fields.value(0).trimmed().toInt(&ok);
        if (!ok || e.index < 0) {
            e.index = 0;
        }
        e.number = storableNumber(fields.value(1)).trimmed();
        e.name = storableName(fields.value(3)).trimmed();
        out.append(e);
    }
    return out;
}

QString PhoneBook::send(const QString& command, bool keepOK) {
    return m_ctx.phone().sendCommand(command, 0, keepOK);
}

// A late final answer of the previous command comes back alone as "OK": ask again.
QString PhoneBook::sendRepeated(const QString& command) {
    QString reply = send(command, true);
    for (int n = 0; n < kMaxRepeats && reply == QLatin1String("OK"); ++n) {
        reply = send(command, true);
    }
    return reply;
}

void PhoneBook::setStatus(const QString& text) {
    m_status = text;
    if (onStatus) {
        onStatus(text);
    }
}

void PhoneBook::report(const QString& text, const QString& title) {
    if (m_ctx.state().debugMode) {
        m_ctx.msgBox().show(text, MsgBox::OKOnly, MsgBox::Critical, title);
    } else {
        m_ctx.log().writeLog(text);
    }
}

QString PhoneBook::getMemoryInfo(const QString& memory) {
    const QString mem = memory.isEmpty() ? QStringLiteral("SM") : memory;
    const bool debug = m_ctx.state().debugMode;
    Hourglass hourglass;
    PhoneLink& phone = m_ctx.phone();

    phone.pingDevice();
    const QString select = QStringLiteral("AT+CPBS=\"%1\"").arg(mem);
    QString reply = send(select, true);
    if (debug) {
        m_ctx.log().writeLog(QStringLiteral("(1) checking addressbook: AT+CPBS=") + mem, true);
        m_ctx.log().writeLog(QStringLiteral("(2) result: ") + reply, true);
    }

    phone.pingDevice();
    reply = sendRepeated(QStringLiteral("AT+CPBS?"));
    if (reply == QLatin1String("OK") || !reply.chopped(qMin<qsizetype>(4, reply.size())).contains(mem)) {
        return kNotSupported;
    }

    phone.pingDevice();
    if (debug) {
        m_ctx.log().writeLog(
            QStringLiteral("(1) now checking addressbook capabilities for %1: AT+CPBS?").arg(mem), true);
    }
    reply = sendRepeated(QStringLiteral("AT+CPBR=?"));
    if (debug) {
        m_ctx.log().writeLog(QStringLiteral("(2) result: ") + reply, true);
    }
    return parseMemoryInfo(reply);
}

QString PhoneBook::parseMemoryInfo(const QString& reply) {
    if (reply == QLatin1String("OK")) {
        return kNotSupported;
    }
    QString rest = reply.chopped(qMin<qsizetype>(4, reply.size()));
    const qsizetype from = rest.indexOf(QLatin1String("1-"));
    if (from < 0) {
        return kNotSupported;
    }
    rest = rest.mid(from + 2).remove(u')').remove(u'|');
    int max = 0, numberLength = 0, nameLength = 0;
    if (countFields(rest, QStringLiteral(",")) != 3 ||
        !isCount(getField(rest, 1, QStringLiteral(",")), &max) ||
        !isCount(getField(rest, 2, QStringLiteral(",")), &numberLength) ||
        !isCount(getField(rest, 3, QStringLiteral(",")), &nameLength)) {
        return kNotSupported;
    }
    return QStringLiteral("%1,%2,%3").arg(max).arg(numberLength).arg(nameLength);
}

void PhoneBook::readBook(const QString& memory, ListView* list) {
    frmMain& main = m_ctx.mainWindow();
    IniStore& ini = m_ctx.ini();
    const bool debug = m_ctx.state().debugMode;
    ++m_busy;
    main.tempDisableTimers();

    send(QStringLiteral("AT+CPBS=\"%1\"").arg(memory));
    MemoryState& st = state(memory);
    const int max = st.max;
    const int oldCount = st.count;
    list->clearItems();
    ini.deleteINISection(section(memory));

    const QString where =
        memory == QLatin1String("ME") ? QStringLiteral("in phone memory") : QStringLiteral("on SIM card");
    if (oldCount == 0) {
        setStatus(QStringLiteral("0/%1 addresses found %2").arg(max).arg(where));
    }
    int count = 0;
    QSet<int> stored;
    bool looked = false;
    reading = true;
    for (int i = 1; i <= max && reading; ++i) {
        looked = true;
        setStatus(QStringLiteral("%1 addresses found %2 (reading index %3/%4...)")
                      .arg(count)
                      .arg(where)
                      .arg(i)
                      .arg(max));
        doEvents();  // an abort click gets in here or while the phone answers

        const QString reply = send(QStringLiteral("AT+CPBR=%1").arg(i));
        if (debug) {
            m_ctx.log().writeLog(QStringLiteral("Retrieving address from %1: %2").arg(memory, reply), true);
        }
        // Every entry goes under the index its line names: after a time-out the late answer
        // to the index before comes first, and must not take this index's place.
        const QList<ReadEntry> entries = parseEntries(reply);
        for (const ReadEntry& e : entries) {
            const int index = e.index >= 1 && e.index <= max ? e.index : i;
            if (stored.contains(index)) {
                continue;
            }
            stored.insert(index);
            const QString name =
                e.name.isEmpty() ? QStringLiteral("unnamed%1").arg(index, 3, 10, QLatin1Char('0')) : e.name;
            ListItem* row = list->addItem(name);
            row->setSubItem(1, e.number);
            row->setTag(QString::number(index));
            ini.writeINI(section(memory), QString::number(index), name + u'|' + e.number);
            ++count;
        }
        if (entries.isEmpty() && !reply.contains(QLatin1String("OK"))) {
            const QString text = QStringLiteral("Error reading addressbook entry index %1 from %2: %3")
                                     .arg(i)
                                     .arg(memory, reply);
            if (debug) {
                m_ctx.msgBox().show(text, MsgBox::OKOnly, MsgBox::Information,
                                    QStringLiteral("Tellwick DEBUG message:"));
            }
            m_ctx.log().writeLog(text);
        }
    }
    reading = false;
    if (looked) {
        // The count of every index read, the last one included.
        setStatus(QStringLiteral("%1 addresses found %2 ").arg(count).arg(where));
    }
    st.useLocal = true;
    st.count = count;
    list->clearSelection();

    main.TempRestoreTimers();
    --m_busy;
}

PhoneBook::WriteResult PhoneBook::writeBack(const QString& memory, const QList<PhoneEntry>& rows) {
    ++m_busy;
    const auto done = qScopeGuard([this] { --m_busy; });
    const QString reply = send(QStringLiteral("AT+CPBS=\"%1\"").arg(memory));
    if (reply.contains(QLatin1String("ERROR"))) {
        report(QStringLiteral("Error accessing storage (%1): %2").arg(memory, reply),
               QStringLiteral("Error writing phonebook entries"));
        return WriteResult::StorageError;
    }
    const int max = state(memory).max;

    writing = true;
    for (int i = 1; i <= max && writing; ++i) {
        const QString answer = send(QStringLiteral("AT+CPBW=%1").arg(i));
        doEvents();
        setStatus(QStringLiteral("deleting old entries from phone... (%1/%2)").arg(i).arg(max));
        if (answer.contains(QLatin1String("ERROR"))) {
            report(QStringLiteral("Error deleting entry ID=%1: %2").arg(i).arg(answer),
                   QStringLiteral("Error deleting phonebook entry"));
        }
    }

    // An abort while erasing ends only the erasing.
    writing = true;
    bool complete = true;
    for (int i = 1; i <= rows.size(); ++i) {
        if (!writing) {
            complete = false;
            break;
        }
        const PhoneEntry& row = rows.at(i - 1);
        const QString number = storableNumber(row.number);
        const QString name = storableName(row.name);
        const int type = number.startsWith(u'+') ? 145 : 129;
        setStatus(QStringLiteral("writing entries to phone... (%1/%2)").arg(i).arg(max));
        bool indexOk = false;
        const int index = row.index.trimmed().toInt(&indexOk);
        QString answer;
        if (!indexOk || index < 1) {
            // A hand-edited key that is no index would garble the command.
            answer = QStringLiteral("ERROR: invalid index ") + row.index;
        } else {
            answer = send(
                QStringLiteral("AT+CPBW=%1,\"%2\",%3,\"%4\"").arg(index).arg(number).arg(type).arg(name));
        }
        doEvents();
        if (answer.contains(QLatin1String("ERROR"))) {
            complete = false;
            report(QStringLiteral("Error saving entry '%1': %2").arg(name, answer),
                   QStringLiteral("Error saving phonebook entry"));
        }
    }
    writing = false;
    return complete ? WriteResult::Written : WriteResult::Incomplete;
}

bool PhoneBook::savePhoneEntry(const QString& memory, const QString& name, const QString& number,
                               const QString& index) {
    IniStore& ini = m_ctx.ini();
    const QString mem = memory == QLatin1String("ME") ? QStringLiteral("ME") : QStringLiteral("SM");
    MemoryState& st = state(mem);
    QString key = index;
    if (key.isEmpty()) {
        for (int i = 1; i <= st.max; ++i) {
            if (ini.readINI(section(mem), QString::number(i)).isEmpty()) {
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
    if (!ini.writeINI(section(mem), key, storableName(name) + u'|' + storableNumber(number))) {
        return false;
    }
    st.changed = true;
    return true;
}

int PhoneBook::getNumEntries(const QString& memory) const {
    return int(m_ctx.ini().keys(section(memory)).size());
}

void PhoneBook::timersOff() {
    frmMain& main = m_ctx.mainWindow();
    if (m_timersOff++ == 0) {
        m_pollWasRunning = main.InTimer->isActive();
        m_signalWasRunning = main.SignalTimer->isActive();
    }
    main.InTimer->stop();
    main.SignalTimer->stop();
}

void PhoneBook::timersOn() {
    if (m_timersOff == 0 || --m_timersOff > 0) {
        return;
    }
    frmMain& main = m_ctx.mainWindow();
    if (m_pollWasRunning) {
        main.InTimer->start();
    }
    if (m_signalWasRunning) {
        main.SignalTimer->start();
    }
}
