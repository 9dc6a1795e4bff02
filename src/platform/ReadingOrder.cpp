#include "platform/ReadingOrder.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

struct Block {
    int id = 0;
    QRect box;
    QList<ReadingOrder::Line> lines;
};

bool overlapVertically(const QRect& a, const QRect& b) {
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
    return overlap > std::min(a.height(), b.height()) / 2;
}

// Lines of one row: their vertical centres fall inside each other's extent.
bool sameRow(const QRect& a, const QRect& b) {
    return (b.center().y() >= a.top() && b.center().y() <= a.bottom()) ||
           (a.center().y() >= b.top() && a.center().y() <= b.bottom());
}

QStringList rowsAcross(QList<ReadingOrder::Line> lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const ReadingOrder::Line& a, const ReadingOrder::Line& b) {
        return a.box.top() < b.box.top();
    });
    std::vector<QList<ReadingOrder::Line>> rows;
    for (const ReadingOrder::Line& line : std::as_const(lines)) {
        auto row = std::find_if(rows.begin(), rows.end(), [&](const QList<ReadingOrder::Line>& r) {
            return std::any_of(r.begin(), r.end(),
                               [&](const ReadingOrder::Line& cell) { return sameRow(cell.box, line.box); });
        });
        if (row == rows.end())
            rows.push_back({line});
        else
            row->append(line);
    }
    QStringList texts;
    for (QList<ReadingOrder::Line>& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](const ReadingOrder::Line& a, const ReadingOrder::Line& b) {
            return a.box.left() < b.box.left();
        });
        QStringList cells;
        for (const ReadingOrder::Line& cell : std::as_const(row))
            cells.append(cell.text);
        texts.append(cells.join(QLatin1Char(' ')));
    }
    return texts;
}

} // namespace

bool ReadingOrder::isRunningText(const QList<Line>& blockLines) {
    if (blockLines.size() < 3)
        return false;
    QRect box;
    int words = 0;
    std::vector<int> widths;
    for (const Line& line : blockLines) {
        box = box.united(line.box);
        words += int(line.text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
        widths.push_back(line.box.width());
    }
    std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
    const bool filled = widths[widths.size() / 2] * 10 >= box.width() * 7;
    return filled && words >= 3 * blockLines.size();
}

QStringList ReadingOrder::arrange(const QList<Line>& lines) {
    // Blocks in the recogniser's order.
    std::vector<Block> blocks;
    std::map<int, size_t> index;
    for (const Line& line : lines) {
        auto [it, added] = index.emplace(line.block, blocks.size());
        if (added)
            blocks.push_back({line.block, QRect(), {}});
        Block& block = blocks[it->second];
        block.box = block.box.united(line.box);
        block.lines.append(line);
    }

    // Bands: blocks linked by standing side by side (overlapping vertically) and everything linked to them.
    std::vector<int> band(blocks.size(), -1);
    int bands = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (band[i] >= 0)
            continue;
        band[i] = bands;
        std::vector<size_t> pending = {i};
        while (!pending.empty()) {
            const size_t current = pending.back();
            pending.pop_back();
            for (size_t j = 0; j < blocks.size(); ++j) {
                if (band[j] < 0 && overlapVertically(blocks[current].box, blocks[j].box)) {
                    band[j] = bands;
                    pending.push_back(j);
                }
            }
        }
        ++bands;
    }

    QStringList texts;
    for (int b = 0; b < bands; ++b) {
        std::vector<const Block*> members;
        for (size_t i = 0; i < blocks.size(); ++i) {
            if (band[i] == b)
                members.push_back(&blocks[i]);
        }
        // Paragraphs stacked in one column are separate blocks; judge running text by column.
        std::vector<QList<Line>> columns;
        std::vector<QRect> columnBoxes;
        for (const Block* block : members) {
            auto column = std::find_if(columnBoxes.begin(), columnBoxes.end(), [&](const QRect& box) {
                return box.left() <= block->box.right() && block->box.left() <= box.right();
            });
            if (column == columnBoxes.end()) {
                columns.push_back(block->lines);
                columnBoxes.push_back(block->box);
            } else {
                const size_t c = size_t(column - columnBoxes.begin());
                columns[c] += block->lines;
                columnBoxes[c] = columnBoxes[c].united(block->box);
            }
        }
        const bool allRunningText = std::all_of(columns.begin(), columns.end(),
                                                [](const QList<Line>& column) { return isRunningText(column); });
        if (columns.size() == 1 || allRunningText) {
            for (const Block* block : members) {
                for (const Line& line : block->lines)
                    texts.append(line.text);
            }
        } else {
            QList<Line> bandLines;
            for (const Block* block : members)
                bandLines += block->lines;
            texts += rowsAcross(bandLines);
        }
    }
    return texts;
}
