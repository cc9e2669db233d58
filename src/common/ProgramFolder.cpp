#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

bool ensure(const QString& folder) { return !folder.isEmpty() && QDir().mkpath(folder); }

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
