#include "IniStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
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

// A value as a reader takes it from the text after "=": trimmed, one pair of enclosing
// double quotes dropped.
QString valueAsRead(const QString& text) {
    QString v = text.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"')) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}

constexpr qsizetype kMaxCachedFiles = 8192;

struct WriteFault {
    qint64 acceptBytes = -1;
    int errorNumber = 0;
};
WriteFault g_writeFault;

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

namespace {

QString decodeCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

}  // namespace

QString decodeTextFile(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    if (view.isValidUtf8()) {
        return QString::fromUtf8(view);
    }
    // Line by line: a hand edit in another editor leaves single lines in another encoding,
    // and those must not take the rest of the file with them.
    QString text;
    text.reserve(view.size());
    while (!view.isEmpty()) {
        const qsizetype nl = view.indexOf('\n');
        const QByteArrayView line = nl < 0 ? view : view.first(nl);
        text += line.isValidUtf8() ? QString::fromUtf8(line) : decodeCp1252(line);
        if (nl < 0) {
            break;
        }
        text += u'\n';
        view = view.sliced(nl + 1);
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
    // Set while the stamp is too recent to tell a later change apart from this copy: the
    // bytes are then compared as well.
    mutable bool racy = false;
    // The file as it was read or written: a write keeps the bytes of every line it does not change.
    QByteArray bytes;
    QStringList lines;
    QList<Section> sections;
    QHash<QString, int> sectionIndex;  // folded name -> first section

    const Section* section(const QString& name) const {
        const auto it = sectionIndex.constFind(keyOf(name));
        return it == sectionIndex.cend() ? nullptr : &sections[*it];
    }

    void read(const QByteArray& fileBytes) {
        bytes = fileBytes;
        lines = decodeTextFile(bytes).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) {
            lines.removeLast();
        }
        for (QString& line : lines) {
            if (line.endsWith(u'\r')) {
                line.chop(1);
            }
        }
        parse();
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
            k.value = valueAsRead(t.mid(eq + 1));
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

namespace {

// The lines of a file as bytes, each with its own line end, for a write that changes some
// of them: the others keep their bytes. A changed line is written in UTF-8 and keeps its line
// end; a new line takes the file's own (the first line end found; LF in a file without one).
class RawLines {
public:
    explicit RawLines(const QByteArray& bytes) {
        QByteArrayView view(bytes);
        if (view.startsWith("\xEF\xBB\xBF")) {
            m_bom = view.first(3).toByteArray();
            view = view.sliced(3);
        }
        while (!view.isEmpty()) {
            const qsizetype nl = view.indexOf('\n');
            const qsizetype len = nl < 0 ? view.size() : nl + 1;
            m_lines.append(view.first(len).toByteArray());
            if (nl >= 0 && m_eol.isEmpty()) {
                m_eol = nl > 0 && view.at(nl - 1) == '\r' ? QByteArray("\r\n") : QByteArray("\n");
            }
            view = view.sliced(len);
        }
        if (m_eol.isEmpty()) {
            m_eol = "\n";
        }
    }

    void set(qsizetype i, const QString& text) { m_lines[i] = text.toUtf8() + lineEnd(m_lines[i]); }

    void insert(qsizetype i, const QString& text) {
        if (i == m_lines.size() && i > 0 && !m_lines.last().endsWith('\n')) {
            m_lines.last() += m_lines.last().endsWith('\r') ? QByteArray("\n") : m_eol;
        }
        m_lines.insert(i, text.toUtf8() + m_eol);
    }

    void insert(qsizetype i, const QStringList& block) {
        if (block.isEmpty()) {
            return;
        }
        insert(i, block.first());
        QList<QByteArray> rest;
        rest.reserve(block.size() - 1);
        for (qsizetype k = 1; k < block.size(); ++k) {
            rest.append(block.at(k).toUtf8() + m_eol);
        }
        QList<QByteArray> joined;
        joined.reserve(m_lines.size() + rest.size());
        joined.append(m_lines.mid(0, i + 1));
        joined.append(rest);
        joined.append(m_lines.mid(i + 1));
        m_lines = std::move(joined);
    }

    void remove(qsizetype from, qsizetype count) { m_lines.remove(from, count); }

    QByteArray bytes() const {
        QByteArray out = m_bom;
        for (const QByteArray& line : m_lines) {
            out += line;
        }
        return out;
    }

private:
    static QByteArray lineEnd(const QByteArray& line) {
        if (line.endsWith("\r\n")) {
            return QByteArrayLiteral("\r\n");
        }
        if (line.endsWith('\n') || line.endsWith('\r')) {
            return line.right(1);
        }
        return {};
    }

    QByteArray m_bom;
    QByteArray m_eol;
    QList<QByteArray> m_lines;
};

}  // namespace

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
        if (hit && (*it)->bytes == bytes) {
            (*it)->racy = !settled;
            return *it;
        }
        parsed->read(bytes);
        parsed->racy = !settled;
    }
    if (m_cache.size() >= kMaxCachedFiles) {
        m_cache.clear();
    }
    m_cache.insert(path, parsed);
    return parsed;
}

void IniStore::setWriteFaultForTest(qint64 acceptBytes, int errorNumber) {
    g_writeFault = {acceptBytes, errorNumber};
}

bool IniStore::writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    struct stat before {};
    const bool isNew = ::stat(QFile::encodeName(path).constData(), &before) != 0;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        return fail(out.errorString());
    }
    if (isNew) {
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    const qint64 size = bytes.size();
    const qint64 accepted = g_writeFault.acceptBytes >= 0 ? std::min(g_writeFault.acceptBytes, size) : size;
    // A buffered write reports success; the disk's answer comes with the flush. Both are checked,
    // and the file must hold every byte before it may replace the old one.
    if (out.write(bytes.constData(), accepted) != accepted || !out.flush()) {
        const QString why = out.errorString();
        out.cancelWriting();
        return fail(why);
    }
    if (accepted < size) {
        out.cancelWriting();
        return fail(QString::fromLocal8Bit(std::strerror(g_writeFault.errorNumber)));
    }
    struct stat written {};
    if (::fstat(out.handle(), &written) != 0 || written.st_size != size) {
        out.cancelWriting();
        return fail(QStringLiteral("the file holds %1 of %2 bytes").arg(qint64(written.st_size)).arg(size));
    }
    if (!out.commit()) {
        return fail(out.errorString());
    }
    return true;
}

