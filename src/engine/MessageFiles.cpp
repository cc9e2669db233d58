#include "MessageFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <sys/stat.h>

#include "AppContext.h"
#include "Fields.h"
#include "LogWriter.h"
#include "ProgramFolder.h"
#include "Settings.h"
#include "Spool.h"
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

// Adds the [Job Result] section to a claimed message file.
bool writeResult(AppContext& ctx, const QString& path, const QString& result) {
    const QDateTime now = QDateTime::currentDateTime();
    return ctx.ini().writeINIValues(QString::fromLatin1(kResultSection),
                                    {{QStringLiteral("Date"), now.toString(QStringLiteral("yyyy-MM-dd"))},
                                     {QStringLiteral("Time"), now.toString(QStringLiteral("HH:mm:ss"))},
                                     {QStringLiteral("Result"), result}},
                                    path);
}

// A message that was handled but cannot be filed where it belongs stays in the working
// folder's unfiled folder, out of the sending's way; the path it stays at.
QString hold(const QString& claimed) {
    QString why;
    const QString held = Spool::moveInto(claimed, Spool::unfiledFolder(Spool::folderOfClaim(claimed)), &why);
    return held.isEmpty() ? claimed : held;
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
    const QFileInfo fi(path);
    QString why;
    bool gone = false;
    const QString claimed = fi.isSymLink() ? QString()
                                           : Spool::claim(fi.path(), Spool::ownerId(ctx.programFolder()),
                                                          QFile::encodeName(fi.fileName()), &why, &gone);
    if (claimed.isEmpty()) {
        const QString result =
            gone || why.isEmpty()
                ? QStringLiteral("ERROR: SMS-file %1 not found").arg(path)
                : QStringLiteral("ERROR: SMS-file %1 could not be taken for sending: %2").arg(path, why);
        ctx.log().writeLog(result);
        return result;
    }
    return sendClaimedFile(ctx, claimed);
}

QString sendClaimedFile(AppContext& ctx, const QString& claimed) {
    const AppContext::MessageOnLine onLine(ctx);
    const QString outFolder = Spool::folderOfClaim(claimed);
    const QString source = QFileInfo(claimed).fileName();
    SharedState& s = ctx.state();
    IniStore& ini = ctx.ini();
    // Only a regular file that can be read is a message: anything else goes back untouched.
    struct stat st {};
    const bool regular = ::lstat(QFile::encodeName(claimed).constData(), &st) == 0 && S_ISREG(st.st_mode);
    if (!regular || !ini.isReadable(claimed)) {
        QString why;
        const QString back = Spool::moveInto(claimed, outFolder, &why);
        const QString result =
            QStringLiteral("ERROR: SMS-file %1 not sent: %2")
                .arg(ProgramFolder::join(outFolder, source),
                     regular ? QStringLiteral("it cannot be read") : QStringLiteral("it is no regular file"));
        ctx.log().writeLog(back.isEmpty() ? result + QStringLiteral("; it stays in ") + claimed : result);
        ini.forget(claimed);
        return result;
    }
    const QString sec = section();
    const QString numbers = ini.readINI(sec, QStringLiteral("No"), claimed);
    const QString text = ini.readINI(sec, QStringLiteral("Text"), claimed);
    const bool report = isFlagSet(ini.readINI(sec, QStringLiteral("Report"), claimed));
    const bool flash = isFlagSet(ini.readINI(sec, QStringLiteral("Flash"), claimed));

    QStringList recipients;
    for (const QString& field : numbers.split(u';')) {
        if (!field.trimmed().isEmpty()) {
            recipients.append(field.trimmed());
        }
    }

    const QString path = ProgramFolder::join(outFolder, source);
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
    // when sent messages are not kept. The result goes into the claimed file first, in the
    // program's own folder, so a copy that cannot be filed keeps it.
    QString movedTo;  // where the file went, when it was not deleted
    if (failed || s.keepSent) {
        const QString sentDir = folderOr(ctx, s.sentDir, QStringLiteral("Sent"));
        QString filed;
        QString why;
        if (!writeResult(ctx, claimed, result)) {
            // A copy without its result is not filed as if it had one (a full disk).
            movedTo = hold(claimed);
            ctx.log().writeLog(QStringLiteral("ERROR: could not add the result \"%1\" to %2: it stays in %3 "
                                              "and is not sent again")
                                   .arg(result, source, movedTo));
        } else if (filed = Spool::moveInto(claimed, sentDir, &why); filed.isEmpty()) {
            movedTo = hold(claimed);
            ctx.log().writeLog(QStringLiteral("ERROR: could not file %1 in %2 (%3): it stays in %4 with its "
                                              "result and is not sent again")
                                   .arg(source, sentDir, why, movedTo));
        } else if (failed) {
            movedTo = filed;
        }
        ini.forget(filed);
    } else if (!QFile::remove(claimed)) {
        movedTo = hold(claimed);
        ctx.log().writeLog(QStringLiteral("ERROR: could not delete %1: it stays in %2 and is not sent again")
                               .arg(source, movedTo));
    }
    // A handled message is not read again: its parsed copy would only take memory.
    ini.forget(claimed);
    if (s.logSMSFlag) {
        for (const auto& [number, ok] : std::as_const(outcomes)) {
            ctx.log().appendRaw(sendingLogLine(number, text, ok, source, movedTo));
        }
    }
    return result;
}

QStringList outgoingFilesInOrder(const QString& folder) {
    QList<Spool::Entry> entries = Spool::scan(folder).messages;
    Spool::sortForSending(entries);
    QStringList out;
    out.reserve(entries.size());
    for (const Spool::Entry& e : std::as_const(entries)) {
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
        // A file filed in the sent folder has left the outgoing folder: deleted there.
        const bool deleted = ok && movedTo.isEmpty();
        line += deleted ? QStringLiteral(" File was deleted.") : QStringLiteral(" File NOT deleted.");
        if (!deleted && !movedTo.isEmpty()) {
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
