// The standard commands a modem answers besides those the program itself sends: error
// reporting, the character set of strings, message storage, the service centre and the
// identification a client asks for at start-up. With them an AT client written for real
// modems works against the simulator.
#include <QRegularExpression>
#include <cctype>

#include "GsmAlphabet.h"
#include "PhoneSimulator.h"

namespace {
constexpr char kEsc = 0x1B;
const QLatin1String kCmeError("+CME ERROR: ");

QString verboseError(int code) {
    switch (code) {
        case 3:
            return QStringLiteral("operation not allowed");
        case 4:
            return QStringLiteral("operation not supported");
        case 10:
            return QStringLiteral("SIM not inserted");
        case 11:
            return QStringLiteral("SIM PIN required");
        case 20:
            return QStringLiteral("memory full");
        case 21:
            return QStringLiteral("invalid index");
        case 22:
            return QStringLiteral("not found");
        case 24:
            return QStringLiteral("text string too long");
        case 26:
            return QStringLiteral("dial string too long");
        default:
            return QStringLiteral("unknown");
    }
}

bool isHex(QByteArrayView bytes) {
    for (char c : bytes) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

QString quotedList(const QStringList& items) {
    return QLatin1String("(\"") + items.join(QLatin1String("\",\"")) + QLatin1String("\")");
}
}  // namespace

QStringList PhoneSimulator::withErrorMode(QStringList answer) const {
    if (answer.isEmpty() || m_cmee == 1 || !answer.last().startsWith(kCmeError)) {
        return answer;
    }
    bool ok = false;
    const int code = answer.last().mid(kCmeError.size()).toInt(&ok);
    if (ok) {
        answer.last() = m_cmee == 0 ? QStringLiteral("ERROR") : kCmeError + verboseError(code);
    }
    return answer;
}

QStringList PhoneSimulator::standardAnswer(const QString& command, const QString& upper) {
    const QString ok = QStringLiteral("OK");
    const QString error = QStringLiteral("ERROR");
    // Settings of the line that clients send at start-up (reset, result codes, DCD/DTR
    // handling, S-registers): taken and forgotten.
    static const QRegularExpression lineSetting(QStringLiteral("^AT(&[FCDKW]|[VQXLM]|S\\d+=)\\d*$"));
    if (lineSetting.match(upper).hasMatch()) {
        return {ok};
    }
    static const QRegularExpression info(QStringLiteral("^ATI\\d?$"));
    if (info.match(upper).hasMatch()) {
        return {m_manufacturer, m_model, QStringLiteral("Revision: ") + m_revision, ok};
    }
    if (upper == QLatin1String("AT+CGMR") || upper == QLatin1String("AT+GMR")) {
        return {m_revision, ok};
    }
    if (upper == QLatin1String("AT+CIMI")) {
        return {m_imsi, ok};
    }
    if (upper == QLatin1String("AT+GCAP")) {
        return {QStringLiteral("+GCAP: +CGSM"), ok};
    }
    static const QRegularExpression plainTest(
        QStringLiteral("^AT\\+(CGMI|CGMM|CGMR|CGSN|GMI|GMM|GMR|GSN|CIMI)=\\?$"));
    if (plainTest.match(upper).hasMatch()) {
        return {ok};
    }
    if (upper == QLatin1String("AT+CMEE=?")) {
        return {QStringLiteral("+CMEE: (0-2)"), ok};
    }
    if (upper == QLatin1String("AT+CMEE?")) {
        return {QStringLiteral("+CMEE: %1").arg(m_cmee), ok};
    }
    if (upper.startsWith(QLatin1String("AT+CMEE="))) {
        const QString v = upper.mid(8);
        if (v.isEmpty() || v == QLatin1String("0") || v == QLatin1String("1") || v == QLatin1String("2")) {
            m_cmee = v.toInt();
            return {ok};
        }
        return {error};
    }
    // The phone is always fully on; power levels 0 and 4 are taken and forgotten.
    if (upper == QLatin1String("AT+CFUN?")) {
        return {QStringLiteral("+CFUN: 1"), ok};
    }
    if (upper == QLatin1String("AT+CFUN=?")) {
        return {QStringLiteral("+CFUN: (0,1,4),(0,1)"), ok};
    }
    static const QRegularExpression power(QStringLiteral("^AT\\+CFUN=[014](,[01])?$"));
    if (power.match(upper).hasMatch()) {
        return {ok};
    }
    const QStringList memories{QStringLiteral("ME"), QStringLiteral("SM")};
    if (upper == QLatin1String("AT+CPMS=?")) {
        const QString one = quotedList(memories);
        return {QStringLiteral("+CPMS: %1,%1,%1").arg(one), ok};
    }
    // No message is stored: every storage holds 0 of 30.
    if (upper == QLatin1String("AT+CPMS?")) {
        return {QStringLiteral("+CPMS: \"%1\",0,30,\"%2\",0,30,\"%3\",0,30")
                    .arg(m_storage.at(0), m_storage.at(1), m_storage.at(2)),
                ok};
    }
    if (upper.startsWith(QLatin1String("AT+CPMS="))) {
        const QStringList args = arguments(upper.mid(8));
        if (args.size() > 3) {
            return {error};
        }
        for (const QString& m : args) {
            if (!memories.contains(m)) {
                return {QStringLiteral("+CMS ERROR: 302")};
            }
        }
        QStringList counts;
        for (qsizetype i = 0; i < args.size(); ++i) {
            m_storage[i] = args.at(i);
            counts.append(QStringLiteral("0,30"));
        }
        return {QStringLiteral("+CPMS: ") + counts.join(u','), ok};
    }
    if (upper == QLatin1String("AT+CSCA?")) {
        return {QStringLiteral("+CSCA: \"%1\",%2")
                    .arg(encodeText(m_serviceCentre))
                    .arg(m_serviceCentre.startsWith(u'+') ? 145 : 129),
                ok};
    }
    if (upper == QLatin1String("AT+CSCA=?")) {
        return {ok};
    }
    if (upper.startsWith(QLatin1String("AT+CSCA="))) {
        const QString number = decodeText(arguments(command.mid(8)).value(0));
        if (number.isEmpty()) {
            return {error};
        }
        m_serviceCentre = number;
        return {ok};
    }
    return {error};
}

QString PhoneSimulator::phonebookLine(int index, const PhonebookEntry& e) const {
    return QStringLiteral("+CPBR: %1,\"%2\",%3,\"%4\"")
        .arg(QString::number(index), e.number, QString::number(e.type), encodeText(e.name));
}

// Text as the bytes of the set in force (one character per byte in the QString, as the line
// carries them); what the set lacks goes as "?".
QString PhoneSimulator::encodeText(const QString& text) const {
    if (m_charset == QLatin1String("UCS2")) {
        QString out;
        for (QChar c : text) {
            out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        }
        return out;
    }
    if (m_charset == QLatin1String("GSM")) {
        return QString::fromLatin1(Gsm::toSeptets(text));
    }
    const char16_t top = m_charset == QLatin1String("8859-1") ? 0xFF : 0x7F;
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() > top) {
            c = u'?';
        }
    }
    return out;
}

