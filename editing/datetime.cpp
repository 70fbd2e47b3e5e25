// Date and time stamps: three items of the Tools menu and three toolbar
// buttons insert the current date, time, or both, at the caret of the shown
// page with the line insertion.

#include "editing/datetime.h"

#include <QList>
#include <array>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// One field of a time format: a run of one pattern letter (the marker may be
// "AP" or "ap") and the literal text that stands before it.
struct FormatField {
    QChar letter; // 'h', 'm', 's', 'a' (marker), or another pattern letter
    int length;
    QString before;
};

bool isPatternLetter(QChar c) {
    return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u'z' || c == u'a' ||
           c == u'A' || c == u't';
}

QList<FormatField> fieldsOf(const QString& format) {
    QList<FormatField> fields;
    QString literal;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            // Quoted text; two quotes stand for one.
            if (i + 1 < format.size() && format.at(i + 1) == u'\'') {
                literal += u'\'';
                i += 2;
                continue;
            }
            ++i;
            while (i < format.size()) {
                if (format.at(i) == u'\'') {
                    if (i + 1 < format.size() && format.at(i + 1) == u'\'') {
                        literal += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += format.at(i++);
            }
            continue;
        }
        if (!isPatternLetter(c)) {
            literal += c;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        QChar letter = c;
        if (c == u'a' || c == u'A') {
            letter = u'a';
            if (end < format.size() && (format.at(end) == u'p' || format.at(end) == u'P')) {
                ++end;
            }
        } else {
            while (end < format.size() && format.at(end) == c) {
                ++end;
            }
            if (c == u'H') {
                letter = u'h';
            }
        }
        fields.append({letter, int(end - i), literal});
        literal.clear();
        i = end;
    }
    return fields;
}

qsizetype indexOfField(const QList<FormatField>& fields, QChar letter) {
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (fields.at(k).letter == letter) {
            return k;
        }
    }
    return -1;
}

} // namespace

TimeConvention timeConventionFromFormat(const QString& format) {
    TimeConvention convention;
    const QList<FormatField> fields = fieldsOf(format);
    const qsizetype hour = indexOfField(fields, u'h');
    if (hour < 0) {
        return convention;
    }
    convention.leadingZero = fields.at(hour).length >= 2;
    const qsizetype marker = indexOfField(fields, u'a');
    convention.twelveHour = marker >= 0;
    convention.markerFirst = marker >= 0 && marker < hour;
    const qsizetype minute = hour + 1;
    if (minute < fields.size() && fields.at(minute).letter == u'm') {
        const QString between = fields.at(minute).before;
        const qsizetype second = minute + 1;
        const bool secondsAgree = second >= fields.size() || fields.at(second).letter != u's' ||
                                  fields.at(second).before == between;
        if (!between.isEmpty() && secondsAgree) {
            convention.separator = between;
        }
    }
    return convention;
}

TimeConvention timeConvention(const QLocale& locale) {
    if (locale.language() == QLocale::C) {
        return TimeConvention{};
    }
    TimeConvention convention = timeConventionFromFormat(locale.timeFormat(QLocale::LongFormat));
    convention.am = locale.amText();
    convention.pm = locale.pmText();
    return convention;
}

QString timeText(const QTime& time, const TimeConvention& convention) {
    int hours = time.hour();
    QString marker;
    if (convention.twelveHour) {
        marker = hours < 12 ? convention.am : convention.pm;
        hours %= 12;
        if (hours == 0) {
            hours = 12;
        }
    }
    const QChar zero = u'0';
    QString text = convention.leadingZero ? QStringLiteral("%1").arg(hours, 2, 10, zero)
                                          : QString::number(hours);
    text += convention.separator + QStringLiteral("%1").arg(time.minute(), 2, 10, zero);
    text += convention.separator + QStringLiteral("%1").arg(time.second(), 2, 10, zero);
    if (convention.twelveHour) {
        text = convention.markerFirst ? marker + u' ' + text : text + u' ' + marker;
    }
    return text;
}

QString dateText(const QDate& date, const QLocale& locale) {
    if (locale.language() == QLocale::C) {
        return date.toString(QStringLiteral("d.M.yyyy"));
    }
    return locale.toString(date, QLocale::ShortFormat);
}

namespace {

enum class Stamp { Date, Time, DateAndTime };

struct StampCommand {
    const char* control;
    Stamp stamp;
    const char* message; // nullptr: the operation label keeps its text
};

const std::array<StampCommand, 6> kStampCommands{{
    {"Vloitdatum1", Stamp::Date, "Aktuální datum..."},
    {"Vloitas1", Stamp::Time, "Aktuální čas..."},
    {"Vloitdatumas1", Stamp::DateAndTime, nullptr},
    {"SpeedButton59", Stamp::Date, "Aktuální datum..."},
    {"SpeedButton60", Stamp::Time, "Aktuální čas..."},
    {"SpeedButton61", Stamp::DateAndTime, "Aktuální datum a čas..."},
}};

// The regional settings and the clock are read at every insertion, so a
// change of the settings applies to the next one.
QString dateOf(Platform& platform, const QDateTime& now) {
    return dateText(now.date(), platform.regional->locale());
}

QString timeOf(Platform& platform, const QDateTime& now) {
    return timeText(now.time(), timeConvention(platform.regional->locale()));
}

void insertStamp(Workspace& form, Stamp stamp) {
    Editor* editor = form.activeEditor();
    Platform& platform = form.platform();
    const QPoint at = editor->caretPos(); // taken once
    // One reading of the clock: around midnight the date and the time of a
    // combined stamp still belong to the same moment.
    const QDateTime now = platform.clock->now();
    switch (stamp) {
    case Stamp::Date:
        editor->insertInLine(at, dateOf(platform, now));
        break;
    case Stamp::Time:
        editor->insertInLine(at, timeOf(platform, now));
        break;
    case Stamp::DateAndTime:
        // Three line insertions at the same column, the time first: the line
        // then reads date, " - ", time.
        editor->insertInLine(at, timeOf(platform, now));
        editor->insertInLine(at, QStringLiteral(" - "));
        editor->insertInLine(at, dateOf(platform, now));
        break;
    }
}

} // namespace

void installDateTimeCommands(Workspace& form) {
    for (const StampCommand& c : kStampCommands) {
        form.on(c.control, [&form, &c] {
            insertStamp(form, c.stamp);
            if (c.message) {
                form.patterns().message(c.message);
            }
        });
    }
}

} // namespace zelvar
