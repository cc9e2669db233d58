#include "MessageFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "AppContext.h"
#include "Fields.h"
#include "LogWriter.h"
#include "ProgramFolder.h"
#include "Settings.h"
#include "TextCut.h"

namespace MessageFiles {

namespace {

QString section() {
    return QString::fromLatin1(kSection);
}
QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString folderOr(AppContext& ctx, const QString& folder, const QString& fallbackName) {
    if (!folder.isEmpty()) {
        return folder;
    }
    const QString dir = ctx.programPath(fallbackName);
    ProgramFolder::ensure(dir);
    return dir;
}

// Every line break (CR LF, CR or LF) becomes one blank.
QString oneLine(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    t.replace(u'\r', u' ');
    t.replace(u'\n', u' ');
    return t;
}

bool hasSmsSuffix(const QString& name) {
    return name.endsWith(QLatin1String(".sms"), Qt::CaseInsensitive);
}

// Stems ("<name>" of "<name>.sms", and "<name>" of "<name>-<k>.sms") present in a folder.
QSet<QString> takenStems(const QString& folder) {
    static const QRegularExpression partSuffix(QStringLiteral("^(.*)-\\d+$"));
    QSet<QString> stems;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!hasSmsSuffix(name)) {
            continue;
        }
        const QString base = name.chopped(4);
        stems.insert(base);
        const QRegularExpressionMatch m = partSuffix.match(base);
        if (m.hasMatch()) {
            stems.insert(m.captured(1));
        }
    }
    return stems;
}

bool writeMessage(IniStore& ini, const QString& path, const QString& number, const QString& text, bool report,
                  bool flash, bool manual) {
    const QString sec = section();
    return ini.writeINIValues(sec,
                              {{QStringLiteral("No"), number},
                               {QStringLiteral("Text"), text},
                               {QStringLiteral("Report"), flag(report)},
                               {QStringLiteral("Flash"), flag(flash)},
                               {QStringLiteral("Manual"), flag(manual)}},
                              path);
}

int digitsOf(int n) {
    return int(QString::number(n).size());
}

// A name in folder that no file holds yet: the name itself, else "<base>_<m>.sms".
QString freeName(const QString& folder, const QString& name) {
    QString target = ProgramFolder::join(folder, name);
    const QString base = hasSmsSuffix(name) ? name.chopped(4) : name;
    const QString ext = hasSmsSuffix(name) ? name.right(4) : QString();
    for (int m = 2; QFileInfo::exists(target); ++m) {
        target = ProgramFolder::join(folder, base + u'_' + QString::number(m) + ext);
    }
    return target;
}

// Files the message with its result in folder; the path it went to, "" when it could not
// be put there.
QString fileWithResult(AppContext& ctx, const QString& path, const QString& folder, const QString& result) {
    ProgramFolder::ensure(folder);
    const QString target = freeName(folder, QFileInfo(path).fileName());
    if (!QFile::rename(path, target)) {
        if (!QFile::copy(path, target)) {
            ctx.log().writeLog(QStringLiteral("ERROR: could not file %1 in %2").arg(path, folder));
            return {};
        }
        QFile::remove(path);
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString sec = QString::fromLatin1(kResultSection);
    IniStore& ini = ctx.ini();
    const bool ok = ini.writeINIValues(sec,
                                       {{QStringLiteral("Date"), now.toString(QStringLiteral("yyyy-MM-dd"))},
                                        {QStringLiteral("Time"), now.toString(QStringLiteral("HH:mm:ss"))},
                                        {QStringLiteral("Result"), result}},
                                       target);
    if (!ok) {
        ctx.log().writeLog(QStringLiteral("ERROR: could not add the result to %1: %2").arg(target, result));
    }
    // A handled message is not read again: its parsed copy would only take memory.
    ini.forget(target);
    return target;
}

}  // namespace

QString fileNameNumber(const QString& number) {
    QString out;
    out.reserve(number.size());
    for (const QChar c : number) {
        const bool plain =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'+';
        out += plain ? c : u'_';
    }
    return out;
}

SmsRoom roomFor(const SharedState& s, const QString& text) {
    SmsRoom room;
    room.footer = s.footerUsed ? s.footer : QString();
    // maxTextLen counts the septets a text may take beside the footer.
    int septets = s.maxTextLen + int(room.footer.size());
    if (s.maxTextLen <= Settings::kWidestPartPrefix) {
        septets = Settings::baseTextLen(s.deviceManufacturer, s.deviceModel);
        room.footer.clear();
    }
    room.coding = Gsm::codingFor(text + room.footer);
    const int single = room.coding == Gsm::Coding::Gsm7 ? septets : Gsm::kSingleUcs2;
    room.units = single - Gsm::unitsIn(room.footer, room.coding);
    return room;
}

