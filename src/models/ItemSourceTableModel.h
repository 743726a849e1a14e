#pragma once

#include "data/ItemSourceIndex.h"

#include <QAbstractTableModel>
#include <QList>

// The sources of one item for the lookup window: one row per box and monster slot, then one total
// row per monster, in the columns of ItemSourceTable. Holds copies, never pointers into the
// documents.
class ItemSourceTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Numbers for sorting: rates, 1/N and chances by value, not by their text.
    static constexpr int SortRole = Qt::UserRole;

    explicit ItemSourceTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setSources(const QList<ItemSourceIndex::Source> &sources, double multiplier);
    // The source of a row, or nullptr (a total row).
    const ItemSourceIndex::Source *sourceAt(int row) const;
    // The monster total of a row, or nullptr (a source row).
    const ItemSourceIndex::MonsterTotal *totalAt(int row) const;
    const QList<ItemSourceIndex::MonsterTotal> &monsterTotals() const { return totals; }

private:
    QVariant sortValue(const ItemSourceIndex::Source &source, int column) const;
    QVariant sortValue(const ItemSourceIndex::MonsterTotal &total, int column) const;

    QList<ItemSourceIndex::Source> rows;
    QList<ItemSourceIndex::MonsterTotal> totals;
    double multiplier = 1.0;
};
