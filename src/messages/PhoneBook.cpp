#include "PhoneBook.h"

#include <QScopeGuard>
#include <QSet>
#include <QTimer>
#include <optional>

#include "AppContext.h"
#include "Charset.h"
#include "Fields.h"
#include "GatewayPause.h"
#include "ListView.h"
#include "PhoneBookCharset.h"
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

// Whether a reply's last line (outside the quotes of a name) is the final "OK" and no line
// is an error. "Not found" (+CME ERROR: 22) is the phone's word for indexes without an
// entry: as good an answer as "OK".
bool endsInOk(const QString& reply) {
    const QStringList lines = splitOutsideQuotes(reply, u'|');
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t == QLatin1String("+CME ERROR: 22") ||
            t.compare(QLatin1String("+CME ERROR: not found"), Qt::CaseInsensitive) == 0) {
            return true;
        }
        if (t == QLatin1String("ERROR") || t.startsWith(QLatin1String("ERROR:")) ||
            t.startsWith(QLatin1String("+CME ERROR")) || t.startsWith(QLatin1String("+CMS ERROR"))) {
            return false;
        }
    }
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (!lines.at(i).trimmed().isEmpty()) {
            return lines.at(i).trimmed() == QLatin1String("OK");
        }
    }
    return false;
}

// A field without the double quotes around it.
QString unquoted(const QString& field) {
    const QString t = field.trimmed();
    return t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"') ? t.mid(1, t.size() - 2) : t;
}

