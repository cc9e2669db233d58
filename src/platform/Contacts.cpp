#include "Contacts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>

#include "IniStore.h"
#include "PhoneNumber.h"
#include "ProgramFolder.h"

namespace {

const QLatin1String kFullName("FullName");
const QLatin1String kMobile("MobileTelephoneNumber");
const QLatin1String kHome("HomeTelephoneNumber");
const QLatin1String kHome2("Home2TelephoneNumber");
const QLatin1String kBusiness("BusinessTelephoneNumber");
const QLatin1String kBusiness2("Business2TelephoneNumber");

// A line after unfolding. The blanks that began continuation lines are kept with their
// places: version 2.1 keeps them as part of the value, later versions drop them, and the
// version is known only once the card has been read.
struct LogicalLine {
    QByteArray text;
    QList<qsizetype> foldBlanks;

    QByteArray unfolded(bool keepFoldBlanks) const {
        if (keepFoldBlanks || foldBlanks.isEmpty()) {
            return text;
        }
        QByteArray out;
        out.reserve(text.size());
        qsizetype from = 0;
        for (const qsizetype at : foldBlanks) {
            out += text.mid(from, at - from);
            from = at + 1;
        }
        out += text.mid(from);
        return out;
    }
};

// The index of the first `sep` outside double quotes, or -1.
qsizetype indexOutsideQuotes(const QByteArray& s, char sep, qsizetype from = 0) {
    bool quoted = false;
    for (qsizetype i = from; i < s.size(); ++i) {
        if (s[i] == '"') {
            quoted = !quoted;
        } else if (s[i] == sep && !quoted) {
            return i;
        }
    }
    return -1;
}

QList<QByteArray> splitOutsideQuotes(const QByteArray& s, char sep) {
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype at = indexOutsideQuotes(s, sep); at >= 0; at = indexOutsideQuotes(s, sep, from)) {
        parts.append(s.mid(from, at - from));
        from = at + 1;
    }
    parts.append(s.mid(from));
    return parts;
}

QByteArray unquoted(QByteArray s) {
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith('"') && s.endsWith('"')) {
        s = s.mid(1, s.size() - 2);
    }
    return s;
}

// The part of a line before its value: name and parameters.
bool isQuotedPrintableLine(const QByteArray& text) {
    const qsizetype colon = indexOutsideQuotes(text, ':');
    const QByteArray head = (colon < 0 ? text : text.left(colon)).toUpper();
    return head.contains("QUOTED-PRINTABLE");
}

QByteArray decodeQuotedPrintable(const QByteArray& in) {
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '=' && i + 2 < in.size() && isxdigit(uchar(in[i + 1])) && isxdigit(uchar(in[i + 2]))) {
            out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
            continue;
        }
        if (c == '=' && i == in.size() - 1) {
            break;  // a soft line break at the very end
        }
        out += c;  // a stray "=" stays as it is
    }
    return out;
}

QString decodeCharset(const QByteArray& bytes, const QByteArray& charset) {
    if (!charset.isEmpty()) {
        const QByteArray name = charset.toLower();
        if (name != "windows-1252" && name != "cp1252") {
            QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
            if (decoder.isValid()) {
                const QString text = decoder.decode(bytes);
                if (!decoder.hasError()) {
                    return text;
                }
            }
        }
    }
    // UTF-8, or Windows-1252 when the bytes are not UTF-8 (old phones wrote their code page).
    return decodeTextFile(bytes);
}

struct Property {
    QByteArray name;    // upper case, without its group
    QStringList types;  // upper case
    QString value;      // decoded from its transfer encoding and charset, escapes still in
    bool uri = false;   // VALUE=uri
};

bool parseProperty(const QByteArray& line, Property& p) {
    const qsizetype colon = indexOutsideQuotes(line, ':');
    if (colon <= 0) {
        return false;
    }
    const QList<QByteArray> head = splitOutsideQuotes(line.left(colon), ';');
    QByteArray name = head.first().trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        name = name.mid(dot + 1);  // "item1.TEL": the group is not part of the name
    }
    p.name = name;
    QByteArray encoding;
    QByteArray charset;
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray param = head[i].trimmed();
        const qsizetype eq = indexOutsideQuotes(param, '=');
        const QByteArray key = eq < 0 ? QByteArray("TYPE") : param.left(eq).trimmed().toUpper();
        const QByteArray value = eq < 0 ? param : param.mid(eq + 1);
        if (key == "ENCODING" || (eq < 0 && (value.toUpper() == "QUOTED-PRINTABLE" ||
                                             value.toUpper() == "BASE64" || value.toUpper() == "B"))) {
            encoding = unquoted(value).toUpper();
        } else if (key == "CHARSET") {
            charset = unquoted(value);
        } else if (key == "VALUE") {
            p.uri = unquoted(value).toUpper() == "URI";
        } else if (key == "TYPE") {
            for (const QByteArray& t : splitOutsideQuotes(unquoted(value), ',')) {
                p.types.append(QString::fromUtf8(unquoted(t)).toUpper());
            }
        }
    }
    QByteArray raw = line.mid(colon + 1);
    if (encoding == "QUOTED-PRINTABLE") {
        raw = decodeQuotedPrintable(raw);
    } else if (encoding == "BASE64" || encoding == "B") {
        raw = QByteArray::fromBase64(raw.trimmed());
    }
    p.value = decodeCharset(raw, charset);
    return true;
}

