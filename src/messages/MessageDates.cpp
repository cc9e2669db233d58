#include "MessageDates.h"

#include <QLocale>
#include <QRegularExpression>

namespace MessageDates {

namespace {

const QDate kZeroDate(1899, 12, 30);

// A locale format read with two-digit years gives 19xx; a stored message is no older than
// 1930, so 00-29 mean 2000-2029 as the platform's short dates do.
QDate fixCentury(QDate date, const QString& format) {
    if (date.isValid() && !format.contains(QLatin1String("yyyy")) && date.year() < 1930) {
        date = date.addYears(100);
    }
    return date;
}

// The locale's long time format without the time-zone part ("h:mm:ss AP t" -> "h:mm:ss AP").
QString timeFormatWithSeconds(const QLocale& locale) {
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(zone);
    return format.trimmed();
}

}  // namespace

QDate parseDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return {};
    }
    QDate date = QDate::fromString(t, Qt::ISODate);
    if (date.isValid()) {
        return date;
    }
    const QLocale locale = QLocale::system();
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString format = locale.dateFormat(type);
        date = fixCentury(locale.toDate(t, format), format);
        if (date.isValid()) {
            return date;
        }
    }
    return {};
}

QTime parseTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return {};
    }
    QTime time = QTime::fromString(t, Qt::ISODate);
    if (time.isValid()) {
        return time;
    }
    const QLocale locale = QLocale::system();
    for (const QString& format : {locale.timeFormat(QLocale::ShortFormat), timeFormatWithSeconds(locale)}) {
        time = locale.toTime(t, format);
        if (time.isValid()) {
            return time;
        }
    }
    return {};
}

QString dateText(const QDate& date) {
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString timeText(const QTime& time) {
    const QLocale locale = QLocale::system();
    return locale.toString(time, timeFormatWithSeconds(locale));
}

QString shownDateTime(const QString& storedDate, const QString& storedTime) {
    if (storedDate.isEmpty() && storedTime.isEmpty()) {
        return {};
    }
    const QDate date = parseDate(storedDate);
    const QTime time = parseTime(storedTime);
    return (date.isValid() ? dateText(date) : storedDate) + QStringLiteral(", ") +
           (time.isValid() ? timeText(time) : storedTime);
}

QString serial(const QString& storedDate, const QString& storedTime) {
    QDate date = parseDate(storedDate);
    QTime time = parseTime(storedTime);
    if (!date.isValid()) {
        date = kZeroDate;
    }
    if (!time.isValid()) {
        time = QTime(0, 0);
    }
    return QStringLiteral("%1%2%3%4%5%6")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString zeroSerial() {
    return serial({}, {});
}

}  // namespace MessageDates
