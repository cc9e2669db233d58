#include "IniStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <ctime>
#include <sys/stat.h>

#include "LogWriter.h"

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
    FileStamp s;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        s.exists = true;
        s.size = st.st_size;
        s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        s.inode = st.st_ino;
        s.device = st.st_dev;
    }
    return s;
}

QString keyOf(const QString& name) { return name.trimmed().toCaseFolded(); }

// A value as it is written: line breaks become one blank each, and a value that a reader
// would lose its enclosing quotes or its outer blanks from gets one pair of quotes more.
QString valueForFile(const QString& value) {
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    const QString t = v.trimmed();
    if ((t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"')) || t.size() != v.size()) {
        v = u'"' + v + u'"';
    }
    return v;
}

constexpr qsizetype kMaxCachedFiles = 8192;

// Local file systems stamp modification times from a clock that may advance only once a
// timer tick (up to 10 ms). A file read within that tick of its last change could change
// again under the same stamp, so its cached copy is checked against the bytes until then.
constexpr qint64 kStampGrainNs = 20'000'000;

qint64 nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

}  // namespace

QString decodeTextFile(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    text.clear();
    text.reserve(view.size());
    for (const char c : view) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b)));
    }
    return text;
}

struct IniStore::Parsed {
    struct Key {
        QString name;
        QString value;
        int line = 0;
    };
    struct Section {
        QString name;
        int header = 0;
        int end = 0;  // one past its last line
        QList<Key> keys;
        QHash<QString, int> index;  // folded name -> first key
    };

    FileStamp stamp;
    bool readable = true;
    // Set while the stamp is too recent to tell a later change apart; raw holds the bytes
    // parsed, to compare with.
    mutable bool racy = false;
    mutable QByteArray raw;
    QStringList lines;
    QList<Section> sections;
    QHash<QString, int> sectionIndex;  // folded name -> first section

    const Section* section(const QString& name) const {
        const auto it = sectionIndex.constFind(keyOf(name));
        return it == sectionIndex.cend() ? nullptr : &sections[*it];
    }

    void parse() {
        sections.clear();
        sectionIndex.clear();
        for (int i = 0; i < lines.size(); ++i) {
            const QString t = lines[i].trimmed();
            if (t.startsWith(u'[')) {
                if (!sections.isEmpty()) {
                    sections.last().end = i;
                }
                const qsizetype close = t.indexOf(u']');
                Section s;
                s.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
                s.header = i;
                s.end = int(lines.size());
                const QString folded = s.name.toCaseFolded();
                if (!sectionIndex.contains(folded)) {  // the first of duplicates counts
                    sectionIndex.insert(folded, int(sections.size()));
                }
                sections.append(std::move(s));
                continue;
            }
            if (sections.isEmpty() || t.startsWith(u';')) {
                continue;
            }
            const qsizetype eq = t.indexOf(u'=');
            if (eq <= 0) {
                continue;
            }
            Key k;
            k.name = t.left(eq).trimmed();
            if (k.name.isEmpty()) {
                continue;
            }
            k.value = t.mid(eq + 1).trimmed();
            if (k.value.size() >= 2 && k.value.startsWith(u'"') && k.value.endsWith(u'"')) {
                k.value = k.value.mid(1, k.value.size() - 2);
            }
            k.line = i;
            Section& s = sections.last();
            const QString folded = k.name.toCaseFolded();
            if (!s.index.contains(folded)) {
                s.index.insert(folded, int(s.keys.size()));
            }
            s.keys.append(std::move(k));
        }
    }
};

IniStore::IniStore(QString settingsFile, LogWriter* log) : m_settingsFile(std::move(settingsFile)), m_log(log) {}

IniStore::~IniStore() = default;

void IniStore::clearCache() { m_cache.clear(); }

QString IniStore::resolve(const QString& file) const { return file.isEmpty() ? m_settingsFile : file; }

void IniStore::logError(const QString& text) const {
    if (m_log) {
        m_log->writeLog(text);
    }
}

bool IniStore::isValidKey(const QString& key) {
    const QString t = key.trimmed();
    return !t.isEmpty() && !t.contains(u'=') && !t.contains(u'\r') && !t.contains(u'\n') &&
           !t.startsWith(u'[') && !t.startsWith(u';');
}

bool IniStore::isValidSection(const QString& section) {
    const QString t = section.trimmed();
    return !t.isEmpty() && !t.contains(u']') && !t.contains(u'\r') && !t.contains(u'\n');
}

