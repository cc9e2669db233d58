#include "Spool.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "IniStore.h"
#include "ProgramFolder.h"

namespace Spool {

namespace {

bool hasSmsSuffix(const QByteArray& name) {
    return name.size() > 4 && name.right(4).toLower() == ".sms";
}

QString kindOf(mode_t mode) {
    if (S_ISLNK(mode)) {
        return QStringLiteral("a symbolic link");
    }
    if (S_ISDIR(mode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a FIFO");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    return QStringLiteral("no regular file");
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// rename() that never replaces a file: false with errno EEXIST when the target exists.
bool renameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the flag: the program holds its folders alone, so a look first is safe.
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

// "<base>.sms", else "<base>_<m>.sms" for m = 2, 3, ...
QString numberedName(const QString& name, int m) {
    if (m < 2) {
        return name;
    }
    const bool sms = name.endsWith(QLatin1String(".sms"), Qt::CaseInsensitive);
    const QString base = sms ? name.chopped(4) : name;
    return base + u'_' + QString::number(m) + (sms ? name.right(4) : QString());
}

// Renames from into folder under name or a numbered name beside it; errno is kept on failure.
QString renameInto(const QByteArray& from, const QString& folder, const QString& name) {
    for (int m = 1; m < 100000; ++m) {
        const QString target = ProgramFolder::join(folder, numberedName(name, m));
        if (renameNoReplace(from, QFile::encodeName(target))) {
            return target;
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
}

}  // namespace

Listing scan(const QString& folder) {
    Listing listing;
    const QByteArray dirName = QFile::encodeName(folder);
    DIR* dir = ::opendir(dirName.constData());
    if (!dir) {
        return listing;
    }
    const int fd = ::dirfd(dir);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name.startsWith('.') || !hasSmsSuffix(name)) {
            continue;  // hidden, ours, or no message
        }
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone meanwhile
        }
        if (!S_ISREG(st.st_mode)) {
            listing.others.append({name, kindOf(st.st_mode)});
            continue;
        }
        Entry entry;
        entry.name = name;
        entry.path = prefix + QFile::decodeName(name);
        entry.size = st.st_size;
        entry.modifiedMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        entry.inode = st.st_ino;
        listing.messages.append(entry);
    }
    ::closedir(dir);
    return listing;
}

void sortForSending(QList<Entry>& entries) {
    static const QRegularExpression ours(QStringLiteral("^(\\d{8}-\\d{6}-[^-]*-\\d{3,})(?:-(\\d+))?$"));
    struct Key {
        QString stem;
        qint64 part = 0;
        qint64 time = 0;
    };
    QList<Key> keys;
    keys.reserve(entries.size());
    QHash<QString, qint64> groupTime;
    for (const Entry& e : std::as_const(entries)) {
        Key k;
        k.stem = QString::fromUtf8(e.name.chopped(4));
        const QRegularExpressionMatch m = ours.match(k.stem);
        if (m.hasMatch()) {
            k.stem = m.captured(1);
            k.part = m.captured(2).toLongLong();
        }
        auto it = groupTime.find(k.stem);
        if (it == groupTime.end()) {
            groupTime.insert(k.stem, e.modifiedMs);
        } else if (e.modifiedMs < *it) {
            *it = e.modifiedMs;
        }
        keys.append(k);
    }
    QList<qsizetype> order(entries.size());
    for (qsizetype i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const Key& ka = keys[a];
        const Key& kb = keys[b];
        const qint64 ta = groupTime.value(ka.stem);
        const qint64 tb = groupTime.value(kb.stem);
        if (ta != tb)
            return ta < tb;
        if (ka.stem != kb.stem)
            return ka.stem < kb.stem;
        if (ka.part != kb.part)
            return ka.part < kb.part;
        return entries[a].name < entries[b].name;
    });
    QList<Entry> sorted;
    sorted.reserve(entries.size());
    for (const qsizetype i : std::as_const(order)) {
        sorted.append(entries[i]);
    }
    entries = std::move(sorted);
}

QString ownerId(const QString& programFolder) {
    const QByteArray path = QFile::encodeName(QDir::cleanPath(QDir(programFolder).absolutePath()));
    return QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(12));
}

QString claimFolder(const QString& folder, const QString& owner) {
    return ProgramFolder::join(ProgramFolder::join(folder, QString::fromLatin1(kClaimFolder)), owner);
}

QString unfiledFolder(const QString& folder) {
    return ProgramFolder::join(ProgramFolder::join(folder, QString::fromLatin1(kClaimFolder)),
                               QString::fromLatin1(kUnfiledFolder));
}

QString folderOfClaim(const QString& claimed) {
    return QFileInfo(QFileInfo(QFileInfo(claimed).path()).path()).path();
}

QString decodedName(const QByteArray& name) {
    return QByteArrayView(name).isValidUtf8() ? QString::fromUtf8(name) : decodeTextFile(name);
}

QString claim(const QString& folder, const QString& owner, const QByteArray& name, QString* error,
              bool* gone) {
    if (gone) {
        *gone = false;
    }
    const QByteArray from = QFile::encodeName(folder) + '/' + name;
    const QString work = claimFolder(folder, owner);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QString claimed = renameInto(from, work, decodedName(name));
        if (!claimed.isEmpty()) {
            return claimed;
        }
        const int why = errno;
        struct stat st {};
        if (::lstat(from.constData(), &st) != 0) {
            if (gone) {
                *gone = true;
            }
            return {};
        }
        // The unfiled folder is made with the working folder: a message that cannot be filed
        // later (a full disk) must not need a new folder to get out of the sending's way.
        if (why != ENOENT || attempt > 0 || !ProgramFolder::ensure(work) ||
            !ProgramFolder::ensure(unfiledFolder(folder))) {
            if (error) {
                *error = errorText(why);
            }
            return {};
        }
    }
    return {};
}

