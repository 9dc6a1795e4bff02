#pragma once

class QDateTime;
class QString;

// How long ago a history entry was made, in the largest whole unit with abbreviated names ("5 min. ago",
// "2 days ago", "3 mo. ago"), as the sidebar's rows show it.
class RelativeDate {
public:
    static QString text(const QDateTime& timestamp, const QDateTime& now);
};