QString placeOf(const QString& memory) {
    return memory == QLatin1String("ME") ? QStringLiteral("in phone memory") : QStringLiteral("on SIM card");
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

PhoneBook::PhoneBook(AppContext& ctx) : m_ctx(ctx), m_copies(ctx) {}

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

QList<PhoneBook::ReadEntry> PhoneBook::parseEntries(const QString& reply, const PhoneBookCharset* charset) {
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
        // Decoded before anything is taken out: in the GSM set "@" is byte 0 and "é" byte 5.
        const QString number = unquoted(fields.value(1));
        const QString name = unquoted(fields.value(3));
        e.number = storableNumber(charset ? charset->decodeNumber(number) : number).trimmed();
        e.name = storableName(charset ? charset->decodeName(name) : name).trimmed();
        if (fields.value(2).trimmed() == QLatin1String("145") && !e.number.isEmpty() &&
            !e.number.startsWith(u'+')) {
            e.number.prepend(u'+');  // stored with its "+", so the write-back sends it as international
        }
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

void PhoneBook::reportCharset(const QString& text) {
    m_ctx.log().writeLog(QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    m_ctx.msgBox().show(text, MsgBox::OKOnly, MsgBox::Exclamation,
                        QStringLiteral("Names and the phone's character set"));
}

void PhoneBook::reportIndexError(const QString& memory, int index, const QString& reply) {
    const QString text =
        QStringLiteral("Error reading addressbook entry index %1 from %2: %3").arg(index).arg(memory, reply);
    if (m_ctx.state().debugMode) {
        m_ctx.msgBox().show(text, MsgBox::OKOnly, MsgBox::Information,
                            QStringLiteral("Tellwick DEBUG message:"));
    }
    m_ctx.log().writeLog(text);
}

bool PhoneBook::readBook(const QString& memory, ListView* list) {
    const bool debug = m_ctx.state().debugMode;
    ++m_busy;
    const GatewayPause pause(m_ctx);
    const auto done = qScopeGuard([&] {
        reading = false;
        --m_busy;
    });

    const QString selected = send(QStringLiteral("AT+CPBS=\"%1\"").arg(memory));
    MemoryState& st = state(memory);
    const int max = st.max;
    const QString where = placeOf(memory);
    // Nothing is read over the copy until something has been read.
    const auto failed = [&](const QString& reply) {
        setStatus(QStringLiteral("Reading the addressbook %1 failed, the local copy was kept").arg(where));
        m_ctx.log().writeLog(QStringLiteral("Error reading addressbook %1: %2").arg(memory, reply));
        m_ctx.msgBox().show(QStringLiteral("The addressbook %1 could not be read: %2").arg(where, reply) +
                                QStringLiteral("\r\n\r\nThe local copy was kept as it was."),
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Error reading phonebook"));
        return false;
    };
    if (selected.contains(QLatin1String("ERROR"))) {
        return failed(selected);
    }
    list->clearItems();
    if (st.count == 0) {
        setStatus(QStringLiteral("0/%1 addresses found %2").arg(max).arg(where));
    }

    // UCS2, where the phone has it, is the one set that gives every name as it is stored.
    std::optional<PhoneBookCharset> charset;
    if (max >= 1) {
        charset.emplace(m_ctx);
        charset->useUcs2();
    }
    QStringList unsure;  // names in which "?" may stand for a character the set lacks

    QMap<int, StoredEntry> entries;
    QSet<int> known;  // indexes whose content (an entry or nothing) the phone has told
    QString lastError;
    // Takes the entries of a reply; a line that names no index of the memory is the asked
    // index's when only one was asked, else it makes the range count as failed.
    const auto take = [&](const QString& reply, int first, int last) {
        bool sound = true;
        for (const ReadEntry& e : parseEntries(reply, charset ? &*charset : nullptr)) {
            int index = e.index;
            if (index < 1 || index > max) {
                if (first != last) {
                    sound = false;
                    continue;
                }
                index = first;
            }
            known.insert(index);
            if (entries.contains(index)) {
                continue;
            }
            const QString name =
                e.name.isEmpty() ? QStringLiteral("unnamed%1").arg(index, 3, 10, QLatin1Char('0')) : e.name;
            entries.insert(index, {name, e.number});
            if (charset->set() != Charset::kUcs2 && name.contains(u'?')) {
                unsure.append(QStringLiteral("'%1'").arg(name));
            }
            ListItem* row = list->addItem(name);
            row->setSubItem(1, e.number);
            row->setTag(QString::number(index));
        }
        return sound && endsInOk(reply);
    };
    const auto ask = [&](int first, int last) -> QString {
        // With its final "OK": a range whose entries came whole is told from one cut short.
        const QString reply = send(first == last ? QStringLiteral("AT+CPBR=%1").arg(first)
                                                 : QStringLiteral("AT+CPBR=%1,%2").arg(first).arg(last),
                                   true);
        if (debug) {
            m_ctx.log().writeLog(QStringLiteral("Retrieving address from %1: %2").arg(memory, reply), true);
        }
        return reply;
    };

    reading = true;
    for (int first = 1; first <= max && reading; first += readRange) {
        const int last = std::min(max, first + readRange - 1);
        setStatus(QStringLiteral("%1 addresses found %2 (reading index %3/%4...)")
                      .arg(entries.size())
                      .arg(where)
                      .arg(first)
                      .arg(max));
        doEvents();  // an abort click gets in here or while the phone answers
        const QString reply = ask(first, last);
        if (take(reply, first, last)) {
            for (int i = first; i <= last; ++i) {
                known.insert(i);  // the phone listed the range: what it did not list is empty
            }
            continue;
        }
        if (first == last) {
            lastError = reply;
            reportIndexError(memory, first, reply);
            continue;
        }
        // The range failed: each index it did not name is asked alone.
        for (int i = first; i <= last && reading; ++i) {
            if (known.contains(i)) {
                continue;
            }
            if (i != first) {
                doEvents();
            }
            const QString single = ask(i, i);
            if (take(single, i, i)) {
                known.insert(i);
            } else if (!known.contains(i)) {
                lastError = single;
                reportIndexError(memory, i, single);
            }
        }
    }
    if (max >= 1 && known.isEmpty()) {
        return failed(lastError.isEmpty() ? QStringLiteral("aborted") : lastError);
    }
    QSet<int> unread;
    for (int i = 1; i <= max; ++i) {
        if (!known.contains(i)) {
            unread.insert(i);
        }
    }
    m_copies.replaceCopy(memory, entries, unread);
    if (max >= 1) {
        setStatus(QStringLiteral("%1 addresses found %2 ").arg(entries.size()).arg(where) +
                  (unread.isEmpty() ? QString() : QStringLiteral("(incomplete)")));
    }
    st.useLocal = true;
    st.count = int(entries.size());
    list->clearSelection();
    if (!unsure.isEmpty()) {
        reportCharset(
            QStringLiteral("The phone gives the names %1 in %2, which cannot hold every character. In these "
                           "names \"?\" may stand for a character that was lost:")
                .arg(where, charset->set().isEmpty()
                                ? QStringLiteral("a character set it does not name")
                                : QStringLiteral("its character set ") + charset->set()) +
            QStringLiteral("\r\n") + unsure.join(QStringLiteral("\r\n")) +
            QStringLiteral("\r\n\r\nWriting the addressbook back to the phone stores them as shown."));
    }
    return true;
}

PhoneBook::WriteResult PhoneBook::writeBack(const QString& memory, const QList<PhoneEntry>& rows) {
    if (!state(memory).read) {
        return WriteResult::NotRead;  // nothing of the phone is known: nothing may be erased
    }
    ++m_busy;
    const auto done = qScopeGuard([this] { --m_busy; });
    const QString reply = send(QStringLiteral("AT+CPBS=\"%1\"").arg(memory));
    if (reply.contains(QLatin1String("ERROR"))) {
        report(QStringLiteral("Error accessing storage (%1): %2").arg(memory, reply),
               QStringLiteral("Error writing phonebook entries"));
        return WriteResult::StorageError;
    }
    const MemoryState& st = state(memory);
    const int max = st.max;
    const QString where = placeOf(memory);

    // The names go in the set in force, or in UCS2 where one of them needs it.
    QStringList names;
    for (const PhoneEntry& row : rows) {
        names.append(storableName(row.name));
    }
    PhoneBookCharset charset(m_ctx);
    if (!rows.isEmpty()) {
        charset.prepareFor(names);
    }

    // Indexes the copy has not read hold what the phone has there: they are left alone.
    writing = true;
    for (int i = 1; i <= max && writing; ++i) {
        if (st.unread.contains(i)) {
            continue;
        }
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
    QStringList refused;
    QStringList changed;
    for (int i = 1; i <= rows.size(); ++i) {
        if (!writing) {
            complete = false;
            break;
        }
        const PhoneEntry& row = rows.at(i - 1);
        const QString number = storableNumber(row.number);
        const QString& name = names.at(i - 1);
        const int type = number.startsWith(u'+') ? 145 : 129;
        setStatus(QStringLiteral("writing entries to phone... (%1/%2)").arg(i).arg(max));
        bool indexOk = false;
        const int index = row.index.trimmed().toInt(&indexOk);
        QString answer;
        if (!indexOk || index < 1 || index > max || st.unread.contains(index)) {
            // A hand-edited key that is no index would garble the command, and an index the
            // copy has not read holds an entry nobody has seen.
            answer = QStringLiteral("ERROR: invalid index ") + row.index;
        } else {
            int replaced = 0;
            const QString line = charset.encodeName(name, &replaced);
            const auto write = [&](const QString& n) {
                return send(
                    QStringLiteral("AT+CPBW=%1,\"%2\",%3,\"%4\"").arg(index).arg(n).arg(type).arg(line));
            };
            answer = write(number);
            if (answer.contains(QLatin1String("ERROR")) && charset.set() == Charset::kUcs2 &&
                !number.isEmpty()) {
                answer = write(PhoneBookCharset::ucs2Hex(number));  // a phone that wants it in the set
            }
            // Where the phone does not name its set, anything beyond ASCII is a guess.
            const bool unsure = charset.set().isEmpty() && !Charset::holds(name, QString());
            if ((replaced > 0 || unsure) && !answer.contains(QLatin1String("ERROR"))) {
                changed.append(replaced > 0
                                   ? QStringLiteral("'%1' as '%2'").arg(name, charset.decodeName(line))
                                   : QStringLiteral("'%1'").arg(name));
            }
        }
        doEvents();
        if (answer.contains(QLatin1String("ERROR"))) {
            complete = false;
            refused.append(QStringLiteral("'%1' (%2)").arg(name, answer));
            report(QStringLiteral("Error saving entry '%1': %2").arg(name, answer),
                   QStringLiteral("Error saving phonebook entry"));
        }
    }
    writing = false;
    const QString writtenIn = charset.set();
    charset.restore();
    if (!changed.isEmpty()) {
        reportCharset(
            (writtenIn.isEmpty()
                 ? QStringLiteral("The phone does not name its character set: these names were stored %1 "
                                  "as Latin-1, with \"?\" for what that lacks, and the phone may show them "
                                  "otherwise:")
                       .arg(where)
                 : QStringLiteral("The phone's character set %1 cannot hold every character of these names; "
                                  "they were stored %2 with \"?\" in place of what it lacks:")
                       .arg(writtenIn, where)) +
            QStringLiteral("\r\n") + changed.join(QStringLiteral("\r\n")));
    }
    if (!refused.isEmpty()) {
        m_ctx.msgBox().show(QStringLiteral("These entries were not stored %1:").arg(where) +
                                QStringLiteral("\r\n") + refused.join(QStringLiteral("\r\n")) +
                                QStringLiteral("\r\n\r\nThey stay in the local copy, marked as changed."),
                            MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Entries not stored"));
    }
    return complete ? WriteResult::Written : WriteResult::Incomplete;
}

