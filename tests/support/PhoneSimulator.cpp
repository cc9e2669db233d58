#include "PhoneSimulator.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

#include "GsmAlphabet.h"

namespace {
constexpr qsizetype kMaxInput = 64 * 1024;  // a line without end is cut here
constexpr char kCtrlZ = 0x1A;
constexpr char kEsc = 0x1B;

QByteArray line(const QString& text) {
    return "\r\n" + text.toLatin1() + "\r\n";
}
}  // namespace

// Arguments of a command split at commas outside double quotes, quotes removed. Blanks around
// an argument go, those inside quotes stay (in the GSM set "\u00D8" is a vertical tab).
QStringList PhoneSimulator::arguments(const QString& text) {
    QStringList out;
    QString cur;
    bool quoted = false;
    bool hadQuotes = false;
    for (QChar c : text) {
        if (c == u'"') {
            if (!hadQuotes) {
                cur.clear();
            }
            quoted = !quoted;
            hadQuotes = true;
        } else if (c == u',' && !quoted) {
            out.append(hadQuotes ? cur : cur.trimmed());
            cur.clear();
            hadQuotes = false;
        } else if (quoted || !hadQuotes) {
            cur.append(c);
        }
    }
    out.append(hadQuotes ? cur : cur.trimmed());
    return out;
}

PhoneSimulator::PhoneSimulator(QObject* parent) : QObject(parent) {
    m_memories.insert(QStringLiteral("SM"), Memory{250, 40, 16, {}});
    m_memories.insert(QStringLiteral("ME"), Memory{500, 40, 24, {}});
    m_clock.start();
}

PhoneSimulator::~PhoneSimulator() {
    disappear();
}

bool PhoneSimulator::start() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    char name[128] = {};
    if (ptsname_r(fd, name, sizeof name) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        ::close(fd);
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slaveKeep = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slaveKeep >= 0) {
        termios t{};
        if (tcgetattr(m_slaveKeep, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(m_slaveKeep, TCSANOW, &t);
        }
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_master = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PhoneSimulator::onReadable);
    m_writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &PhoneSimulator::flushOut);
    return true;
}

void PhoneSimulator::disappear() {
    if (!m_link.isEmpty()) {
        QFile::remove(m_link);  // the device name goes with the phone (and no other pty takes its place)
    }
    delete m_notifier;
    m_notifier = nullptr;
    delete m_writable;
    m_writable = nullptr;
    m_out.clear();
    m_outDone = 0;
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    if (m_slaveKeep >= 0) {
        ::close(m_slaveKeep);
        m_slaveKeep = -1;
    }
}

void PhoneSimulator::setIdentity(const QString& manufacturer, const QString& model, const QString& serial) {
    m_manufacturer = manufacturer;
    m_model = model;
    m_serial = serial;
}

void PhoneSimulator::setRule(const QString& prefix, const Rule& rule) {
    for (auto& r : m_rules) {
        if (r.first.compare(prefix, Qt::CaseInsensitive) == 0) {
            r.second = rule;
            return;
        }
    }
    m_rules.append({prefix, rule});
}

void PhoneSimulator::setDelay(const QString& prefix, int ms) {
    Rule r;
    r.delayMs = ms;
    setRule(prefix, r);
}

void PhoneSimulator::setSilent(const QString& prefix) {
    Rule r;
    r.silent = true;
    setRule(prefix, r);
}

void PhoneSimulator::setAnswer(const QString& prefix, const QString& answer) {
    Rule r;
    r.answer = answer;
    setRule(prefix, r);
}

const PhoneSimulator::Rule* PhoneSimulator::ruleFor(const QString& command) const {
    // The longest matching prefix wins, so "AT" does not catch "AT+CGMI".
    const Rule* best = nullptr;
    qsizetype bestLength = -1;
    for (const auto& r : m_rules) {
        if (command.startsWith(r.first, Qt::CaseInsensitive) && r.first.size() > bestLength) {
            best = &r.second;
            bestLength = r.first.size();
        }
    }
    return best;
}

void PhoneSimulator::sendRaw(const QByteArray& bytes) {
    writeNow(bytes);
}

