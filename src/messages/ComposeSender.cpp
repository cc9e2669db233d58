#include "ComposeSender.h"

#include <QStringList>

#include "AppContext.h"
#include "Fields.h"
#include "MessageFiles.h"
#include "TextCounter.h"
#include "frmMain.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString line(const QString& number, int k, const QString& outcome) {
    return QStringLiteral("SMS to %1 (%2) %3").arg(number).arg(k).arg(outcome) + kCrLf;
}

// The paths of the files written, from their ","-joined list. A folder name may hold a
// comma; every path ends in ".sms", so the pieces are joined again until one does.
QStringList writtenPaths(const QString& joined) {
    QStringList paths;
    QString path;
    bool open = false;
    for (const QString& piece : joined.split(u',')) {
        path = open ? path + u',' + piece : piece;
        open = !path.endsWith(QLatin1String(".sms"), Qt::CaseInsensitive);
        if (!open) {
            paths.append(path);
        }
    }
    if (open) {
        paths.append(path);
    }
    return paths;
}

}  // namespace

QString ComposeSender::sendAll(const QString& recipients, const QString& typedText, const Options& options) {
    const QString text = TextCounter::replaceAccents(typedText);
    const QString semicolon = QStringLiteral(";");
    QString result;
    const int count = countFields(recipients, semicolon);
    for (int j = 1; j <= count; ++j) {
        const QString number = getField(recipients, j, semicolon).trimmed();
        const QString paths =
            MessageFiles::createSMSFile(m_ctx, m_ctx.state().outDir, number, text, options.report,
                                        options.flash, true, options.split, options.reverse);
        if (paths.isEmpty()) {
            // Nothing was written for this recipient: say so rather than leave it out.
            result += line(number, 1, QStringLiteral("failed"));
            continue;
        }
        const QStringList files = writtenPaths(paths);
        for (int k = 1; k <= int(files.size()); ++k) {
            const QString& path = files.at(k - 1);
            if (options.saveOnly) {
                result += line(number, k, QStringLiteral("saved"));
                continue;
            }
            // Success is a result that begins with "OK": an error may quote a name holding it.
            const bool ok = MessageFiles::sendSMSFile(m_ctx, path).startsWith(QLatin1String("OK"));
            result += line(number, k, ok ? QStringLiteral("sent successfully") : QStringLiteral("failed"));
            if (m_ctx.state().logSMSFlag) {
                m_ctx.mainWindow().logSending(number, typedText, ok, QStringLiteral("MANUAL"));
            }
        }
    }
    return result;
}

QString ComposeSender::resultBoxText(const QString& result, bool reportRequested) {
    QString text = QStringLiteral("Result:") + kCrLf + kCrLf + result;
    if (reportRequested) {
        text += kCrLf + QStringLiteral("A delivery confirmation was") + kCrLf +
                QStringLiteral("requested for each message.");
    }
    return text;
}

QString ComposeSender::deviceMissingText() {
    return QStringLiteral("Can't send SMS, mobile device not found!") + kCrLf + kCrLf;
}
