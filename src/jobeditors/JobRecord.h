#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class IniStore;

// One job's section of the settings file: its keys, its on/off flags, and the keys every job
// has. Until a job key is set every key reads "".
class JobRecord {
public:
    explicit JobRecord(IniStore& ini) : m_ini(ini) {}

    void setKey(const QString& jobKey) { m_key = jobKey; }
    const QString& key() const { return m_key; }
    QString section() const;

    QString read(const QString& key) const;
    // Between beginSave and commitSave, writes and removals are only collected (the last one
    // of a key counts) and go to the file together in one write; otherwise each is written at
    // once.
    void write(const QString& key, const QString& value);
    void remove(const QString& key);
    void beginSave();
    // False when the settings file refused the write: then nothing of it was stored.
    bool commitSave();
    // A stored flag as a check box takes it ("1" ticks, "" or "0" does not), and back.
    bool readFlag(const QString& key) const;
    void writeFlag(const QString& key, bool on);

    // The keys every job has.
    struct Common {
        QString identifier;
        QString name;
        QString description;
        bool active = false;
    };
    Common readCommon() const;
    // Type, Identification, Name and Description, in this order.
    void writeHead(int typeIndex, const QString& identifier, const QString& name, const QString& description);
    bool readActive() const;
    void writeActive(bool on);

    // A number list as stored: typed with "," or ";" between the numbers, kept with ",".
    static QString storedNumberList(const QString& typed);

private:
    IniStore& m_ini;
    QString m_key;
    bool m_saving = false;
    QList<std::pair<QString, QString>> m_values;
    QStringList m_deletions;
};