// The text of bytes received in the set in force; a byte (or a UCS2 group) the set cannot
// hold becomes U+FFFD and counts in *unfit.
QString PhoneSimulator::decodeText(const QString& received, int* unfit) const {
    const QByteArray bytes = received.toLatin1();
    const QChar bad(QChar::ReplacementCharacter);
    QString out;
    int n = 0;
    if (m_charset == QLatin1String("UCS2")) {
        for (qsizetype i = 0; i < bytes.size(); i += 4) {
            const QByteArrayView group =
                QByteArrayView(bytes).sliced(i, std::min<qsizetype>(4, bytes.size() - i));
            if (group.size() == 4 && isHex(group)) {
                out += QChar(char16_t(group.toUInt(nullptr, 16)));
            } else {
                out += bad;
                ++n;
            }
        }
    } else if (m_charset == QLatin1String("GSM")) {
        const GsmTable& t = initGSMTable();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const int b = quint8(bytes.at(i));
            if (b == GsmTable::kEscape) {
                const QChar c = i + 1 < bytes.size() ? t.fromEscape(quint8(bytes.at(i + 1))) : QChar();
                out += c.isNull() ? bad : c;
                n += c.isNull() ? 1 : 0;
                i += c.isNull() ? 0 : 1;
            } else if (b > 0x7F) {
                out += bad;
                ++n;
            } else {
                out += QChar(t.basic()[size_t(b)]);
            }
        }
    } else {
        const int top = m_charset == QLatin1String("8859-1") ? 0xFF : 0x7F;
        for (char b : bytes) {
            const bool fits = quint8(b) <= top;
            out += fits ? QChar(char16_t(quint8(b))) : bad;
            n += fits ? 0 : 1;
        }
    }
    if (unfit) {
        *unfit = n;
    }
    return out;
}

// Where the ESC that cancels the message being entered stands, or -1. In the GSM set an ESC
// followed by an extension code is a character of the text; an ESC that ends the input so
// far sets *wait, as the next byte decides.
qsizetype PhoneSimulator::cancelIn(qsizetype end, bool* wait) const {
    const bool gsmText = m_mode == 1 && m_charset == QLatin1String("GSM");
    const qsizetype limit = end < 0 ? m_in.size() : end;
    for (qsizetype i = m_in.indexOf(kEsc); i >= 0 && i < limit; i = m_in.indexOf(kEsc, i + 2)) {
        if (!gsmText) {
            return i;
        }
        if (i + 1 == m_in.size()) {
            *wait = true;
            return -1;
        }
        if (initGSMTable().fromEscape(quint8(m_in.at(i + 1))).isNull()) {
            return i;
        }
    }
    return -1;
}