bool IniStore::store(const QString& path, const QByteArray& bytes, const QString& what) {
    QString why;
    if (!writeFile(path, bytes, &why)) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: %3").arg(what, path, why));
        m_cache.remove(path);
        return false;
    }
    auto parsed = std::make_shared<Parsed>();
    parsed->read(bytes);
    parsed->stamp = stampOf(path);
    parsed->racy = nowNs() - parsed->stamp.mtimeNs < kStampGrainNs;
    m_cache.insert(path, parsed);
    return true;
}

bool IniStore::isRecentStamp(qint64 mtimeNs) { return nowNs() - mtimeNs < kStampGrainNs; }

bool IniStore::isReadable(const QString& file) const {
    const QString path = resolve(file);
    if (path.isEmpty()) {
        return false;
    }
    const auto parsed = load(path);
    return parsed->stamp.exists && parsed->readable;
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

// The lines "key=value" of a block of new keys: a key named twice keeps its first place and
// its last value.
QStringList newKeyLines(const QList<std::pair<QString, QString>>& values) {
    QStringList added;
    QHash<QString, qsizetype> addedAt;
    for (const auto& [key, value] : values) {
        const QString line = key.trimmed() + u'=' + valueForFile(value);
        const QString folded = keyOf(key);
        if (const auto pending = addedAt.constFind(folded); pending != addedAt.cend()) {
            added[*pending] = line;
        } else {
            addedAt.insert(folded, added.size());
            added.append(line);
        }
    }
    return added;
}

// Inserts lines at one place, in the parsed lines and in their bytes alike.
void insertLines(IniStore::Parsed& p, RawLines& raw, int at, const QStringList& block) {
    QStringList joined;
    joined.reserve(p.lines.size() + block.size());
    joined.append(p.lines.mid(0, at));
    joined.append(block);
    joined.append(p.lines.mid(at));
    p.lines = std::move(joined);
    raw.insert(at, block);
}

// Sets keys of one section in the lines of a parsed file and in their bytes, and parses the
// lines once again. A key that already reads as the value is left as it stands; new keys go
// together to the end of the section (after its last non-blank line).
void applyValues(IniStore::Parsed& p, RawLines& raw, const QString& section,
                 const QList<std::pair<QString, QString>>& values) {
    QStringList& lines = p.lines;
    const IniStore::Parsed::Section* s = p.section(section);
    QList<std::pair<QString, QString>> fresh;
    for (const auto& [key, value] : values) {
        const auto it = s ? s->index.constFind(keyOf(key)) : QHash<QString, int>::const_iterator();
        if (s && it != s->index.cend()) {
            const IniStore::Parsed::Key& k = s->keys[*it];
            const QString cleanValue = valueForFile(value);
            if (k.value != valueAsRead(cleanValue)) {
                lines[k.line] = k.name + u'=' + cleanValue;
                raw.set(k.line, lines[k.line]);
            }
        } else {
            fresh.append({key, value});
        }
    }
    if (fresh.isEmpty()) {
        p.parse();
        return;
    }
    QStringList added = newKeyLines(fresh);
    if (!s) {
        added.prepend(u'[' + section.trimmed() + u']');
        insertLines(p, raw, int(lines.size()), added);
    } else {
        int at = s->header + 1;
        for (int i = s->end - 1; i > s->header; --i) {
            if (!lines[i].trimmed().isEmpty()) {
                at = i + 1;
                break;
            }
        }
        insertLines(p, raw, at, added);
    }
    p.parse();
}

}  // namespace

