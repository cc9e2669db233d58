#include "PhoneReply.h"

namespace PhoneReply {

QByteArray toLine(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        out.append(c.unicode() < 0x100 ? char(c.unicode()) : '?');
    }
    return out;
}

QString fromLine(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

namespace {
QByteArrayView lastLine(QByteArrayView bytes) {
    qsizetype end = bytes.size();
    while (end > 0) {
        const char c = bytes.at(end - 1);
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t') {
            break;
        }
        --end;
    }
    qsizetype start = end;
    while (start > 0 && bytes.at(start - 1) != '\r' && bytes.at(start - 1) != '\n') {
        --start;
    }
    return bytes.sliced(start, end - start).trimmed();
}
}  // namespace

bool endsInPrompt(QByteArrayView bytes) {
    return lastLine(bytes) == ">";
}

namespace {
// Reports that come of the phone's own accord. RING and NO CARRIER belong to calls, which
// the program never makes.
constexpr const char* kUnsolicited[] = {
    "+CMTI:",  "+CMT:",  "+CBMI:", "+CBM:",  "+CDSI:",  "+CDS:",  "+CREG:", "+CGREG:",
    "+CEREG:", "+CUSD:", "+CLIP:", "+CCWA:", "+CRING:", "+CIEV:", "RING",   "NO CARRIER"};

bool startsWithNoCase(QByteArrayView text, QByteArrayView prefix) {
    return text.size() >= prefix.size() && qstrnicmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// How many lines a report takes: a new message or cell broadcast shown whole, or a status
// report in PDU mode ("+CDS: <length>"), brings its message on a second line.
int linesOf(QByteArrayView line) {
    if (line.startsWith("+CMT:") || line.startsWith("+CBM:")) {
        return 2;
    }
    if (line.startsWith("+CDS:")) {
        bool number = false;
        [[maybe_unused]] const int length = line.sliced(5).trimmed().toInt(&number);
        return number ? 2 : 1;
    }
    return 1;
}

struct Line {
    qsizetype start = 0;  // first byte of the text
    qsizetype end = 0;    // after the text
    qsizetype next = 0;   // after the line break that ends it
    bool terminated = false;
};

// The line whose text begins at or after pos (line breaks before it skipped); start == size
// when no text is left.
Line lineAt(QByteArrayView bytes, qsizetype pos) {
    Line l;
    while (pos < bytes.size() && (bytes.at(pos) == '\r' || bytes.at(pos) == '\n')) {
        ++pos;
    }
    l.start = l.end = pos;
    while (l.end < bytes.size() && bytes.at(l.end) != '\r' && bytes.at(l.end) != '\n') {
        ++l.end;
    }
    // One line break: CR LF, or CR or LF alone.
    l.next = l.end;
    if (l.next < bytes.size() && bytes.at(l.next) == '\r') {
        ++l.next;
    }
    if (l.next < bytes.size() && bytes.at(l.next) == '\n') {
        ++l.next;
    }
    l.terminated = l.next > l.end;
    return l;
}

Final finalOf(QByteArrayView t, bool terminated, bool promptEnds, bool okEnds) {
    if (t == "ERROR" || (terminated && (t.startsWith("+CME ERROR:") || t.startsWith("+CMS ERROR:")))) {
        return Final::Error;
    }
    if (okEnds && t == "OK") {
        return Final::Ok;
    }
    return promptEnds && t == ">" ? Final::Prompt : Final::None;
}
}  // namespace

bool isUnsolicited(QByteArrayView line, QByteArrayView command) {
    const QByteArrayView t = line.trimmed();
    const QByteArrayView asked = command.trimmed();
    if (t.startsWith('^')) {
        // A maker's own report ("^RSSI: 12", "^BOOT:..."), unless the command asked for it.
        const qsizetype colon = t.indexOf(':');
        const QByteArrayView name = colon > 0 ? t.first(colon) : t;
        return !(asked.size() > 2 && startsWithNoCase(asked.sliced(2), name));
    }
    for (const char* report : kUnsolicited) {
        const QByteArrayView prefix(report);
        if (!startsWithNoCase(t, prefix)) {
            continue;
        }
        // "+CREG:" answers AT+CREG?: only the command that asks is answered by it.
        const QByteArrayView name = prefix.endsWith(':') ? prefix.chopped(1) : prefix;
        return !(name.startsWith('+') && asked.size() > 2 && startsWithNoCase(asked.sliced(2), name));
    }
    return false;
}

Reply take(QByteArrayView bytes, qsizetype from, QByteArrayView command, bool promptEnds, bool okEnds,
           int* reportLines) {
    Reply r;
    int owed = reportLines ? *reportLines : 0;
    struct Cut {
        qsizetype from, to;
    };
    QList<Cut> cuts;           // unsolicited lines with the line breaks before them
    qsizetype textBefore = 0;  // where the text of the previous line ended
    QByteArray report;
    bool taken = false;  // the line before was a final result code (or unsolicited after one)
    for (qsizetype pos = 0;;) {
        const Line l = lineAt(bytes, pos);
        if (l.start >= bytes.size()) {
            break;
        }
        const QByteArrayView t = bytes.sliced(l.start, l.end - l.start).trimmed();
        const bool partOfReport = owed > 0;
        if (partOfReport || isUnsolicited(t, command)) {
            if (!l.terminated) {
                break;  // not whole yet
            }
            if (partOfReport) {
                --owed;
                report.append('|').append(t);
            } else {
                if (!report.isEmpty()) {
                    r.unsolicited.append(report);
                }
                report = t.toByteArray();
                owed = linesOf(t) - 1;
            }
            cuts.append({textBefore, l.end});
            textBefore = l.end;
            pos = l.next;
            if (taken) {
                r.end = l.next;
            }
            continue;
        }
        // The last final result code that has come ends the reply; lines after it that are
        // neither final nor unsolicited are left for the next reply.
        const Final f = l.start >= from ? finalOf(t, l.terminated, promptEnds, okEnds) : Final::None;
        textBefore = l.end;
        pos = l.next;
        taken = f != Final::None;
        if (taken) {
            r.final = f;
            r.end = l.next;
        }
    }
    if (!report.isEmpty()) {
        r.unsolicited.append(report);
    }
    if (r.final == Final::None) {
        r.end = 0;
        return r;
    }
    if (reportLines) {
        *reportLines = owed;
    }
    qsizetype at = 0;
    for (const Cut& c : std::as_const(cuts)) {
        if (c.from >= r.end) {
            break;
        }
        r.text.append(bytes.sliced(at, c.from - at));
        at = c.to;
    }
    if (at < r.end) {
        r.text.append(bytes.sliced(at, r.end - at));
    }
    return r;
}

bool isComplete(QByteArrayView bytes, bool promptEnds, bool okEnds) {
    return take(bytes, 0, {}, promptEnds, okEnds).final != Final::None;
}

QString clean(const QString& raw, const QString& command, bool keepOK) {
    qsizetype start = 0;
    while (start < raw.size() && (raw.at(start) == u'\r' || raw.at(start) == u'\n')) {
        ++start;
    }
    QString text = raw.mid(start);
    if (!command.isEmpty() && text.startsWith(command)) {
        text.remove(0, command.size() + 3);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("|"));
    text.remove(u'\r');
    text.remove(u'\n');
    if (!keepOK) {
        if (text.endsWith(QLatin1String("||OK|"))) {
            text.chop(4);
        } else if (text.endsWith(QLatin1String("||OK"))) {
            text.chop(4);
        }
    }
    if (text.endsWith(u'|')) {
        text.chop(1);
    }
    return text;
}

QString timeOutText(int seconds) {
    return QStringLiteral("ERROR: TimeOut (%1 secs.)").arg(seconds);
}

}  // namespace PhoneReply
