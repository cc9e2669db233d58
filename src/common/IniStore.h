#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

class LogWriter;

// Access to the settings file and to message files, both INI files, with the profile-string
// rules the stored files rely on:
// - section and key names match without regard to case and to blanks around them;
// - the first "=" splits name from value; values come back trimmed, with one pair of
//   enclosing double quotes dropped; a missing file, section or key reads as "";
// - a line without "=" is no key; comments and blank lines survive every write;
// - with duplicate sections or keys the first one counts;
// - writing replaces a value in place, appends a new key at the end of its section and a
//   new section at the end of the file, and creates the file (not its folder);
// - each line is read as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise; a write
//   changes only the lines it must, and every other line keeps its bytes and its line end
//   (a line it writes is UTF-8 and takes the file's own line end).
// Every write replaces the file atomically, and a value never carries a line break into it.
// Parsed files are cached by path, size, modification time and inode. An empty file
// argument means the settings file. Not thread-safe: use it from the UI thread.
class IniStore {
public:
    explicit IniStore(QString settingsFile = {}, LogWriter* log = nullptr);
    ~IniStore();
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    void setSettingsFile(const QString& path) { m_settingsFile = path; }
    QString settingsFile() const { return m_settingsFile; }
    // Refused keys and failed writes are logged here when set.
    void setLog(LogWriter* log) { m_log = log; }

    QString readINI(const QString& section, const QString& key, const QString& file = {}) const;
    // Several values of one file in one look at it, in the order of the (section, key) pairs,
    // each as readINI gives it: a listing of thousands of files checks each file once.
    QStringList readINIValues(const QList<std::pair<QString, QString>>& sectionKeys,
                              const QString& file = {}) const;
    bool writeINI(const QString& section, const QString& key, const QString& value, const QString& file = {});
    // Several keys of one section in one atomic replacement of the file (all or nothing).
    bool writeINIValues(const QString& section, const QList<std::pair<QString, QString>>& values,
                        const QString& file = {});
    // Sets values and removes the keys named in deletions, all in one section, in one atomic
    // replacement of the file (all or nothing). A key both set and deleted is set.
    bool updateINIKeys(const QString& section, const QList<std::pair<QString, QString>>& values,
                       const QStringList& deletions, const QString& file = {});
    // Gives each listed section exactly the keys listed, in that order, in one atomic
    // replacement of the file (all or nothing); a section listed with no keys is removed.
    // Other sections keep their lines.
    bool replaceINISections(const QList<std::pair<QString, QList<std::pair<QString, QString>>>>& sections,
                            const QString& file = {});
    bool deleteINIKey(const QString& section, const QString& key, const QString& file = {});
    bool deleteINISection(const QString& section, const QString& file = {});
    // Key names as spelled, in file order, joined by separator; "" for a missing or empty section.
    QString readINIKeys(const QString& section, const QString& file = {}, const QString& separator = QStringLiteral(",")) const;

    // The same as lists, for callers that do not want to split a joined text again.
    QStringList keys(const QString& section, const QString& file = {}) const;
    QStringList sections(const QString& file = {}) const;
    bool hasSection(const QString& section, const QString& file = {}) const;

    // Whether the file exists and can be read (a message file claimed for sending is read once).
    bool isReadable(const QString& file) const;

    // Replaces or creates the file with bytes: written beside it under a temporary name, the
    // write and its flush checked to the last byte, then renamed over it. On failure the old
    // file stays exactly as it was and error (when given) says why. A new file is made
    // readable and writable by its owner only; an existing one keeps its permissions.
    static bool writeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
    // Tests: every following write stops after acceptBytes bytes, as a full disk stops it,
    // with errorNumber (ENOSPC); a negative acceptBytes ends it.
    static void setWriteFaultForTest(qint64 acceptBytes, int errorNumber = 28);

    // Whether a modification time (ns since the epoch) lies within the file system's time-stamp
    // grain of now: a change in the same grain would leave it unchanged, so it proves nothing.
    static bool isRecentStamp(qint64 mtimeNs);

    // Whether a key or section name can be written without breaking the file.
    static bool isValidKey(const QString& key);
    static bool isValidSection(const QString& section);

    // Drops every cached file (tests that rewrite files behind the store's back in the same
    // nanosecond do not need it: the cache checks size, time and inode).
    void clearCache();
    // Drops one file's parsed copy (a message file that has been handled and is not read again).
    void forget(const QString& file) { m_cache.remove(resolve(file)); }
    bool isCached(const QString& file) const { return m_cache.contains(resolve(file)); }

    struct Parsed;

private:
    QString resolve(const QString& file) const;
    std::shared_ptr<const Parsed> load(const QString& path) const;
    // The file as parsed, or null (with a log line) when it cannot be written.
    std::shared_ptr<const Parsed> loadForWrite(const QString& path, const QString& what) const;
    // False (with a log line) when a name would break the file.
    bool namesWritable(const QString& section, const QList<std::pair<QString, QString>>& values,
                       const QString& path) const;
    bool store(const QString& path, const QByteArray& bytes, const QString& what);
    void logError(const QString& text) const;

    QString m_settingsFile;
    LogWriter* m_log = nullptr;
    mutable QHash<QString, std::shared_ptr<const Parsed>> m_cache;
};

// Decodes the bytes of a text file line by line: UTF-8 where a line is valid UTF-8,
// Windows-1252 where it is not (a byte-order mark is skipped).
QString decodeTextFile(const QByteArray& bytes);
