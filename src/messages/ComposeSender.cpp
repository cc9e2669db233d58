#include "ComposeSender.h"

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

}  // namespace

QString ComposeSender::sendAll(const QString& recipients, const QString& typedText, const Options& options) {
    const QString text = TextCounter::replaceAccents(typedText);
    const QString semicolon = QStringLiteral(";");
    const QString comma = QStringLiteral(",");
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
        const int files = countFields(paths, comma);
        for (int k = 1; k <= files; ++k) {
            const QString path = getField(paths, k, comma);
            if (options.saveOnly) {
                result += line(number, k, QStringLiteral("saved"));
                continue;
            }
            const bool ok =
                MessageFiles::sendSMSFile(m_ctx, path).contains(QLatin1String("OK"), Qt::CaseSensitive);
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
