// The rule lists and numbers of a mailbox job as the settings file holds them.
#include "FuzzCommon.h"
#include "MailboxRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = Fuzz::text(Fuzz::bytes(data, size));
    const QList<MailboxRules::Rule> rules = MailboxRules::decode(text);
    for (const MailboxRules::Rule& rule : rules) {
        FUZZ_CHECK(rule.field == MailboxRules::kAddress || rule.field == MailboxRules::kSubject, rule.field);
        FUZZ_CHECK(!rule.expression.contains(u','), rule.expression);
    }
    // Stored again, the rows read back as they are.
    const QString stored = MailboxRules::encode(rules);
    FUZZ_CHECK(MailboxRules::decode(stored) == rules, stored);

    if (MailboxRules::isNumber(text)) {
        const double value = MailboxRules::numberValue(text);
        FUZZ_CHECK(value >= 0, text);
        MailboxRules::formatNumber(value);
    } else {
        FUZZ_CHECK(MailboxRules::numberValue(text) == 0, text);
    }
    const quint16 port = MailboxRules::portValue(text);
    FUZZ_CHECK(MailboxRules::isPort(text) ? port >= 1 : port == 0, text);
    return 0;
}
