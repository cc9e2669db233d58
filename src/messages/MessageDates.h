#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// Dates and times of message files. They are written as ISO texts ("2026-12-07",
// "14:05:09"); reading accepts those and the system locale's short formats as well, so files
// written by hand or by older versions keep their time stamps.
namespace MessageDates {

// The conversions with the locale's formats looked up once, for listings of many files.
class Converter {
public:
    Converter();

    QDate parseDate(const QString& text) const;
    QTime parseTime(const QString& text) const;
    QString dateText(const QDate& date) const;
    QString timeText(const QTime& time) const;

    // A stored date and time as a list shows them and as it sorts them (see below).
    struct Shown {
        QString text;
        QString serial;
    };
    Shown shown(const QString& storedDate, const QString& storedTime) const;

private:
    QLocale m_locale;
    QString m_shortDate;
    QString m_longDate;
    QString m_shortTime;
    QString m_timeWithSeconds;
};

// The date of a stored text; an invalid QDate when the text does not convert.
QDate parseDate(const QString& text);
// The time of a stored text; an invalid QTime when the text does not convert.
QTime parseTime(const QString& text);

// The system locale's default date text and time text (with seconds).
QString dateText(const QDate& date);
QString timeText(const QTime& time);

// "<date>, <time>" as a list shows a stored date and time: each converted value in the
// locale's texts, a value that does not convert as stored; "" when both are empty.
QString shownDateTime(const QString& storedDate, const QString& storedTime);

// Fourteen digits, year to second, that sort as text in time order. A value that does not
// convert counts as the zero date (30 December 1899) or midnight.
QString serial(const QString& storedDate, const QString& storedTime);
// The serial of no date at all: "18991230000000".
QString zeroSerial();

}  // namespace MessageDates
