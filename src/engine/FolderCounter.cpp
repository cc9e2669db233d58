#include "FolderCounter.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>

#include "IniStore.h"

int FolderCounter::count(const QString& folder) {
    if (folder.isEmpty()) {
        return 0;
    }
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0) {
        m_counted.remove(folder);
        return 0;
    }
    const qint64 mtime = qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    const auto it = m_counted.constFind(folder);
    if (it != m_counted.cend() && !it->racy && it->mtimeNs == mtime && it->inode == st.st_ino &&
        it->device == st.st_dev) {
        return it->files;
    }
    Counted c;
    c.mtimeNs = mtime;
    c.inode = st.st_ino;
    c.device = st.st_dev;
    c.racy = IniStore::isRecentStamp(mtime);
    c.files = int(QDir(folder).entryList({QStringLiteral("*.sms")}, QDir::Files).size());  // any case
    m_counted.insert(folder, c);
    return c.files;
}
