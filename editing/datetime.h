#pragma once
// The current date and time as the user's regional settings write them. The
// text-building functions are pure; the commands that insert the texts at
// the caret are installed by installDateTimeCommands (app/commands.h).

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace zelvar {

// How the regional settings write a time: the hours with or without a
// leading zero, then minutes and seconds with two digits each, all joined by
// the time separator; on the 12-hour clock a morning or afternoon marker
// stands before the hours or after the seconds, set off by a blank.
struct TimeConvention {
    bool leadingZero = false;
    bool twelveHour = false;
    bool markerFirst = false; // "AM 9:05:03" rather than "9:05:03 AM"
    QString separator = QStringLiteral(":");
    QString am = QStringLiteral("AM");
    QString pm = QStringLiteral("PM");
};

// Reads the hours' leading zero, the clock, the marker's place and the
// separator from a time format in QLocale's notation ("h:mm:ss AP",
// "HH.mm.ss"). The separator is the text between hours and minutes when the
// same text stands between minutes and seconds (or there are no seconds);
// otherwise, as in formats that write units after each field, it is ':'.
// A format without hours gives the 24-hour clock without a leading zero.
TimeConvention timeConventionFromFormat(const QString& format);

// The convention of the locale's long time format, with its marker texts.
// The C locale (no regional settings) uses the 24-hour clock without a
// leading zero and ':'.
TimeConvention timeConvention(const QLocale& locale);

QString timeText(const QTime& time, const TimeConvention& convention);

// The date in the locale's short date format; the C locale (no regional
// settings) writes d.M.yyyy.
QString dateText(const QDate& date, const QLocale& locale);

} // namespace zelvar