qsizetype fittingLength(const SharedState& s, const QString& text) {
    const auto fits = [&s](const QString& part) {
        const SmsRoom room = roomFor(s, part);
        return Gsm::unitsIn(part, room.coding) <= room.units;
    };
    if (fits(text)) {
        return text.size();
    }
    // Whatever fits, a shorter beginning fits too (a UCS2 beginning of 70 units takes at most
    // 140 septets), so halving finds the longest; what it returns always fits.
    qsizetype lo = 0;
    qsizetype hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (fits(text.left(TextCut::cutPoint(text, mid)))) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return TextCut::cutPoint(text, lo);
}

namespace {

// The texts of the parts a text is split into, each with its "i/n:" prefix, without the
// footer: with the footer each is one message of room's coding.
QStringList splitText(const QString& text, const SmsRoom& room) {
    int width = 1;
    QStringList pieces;
    for (;;) {
        // The prefix's digits, "/" and ":" take one unit each in either coding.
        pieces = Gsm::pieces(text, room.coding, std::max(1, room.units - (2 * width + 2)));
        if (digitsOf(int(pieces.size())) <= width) {
            break;
        }
        width = digitsOf(int(pieces.size()));
    }
    const int n = int(pieces.size());
    // One digit while there are at most nine parts; otherwise every number has as many
    // digits as n, with leading zeros ("01/12:", "001/100:").
    QStringList parts;
    parts.reserve(n);
    for (int i = 1; i <= n; ++i) {
        parts.append(
            QStringLiteral("%1/%2:").arg(i, width, 10, QLatin1Char('0')).arg(n, width, 10, QLatin1Char('0')) +
            pieces[i - 1]);
    }
    return parts;
}

}  // namespace

QStringList messageTexts(const SharedState& s, const QString& text, bool split) {
    const QString t = oneLine(text);
    const SmsRoom room = roomFor(s, t);
    if (!split || Gsm::unitsIn(t, room.coding) <= room.units) {
        return {t.left(fittingLength(s, t)) + room.footer};
    }
    QStringList parts = splitText(t, room);
    for (QString& part : parts) {
        part += room.footer;
    }
    return parts;
}

QString createSMSFile(AppContext& ctx, const QString& folder, const QString& number, const QString& text,
                      bool report, bool flash, bool manual, bool split, bool reverse) {
    const SharedState& s = ctx.state();
    const QString dir = folderOr(ctx, folder.isEmpty() ? s.outDir : folder, QStringLiteral("Out"));
    if (!s.footer.isEmpty() && roomFor(s, oneLine(text)).footer.isEmpty()) {
        ctx.log().writeLog(
            QStringLiteral("Footer of %1 characters not appended: it leaves a message too little room")
                .arg(s.footer.size()));
    }
    const QStringList bodies = messageTexts(s, text, split);  // part 1 first
    const int n = int(bodies.size());

    // The first free nnn: neither the plain name nor any of its parts may exist yet.
    const QString prefix = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + u'-' +
                           fileNameNumber(number) + u'-';
    const QSet<QString> taken = takenStems(dir);
    QString stem;
    for (int nnn = 1; nnn <= 99999; ++nnn) {
        const QString candidate = prefix + QStringLiteral("%1").arg(nnn, 3, 10, QLatin1Char('0'));
        if (!taken.contains(candidate)) {
            stem = candidate;
            break;
        }
    }
    if (stem.isEmpty()) {
        ctx.log().writeLog(QStringLiteral("ERROR: no free message file name for %1 in %2").arg(number, dir));
        return {};
    }

    QStringList written;  // part n first
    for (int i = n; i >= 1; --i) {
        QString name = stem;
        if (n > 1) {
            name += u'-' + QString::number(reverse ? i : n - i + 1);
        }
        const QString path = ProgramFolder::join(dir, name + QStringLiteral(".sms"));
        if (!writeMessage(ctx.ini(), path, number, bodies[i - 1], report, flash, manual)) {
            QFile::remove(path);
            for (const QString& p : std::as_const(written)) {
                QFile::remove(p);
            }
            ctx.log().writeLog(QStringLiteral("ERROR: could not write message file %1").arg(path));
            return {};
        }
        written.append(path);
    }
    return written.join(u',');
}

