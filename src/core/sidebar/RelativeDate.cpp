#include "core/sidebar/RelativeDate.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

// Whole calendar months from one local date and time to a later one (31 Jan to 28 Feb is not yet a month).
int monthsBetween(const QDateTime& from, const QDateTime& to)
{
    const QDate a = from.date();
    const QDate b = to.date();
    int months = (b.year() - a.year()) * 12 + (b.month() - a.month());
    if (months > 0 && (b.day() < a.day() || (b.day() == a.day() && to.time() < from.time())))
        --months;
    return months;
}

} // namespace

QString RelativeDate::text(const QDateTime& timestamp, const QDateTime& now)
{
    const qint64 seconds = timestamp.secsTo(now);
    // An entry from the future (the clock was put back) reads as new rather than as a negative age.
    if (seconds < 1)
        //% "now"
        return qtTrId("sidebar.date.now");
    if (seconds < 60)
        //% "%1 sec. ago"
        return qtTrId("sidebar.date.seconds").arg(seconds);
    if (seconds < 3600)
        //% "%1 min. ago"
        return qtTrId("sidebar.date.minutes").arg(seconds / 60);
    if (seconds < 86400)
        //% "%1 hr. ago"
        return qtTrId("sidebar.date.hours").arg(seconds / 3600);
    const qint64 days = seconds / 86400;
    if (days < 7) {
        if (days == 1)
            //% "%1 day ago"
            return qtTrId("sidebar.date.day").arg(days);
        //% "%1 days ago"
        return qtTrId("sidebar.date.days").arg(days);
    }
    const int months = monthsBetween(timestamp.toLocalTime(), now.toLocalTime());
    if (months < 1) {
        const qint64 weeks = days / 7;
        if (weeks == 1)
            //% "%1 wk. ago"
            return qtTrId("sidebar.date.week").arg(weeks);
        //% "%1 wk. ago"
        return qtTrId("sidebar.date.weeks").arg(weeks);
    }
    if (months < 12) {
        if (months == 1)
            //% "%1 mo. ago"
            return qtTrId("sidebar.date.month").arg(months);
        //% "%1 mo. ago"
        return qtTrId("sidebar.date.months").arg(months);
    }
    const int years = months / 12;
    if (years == 1)
        //% "%1 yr. ago"
        return qtTrId("sidebar.date.year").arg(years);
    //% "%1 yr. ago"
    return qtTrId("sidebar.date.years").arg(years);
}