void PhoneSimulator::sendUnsolicited(const QString& text) {
    writeNow(line(text));
}

void PhoneSimulator::setPhonebook(const QString& memory, int size, int numberLength, int nameLength) {
    Memory& m = m_memories[memory.toUpper()];
    m.size = size;
    m.numberLength = numberLength;
    m.nameLength = nameLength;
}

void PhoneSimulator::setPhonebookEntry(const QString& memory, int index, const QString& number,
                                       const QString& name) {
    m_memories[memory.toUpper()].entries.insert(index, {number, number.startsWith(u'+') ? 145 : 129, name});
}

QMap<int, PhoneSimulator::PhonebookEntry> PhoneSimulator::phonebook(const QString& memory) const {
    return m_memories.value(memory.toUpper()).entries;
}

QList<SubmittedSms> PhoneSimulator::decodedSubmissions() const {
    QList<SubmittedSms> out;
    for (const Submission& s : m_submissions) {
        if (s.pdu) {
            out.append(decodeSubmit(s.body));
        }
    }
    return out;
}

void PhoneSimulator::clearRecords() {
    m_commands.clear();
    m_submissions.clear();
    m_bytesIn = 0;
    m_bytesOut = 0;
}

void PhoneSimulator::onReadable() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            m_in.append(buf, n);
            m_bytesIn += n;
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        break;  // EAGAIN: all read
    }
    process();
}

void PhoneSimulator::process() {
    while (m_master >= 0) {
        if (m_inBody) {
            const qsizetype end = m_in.indexOf(kCtrlZ);
            bool wait = false;
            const qsizetype esc = cancelIn(end, &wait);
            if (wait) {
                break;
            }
            if (esc >= 0 && (end < 0 || esc < end)) {
                m_in.remove(0, esc + 1);
                m_inBody = false;  // the sender gave up on this message
                continue;
            }
            if (end < 0) {
                break;
            }
            const QByteArray body = m_in.left(end);
            m_in.remove(0, end + 1);
            m_inBody = false;
            finishSubmit(body);
            continue;
        }
        const qsizetype cr = m_in.indexOf('\r');
        if (cr < 0) {
            if (m_in.size() > kMaxInput) {
                m_in.clear();
            }
            break;
        }
        QByteArray text = m_in.left(cr);
        m_in.remove(0, cr + 1);
        while (text.startsWith('\n')) {
            text.remove(0, 1);
        }
        if (!text.isEmpty()) {
            handle(text);
        }
    }
}

void PhoneSimulator::handle(const QByteArray& bytes) {
    // Control bytes before a command (a client clearing the line with ESC) are dropped.
    qsizetype from = 0;
    while (from < bytes.size() && quint8(bytes.at(from)) < 0x20) {
        ++from;
    }
    const QString command = QString::fromLatin1(bytes.mid(from)).trimmed();
    if (command.isEmpty()) {
        return;
    }
    m_commands.append(command);
    emit commandReceived(command);
    const Rule* rule = ruleFor(command);
    if (rule && rule->silent) {
        return;
    }
    if (m_injectWhere == Injection::Before) {
        writeNow(m_inject);
    }
    if (m_echo) {
        writeNow(bytes + '\r');
    }
    QStringList answer;
    if (rule && !rule->answer.isNull()) {
        answer = rule->answer.isEmpty() ? QStringList() : rule->answer.split(u'\n');
    } else {
        answer = withErrorMode(answerFor(command));
    }
    QList<QByteArray> lines;
    for (const QString& l : answer) {
        lines.append(l == QLatin1String(">") ? QByteArray("\r\n> ") : line(l));
    }
    const QByteArray out = injected(lines);
    int delay = (rule ? rule->delayMs : 0) + paceMs(bytes.size() + 1 + out.size());
    queueOut(out, delay);
    if (rule && !rule->after.isEmpty()) {
        queueOut(rule->after, rule->afterDelayMs);
    }
}