QString sendSMSFile(AppContext& ctx, const QString& path) {
    if (ctx.isClosing()) {
        // The program is ending: the message waits in its folder for the next start.
        return QStringLiteral("ERROR: Tellwick is closing, %1 was not sent").arg(path);
    }
    const AppContext::MessageOnLine onLine(ctx);
    if (!QFileInfo(path).isFile()) {
        const QString result = QStringLiteral("ERROR: SMS-file %1 not found").arg(path);
        ctx.log().writeLog(result);
        return result;
    }
    SharedState& s = ctx.state();
    IniStore& ini = ctx.ini();
    const QString sec = section();
    const QString numbers = ini.readINI(sec, QStringLiteral("No"), path);
    const QString text = ini.readINI(sec, QStringLiteral("Text"), path);
    const bool report = isFlagSet(ini.readINI(sec, QStringLiteral("Report"), path));
    const bool flash = isFlagSet(ini.readINI(sec, QStringLiteral("Flash"), path));
    ini.forget(path);

    QStringList recipients;
    for (const QString& field : numbers.split(u';')) {
        if (!field.trimmed().isEmpty()) {
            recipients.append(field.trimmed());
        }
    }

    QString result;
    QList<std::pair<QString, bool>> outcomes;  // logged once the file is where it stays
    if (recipients.isEmpty()) {
        result = QStringLiteral("ERROR: no recipient No. specified in %1").arg(path);
    } else if (text.isEmpty()) {
        result = QStringLiteral("ERROR: No message text specified in %1").arg(path);
    } else {
        // Files written by createSMSFile carry the footer already.
        QString body = text;
        const QString footer = s.footer.trimmed();
        if (s.footerUsed && !footer.isEmpty() && !text.endsWith(footer)) {
            body += s.footer;
        }
        QString firstFailure;
        for (const QString& number : std::as_const(recipients)) {
            const QString reply = ctx.phone().submitSms(number, body, report, flash);
            const bool ok = reply.startsWith(QLatin1String("OK"));
            if (ok) {
                ++s.sentCount;
                result = QStringLiteral("OK: Message was sent to %1.").arg(number);
            } else if (firstFailure.isEmpty()) {
                firstFailure = QStringLiteral("ERROR ") + reply;
            }
            outcomes.append({number, ok});
        }
        // One failed recipient makes the whole file a failure.
        if (!firstFailure.isEmpty()) {
            result = firstFailure;
        }
    }

    const bool failed = !result.startsWith(QLatin1String("OK"));
    if (failed) {
        ctx.log().writeLog(result);
    }
    // A message that failed is never lost: it goes to the sent folder with its result even
    // when sent messages are not kept.
    QString filedAt;
    if (failed || s.keepSent) {
        filedAt = fileWithResult(ctx, path, folderOr(ctx, s.sentDir, QStringLiteral("Sent")), result);
    }
    if (filedAt.isEmpty() && failed) {
        // kept in place rather than lost
    } else if (QFileInfo::exists(path) && !QFile::remove(path)) {
        ctx.log().writeLog(QStringLiteral("ERROR: could not delete %1").arg(path));
    }
    if (s.logSMSFlag) {
        const QString source = QFileInfo(path).fileName();
        for (const auto& [number, ok] : std::as_const(outcomes)) {
            ctx.log().appendRaw(sendingLogLine(number, text, ok, source, ok ? QString() : filedAt));
        }
    }
    return result;
}

QStringList outgoingFilesInOrder(const QString& folder) {
    static const QRegularExpression ours(QStringLiteral("^(\\d{8}-\\d{6}-[^-]*-\\d{3,})(?:-(\\d+))?$"));
    struct Entry {
        QString path;
        QString stem;
        qint64 part = 0;
        qint64 time = 0;
    };
    QList<Entry> entries;
    QHash<QString, qint64> groupTime;
    const QFileInfoList infos = QDir(folder).entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo& fi : infos) {
        const QString name = fi.fileName();
        if (!hasSmsSuffix(name)) {
            continue;
        }
        Entry e;
        e.path = fi.absoluteFilePath();
        e.stem = name.chopped(4);
        const QRegularExpressionMatch m = ours.match(e.stem);
        if (m.hasMatch()) {
            e.stem = m.captured(1);
            e.part = m.captured(2).toLongLong();
        }
        e.time = fi.lastModified().toMSecsSinceEpoch();
        auto it = groupTime.find(e.stem);
        if (it == groupTime.end()) {
            groupTime.insert(e.stem, e.time);
        } else if (e.time < *it) {
            *it = e.time;
        }
        entries.append(e);
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const qint64 ta = groupTime.value(a.stem);
        const qint64 tb = groupTime.value(b.stem);
        if (ta != tb)
            return ta < tb;
        if (a.stem != b.stem)
            return a.stem < b.stem;
        return a.part < b.part;
    });
    QStringList out;
    out.reserve(entries.size());
    for (const Entry& e : std::as_const(entries)) {
        out.append(e.path);
    }
    return out;
}

QString sendingLogLine(const QString& recipient, const QString& text, bool ok, const QString& source,
                       const QString& movedTo) {
    const QString src = source.isEmpty() ? QStringLiteral("MANUAL") : source;
    QString line = LogWriter::stamp() + u'/' + src + u'/' + recipient + QStringLiteral(": '") + text +
                   (ok ? QStringLiteral("' was sent successfully.") : QStringLiteral("' was NOT sent."));
    if (src != QLatin1String("MANUAL")) {
        line += ok ? QStringLiteral(" File was deleted.") : QStringLiteral(" File NOT deleted.");
        if (!ok && !movedTo.isEmpty()) {
            line += QStringLiteral(" It was moved to ") + movedTo + u'.';
        }
    }
    return line;
}

void logSending(AppContext& ctx, const QString& recipient, const QString& text, bool ok,
                const QString& source) {
    ctx.log().appendRaw(sendingLogLine(recipient, text, ok, source));
}

}  // namespace MessageFiles
