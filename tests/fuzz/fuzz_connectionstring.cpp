// The connection-string parser: any text in the database box of a job.
#include "Database.h"
#include "FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = Fuzz::text(Fuzz::bytes(data, size));
    const QList<ConnectionItem> items = parseConnectionString(text);
    QStringList formatted;
    for (const ConnectionItem& item : items) {
        FUZZ_CHECK(!item.key.isEmpty() || !item.value.isEmpty(), text);
        FUZZ_CHECK(item.key == item.key.trimmed(), item.key);
        connectionValue(items, item.key);
        formatted.append(formatConnectionItem(item.key, item.value));
    }
    // Items written back with formatConnectionItem read back the same, as long as no key
    // holds what ends a key (no quoting exists for keys).
    const bool plainKeys = std::all_of(items.begin(), items.end(), [](const ConnectionItem& item) {
        return !item.key.contains(u'=') && !item.key.contains(u';') && !item.key.startsWith(u'"') &&
               !item.key.startsWith(u'\'');
    });
    if (plainKeys) {
        const QString again = formatted.join(u';');
        const QList<ConnectionItem> reread = parseConnectionString(again);
        FUZZ_CHECK(reread.size() == items.size(), again);
        for (qsizetype i = 0; i < items.size(); ++i) {
            FUZZ_CHECK(reread.at(i).key == items.at(i).key && reread.at(i).value == items.at(i).value,
                       again);
        }
    }
    return 0;
}
