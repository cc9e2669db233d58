#include "JobRecord.h"

#include "Fields.h"
#include "IniStore.h"
#include "JobTypes.h"

namespace {
const QString kIdentification = QStringLiteral("Identification");
const QString kName = QStringLiteral("Name");
const QString kDescription = QStringLiteral("Description");
const QString kActive = QStringLiteral("Active");
}  // namespace

QString JobRecord::section() const {
    return jobSection(m_key);
}

QString JobRecord::read(const QString& key) const {
    return m_key.isEmpty() ? QString() : m_ini.readINI(section(), key);
}

namespace {

bool sameKey(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

}  // namespace

void JobRecord::write(const QString& key, const QString& value) {
    if (!m_saving) {
        m_ini.writeINI(section(), key, value);
        return;
    }
    m_deletions.removeIf([&](const QString& k) { return sameKey(k, key); });
    for (auto& pending : m_values) {
        if (sameKey(pending.first, key)) {
            pending.second = value;
            return;
        }
    }
    m_values.append({key, value});
}

void JobRecord::remove(const QString& key) {
    if (!m_saving) {
        m_ini.deleteINIKey(section(), key);
        return;
    }
    m_values.removeIf([&](const std::pair<QString, QString>& v) { return sameKey(v.first, key); });
    m_deletions.append(key);
}

void JobRecord::beginSave() {
    m_saving = true;
    m_values.clear();
    m_deletions.clear();
}

bool JobRecord::commitSave() {
    m_saving = false;
    const bool ok = m_ini.updateINIKeys(section(), m_values, m_deletions);
    m_values.clear();
    m_deletions.clear();
    return ok;
}

bool JobRecord::readFlag(const QString& key) const {
    return isFlagSet(read(key));
}

void JobRecord::writeFlag(const QString& key, bool on) {
    write(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

JobRecord::Common JobRecord::readCommon() const {
    return {read(kIdentification), read(kName), read(kDescription), readFlag(kActive)};
}

void JobRecord::writeHead(int typeIndex, const QString& identifier, const QString& name,
                          const QString& description) {
    write(QStringLiteral("Type"), QString::number(typeIndex));
    write(kIdentification, identifier);
    write(kName, name);
    write(kDescription, description);
}

bool JobRecord::readActive() const {
    return readFlag(kActive);
}

void JobRecord::writeActive(bool on) {
    writeFlag(kActive, on);
}

QString JobRecord::storedNumberList(const QString& typed) {
    return QString(typed).replace(u';', u',');
}
