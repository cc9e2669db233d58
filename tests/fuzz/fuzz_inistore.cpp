// The settings-file reader: any bytes as a settings or message file.
#include <QFile>
#include <QHash>

#include "FuzzCommon.h"
#include "IniStore.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::startApplication(argc, argv);
    return 0;
}

namespace {

using Values = QList<std::pair<std::pair<QString, QString>, QString>>;

// Every (section, key) the store lists, with the value it reads for it (in one look at the
// file: a file written this instant is read again at every look).
Values readAll(const IniStore& ini, const QString& path) {
    QList<std::pair<QString, QString>> sectionKeys;
    for (const QString& section : ini.sections(path)) {
        for (const QString& key : ini.keys(section, path)) {
            sectionKeys.append({section, key});
        }
    }
    const QStringList values = ini.readINIValues(sectionKeys, path);
    FUZZ_CHECK(values.size() == sectionKeys.size(), path);
    Values out;
    for (qsizetype i = 0; i < values.size(); ++i) {
        out.append({sectionKeys.at(i), values.at(i)});
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = Fuzz::bytes(data, size);
    decodeTextFile(bytes);

    const QString path = Fuzz::scratch().filePath(QStringLiteral("fuzz.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            Fuzz::fail("cannot write the scratch file", path);
        }
    }
    IniStore ini(path);  // a new store each time: no cached parse of an earlier input
    const Values before = readAll(ini, path);
    for (const auto& [sk, value] : before) {
        FUZZ_CHECK(!value.contains(u'\n'), value);
    }
    if (!before.isEmpty()) {
        const auto& [sk, value] = before.constLast();
        FUZZ_CHECK(ini.hasSection(sk.first, path), sk.first);
        FUZZ_CHECK(ini.readINI(sk.first, sk.second, path) == value, value);
    }

    // A new key in a new section: the file keeps every value it had, and gives the new one back.
    const QString section = QStringLiteral("Fuzz Section 7f3a");
    const QString key = QStringLiteral("FuzzKey7f3a");
    if (ini.hasSection(section, path)) {
        return 0;
    }
    const QString value = QStringLiteral("value \"quoted\" = with equals");
    FUZZ_CHECK(ini.writeINI(section, key, value, path), path);
    FUZZ_CHECK(ini.readINI(section, key, path) == value, ini.readINI(section, key, path));
    Values after = readAll(ini, path);
    after.removeIf([&](const auto& e) { return e.first.first.compare(section, Qt::CaseInsensitive) == 0; });
    FUZZ_CHECK(after == before, QStringLiteral("%1 values before, %2 after").arg(before.size()).arg(after.size()));

    // Deleting it again leaves the same values.
    FUZZ_CHECK(ini.deleteINISection(section, path), path);
    FUZZ_CHECK(readAll(ini, path) == before, path);
    return 0;
}
