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

bool isComplete(QByteArrayView bytes, bool promptEnds, bool okEnds) {
    const QByteArrayView line = lastLine(bytes);
    if (line == "ERROR" || line.startsWith("+CME ERROR") || line.startsWith("+CMS ERROR")) {
        return true;
    }
    if (okEnds && line == "OK") {
        return true;
    }
    return promptEnds && line == ">";
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
