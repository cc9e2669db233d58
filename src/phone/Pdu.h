#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "GsmAlphabet.h"

// SMS-SUBMIT PDUs as AT+CMGS takes them in PDU mode: hex text that begins with "00" (use the
// phone's own service-centre address), message reference 0, validity relative 24 hours.
namespace Pdu {

// What one text needs: 7-bit GSM when every character is in the alphabet, UCS2 otherwise.
using Coding = Gsm::Coding;

struct Part {
    QString hex;     // the whole PDU as hex, service-centre octet included
    int tpduLength;  // octets after the service-centre part: the length AT+CMGS=<n> takes
};

// Septets (7-bit) or UTF-16 units (UCS2) that one message holds, alone or as part of a
// concatenated message.
constexpr int kSingleSeptets = Gsm::kSingleSeptets;
constexpr int kPartSeptets = Gsm::kPartSeptets;
constexpr int kSingleUcs2 = Gsm::kSingleUcs2;
constexpr int kPartUcs2 = Gsm::kPartUcs2;

Coding codingFor(const QString& text);

// The number as address field: digits in swapped nibbles, type 0x91 with a leading "+",
// 0x81 otherwise. Empty when the text is no number (PhoneNumber::dialable) or is too long.
QByteArray encodeAddress(const QString& number);

// 7-bit packing of septets after fillBits zero bits (the fill after a user-data header).
QByteArray packSeptets(const QByteArray& septets, int fillBits = 0);

// The text cut into the pieces that each go into one PDU. A single piece when it fits
// one message; an escape pair or a surrogate pair is never cut in two.
QStringList splitText(const QString& text, Coding coding);

// The PDUs of one message; more than one, each with a concatenation header carrying
// reference, count and sequence number, when the text does not fit one PDU.
// Empty when the number holds no digit or the text needs more than 255 parts.
QList<Part> buildSubmit(const QString& number, const QString& text, bool statusReport, bool flash,
                        quint8 reference);

}  // namespace Pdu
