#include "core/recognition/ReadingOrder.h"

#include <gtest/gtest.h>

namespace {

using Line = ReadingOrder::Line;

Line line(const char* text, int x, int y, int width, int block, int height = 14)
{
    const QString t = QString::fromUtf8(text);
    return {t, QRect(x, y, width, height), block, int(t.split(QLatin1Char(' '), Qt::SkipEmptyParts).size())};
}

// A table as the layout analysis returns it: one block per column, read top to bottom.
QList<Line> tableByColumns()
{
    return {
        line("ssh", 10, 10, 30, 1),          line("telnet", 10, 30, 45, 1),  line("smtp", 10, 50, 35, 1),
        line("22/tcp", 120, 11, 50, 2),      line("23/tcp", 120, 31, 50, 2), line("25/tcp", 120, 51, 50, 2),
        line("Secure Shell", 220, 9, 90, 3), line("mail", 220, 49, 30, 3),
    };
}

// Two columns of running text: every line fills its column and has several words.
QList<Line> twoColumns()
{
    return {
        line("dpkg ist ein Werkzeug mittlerer Stufe,", 10, 10, 300, 1),
        line("um Debian-Pakete zu installieren, zu", 10, 30, 298, 1),
        line("bauen, zu entfernen und zu verwalten.", 10, 50, 296, 1),
        line("Die Liste der unterstützten Aktionen", 340, 10, 300, 2),
        line("kann im Abschnitt AKTIONEN gefunden", 340, 30, 299, 2),
        line("werden, wenn eine Aktion angetroffen", 340, 50, 300, 2),
    };
}

} // namespace

TEST(ReadingOrder, ReadsTablesRowByRowAndColumnsOfTextColumnByColumn)
{
    // A heading above the table and a footer below it keep their places.
    QList<Line> page = {line("Services", 10, 0, 80, 0, 12)};
    page += tableByColumns();
    page.append(line("Edited by hand.", 10, 80, 120, 4));
    EXPECT_EQ(ReadingOrder::arrange(page), QStringList({"Services", "ssh 22/tcp Secure Shell", "telnet 23/tcp",
                                                        "smtp 25/tcp mail", "Edited by hand."}));
    EXPECT_FALSE(ReadingOrder::hasColumnsOfRunningText(tableByColumns()));

    QStringList columnOrder;
    for (const Line& l : twoColumns())
        columnOrder.append(l.text);
    EXPECT_EQ(ReadingOrder::arrange(twoColumns()), columnOrder);
    EXPECT_TRUE(ReadingOrder::hasColumnsOfRunningText(twoColumns()));
}
