#include "models/ItemSourceTableModel.h"

#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <limits>

ItemSourceTableModel::ItemSourceTableModel(QObject *parent) : QAbstractTableModel(parent) {}

int ItemSourceTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int ItemSourceTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ItemSourceTable::ColumnCount;
}

QVariant ItemSourceTableModel::data(const QModelIndex &index, int role) const
{
    const ItemSourceIndex::Source *source = index.isValid() ? sourceAt(index.row()) : nullptr;
    if (!source || index.column() < 0 || index.column() >= ItemSourceTable::ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return ItemSourceTable::cellText(*source, index.column(), NameResolver::instance(),
                                         multiplier);
    if (role == SortRole)
        return sortValue(*source, index.column());
    return {};
}

QVariant ItemSourceTableModel::sortValue(const ItemSourceIndex::Source &source, int column) const
{
    using namespace ItemSourceTable;
    constexpr double none = -std::numeric_limits<double>::infinity();
    const bool monster = source.hasMonster();
    switch (column) {
    case MonsterIdColumn:
        return monster ? double(source.monsterId) : none;
    case MonsterNameColumn:
        return ItemSourceTable::cellText(source, column, NameResolver::instance(), multiplier);
    case SlotColumn:
        return monster ? double(source.slot) : none;
    case MonsterValueColumn:
        return monster ? double(source.mValue) : none;
    case BoxIdColumn:
        return double(source.boxId);
    case BoxWeightColumn:
        return double(source.boxValue);
    case RateColumn:
        return source.sortRate(multiplier);
    case OneInColumn: {
        // 1/N grows as the rate falls; without a positive rate it sorts after every N.
        const double rate = source.sortRate(multiplier);
        return rate > 0.0 ? 1.0 / rate : std::numeric_limits<double>::infinity();
    }
    case ChanceColumn:
        return monster && DropRate::hasRate(source.boxValue)
                   ? DropRate::chanceInKills(source.mValue, source.boxValue, multiplier,
                                             ItemSourceIndex::chanceKills)
                   : none;
    }
    return {};
}

QVariant ItemSourceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ItemSourceTable::ColumnCount)
        return {};
    return ItemSourceTable::headerText(section);
}

void ItemSourceTableModel::setSources(const QList<ItemSourceIndex::Source> &sources, double value)
{
    beginResetModel();
    rows = sources;
    multiplier = value;
    endResetModel();
}

const ItemSourceIndex::Source *ItemSourceTableModel::sourceAt(int row) const
{
    return row >= 0 && row < rows.size() ? &rows.at(row) : nullptr;
}