QString moveInto(const QString& file, const QString& folder, QString* error) {
    const QByteArray from = QFile::encodeName(file);
    const QString name = QFileInfo(file).fileName();
    QString target = renameInto(from, folder, name);
    if (!target.isEmpty()) {
        return target;
    }
    int why = errno;
    if (why == ENOENT && ProgramFolder::ensure(folder)) {
        target = renameInto(from, folder, name);
        if (!target.isEmpty()) {
            return target;
        }
        why = errno;
    }
    if (why == EXDEV) {
        // Another file system: a checked copy first, then the original goes.
        QFile in(file);
        QByteArray bytes;
        QString copyError;
        if (!in.open(QIODevice::ReadOnly)) {
            copyError = in.errorString();
        } else {
            bytes = in.readAll();
            in.close();
            for (int m = 1; m < 100000 && target.isEmpty(); ++m) {
                const QString candidate = ProgramFolder::join(folder, numberedName(name, m));
                if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink()) {
                    target = candidate;
                }
            }
            if (!target.isEmpty() && IniStore::writeFile(target, bytes, &copyError)) {
                QFile::remove(file);
                return target;
            }
        }
        if (error) {
            *error = copyError;
        }
        return {};
    }
    if (error) {
        *error = errorText(why);
    }
    return {};
}

QStringList recover(const QString& folder, const QString& owner, QStringList* errors) {
    QStringList names;
    const QString work = claimFolder(folder, owner);
    for (const Entry& e : scan(work).messages) {
        QString why;
        const QString back = moveInto(ProgramFolder::join(work, decodedName(e.name)), folder, &why);
        if (back.isEmpty()) {
            if (errors) {
                errors->append(QStringLiteral("%1: %2").arg(decodedName(e.name), why));
            }
            continue;
        }
        names.append(QFileInfo(back).fileName());
    }
    return names;
}

}  // namespace Spool