QStringList PhoneSimulator::answerFor(const QString& command) {
    const QString upper = command.toUpper();
    const QString ok = QStringLiteral("OK");
    const QString error = QStringLiteral("ERROR");
    if (upper == QLatin1String("AT") || upper == QLatin1String("ATZ")) {
        return {ok};
    }
    if (upper == QLatin1String("ATE0") || upper == QLatin1String("ATE")) {
        m_echo = false;
        return {ok};
    }
    if (upper == QLatin1String("ATE1")) {
        m_echo = true;
        return {ok};
    }
    if (upper == QLatin1String("AT+CGMI") || upper == QLatin1String("AT+GMI")) {
        return {m_manufacturer, ok};
    }
    if (upper == QLatin1String("AT+CGMM") || upper == QLatin1String("AT+GMM")) {
        return {m_model, ok};
    }
    if (upper == QLatin1String("AT+CGSN") || upper == QLatin1String("AT+GSN")) {
        return {m_serial, ok};
    }
    if (upper == QLatin1String("AT+CPIN?")) {
        return {QStringLiteral("+CPIN: ") + m_pin, ok};
    }
    if (upper == QLatin1String("AT+CSQ")) {
        return {QStringLiteral("+CSQ: %1,99").arg(m_rssi), ok};
    }
    if (upper == QLatin1String("AT+CMGF?")) {
        return {QStringLiteral("+CMGF: %1").arg(m_mode), ok};
    }
    if (upper == QLatin1String("AT+CMGF=?")) {
        return {m_pduSupported ? QStringLiteral("+CMGF: (0,1)") : QStringLiteral("+CMGF: (1)"), ok};
    }
    if (upper.startsWith(QLatin1String("AT+CMGF="))) {
        const QString v = upper.mid(8);
        if (v == QLatin1String("1") || (v == QLatin1String("0") && m_pduSupported)) {
            m_mode = v.toInt();
            return {ok};
        }
        return {error};
    }
    if (upper == QLatin1String("AT+CSMP?")) {
        return {QStringLiteral("+CSMP: ") + m_csmp, ok};
    }
    if (upper.startsWith(QLatin1String("AT+CSMP="))) {
        m_csmp = command.mid(8);
        return {ok};
    }
    if (upper == QLatin1String("AT+CSCS?")) {
        return {QStringLiteral("+CSCS: \"%1\"").arg(m_charset), ok};
    }
    if (upper == QLatin1String("AT+CSCS=?")) {
        return {QStringLiteral("+CSCS: (\"%1\")").arg(m_charsets.join(QLatin1String("\",\""))), ok};
    }
    if (upper.startsWith(QLatin1String("AT+CSCS="))) {
        // The name comes in the set in force, so a phone in UCS2 takes it in hex as well.
        const QString arg = arguments(command.mid(8)).value(0);
        for (const QString& name : {arg, decodeText(arg)}) {
            for (const QString& set : std::as_const(m_charsets)) {
                if (set.compare(name, Qt::CaseInsensitive) == 0) {
                    m_charset = set;
                    return {ok};
                }
            }
        }
        return {error};
    }
    if (upper.startsWith(QLatin1String("AT+CMGS="))) {
        const QString arg = command.mid(8).trimmed();
        bool isNumber = false;
        const int length = arg.toInt(&isNumber);
        if (m_mode == 0 ? (!isNumber || length <= 0 || length > 175) : arg.isEmpty()) {
            return {QStringLiteral("+CMS ERROR: 304")};
        }
        m_inBody = true;
        m_bodyArgument = arg;
        return {QStringLiteral(">")};
    }
    if (upper == QLatin1String("AT+CPBW=?")) {
        const Memory& mem = m_memories[m_memory];
        return {QStringLiteral("+CPBW: (1-%1),%2,(129,145),%3")
                    .arg(mem.size)
                    .arg(mem.numberLength)
                    .arg(mem.nameLength),
                ok};
    }
    if (upper.startsWith(QLatin1String("AT+CPB"))) {
        return phonebookAnswer(command, upper);
    }
    return standardAnswer(command, upper);
}