// Splits at every `sep` not escaped by a backslash.
QStringList splitUnescaped(const QString& s, QChar sep) {
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            current += s[i];
            current += s[++i];
        } else if (s[i] == sep) {
            parts.append(current);
            current.clear();
        } else {
            current += s[i];
        }
    }
    parts.append(current);
    return parts;
}

// Version 3.0 and later escape "\\", "\,", "\;" and a line break ("\n" or "\N"); version
// 2.1 escapes only the semicolon.
QString unescape(const QString& s, bool v21) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar next = s[i + 1];
            if (next == u';' || (!v21 && (next == u',' || next == u'\\'))) {
                out += next;
                ++i;
                continue;
            }
            if (!v21 && (next == u'n' || next == u'N')) {
                out += u'\n';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// A name as one line: line breaks and tabs become blanks.
QString oneLine(QString s) {
    for (QChar& c : s) {
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            c = u' ';
        }
    }
    return s.trimmed();
}

// The name from N (family; given; additional; prefixes; suffixes) in the order a person
// writes it: prefixes, given, additional, family, suffixes.
QString nameFromN(const QString& value, bool v21) {
    QStringList parts = splitUnescaped(value, u';');
    while (parts.size() < 5) {
        parts.append(QString());
    }
    QStringList words;
    for (const int i : {3, 1, 2, 0, 4}) {
        QStringList items;
        for (const QString& item : v21 ? QStringList{parts[i]} : splitUnescaped(parts[i], u',')) {
            const QString w = oneLine(unescape(item, v21));
            if (!w.isEmpty()) {
                items.append(w);
            }
        }
        if (!items.isEmpty()) {
            words.append(items.join(u' '));
        }
    }
    return words.join(u' ');
}

QString telNumber(const Property& p) {
    QString v = p.value.trimmed();
    if (v.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
        v = v.mid(4);
        const qsizetype semi = v.indexOf(u';');  // URI parameters such as ";ext=12"
        if (semi >= 0) {
            v.truncate(semi);
        }
    } else if (p.uri) {
        return {};  // another kind of address (sip:, ...)
    }
    return PhoneNumber::withoutTrunkZero(v.trimmed());
}

class CardBuilder {
public:
    void add(const LogicalLine& line) { m_lines.append(line); }
    void clear() { m_lines.clear(); }

    // The contact of the card, or false for a card that is no contact.
    bool build(Contact& c) const {
        const bool v21 = version() == "2.1";
        QString fn;
        QString n;
        bool haveN = false;
        int homes = 0;
        int works = 0;
        for (const LogicalLine& l : m_lines) {
            Property p;
            if (!parseProperty(l.unfolded(v21), p)) {
                continue;
            }
            if (p.name == "KIND" &&
                p.value.trimmed().compare(QLatin1String("group"), Qt::CaseInsensitive) == 0) {
                return false;
            }
            if (p.name == "FN" && fn.isEmpty()) {
                fn = oneLine(v21 ? p.value : unescape(p.value, false));
            } else if (p.name == "N" && !haveN) {
                n = nameFromN(p.value, v21);
                haveN = true;
            } else if (p.name == "TEL") {
                const QString number = telNumber(p);
                if (number.isEmpty()) {
                    continue;
                }
                const auto has = [&p](const char* t) { return p.types.contains(QLatin1String(t)); };
                if (has("CELL") && c.mobileTelephoneNumber.isEmpty()) {
                    c.mobileTelephoneNumber = number;
                } else if (has("FAX") || has("PAGER") || has("MODEM") || has("CELL")) {
                    continue;
                } else if (has("HOME") && homes < 2) {
                    (homes++ == 0 ? c.homeTelephoneNumber : c.home2TelephoneNumber) = number;
                } else if (has("WORK") && works < 2) {
                    (works++ == 0 ? c.businessTelephoneNumber : c.business2TelephoneNumber) = number;
                }
            }
        }
        c.fullName = fn.isEmpty() ? n : fn;
        return true;
    }

private:
    QByteArray version() const {
        for (const LogicalLine& l : m_lines) {
            const QByteArray t = l.text.trimmed();
            if (t.toUpper().startsWith("VERSION:")) {
                return t.mid(8).trimmed();
            }
        }
        return "3.0";
    }

    QList<LogicalLine> m_lines;
};