bool IniStore::namesWritable(const QString& section, const QList<std::pair<QString, QString>>& values,
                             const QString& path) const {
    for (const auto& [key, value] : values) {
        if (!isValidSection(section) || !isValidKey(key)) {
            logError(QStringLiteral("ERROR: refused to write key '%1' of section '%2' to %3: the name would break the file")
                         .arg(QString(key).replace(u'\n', u' ').replace(u'\r', u' '),
                              QString(section).replace(u'\n', u' ').replace(u'\r', u' '), path));
            return false;
        }
    }
    return true;
}

std::shared_ptr<const IniStore::Parsed> IniStore::loadForWrite(const QString& path, const QString& what) const {
    auto parsed = load(path);
    if (!parsed->readable) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: the file cannot be read").arg(what, path));
        return nullptr;
    }
    if (!parsed->stamp.exists && !QFileInfo(path).absoluteDir().exists()) {
        logError(QStringLiteral("ERROR: can't write %1 to %2: the folder does not exist").arg(what, path));
        return nullptr;
    }
    return parsed;
}

bool IniStore::writeINIValues(const QString& section, const QList<std::pair<QString, QString>>& values,
                              const QString& file) {
    const QString path = resolve(file);
    if (!namesWritable(section, values, path)) {
        return false;
    }
    if (path.isEmpty() || values.isEmpty()) {
        return !path.isEmpty();
    }
    const QString what = values.first().first.trimmed();
    const auto parsed = loadForWrite(path, what);
    if (!parsed) {
        return false;
    }
    Parsed work = *parsed;
    RawLines raw(parsed->bytes);
    applyValues(work, raw, section, values);
    const QByteArray bytes = raw.bytes();
    if (parsed->stamp.exists && bytes == parsed->bytes) {
        return true;
    }
    return store(path, bytes, what);
}

bool IniStore::updateINIKeys(const QString& section, const QList<std::pair<QString, QString>>& values,
                             const QStringList& deletions, const QString& file) {
    const QString path = resolve(file);
    if (!namesWritable(section, values, path) || path.isEmpty()) {
        return false;
    }
    const QString what = u'[' + section.trimmed() + u']';
    const auto parsed = loadForWrite(path, what);
    if (!parsed) {
        return false;
    }
    Parsed work = *parsed;
    RawLines raw(parsed->bytes);
    if (const Parsed::Section* s = work.section(section)) {
        QSet<QString> kept;
        for (const auto& value : values) {
            kept.insert(keyOf(value.first));
        }
        QList<int> gone;
        for (const QString& key : deletions) {
            const auto it = s->index.constFind(keyOf(key));
            if (it != s->index.cend() && !kept.contains(keyOf(key)) && !gone.contains(s->keys[*it].line)) {
                gone.append(s->keys[*it].line);
            }
        }
        std::sort(gone.begin(), gone.end(), std::greater<int>());
        for (const int line : gone) {
            work.lines.removeAt(line);
            raw.remove(line, 1);
        }
        if (!gone.isEmpty()) {
            work.parse();
        }
    }
    if (!values.isEmpty()) {
        applyValues(work, raw, section, values);
    }
    const QByteArray bytes = raw.bytes();
    if (parsed->stamp.exists && bytes == parsed->bytes) {
        return true;
    }
    return store(path, bytes, what);
}

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
    RawLines raw(parsed->bytes);
    raw.remove(s->keys[*it].line, 1);
    return store(path, raw.bytes(), key.trimmed());
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
    RawLines raw(parsed->bytes);
    raw.remove(s->header, s->end - s->header);
    return store(path, raw.bytes(), u'[' + section.trimmed() + u']');
}

bool IniStore::replaceINISections(const QList<std::pair<QString, QList<std::pair<QString, QString>>>>& sections,
                                  const QString& file) {
    const QString path = resolve(file);
    for (const auto& [section, values] : sections) {
        if (!namesWritable(section, values, path)) {
            return false;
        }
    }
    if (path.isEmpty() || sections.isEmpty()) {
        return !path.isEmpty();
    }
    const QString what = u'[' + sections.first().first.trimmed() + u']';
    const auto parsed = loadForWrite(path, what);
    if (!parsed) {
        return false;
    }
    Parsed work = *parsed;
    RawLines raw(parsed->bytes);
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
            raw.remove(header, last + 1 - header);
            if (!values.isEmpty()) {
                insertLines(work, raw, header, QStringList{u'[' + section.trimmed() + u']'} + newKeyLines(values));
            }
            work.parse();
        } else if (!values.isEmpty()) {
            applyValues(work, raw, section, values);
        }
    }
    const QByteArray bytes = raw.bytes();
    if (parsed->stamp.exists && bytes == parsed->bytes) {
        return true;
    }
    return store(path, bytes, what);
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