std::shared_ptr<const IniStore::Parsed> IniStore::load(const QString& path) const {
    const FileStamp stamp = stampOf(path);
    const auto it = m_cache.constFind(path);
    const bool hit = it != m_cache.cend() && (*it)->stamp == stamp;
    if (hit && !(*it)->racy) {
        return *it;
    }
    auto parsed = std::make_shared<Parsed>();
    parsed->stamp = stamp;
    if (stamp.exists) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            // Not cached: the file may become readable without a new stamp.
            parsed->readable = false;
            m_cache.remove(path);
            return parsed;
        }
        const QByteArray bytes = f.readAll();
        const bool settled = nowNs() - stamp.mtimeNs >= kStampGrainNs;
        if (hit && (*it)->raw == bytes) {
            (*it)->racy = !settled;
            if (settled) {
                (*it)->raw.clear();
            }
            return *it;
        }
        parsed->lines = decodeTextFile(bytes).split(u'\n');
        if (!parsed->lines.isEmpty() && parsed->lines.last().isEmpty()) {
            parsed->lines.removeLast();
        }
        for (QString& line : parsed->lines) {
            if (line.endsWith(u'\r')) {
                line.chop(1);
            }
        }
        parsed->parse();
        if (!settled) {
            parsed->racy = true;
            parsed->raw = bytes;
        }
    }
    if (m_cache.size() >= kMaxCachedFiles) {
        m_cache.clear();
    }
    m_cache.insert(path, parsed);
    return parsed;
}

bool IniStore::store(const QString& path, const QStringList& lines, const QString& what) {
    QSaveFile out(path);
    QString text = lines.join(u'\n');
    if (!lines.isEmpty()) {
        text.append(u'\n');
    }
    const QByteArray bytes = text.toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: %3").arg(what, path, out.errorString()));
        m_cache.remove(path);
        return false;
    }
    auto parsed = std::make_shared<Parsed>();
    parsed->lines = lines;
    parsed->parse();
    parsed->stamp = stampOf(path);
    if (nowNs() - parsed->stamp.mtimeNs < kStampGrainNs) {
        parsed->racy = true;
        parsed->raw = bytes;
    }
    m_cache.insert(path, parsed);
    return true;
}

QString IniStore::readINI(const QString& section, const QString& key, const QString& file) const {
    const QString path = resolve(file);
    if (path.isEmpty()) {
        return {};
    }
    const auto parsed = load(path);
    const Parsed::Section* s = parsed->section(section);
    if (!s) {
        return {};
    }
    const auto it = s->index.constFind(keyOf(key));
    return it == s->index.cend() ? QString() : s->keys[*it].value;
}

QStringList IniStore::readINIValues(const QList<std::pair<QString, QString>>& sectionKeys,
                                    const QString& file) const {
    QStringList values;
    values.reserve(sectionKeys.size());
    const QString path = resolve(file);
    const auto parsed = path.isEmpty() ? nullptr : load(path);
    const QString* lastSection = nullptr;
    const Parsed::Section* s = nullptr;
    for (const auto& [section, key] : sectionKeys) {
        if (!lastSection || *lastSection != section) {  // a section is looked up once per run of its keys
            s = parsed ? parsed->section(section) : nullptr;
            lastSection = &section;
        }
        const auto it = s ? s->index.constFind(keyOf(key)) : QHash<QString, int>::const_iterator();
        values.append(s && it != s->index.cend() ? s->keys[*it].value : QString());
    }
    return values;
}

bool IniStore::writeINI(const QString& section, const QString& key, const QString& value, const QString& file) {
    return writeINIValues(section, {{key, value}}, file);
}

namespace {

// Sets keys of one section in the lines of a parsed file and parses them once again.
void applyValues(IniStore::Parsed& p, const QString& section, const QList<std::pair<QString, QString>>& values);

}  // namespace

bool IniStore::writeINIValues(const QString& section, const QList<std::pair<QString, QString>>& values,
                              const QString& file) {
    const QString path = resolve(file);
    for (const auto& [key, value] : values) {
        if (!isValidSection(section) || !isValidKey(key)) {
            logError(QStringLiteral("ERROR: refused to write key '%1' of section '%2' to %3: the name would break the file")
                         .arg(QString(key).replace(u'\n', u' ').replace(u'\r', u' '),
                              QString(section).replace(u'\n', u' ').replace(u'\r', u' '), path));
            return false;
        }
    }
    if (path.isEmpty() || values.isEmpty()) {
        return !path.isEmpty();
    }
    const QString what = values.first().first.trimmed();
    const auto parsed = load(path);
    if (!parsed->readable) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: the file cannot be read").arg(what, path));
        return false;
    }
    if (!parsed->stamp.exists && !QFileInfo(path).absoluteDir().exists()) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: the folder does not exist").arg(what, path));
        return false;
    }
    Parsed work = *parsed;
    applyValues(work, section, values);
    if (parsed->stamp.exists && work.lines == parsed->lines) {
        return true;
    }
    return store(path, work.lines, what);
}

