#include "core/recognition/ReadingOrder.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

using Line = ReadingOrder::Line;

struct Block {
    QRect box;
    QList<Line> lines;
};

// Blocks standing side by side (overlapping vertically), and everything linked to them that way, form a band;
// within a band, blocks above one another (overlapping horizontally) form a column.
struct Band {
    std::vector<const Block*> blocks; // in the recogniser's order
    std::vector<QList<Line>> columns;
};

bool overlapVertically(const QRect& a, const QRect& b)
{
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
    return overlap > std::min(a.height(), b.height()) / 2;
}

bool overlapHorizontally(const QRect& a, const QRect& b)
{
    return a.left() <= b.right() && b.left() <= a.right();
}

// Lines of one row: the vertical centre of one falls inside the other's extent.
bool sameRow(const QRect& a, const QRect& b)
{
    return (b.center().y() >= a.top() && b.center().y() <= a.bottom()) ||
           (a.center().y() >= b.top() && a.center().y() <= b.bottom());
}

std::vector<Block> blocksOf(const QList<Line>& lines)
{
    std::vector<Block> blocks;
    std::map<int, size_t> index;
    for (const Line& line : lines) {
        const auto [it, added] = index.emplace(line.block, blocks.size());
        if (added)
            blocks.push_back({});
        Block& block = blocks[it->second];
        block.box = block.box.united(line.box);
        block.lines.append(line);
    }
    return blocks;
}

std::vector<Band> bandsOf(const std::vector<Block>& blocks)
{
    std::vector<int> bandOf(blocks.size(), -1);
    std::vector<Band> bands;
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (bandOf[i] >= 0)
            continue;
        const int b = int(bands.size());
        bands.push_back({});
        bandOf[i] = b;
        std::vector<size_t> pending = {i};
        while (!pending.empty()) {
            const size_t current = pending.back();
            pending.pop_back();
            for (size_t j = 0; j < blocks.size(); ++j) {
                if (bandOf[j] < 0 && overlapVertically(blocks[current].box, blocks[j].box)) {
                    bandOf[j] = b;
                    pending.push_back(j);
                }
            }
        }
    }
    for (size_t i = 0; i < blocks.size(); ++i)
        bands[size_t(bandOf[i])].blocks.push_back(&blocks[i]);

    for (Band& band : bands) {
        std::vector<QRect> columnBoxes;
        for (const Block* block : band.blocks) {
            const auto column = std::find_if(columnBoxes.begin(), columnBoxes.end(),
                                             [&](const QRect& box) { return overlapHorizontally(box, block->box); });
            if (column == columnBoxes.end()) {
                band.columns.push_back(block->lines);
                columnBoxes.push_back(block->box);
            } else {
                const size_t c = size_t(column - columnBoxes.begin());
                band.columns[c] += block->lines;
                columnBoxes[c] = columnBoxes[c].united(block->box);
            }
        }
    }
    return bands;
}

bool columnsOfRunningText(const Band& band)
{
    return band.columns.size() > 1 && std::all_of(band.columns.begin(), band.columns.end(),
                                                  [](const QList<Line>& c) { return ReadingOrder::isRunningText(c); });
}

QStringList rowsAcross(QList<Line> lines)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.box.top() < b.box.top(); });
    std::vector<QList<Line>> rows;
    for (const Line& line : std::as_const(lines)) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const QList<Line>& r) {
            return std::any_of(r.begin(), r.end(), [&](const Line& cell) { return sameRow(cell.box, line.box); });
        });
        if (row == rows.end())
            rows.push_back({line});
        else
            row->append(line);
    }
    QStringList texts;
    for (QList<Line>& row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Line& a, const Line& b) { return a.box.left() < b.box.left(); });
        QStringList cells;
        for (const Line& cell : std::as_const(row))
            cells.append(cell.text);
        texts.append(cells.join(QLatin1Char(' ')));
    }
    return texts;
}

} // namespace

bool ReadingOrder::isRunningText(const QList<Line>& columnLines)
{
    if (columnLines.size() < 3)
        return false;
    QRect box;
    int words = 0;
    std::vector<int> widths;
    for (const Line& line : columnLines) {
        box = box.united(line.box);
        words += line.words;
        widths.push_back(line.box.width());
    }
    std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
    const bool filled = widths[widths.size() / 2] * 10 >= box.width() * 7;
    return filled && words >= 3 * columnLines.size();
}

bool ReadingOrder::hasColumnsOfRunningText(const QList<Line>& lines)
{
    const std::vector<Block> blocks = blocksOf(lines);
    const std::vector<Band> bands = bandsOf(blocks);
    return std::any_of(bands.begin(), bands.end(), columnsOfRunningText);
}

QStringList ReadingOrder::arrange(const QList<Line>& lines)
{
    const std::vector<Block> blocks = blocksOf(lines);
    QStringList texts;
    for (const Band& band : bandsOf(blocks)) {
        if (band.columns.size() == 1 || columnsOfRunningText(band)) {
            for (const Block* block : band.blocks) {
                for (const Line& line : block->lines)
                    texts.append(line.text);
            }
        } else {
            QList<Line> bandLines;
            for (const Block* block : band.blocks)
                bandLines += block->lines;
            texts += rowsAcross(bandLines);
        }
    }
    return texts;
}
