#include "PhoneBookCharset.h"

#include "AppContext.h"
#include "Charset.h"

namespace {

// How often a query is sent again while the phone answers only a late "OK".
constexpr int kMaxRepeats = 2;

bool failed(const QString& reply) {
    return reply.contains(QLatin1String("ERROR"));
}

}  // namespace

PhoneBookCharset::PhoneBookCharset(AppContext& ctx) : m_ctx(ctx) {
    m_start = ctx.phone().charset();
    if (m_start.isEmpty()) {
        m_start = Charset::inForce(ask(QStringLiteral("AT+CSCS?")));
    }
    m_set = m_start;
}

PhoneBookCharset::~PhoneBookCharset() {
    restore();
}

QString PhoneBookCharset::ask(const QString& command) {
    QString reply = m_ctx.phone().sendCommand(command);
    for (int n = 0; n < kMaxRepeats && reply == QLatin1String("OK"); ++n) {
        reply = m_ctx.phone().sendCommand(command);
    }
    return reply;
}

bool PhoneBookCharset::useUcs2() {
    if (m_set == Charset::kUcs2) {
        return true;
    }
    // Without the set in force there would be nothing to put back.
    if (m_start.isEmpty()) {
        return false;
    }
    if (!m_askedOffered) {
        m_askedOffered = true;
        m_offered = Charset::offered(ask(QStringLiteral("AT+CSCS=?")));
    }
    if (!m_offered.contains(Charset::kUcs2) ||
        failed(m_ctx.phone().sendCommand(QStringLiteral("AT+CSCS=\"UCS2\"")))) {
        return false;
    }
    m_set = Charset::kUcs2;
    return true;
}

bool PhoneBookCharset::prepareFor(const QStringList& names) {
    for (const QString& name : names) {
        if (!Charset::holds(name, m_set)) {
            return useUcs2();
        }
    }
    return true;
}

QString PhoneBookCharset::decodeName(const QString& field) const {
    return Charset::decode(field.toLatin1(), m_set);
}

QString PhoneBookCharset::decodeNumber(const QString& field) const {
    if (m_set != Charset::kUcs2 || field.size() < 8 || field.size() % 4 != 0) {
        return field;
    }
    QString out;
    for (qsizetype i = 0; i < field.size(); i += 4) {
        const QStringView group = QStringView(field).mid(i, 4);
        bool ok = false;
        const uint code = group.toUInt(&ok, 16);
        const QChar c(char16_t(code & 0xFFFF));
        if (!ok || !group.startsWith(u"00") || !(c.isDigit() || c == u'+' || c == u'*' || c == u'#')) {
            return field;
        }
        out.append(c);
    }
    return out;
}

QString PhoneBookCharset::encodeName(const QString& name, int* replaced) const {
    return QString::fromLatin1(Charset::encode(name, m_set, replaced));
}

QString PhoneBookCharset::ucs2Hex(const QString& text) {
    return QString::fromLatin1(Charset::encode(text, Charset::kUcs2));
}

void PhoneBookCharset::restore() {
    if (m_set == m_start) {
        return;
    }
    PhoneLink& phone = m_ctx.phone();
    QString reply = phone.sendCommand(QStringLiteral("AT+CSCS=\"%1\"").arg(m_start));
    if (failed(reply) && m_set == Charset::kUcs2) {
        // Some phones take the name of the set in the set in force.
        reply = phone.sendCommand(QStringLiteral("AT+CSCS=\"%1\"").arg(ucs2Hex(m_start)));
    }
    if (failed(reply)) {
        m_ctx.log().writeLog(
            QStringLiteral("The phone's character set could not be set back to %1: %2").arg(m_start, reply));
    }
    m_set = m_start;
}