QStringList PhoneSimulator::phonebookAnswer(const QString& command, const QString& upper) {
    const QString ok = QStringLiteral("OK");
    Memory& mem = m_memories[m_memory];
    if (upper == QLatin1String("AT+CPBS?")) {
        return {QStringLiteral("+CPBS: \"%1\",%2,%3").arg(m_memory).arg(mem.entries.size()).arg(mem.size),
                ok};
    }
    if (upper == QLatin1String("AT+CPBS=?")) {
        return {QStringLiteral("+CPBS: (\"ME\",\"SM\")"), ok};
    }
    if (upper.startsWith(QLatin1String("AT+CPBS="))) {
        const QString name = arguments(upper.mid(8)).value(0);
        if (!m_memories.contains(name)) {
            return {QStringLiteral("+CME ERROR: 3")};
        }
        m_memory = name;
        return {ok};
    }
    if (upper == QLatin1String("AT+CPBR=?")) {
        return {QStringLiteral("+CPBR: (1-%1),%2,%3").arg(mem.size).arg(mem.numberLength).arg(mem.nameLength),
                ok};
    }
    if (upper.startsWith(QLatin1String("AT+CPBR="))) {
        const QStringList args = arguments(upper.mid(8));
        bool okFirst = false;
        bool okLast = true;
        const int first = args.value(0).toInt(&okFirst);
        const int last = args.size() > 1 ? args.value(1).toInt(&okLast) : first;
        if (!okFirst || !okLast || first < 1 || last > mem.size || last < first) {
            return {QStringLiteral("+CME ERROR: 21")};
        }
        QStringList out;
        for (auto it = mem.entries.lowerBound(first); it != mem.entries.end() && it.key() <= last; ++it) {
            out.append(phonebookLine(it.key(), it.value()));
        }
        out.append(ok);
        return out;
    }
    if (upper.startsWith(QLatin1String("AT+CPBW="))) {
        const QStringList args = arguments(command.mid(8));
        int index = 0;
        if (args.value(0).isEmpty()) {
            for (index = 1; index <= mem.size && mem.entries.contains(index); ++index) {
            }
            if (index > mem.size) {
                return {QStringLiteral("+CME ERROR: 20")};
            }
        } else {
            bool okIndex = false;
            index = args.value(0).toInt(&okIndex);
            if (!okIndex || index < 1 || index > mem.size) {
                return {QStringLiteral("+CME ERROR: 21")};
            }
        }
        if (args.size() < 2) {
            mem.entries.remove(index);
            return {ok};
        }
        const QString number = args.value(1);
        const QString name = decodeText(args.value(3));
        if (number.size() > mem.numberLength) {
            return {QStringLiteral("+CME ERROR: 26")};
        }
        if (name.size() > mem.nameLength) {
            return {QStringLiteral("+CME ERROR: 24")};
        }
        bool okType = false;
        int type = args.value(2).toInt(&okType);
        mem.entries.insert(index, {number, okType ? type : 129, name});
        return {ok};
    }
    return {QStringLiteral("ERROR")};
}

QByteArray PhoneSimulator::injected(const QList<QByteArray>& lines) const {
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 && m_injectWhere == Injection::Inside) {
            out += m_inject;
        }
        out += lines.at(i);
    }
    if (!lines.isEmpty() && m_injectWhere == Injection::After) {
        out += m_inject;
    }
    return out;
}

void PhoneSimulator::finishSubmit(const QByteArray& body) {
    if (m_injectWhere == Injection::Before) {
        writeNow(m_inject);
    }
    if (m_echo) {
        writeNow(body);
    }
    // In text mode the phone prompts for the next line after each line break of the text.
    for (qsizetype n = m_mode == 1 ? body.count('\r') : 0; n > 0; --n) {
        writeNow("\r\n> ");
    }
    Submission s;
    s.pdu = m_mode == 0;
    s.argument = m_bodyArgument;
    s.body = QString::fromLatin1(body);
    if (!s.pdu) {
        s.charset = m_charset;
        s.number = decodeText(arguments(m_bodyArgument).value(0));
        s.text = decodeText(s.body, &s.unfit);
    }
    QString answer;
    if (s.pdu) {
        const SubmittedSms sms = decodeSubmit(s.body);
        if (!sms.valid || sms.tpduLength != m_bodyArgument.toInt()) {
            answer = QStringLiteral("+CMS ERROR: 304");
        }
    }
    if (m_bodySilent) {
        m_submissions.append(s);
        emit submitted(s);
        return;
    }
    QByteArray out;
    if (answer.isEmpty() && !m_submitAnswer.isEmpty()) {
        out = injected({line(m_submitAnswer)});
    } else if (answer.isEmpty()) {
        m_submissions.append(s);
        emit submitted(s);
        out = injected({line(QStringLiteral("+CMGS: %1").arg(m_reference)), line(QStringLiteral("OK"))});
        m_reference = (m_reference + 1) & 0xFF;
    } else {
        out = injected({line(answer)});
    }
    queueOut(out, paceMs(body.size() + 1 + out.size()));
}

