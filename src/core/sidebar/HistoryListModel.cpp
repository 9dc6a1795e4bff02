#include "core/sidebar/HistoryListModel.h"

#include "core/history/HistoryManager.h"

#include <QSet>

HistoryListModel::HistoryListModel(HistoryManager& history, QObject* parent)
    : QAbstractListModel(parent)
    , m_entries(history.entries())
{
    connect(&history, &HistoryManager::entriesChanged, this, &HistoryListModel::follow);
}

int HistoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const
{
    const HistoryEntry* entry = index.isValid() ? entryAt(index.row()) : nullptr;
    if (!entry)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(entry->text);
    case TimestampRole:
        return entry->timestamp;
    case HasScreenshotRole:
        return entry->screenshotFilename.has_value();
    case IdRole:
        return entry->id;
    default:
        return {};
    }
}

const HistoryEntry* HistoryListModel::entryAt(int row) const
{
    return row >= 0 && row < m_entries.size() ? &m_entries[row] : nullptr;
}

QString HistoryListModel::displayText(const QString& text)
{
    QString shown = text.left(MaxShownCharacters);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& c : shown)
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return shown;
}

void HistoryListModel::follow(const QList<HistoryEntry>& next)
{
    // Rows whose entry is gone, in runs from the end so that the row numbers before them stay valid.
    QSet<QUuid> nextIds;
    nextIds.reserve(next.size());
    for (const HistoryEntry& entry : next)
        nextIds.insert(entry.id);
    for (int last = int(m_entries.size()) - 1; last >= 0; --last) {
        if (nextIds.contains(m_entries[last].id))
            continue;
        int first = last;
        while (first > 0 && !nextIds.contains(m_entries[first - 1].id))
            --first;
        beginRemoveRows(QModelIndex(), first, last);
        m_entries.remove(first, last - first + 1);
        endRemoveRows();
        last = first;
    }

    // What is left is in the new list; walk both, inserting the new entries in runs and refreshing changed ones.
    QSet<QUuid> keptIds;
    keptIds.reserve(m_entries.size());
    for (const HistoryEntry& entry : std::as_const(m_entries))
        keptIds.insert(entry.id);
    int row = 0;
    for (qsizetype i = 0; i < next.size();) {
        if (row < m_entries.size() && m_entries[row].id == next[i].id) {
            if (m_entries[row] != next[i]) {
                m_entries[row] = next[i];
                emit dataChanged(index(row), index(row));
            }
            ++row;
            ++i;
            continue;
        }
        if (keptIds.contains(next[i].id))
            break; // moved: not something the store does, so the whole list is taken over below
        qsizetype end = i;
        while (end < next.size() && !keptIds.contains(next[end].id))
            ++end;
        beginInsertRows(QModelIndex(), row, row + int(end - i) - 1);
        for (qsizetype k = i; k < end; ++k)
            m_entries.insert(row++, next[k]);
        endInsertRows();
        i = end;
    }
    if (m_entries != next) {
        beginResetModel();
        m_entries = next;
        endResetModel();
    }
}
