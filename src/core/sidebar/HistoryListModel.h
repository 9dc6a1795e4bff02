#pragma once

#include "core/history/HistoryEntry.h"

#include <QAbstractListModel>

class HistoryManager;

// The history as a list model, newest first, for the sidebar's list. It follows the store's change signal with
// the smallest change it can describe (rows inserted at the front, removed, or changed in place), so that the
// view keeps its scroll position and only touches the rows that changed. Main thread.
class HistoryListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        TimestampRole = Qt::UserRole + 1, // QDateTime
        HasScreenshotRole,                // bool
        IdRole,                           // QUuid
    };

    // Text beyond this many characters is never shown in a two-line row, so it is not laid out either.
    static constexpr int MaxShownCharacters = 400;

    explicit HistoryListModel(HistoryManager& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The entry of a row, nullptr outside the list.
    const HistoryEntry* entryAt(int row) const;

    // A text as one row shows it: its start, with every line break turned into a space.
    static QString displayText(const QString& text);

private:
    void follow(const QList<HistoryEntry>& next);

    QList<HistoryEntry> m_entries;
};
