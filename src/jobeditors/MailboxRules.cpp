#include "MailboxRules.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

#include "Fields.h"

namespace MailboxRules {

QString encode(const QList<Rule>& rules) {
    QStringList items;
    items.reserve(rules.size());
    for (const Rule& rule : rules) {
        items.append((rule.field == kAddress ? QStringLiteral("A:") : QStringLiteral("S:")) +
                     rule.expression);
    }
    return items.join(u',');
}

QList<Rule> decode(const QString& text) {
    const QString comma = QStringLiteral(",");
    QList<Rule> rules;
    const int n = countFields(text, comma);
    for (int i = 1; i <= n; ++i) {
        const QString item = getField(text, i, comma);
        const qsizetype colon = item.indexOf(u':');
        Rule rule;
        if (colon < 0) {
            rule.field = kSubject;
            rule.expression = item;
        } else {
            rule.field = item.left(colon).trimmed() == u"A" ? kAddress : kSubject;
            rule.expression = item.mid(colon + 1).trimmed();
        }
        rules.append(rule);
    }
    return rules;
}

bool isNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral(R"(^\s*(\d+\.?\d*|\.\d+)\s*$)"));
    return number.match(text).hasMatch();
}

double numberValue(const QString& text) {
    return isNumber(text) ? text.trimmed().toDouble() : 0.0;
}

QString formatNumber(double value) {
    // Fifteen significant digits, as much as a double carries, so 1.1 * 60 stays 66.
    QString s = QString::number(value, 'f', 15);
    const int digitsBefore = int(s.indexOf(u'.'));
    s = QString::number(value, 'f', qMax(0, 15 - digitsBefore));
    if (s.contains(u'.')) {
        while (s.endsWith(u'0')) {
            s.chop(1);
        }
        if (s.endsWith(u'.')) {
            s.chop(1);
        }
    }
    return s;
}

bool isPort(const QString& text) {
    static const QRegularExpression whole(QStringLiteral(R"(^\s*[0-9]{1,5}\s*$)"));
    if (!whole.match(text).hasMatch()) {
        return false;
    }
    const int port = text.trimmed().toInt();
    return port >= 1 && port <= 65535;
}

quint16 portValue(const QString& text) {
    return isPort(text) ? quint16(text.trimmed().toInt()) : quint16(0);
}

bool isWholeMinutes(double minutes) {
    // 1.1 hours are 66 minutes, though the double holds a hair more.
    return minutes >= 1 - 1e-9 && std::abs(minutes - std::round(minutes)) < 1e-9;
}

}  // namespace MailboxRules