QList<QByteArray> physicalLines(QByteArray data) {
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringConverter::Utf16);
        data = QString(utf16.decode(data)).toUtf8();
    } else if (data.startsWith("\xEF\xBB\xBF")) {
        data = data.mid(3);
    }
    QList<QByteArray> lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' || data[i] == '\n') {
            lines.append(data.mid(from, i - from));
            if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') {
                ++i;
            }
            from = i + 1;
        }
    }
    if (from < data.size()) {
        lines.append(data.mid(from));
    }
    return lines;
}

QList<LogicalLine> logicalLines(const QList<QByteArray>& physical) {
    QList<LogicalLine> out;
    bool softBreak = false;  // the last line was quoted-printable and ended in "="
    for (const QByteArray& line : physical) {
        if (softBreak && !out.isEmpty()) {
            out.last().text.chop(1);
            out.last().text += line;
        } else if (!out.isEmpty() && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
            out.last().foldBlanks.append(out.last().text.size());
            out.last().text += line;
        } else if (line.trimmed().isEmpty()) {
            softBreak = false;
            continue;
        } else {
            out.append({line, {}});
        }
        const QByteArray& t = out.last().text;
        softBreak = t.endsWith('=') && isQuotedPrintableLine(t);
    }
    return out;
}

bool isCardBoundary(const QByteArray& text, const char* word) {
    const qsizetype colon = text.indexOf(':');
    if (colon < 0) {
        return false;
    }
    QByteArray name = text.left(colon).trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        name = name.mid(dot + 1);
    }
    return name == word && text.mid(colon + 1).trimmed().toUpper() == "VCARD";
}

}  // namespace

QString Contact::property(const QString& name) const {
    if (name == kFullName)
        return fullName;
    if (name == kMobile)
        return mobileTelephoneNumber;
    if (name == kHome)
        return homeTelephoneNumber;
    if (name == kHome2)
        return home2TelephoneNumber;
    if (name == kBusiness)
        return businessTelephoneNumber;
    if (name == kBusiness2)
        return business2TelephoneNumber;
    return {};
}

bool Contact::hasProperty(const QString& name) {
    for (const QLatin1String& known : {kFullName, kMobile, kHome, kHome2, kBusiness, kBusiness2}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

namespace VCard {

QList<Contact> parse(const QByteArray& data) {
    QList<Contact> contacts;
    CardBuilder card;
    int depth = 0;
    for (const LogicalLine& line : logicalLines(physicalLines(data))) {
        const QByteArray& t = line.text;
        if (isCardBoundary(t, "BEGIN")) {
            if (++depth == 1) {
                card.clear();
            }
            continue;
        }
        if (isCardBoundary(t, "END")) {
            if (depth == 1) {
                Contact c;
                if (card.build(c)) {
                    contacts.append(c);
                }
            }
            depth = std::max(0, depth - 1);
            continue;
        }
        if (depth == 1) {
            // A 2.1 agent may begin its card on the property's own line.
            if (t.toUpper().endsWith(":BEGIN:VCARD")) {
                ++depth;
                continue;
            }
            card.add(line);
        }
    }
    if (depth >= 1) {
        Contact c;  // a last card without its END line
        if (card.build(c)) {
            contacts.append(c);
        }
    }
    return contacts;
}

}  // namespace VCard

QString ContactsSource::defaultFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/contacts"));
}

QString ContactsSource::folderFor(const QString& setting, const QString& programFolder) {
    QString value = setting.trimmed();
    value.replace(u'\\', u'/');
    if (value.isEmpty()) {
        return defaultFolder();
    }
    return QDir::cleanPath(ProgramFolder::join(programFolder, value));
}

bool ContactsSource::isAvailable(QString* error) const {
    const QFileInfo info(m_folder);
    if (!m_folder.isEmpty() && info.isDir()) {
        return true;
    }
    if (error) {
        *error = QStringLiteral("contacts folder %1 not found").arg(m_folder);
    }
    return false;
}

ContactsSource::Result ContactsSource::read() const {
    Result result;
    QString error;
    if (!isAvailable(&error)) {
        result.errors.append(error);
        return result;
    }
    result.available = true;
    const QDir root(m_folder);
    QStringList files;
    // Unreadable files are listed too, so that they are reported.
    QDirIterator it(m_folder, {QStringLiteral("*.vcf"), QStringLiteral("*.vcard")},
                    QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(root.relativeFilePath(it.next()));
    }
    std::sort(files.begin(), files.end());
    for (const QString& rel : std::as_const(files)) {
        QFile f(root.filePath(rel));
        if (!f.open(QIODevice::ReadOnly)) {
            result.errors.append(QStringLiteral("%1: %2").arg(f.fileName(), f.errorString()));
            continue;
        }
        const QList<Contact> cards = VCard::parse(f.readAll());
        for (Contact c : cards) {
            c.file = f.fileName();
            result.contacts.append(c);
        }
    }
    return result;
}
