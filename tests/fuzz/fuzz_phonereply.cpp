// The cleaning of the phone's replies: any bytes the line brings.
#include "FuzzCommon.h"
#include "PhoneReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = Fuzz::bytes(data, size);
    PhoneReply::endsInPrompt(bytes);
    for (int flags = 0; flags < 4; ++flags) {
        PhoneReply::isComplete(bytes, flags & 1, flags & 2);
        int owed = flags;
        const PhoneReply::Reply r =
            PhoneReply::take(bytes, bytes.size() / 2, "AT+CREG?", flags & 1, flags & 2, &owed);
        FUZZ_CHECK(r.end >= 0 && r.end <= bytes.size() && r.text.size() <= r.end,
                   PhoneReply::fromLine(bytes));
    }
    const QString raw = PhoneReply::fromLine(bytes);
    FUZZ_CHECK(PhoneReply::toLine(raw) == bytes, raw);

    // The command is the reply's first line when it has one (an echo), else a usual one.
    const qsizetype cr = bytes.indexOf('\r');
    const QString command = cr > 0 ? PhoneReply::fromLine(bytes.left(cr)) : QStringLiteral("AT+CPBR=1");
    for (const bool keepOK : {false, true}) {
        const QString cleaned = PhoneReply::clean(raw, command, keepOK);
        FUZZ_CHECK(!cleaned.contains(u'\r') && !cleaned.contains(u'\n'), cleaned);
    }
    return 0;
}
