#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// Puts recognised lines in the order a person reads them. The recogniser's layout analysis splits a page into
// blocks and reads block after block, which is right for columns of running text but reads a table column by
// column ("ssh, telnet, smtp, 22/tcp, 23/tcp, ..."). Where blocks stand side by side and are not all running
// text, their lines are read across, row by row, instead.
class ReadingOrder {
public:
    struct Line {
        QString text;
        QRect box;
        int block = 0; // lines of one block share a number; blocks in the recogniser's order
        int words = 0;
    };

    // The lines' texts in reading order; one output line per row, cells of a row joined by a space.
    static QStringList arrange(const QList<Line>& lines);

    // Whether the page has columns of running text side by side, which only a layout analysis reads right.
    static bool hasColumnsOfRunningText(const QList<Line>& lines);

    // Whether lines of one column look like running text: several lines, most filling the column's width,
    // with several words each.
    static bool isRunningText(const QList<Line>& columnLines);
};
