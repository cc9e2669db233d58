#include "Settings.h"

#include <QDir>

#include "AppContext.h"
#include "ProgramFolder.h"

namespace Settings {

namespace {

QString folderSetting(AppContext& ctx, const char* key, const char* fallback) {
    QString value = ctx.ini().readINI(QStringLiteral("Settings"), QString::fromLatin1(key));
    value.replace(u'\\', u'/');
    if (value.isEmpty()) {
        value = QString::fromLatin1(fallback);
    }
    QString path = QDir::cleanPath(ProgramFolder::join(ctx.programFolder(), value));
    while (path.size() > 1 && path.endsWith(u'/')) {
        path.chop(1);
    }
    ProgramFolder::ensure(path);
    return path;
}

int intSetting(AppContext& ctx, const char* key, int fallback) {
    bool ok = false;
    const int v = ctx.ini().readINI(QStringLiteral("Settings"), QString::fromLatin1(key)).toInt(&ok);
    return ok ? v : fallback;
}

bool flagSetting(AppContext& ctx, const char* key, bool fallback) {
    const QString v = ctx.ini().readINI(QStringLiteral("Settings"), QString::fromLatin1(key));
    return v.isEmpty() ? fallback : v == QLatin1String("1");
}

}  // namespace

void read(AppContext& ctx) {
    SharedState& s = ctx.state();
    s.inDir = folderSetting(ctx, "InDir", "In");
    s.outDir = folderSetting(ctx, "OutDir", "Out");
    s.sentDir = folderSetting(ctx, "SentDir", "Sent");
    s.arcDir = folderSetting(ctx, "ArcDir", "Arc");
    s.logSMSFlag = flagSetting(ctx, "LogSMS", false);
    s.debugMode = flagSetting(ctx, "Debug", false);
    s.smtpServer = ctx.ini().readINI(QStringLiteral("Settings"), QStringLiteral("SMTPServer"));
    s.footer = ctx.ini().readINI(QStringLiteral("Settings"), QStringLiteral("Footer"));
    s.keepSent = flagSetting(ctx, "KeepSent", true);
    s.sendActive = flagSetting(ctx, "SendActive", false);
    s.receiveActive = flagSetting(ctx, "ReceiveActive", false);
    s.outTiming = intSetting(ctx, "OutTiming", 0);
    s.inTiming = intSetting(ctx, "InTiming", 0);
    s.timerInterval = intSetting(ctx, "Timer", 5000);
    s.timeoutSeconds = intSetting(ctx, "Timeout", 10);
    const DeviceIdentity& id = ctx.phone().identity();
    const bool nokia = id.manufacturer.contains(QLatin1String("nokia"), Qt::CaseInsensitive) ||
                       id.model.contains(QLatin1String("nokia"), Qt::CaseInsensitive);
    s.maxTextLen = (nokia ? 159 : 160) - int(s.footer.size());
    ctx.log().setDebugMode(s.debugMode);
}

}  // namespace Settings