int PhoneSimulator::paceMs(qint64 bytes) const {
    if (m_lineSpeed <= 0) {
        return 0;
    }
    // Ten bits a byte (start, eight data, stop), rounded to the nearest millisecond.
    return int((bytes * 10 * 1000 + m_lineSpeed / 2) / m_lineSpeed);
}

void PhoneSimulator::queueOut(const QByteArray& bytes, int delayMs) {
    const qint64 now = m_clock.elapsed();
    const qint64 due = std::max(now + delayMs, m_lastDue);
    m_lastDue = due;
    if (due <= now) {
        writeNow(bytes);
        return;
    }
    QTimer::singleShot(std::chrono::milliseconds(due - now), Qt::PreciseTimer, this,
                       [this, bytes] { writeNow(bytes); });
}

void PhoneSimulator::writeNow(const QByteArray& bytes) {
    m_out += bytes;
    flushOut();
}

// What the pty takes now; the rest waits until it has room again (the program reads slower
// than the phone answers), so no answer is lost behind a long one.
void PhoneSimulator::flushOut() {
    while (m_master >= 0 && m_outDone < m_out.size()) {
        const ssize_t n = ::write(m_master, m_out.constData() + m_outDone, size_t(m_out.size() - m_outDone));
        if (n > 0) {
            m_outDone += n;
            m_bytesOut += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            m_outDone = m_out.size();  // the pty is broken: nobody reads the rest
        } else {
            break;
        }
    }
    if (m_outDone == m_out.size()) {
        m_out.clear();
        m_outDone = 0;
    }
    if (m_writable) {
        m_writable->setEnabled(m_master >= 0 && !m_out.isEmpty());
    }
}

