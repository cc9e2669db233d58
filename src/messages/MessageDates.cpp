#include "MessageDates.h"

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

QString serialOf(QDate date, QTime time) {
    if (!date.isValid()) {
        date = kZeroDate;
    }
    if (!time.isValid()) {
        time = QTime(0, 0);
    }
    return QString::asprintf("%04d%02d%02d%02d%02d%02d", date.year(), date.month(), date.day(), time.hour(),
                             time.minute(), time.second());
}

}  // namespace

Converter::Converter()
    : m_locale(QLocale::system()),
      m_shortDate(m_locale.dateFormat(QLocale::ShortFormat)),
      m_longDate(m_locale.dateFormat(QLocale::LongFormat)),
      m_shortTime(m_locale.timeFormat(QLocale::ShortFormat)),
      m_timeWithSeconds(timeFormatWithSeconds(m_locale)) {}

QDate Converter::parseDate(const QString& text) const {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return {};
    }
    QDate date = QDate::fromString(t, Qt::ISODate);
    if (date.isValid()) {
        return date;
    }
    for (const QString* format : {&m_shortDate, &m_longDate}) {
        date = fixCentury(m_locale.toDate(t, *format), *format);
        if (date.isValid()) {
            return date;
        }
    }
    return {};
}

QTime Converter::parseTime(const QString& text) const {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return {};
    }
    QTime time = QTime::fromString(t, Qt::ISODate);
    if (time.isValid()) {
        return time;
    }
    for (const QString* format : {&m_shortTime, &m_timeWithSeconds}) {
        time = m_locale.toTime(t, *format);
        if (time.isValid()) {
            return time;
        }
    }
    return {};
}

QString Converter::dateText(const QDate& date) const {
    return m_locale.toString(date, QLocale::ShortFormat);
}

QString Converter::timeText(const QTime& time) const {
    return m_locale.toString(time, m_timeWithSeconds);
}

Converter::Shown Converter::shown(const QString& storedDate, const QString& storedTime) const {
    const QDate date = parseDate(storedDate);
    const QTime time = parseTime(storedTime);
    Shown out;
    if (!storedDate.isEmpty() || !storedTime.isEmpty()) {
        out.text = (date.isValid() ? dateText(date) : storedDate) + QStringLiteral(", ") +
                   (time.isValid() ? timeText(time) : storedTime);
    }
    out.serial = serialOf(date, time);
    return out;
}

QDate parseDate(const QString& text) {
    return Converter().parseDate(text);
}

QTime parseTime(const QString& text) {
    return Converter().parseTime(text);
}

QString dateText(const QDate& date) {
    return Converter().dateText(date);
}

QString timeText(const QTime& time) {
    return Converter().timeText(time);
}

QString shownDateTime(const QString& storedDate, const QString& storedTime) {
    return Converter().shown(storedDate, storedTime).text;
}

QString serial(const QString& storedDate, const QString& storedTime) {
    return Converter().shown(storedDate, storedTime).serial;
}

QString zeroSerial() {
    return serialOf({}, {});
}

}  // namespace MessageDates