namespace {

void applyValues(IniStore::Parsed& p, const QString& section, const QList<std::pair<QString, QString>>& values) {
    QStringList& lines = p.lines;
    const IniStore::Parsed::Section* s = p.section(section);
    // New keys go together to the end of the section (after its last non-blank line); a key
    // named twice keeps its first place and its last value.
    QStringList added;
    QHash<QString, qsizetype> addedAt;
    for (const auto& [key, value] : values) {
        const QString line = key.trimmed() + u'=' + valueForFile(value);
        const QString folded = keyOf(key);
        const auto it = s ? s->index.constFind(folded) : QHash<QString, int>::const_iterator();
        if (s && it != s->index.cend()) {
            const IniStore::Parsed::Key& k = s->keys[*it];
            lines[k.line] = k.name + u'=' + valueForFile(value);
        } else if (const auto pending = addedAt.constFind(folded); pending != addedAt.cend()) {
            added[*pending] = line;
        } else {
            addedAt.insert(folded, added.size());
            added.append(line);
        }
    }
    if (!s) {
        if (!added.isEmpty()) {
            lines.append(u'[' + section.trimmed() + u']');
            lines.append(added);
        }
    } else if (!added.isEmpty()) {
        int at = s->header + 1;
        for (int i = s->end - 1; i > s->header; --i) {
            if (!lines[i].trimmed().isEmpty()) {
                at = i + 1;
                break;
            }
        }
        QStringList joined;
        joined.reserve(lines.size() + added.size());
        joined.append(lines.mid(0, at));
        joined.append(added);
        joined.append(lines.mid(at));
        lines = std::move(joined);
    }
    p.parse();
}

}  // namespace

bool IniStore::deleteINIKey(const QString& section, const QString& key, const QString& file) {
    const QString path = resolve(file);
    if (path.isEmpty()) {
        return false;
    }
    const auto parsed = load(path);
    const Parsed::Section* s = parsed->section(section);
    if (!s) {
        return parsed->readable;
    }
    const auto it = s->index.constFind(keyOf(key));
    if (it == s->index.cend()) {
        return true;
    }
    QStringList lines = parsed->lines;
    lines.removeAt(s->keys[*it].line);
    return store(path, lines, key.trimmed());
}

bool IniStore::deleteINISection(const QString& section, const QString& file) {
    const QString path = resolve(file);
    if (path.isEmpty()) {
        return false;
    }
    const auto parsed = load(path);
    const Parsed::Section* s = parsed->section(section);
    if (!s) {
        return parsed->readable;
    }
    QStringList lines = parsed->lines;
    lines.erase(lines.begin() + s->header, lines.begin() + s->end);
    return store(path, lines, u'[' + section.trimmed() + u']');
}

bool IniStore::replaceINISections(const QList<std::pair<QString, QList<std::pair<QString, QString>>>>& sections,
                                  const QString& file) {
    const QString path = resolve(file);
    for (const auto& [section, values] : sections) {
        for (const auto& [key, value] : values) {
            if (!isValidSection(section) || !isValidKey(key)) {
                logError(QStringLiteral("ERROR: refused to write key '%1' of section '%2' to %3: the name would break the file")
                             .arg(QString(key).replace(u'\n', u' ').replace(u'\r', u' '),
                                  QString(section).replace(u'\n', u' ').replace(u'\r', u' '), path));
                return false;
            }
        }
    }
    if (path.isEmpty() || sections.isEmpty()) {
        return !path.isEmpty();
    }
    const QString what = u'[' + sections.first().first.trimmed() + u']';
    const auto parsed = load(path);
    if (!parsed->readable) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: the file cannot be read").arg(what, path));
        return false;
    }
    if (!parsed->stamp.exists && !QFileInfo(path).absoluteDir().exists()) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: the folder does not exist").arg(what, path));
        return false;
    }
    Parsed work = *parsed;
    for (const auto& [section, values] : sections) {
        const Parsed::Section* s = work.section(section);
        if (s) {
            // The old block goes; blank lines that part it from the next section stay.
            int last = s->header;
            for (int i = s->end - 1; i > s->header; --i) {
                if (!work.lines[i].trimmed().isEmpty()) {
                    last = i;
                    break;
                }
            }
            const int header = s->header;
            work.lines.erase(work.lines.begin() + header, work.lines.begin() + last + 1);
            Parsed fresh;  // the header and the keys, nothing when there are none
            applyValues(fresh, section, values);
            QStringList joined;
            joined.reserve(work.lines.size() + fresh.lines.size());
            joined.append(work.lines.mid(0, header));
            joined.append(fresh.lines);
            joined.append(work.lines.mid(header));
            work.lines = std::move(joined);
            work.parse();
        } else if (!values.isEmpty()) {
            applyValues(work, section, values);
        }
    }
    if (parsed->stamp.exists && work.lines == parsed->lines) {
        return true;
    }
    return store(path, work.lines, what);
}

QStringList IniStore::keys(const QString& section, const QString& file) const {
    const QString path = resolve(file);
    if (path.isEmpty()) {
        return {};
    }
    const auto parsed = load(path);
    const Parsed::Section* s = parsed->section(section);
    QStringList names;
    if (s) {
        names.reserve(s->keys.size());
        for (const auto& k : s->keys) {
            names.append(k.name);
        }
    }
    return names;
}

QString IniStore::readINIKeys(const QString& section, const QString& file, const QString& separator) const {
    return keys(section, file).join(separator);
}

QStringList IniStore::sections(const QString& file) const {
    const QString path = resolve(file);
    QStringList names;
    if (path.isEmpty()) {
        return names;
    }
    for (const auto& s : load(path)->sections) {
        names.append(s.name);
    }
    return names;
}

bool IniStore::hasSection(const QString& section, const QString& file) const {
    const QString path = resolve(file);
    return !path.isEmpty() && load(path)->section(section) != nullptr;
}