SubmittedSms PhoneSimulator::decodeSubmit(const QString& hex) {
    SubmittedSms s;
    const QByteArray b = QByteArray::fromHex(hex.toLatin1());
    if (b.isEmpty() || b.toHex().size() != hex.size()) {
        s.error = QStringLiteral("not hex");
        return s;
    }
    qsizetype i = 0;
    auto take = [&]() -> int { return i < b.size() ? quint8(b.at(i++)) : -1; };
    const int smscLength = take();
    i += smscLength;
    s.tpduLength = int(b.size() - 1 - smscLength);
    s.firstOctet = take();
    if (s.firstOctet < 0 || (s.firstOctet & 0x03) != 0x01) {
        s.error = QStringLiteral("not an SMS-SUBMIT");
        return s;
    }
    s.statusReport = s.firstOctet & 0x20;
    s.validityFormat = (s.firstOctet >> 3) & 0x03;
    const bool udhi = s.firstOctet & 0x40;
    take();  // message reference
    const int digits = take();
    s.numberType = take();
    if (digits < 0 || s.numberType < 0 || i + (digits + 1) / 2 > b.size()) {
        s.error = QStringLiteral("address cut short");
        return s;
    }
    QString number = s.numberType == 0x91 ? QStringLiteral("+") : QString();
    for (int k = 0; k < digits; ++k) {
        const int octet = quint8(b.at(i + k / 2));
        const int nibble = k % 2 == 0 ? octet & 0x0F : octet >> 4;
        number.append(nibble < 10 ? QChar(u'0' + nibble)
                                  : QChar(QLatin1Char("*#abc"[std::min(nibble - 10, 4)])));
    }
    i += (digits + 1) / 2;
    s.number = number;
    s.pid = take();
    s.dcs = take();
    if (s.validityFormat == 2) {
        s.validity = take();
    } else if (s.validityFormat != 0) {
        i += 7;
    }
    s.userDataLength = take();
    if (s.pid < 0 || s.dcs < 0 || s.userDataLength < 0) {
        s.error = QStringLiteral("header cut short");
        return s;
    }
    const int dcs = s.dcs;
    bool classPresent = false;
    int alphabet = 0;
    if ((dcs & 0xC0) == 0x00) {
        alphabet = (dcs >> 2) & 0x03;
        classPresent = dcs & 0x10;
    } else if ((dcs & 0xF0) == 0xF0) {
        alphabet = (dcs & 0x04) ? 1 : 0;
        classPresent = true;
    }
    s.flash = classPresent && (dcs & 0x03) == 0;
    s.ucs2 = alphabet == 2;
    s.eightBit = alphabet == 1;
    const QByteArray ud = b.mid(i);
    int headerOctets = 0;
    if (udhi && !ud.isEmpty()) {
        headerOctets = quint8(ud.at(0)) + 1;
        for (int k = 1; k + 1 < headerOctets && k + 1 < ud.size();) {
            const int iei = quint8(ud.at(k));
            const int len = quint8(ud.at(k + 1));
            const QByteArray data = ud.mid(k + 2, len);
            if (iei == 0x00 && data.size() == 3) {
                s.concatRef = quint8(data.at(0));
                s.concatTotal = quint8(data.at(1));
                s.concatSeq = quint8(data.at(2));
            } else if (iei == 0x08 && data.size() == 4) {
                s.concatRef = quint8(data.at(0)) << 8 | quint8(data.at(1));
                s.concatTotal = quint8(data.at(2));
                s.concatSeq = quint8(data.at(3));
            }
            k += 2 + len;
        }
    }
    if (alphabet == 0) {
        if (ud.size() != (s.userDataLength * 7 + 7) / 8) {
            s.error = QStringLiteral("user data length %1 septets does not match %2 octets")
                          .arg(s.userDataLength)
                          .arg(ud.size());
            return s;
        }
        const int headerSeptets = (headerOctets * 8 + 6) / 7;
        QByteArray septets;
        for (int k = headerSeptets; k < s.userDataLength; ++k) {
            const int bit = k * 7;
            int v = quint8(ud.at(bit / 8)) >> (bit % 8);
            if (bit % 8 > 1 && bit / 8 + 1 < ud.size()) {
                v |= quint8(ud.at(bit / 8 + 1)) << (8 - bit % 8);
            }
            septets.append(char(v & 0x7F));
        }
        s.text = Gsm::fromSeptets(septets);
    } else {
        if (ud.size() != s.userDataLength) {
            s.error = QStringLiteral("user data length %1 does not match %2 octets")
                          .arg(s.userDataLength)
                          .arg(ud.size());
            return s;
        }
        const QByteArray payload = ud.mid(headerOctets);
        if (alphabet == 2) {
            for (qsizetype k = 0; k + 1 < payload.size(); k += 2) {
                s.text.append(QChar(char16_t(quint8(payload.at(k)) << 8 | quint8(payload.at(k + 1)))));
            }
        } else {
            s.text = QString::fromLatin1(payload);
        }
    }
    s.valid = true;
    return s;
}

bool PhoneSimulator::startAt(const QString& linkPath) {
    m_link = linkPath;
    return start() && pointLink();
}

bool PhoneSimulator::comeBack() {
    disappear();
    // The device name vanished with the phone, as a USB modem's does; it is there again now.
    m_in.clear();
    m_inBody = false;
    m_echo = true;
    return start() && (m_link.isEmpty() || pointLink());
}

// The link is made beside the old one and renamed over it, so it never is missing.
bool PhoneSimulator::pointLink() {
    const QString temp = m_link + QStringLiteral(".new");
    QFile::remove(temp);
    if (::symlink(QFile::encodeName(m_slavePath).constData(), QFile::encodeName(temp).constData()) != 0 ||
        ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(m_link).constData()) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    return true;
}
