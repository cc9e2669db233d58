#include "ProgramFolder.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "IniStore.h"

namespace ProgramFolder {

QString locate(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--home") && i + 1 < arguments.size()) {
            return QDir::cleanPath(QDir(arguments[i + 1]).absolutePath());
        }
        if (a.startsWith(QLatin1String("--home="))) {
            return QDir::cleanPath(QDir(a.mid(7)).absolutePath());
        }
    }
    const QString env = qEnvironmentVariable("TELLWICK_HOME");
    if (!env.isEmpty()) {
        return QDir::cleanPath(QDir(env).absolutePath());
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty()) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/tellwick"));
}

bool ensure(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(path).isDir()) {
        return true;
    }
    // The missing folders from the top down, each made private as it is made.
    QStringList missing;
    for (QString p = path; !p.isEmpty() && !QFileInfo::exists(p);) {
        missing.prepend(p);
        const QString parent = QFileInfo(p).path();
        if (parent == p) {
            break;
        }
        p = parent;
    }
    for (const QString& p : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(p).constData(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return QFileInfo(path).isDir();
}

QString sharedFileWarning(const QString& file) {
    struct stat st {};
    if (file.isEmpty() || ::stat(QFile::encodeName(file).constData(), &st) != 0 || (st.st_mode & 0077) == 0) {
        return {};
    }
    return QStringLiteral(
               "Warning: other users of this computer can read %1 (permissions %2); "
               "chmod 600 keeps it private")
        .arg(file)
        .arg(st.st_mode & 0777, 3, 8, QLatin1Char('0'));
}

QString join(const QString& folder, const QString& name) {
    if (name.isEmpty()) {
        return folder;
    }
    if (QDir::isAbsolutePath(name) || folder.isEmpty()) {
        return name;
    }
    if (folder.endsWith(u'/')) {
        return folder + name;
    }
    return folder + u'/' + name;
}

QString settingsFile(const QString& folder) {
    const QString home = join(folder, QStringLiteral("tellwick.ini"));
    IniStore probe(home);
    const QString redirect = probe.readINI(QStringLiteral("Settings"), QStringLiteral("INI"));
    if (redirect.isEmpty()) {
        return home;
    }
    return QDir::cleanPath(join(folder, QString(redirect).replace(u'\\', u'/')));
}

}  // namespace ProgramFolder

ProgramLock::ProgramLock(const QString& folder)
    : m_lock(std::make_unique<QLockFile>(ProgramFolder::join(folder, QString::fromLatin1(kFileName)))) {
    // A lock is never stale for its age: a program runs for months. Only a holder that is gone
    // makes it stale.
    m_lock->setStaleLockTime(0);
}

bool ProgramLock::tryLock() {
    m_error.clear();
    if (m_lock->tryLock(0)) {
        return true;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_error = m_lock->error() == QLockFile::PermissionError
                      ? QStringLiteral("the lock file %1 cannot be made").arg(m_lock->fileName())
                      : QStringLiteral("the lock file %1 cannot be read").arg(m_lock->fileName());
    }
    return false;
}

QString ProgramLock::holder() const {
    qint64 pid = 0;
    QString host;
    QString app;
    if (!m_lock->getLockInfo(&pid, &host, &app)) {
        return {};
    }
    return QStringLiteral("process %1 on %2")
        .arg(pid)
        .arg(host.isEmpty() ? QStringLiteral("this computer") : host);
}
