#include "Settings.h"

#include <QDir>
#include <algorithm>

#include "AppContext.h"
#include "Fields.h"
#include "GsmAlphabet.h"
#include "ProgramFolder.h"

namespace Settings {

namespace {

QString folderSetting(AppContext& ctx, const QString& key, const QString& fallback) {
    QString value = Settings::value(ctx, key);
    value.replace(u'\\', u'/');
    if (value.isEmpty()) {
        value = fallback;
    }
    QString path = QDir::cleanPath(ProgramFolder::join(ctx.programFolder(), value));
    while (path.size() > 1 && path.endsWith(u'/')) {
        path.chop(1);
    }
    ProgramFolder::ensure(path);
    return path;
}

int intSetting(AppContext& ctx, const QString& key, int fallback, int lowest) {
    bool present = false;
    const int v = leadingInt(Settings::value(ctx, key), &present);
    return present && v >= lowest ? v : fallback;
}

bool flagSetting(AppContext& ctx, const QString& key, bool fallback) {
    return isFlagSet(Settings::value(ctx, key), fallback);
}

// Whether a part of a split text keeps kMinPartText units beside the footer and the widest
// prefix, in septets and in UCS2 alike (a text outside the alphabet has 70 units to a message).
bool footerLeavesRoom(const QString& footer, int base) {
    const int ucs2 = Gsm::kSingleUcs2 - int(footer.size());
    const int room = Gsm::isGsmText(footer) ? std::min(base - Gsm::septetCount(footer), ucs2) : ucs2;
    return room - kWidestPartPrefix >= kMinPartText;
}

}  // namespace

QString value(AppContext& ctx, const QString& key) {
    return ctx.ini().readINI(QString::fromLatin1(kSection), key);
}

int baseTextLen(const QString& manufacturer, const QString& model) {
    const bool nokia = manufacturer.contains(QLatin1String("nokia"), Qt::CaseInsensitive) ||
                       model.contains(QLatin1String("nokia"), Qt::CaseInsensitive);
    return nokia ? 159 : 160;
}

void read(AppContext& ctx) {
    SharedState& s = ctx.state();
    s.inDir = folderSetting(ctx, QStringLiteral("InDir"), QStringLiteral("In"));
    s.outDir = folderSetting(ctx, QStringLiteral("OutDir"), QStringLiteral("Out"));
    s.sentDir = folderSetting(ctx, QStringLiteral("SentDir"), QStringLiteral("Sent"));
    s.arcDir = folderSetting(ctx, QStringLiteral("ArcDir"), QStringLiteral("Arc"));
    s.logSMSFlag = flagSetting(ctx, QStringLiteral("LogSMS"), false);
    s.debugMode = flagSetting(ctx, QStringLiteral("Debug"), false);
    s.smtpServer = value(ctx, QStringLiteral("SMTPServer"));
    s.keepSent = flagSetting(ctx, QStringLiteral("KeepSent"), true);
    s.sendActive = flagSetting(ctx, QStringLiteral("SendActive"), true);
    s.receiveActive = flagSetting(ctx, QStringLiteral("ReceiveActive"), false);
    s.outTiming = intSetting(ctx, QStringLiteral("OutTiming"), 0, 0);
    s.inTiming = intSetting(ctx, QStringLiteral("InTiming"), 0, 0);
    s.timerInterval = intSetting(ctx, QStringLiteral("Timer"), 5000, 100);
    s.timeoutSeconds = intSetting(ctx, QStringLiteral("Timeout"), 10, 1);
    s.minimizeToTray = flagSetting(ctx, QStringLiteral("MinimizeToTray"), false);

    const DeviceIdentity& id = ctx.phone().identity();
    s.deviceManufacturer = id.manufacturer;
    s.deviceModel = id.model;
    const int base = baseTextLen(id.manufacturer, id.model);

    // A footer that would leave a part of a split text fewer than ten characters is not
    // appended at all; the full length is then available to the text.
    s.footer = value(ctx, QStringLiteral("Footer"));
    s.footerUsed = !s.footer.isEmpty() && footerLeavesRoom(s.footer, base);
    s.maxTextLen = s.footerUsed ? base - int(s.footer.size()) : base;
    ctx.log().setDebugMode(s.debugMode);
}

}  // namespace Settings
