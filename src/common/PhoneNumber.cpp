#include "PhoneNumber.h"

#include <QRegularExpression>

namespace PhoneNumber {

QString withoutTrunkZero(const QString& written) {
    // "+<country code>" (or "00<country code>"), blanks or separators, then "(0)".
    static const QRegularExpression trunk(
        QStringLiteral("^(\\s*(?:\\+|00)\\d{1,3})[\\s./-]*\\(\\s*0\\s*\\)"));
    const QRegularExpressionMatch m = trunk.match(written);
    if (!m.hasMatch()) {
        return written;
    }
    qsizetype rest = m.capturedEnd();
    while (rest < written.size() && written.at(rest).isSpace()) {
        ++rest;
    }
    return m.captured(1) + u' ' + written.mid(rest);
}

QString dialable(const QString& written) {
    const QString text = withoutTrunkZero(written);
    QString out;
    bool digit = false;
    for (const QChar c : text) {
        if (c.isSpace() || c == u'-' || c == u'/' || c == u'(' || c == u')' || c == u'.') {
            continue;
        }
        if (c == u'+' && out.isEmpty()) {
            out.append(c);
        } else if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#') {
            out.append(c);
            digit = digit || c.isDigit();
        } else {
            return {};
        }
    }
    return digit ? out : QString();
}

}  // namespace PhoneNumber
