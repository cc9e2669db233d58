#include "Pdu.h"

#include "GsmAlphabet.h"
#include "PhoneNumber.h"

namespace Pdu {

namespace {
constexpr quint8 kSubmit = 0x01;        // message type SMS-SUBMIT
constexpr quint8 kVpRelative = 0x10;    // validity-period format: relative, one octet
constexpr quint8 kStatusReport = 0x20;  // status report request
constexpr quint8 kUdhi = 0x40;          // user data begins with a header
constexpr quint8 kValidity24h = 0xA7;   // (167 - 143) * 30 min + 12 h
constexpr quint8 kClass0 = 0x10;        // message class present, class 0 (flash)
constexpr quint8 kUcs2 = 0x08;

}  // namespace

Coding codingFor(const QString& text) {
    return Gsm::codingFor(text);
}

QByteArray encodeAddress(const QString& number) {
    const QString dial = PhoneNumber::dialable(number);
    const bool international = dial.startsWith(u'+');
    QByteArray digits;
    for (QChar c : dial) {
        if (c >= u'0' && c <= u'9') {
            digits.append(char(c.unicode() - u'0'));
        } else if (c == u'*') {
            digits.append(char(0x0A));
        } else if (c == u'#') {
            digits.append(char(0x0B));
        }
    }
    if (digits.isEmpty() || digits.size() > 20) {
        return {};
    }
    QByteArray out;
    out.append(char(digits.size()));
    out.append(char(international ? 0x91 : 0x81));
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        const quint8 low = quint8(digits.at(i));
        const quint8 high = i + 1 < digits.size() ? quint8(digits.at(i + 1)) : 0x0F;
        out.append(char(low | (high << 4)));
    }
    return out;
}

QByteArray packSeptets(const QByteArray& septets, int fillBits) {
    const qsizetype bits = fillBits + 7 * septets.size();
    QByteArray out((bits + 7) / 8, '\0');
    for (qsizetype i = 0; i < septets.size(); ++i) {
        const quint32 s = quint8(septets.at(i)) & 0x7F;
        const qsizetype pos = fillBits + 7 * i;
        const int shift = int(pos % 8);
        out[pos / 8] = char(quint8(out.at(pos / 8)) | quint8((s << shift) & 0xFF));
        if (shift > 1) {
            out[pos / 8 + 1] = char(quint8(out.at(pos / 8 + 1)) | quint8(s >> (8 - shift)));
        }
    }
    return out;
}

QStringList splitText(const QString& text, Coding coding) {
    const int single = coding == Coding::Gsm7 ? kSingleSeptets : kSingleUcs2;
    if (Gsm::unitsIn(text, coding) <= single) {
        return {text};
    }
    return Gsm::pieces(text, coding, coding == Coding::Gsm7 ? kPartSeptets : kPartUcs2);
}

QList<Part> buildSubmit(const QString& number, const QString& text, bool statusReport, bool flash,
                        quint8 reference) {
    const QByteArray address = encodeAddress(number);
    if (address.isEmpty()) {
        return {};
    }
    const Coding coding = codingFor(text);
    const QStringList pieces = splitText(text, coding);
    if (pieces.size() > 255) {
        return {};
    }
    const bool concatenated = pieces.size() > 1;
    quint8 dcs = coding == Coding::Ucs2 ? kUcs2 : 0x00;
    if (flash) {
        dcs |= kClass0;
    }

    QList<Part> result;
    for (qsizetype n = 0; n < pieces.size(); ++n) {
        QByteArray header;
        if (concatenated) {
            // Information element 00: concatenated message, 8-bit reference.
            header = QByteArray::fromRawData("\x05\x00\x03", 3);
            header.append(char(reference));
            header.append(char(pieces.size()));
            header.append(char(n + 1));
        }
        QByteArray userData;
        int udl = 0;
        if (coding == Coding::Gsm7) {
            const QByteArray septets = Gsm::toSeptets(pieces.at(n));
            const int headerBits = int(header.size()) * 8;
            const int fill = (7 - headerBits % 7) % 7;
            userData = header + packSeptets(septets, fill);
            udl = (headerBits + fill) / 7 + int(septets.size());
        } else {
            userData = header;
            for (QChar c : pieces.at(n)) {
                userData.append(char(c.unicode() >> 8));
                userData.append(char(c.unicode() & 0xFF));
            }
            udl = int(userData.size());
        }

        QByteArray tpdu;
        quint8 first = kSubmit | kVpRelative;
        if (statusReport) {
            first |= kStatusReport;
        }
        if (concatenated) {
            first |= kUdhi;
        }
        tpdu.append(char(first));
        tpdu.append('\0');  // message reference: the phone assigns it
        tpdu.append(address);
        tpdu.append('\0');  // protocol identifier
        tpdu.append(char(dcs));
        tpdu.append(char(kValidity24h));
        tpdu.append(char(udl));
        tpdu.append(userData);
        result.append({QStringLiteral("00") + QString::fromLatin1(tpdu.toHex().toUpper()), int(tpdu.size())});
    }
    return result;
}

}  // namespace Pdu
