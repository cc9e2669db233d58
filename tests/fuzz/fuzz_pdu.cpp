// The PDU encoder fed any text: every PDU it builds reads back, and the parts together give the
// text again, in the coding the text needs.
#include "FuzzCommon.h"
#include "Pdu.h"
#include "PhoneSimulator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const quint8 options = data[0];
    const quint8 reference = data[1];
    const QString text = Fuzz::text(Fuzz::bytes(data + 2, size - 2));
    const bool report = options & 1;
    const bool flash = options & 2;
    const QString number = (options & 4) ? QStringLiteral("+49 (170) 123-4567") : QStringLiteral("0170*31#");
    const QString digits = (options & 4) ? QStringLiteral("+491701234567") : QStringLiteral("0170*31#");

    const Pdu::Coding coding = Pdu::codingFor(text);
    const QStringList pieces = Pdu::splitText(text, coding);
    FUZZ_CHECK(pieces.join(QString()) == text, text);
    const QList<Pdu::Part> parts = Pdu::buildSubmit(number, text, report, flash, reference);
    if (parts.isEmpty()) {
        FUZZ_CHECK(pieces.size() > 255, text);
        return 0;
    }
    FUZZ_CHECK(parts.size() == pieces.size(), text);

    QString joined;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const Pdu::Part& part = parts.at(i);
        const SubmittedSms sms = PhoneSimulator::decodeSubmit(part.hex);
        FUZZ_CHECK(sms.valid, sms.error + u' ' + part.hex);
        FUZZ_CHECK(sms.tpduLength == part.tpduLength, part.hex);
        FUZZ_CHECK(sms.statusReport == report && sms.flash == flash, part.hex);
        FUZZ_CHECK(sms.ucs2 == (coding == Pdu::Coding::Ucs2), part.hex);
        // The simulator writes "*" and "#" of a number as it reads them.
        FUZZ_CHECK(sms.number == digits, sms.number);
        if (parts.size() > 1) {
            FUZZ_CHECK(sms.concatRef == reference && sms.concatTotal == parts.size() && sms.concatSeq == i + 1,
                       part.hex);
        } else {
            FUZZ_CHECK(sms.concatRef == -1, part.hex);
        }
        FUZZ_CHECK(sms.text == pieces.at(i), sms.text + QStringLiteral(" / ") + pieces.at(i));
        joined += sms.text;
    }
    FUZZ_CHECK(joined == text, joined);
    return 0;
}
