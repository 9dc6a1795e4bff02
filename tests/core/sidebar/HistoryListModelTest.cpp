#include "core/sidebar/HistoryListModel.h"

#include "TestStores.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace {

// The store's own entries in the model's order, and every change signal the model sent, in order.
struct ModelFixture : TestStores {
    explicit ModelFixture(int entries)
    {
        settings.setHistoryMaxEntries(10);
        for (int i = 0; i < entries; ++i)
            history.addEntry(QStringLiteral("entry %1").arg(i), std::nullopt, QImage(), QImage());
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex&, int first, int last) {
            changes.append(QStringLiteral("insert %1-%2").arg(first).arg(last));
        });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [this](const QModelIndex&, int first, int last) {
            changes.append(QStringLiteral("remove %1-%2").arg(first).arg(last));
        });
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& first, const QModelIndex&) {
                             changes.append(QStringLiteral("change %1").arg(first.row()));
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { changes.append(QStringLiteral("reset")); });
    }

    QStringList modelTexts() const
    {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.append(model.entryAt(row)->text);
        return texts;
    }

    HistoryListModel model{history};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QStringList changes;
};

} // namespace

// Each store change reaches the list as the smallest change, so the view keeps its place and redraws few rows.
TEST(HistoryListModel, FollowsEachStoreChangeWithTheSmallestChange)
{
    const auto idAt = [](HistoryManager& history, int row) { return history.entries().at(row).id; };
    // How many entries the store holds ("entry 0" is the oldest, at the end), the change, and the model's signals.
    const std::tuple<const char*, int, std::function<void(HistoryManager&)>, QStringList> rows[] = {
        {"an add inserts at the front",
         3,
         [](HistoryManager& h) { h.addEntry(QStringLiteral("new"), std::nullopt, QImage(), QImage()); },
         {"insert 0-0"}},
        {"an add past the limit also drops the oldest",
         10,
         [](HistoryManager& h) { h.addEntry(QStringLiteral("new"), std::nullopt, QImage(), QImage()); },
         {"insert 0-0", "remove 10-10"}},
        {"a deletion removes its row", 4, [&](HistoryManager& h) { h.deleteEntry(idAt(h, 2)); }, {"remove 2-2"}},
        {"an edit changes its row in place",
         4,
         [&](HistoryManager& h) { h.updateEntry(h.entries().at(1), QStringLiteral("edited")); },
         {"change 1"}},
        {"saving an unchanged text changes nothing",
         4,
         [&](HistoryManager& h) { h.updateEntry(h.entries().at(1), h.entries().at(1).text); },
         {}},
        {"clearing removes every row at once", 4, [](HistoryManager& h) { h.clearHistory(); }, {"remove 0-3"}},
    };
    for (const auto& [name, entries, change, expected] : rows) {
        SCOPED_TRACE(name);
        ModelFixture f(entries);
        ASSERT_EQ(f.modelTexts(), textsOf(f.history.entries()));
        change(f.history);
        EXPECT_EQ(f.modelTexts(), textsOf(f.history.entries()));
        EXPECT_EQ(f.changes, expected);
    }
}
