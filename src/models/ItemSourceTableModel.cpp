#include "models/ItemSourceTableModel.h"

#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <QFont>
#include <limits>

ItemSourceTableModel::ItemSourceTableModel(QObject *parent) : QAbstractTableModel(parent) {}

int ItemSourceTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size() + totals.size());
}

int ItemSourceTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ItemSourceTable::ColumnCount;
}

QVariant ItemSourceTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() < 0 || index.column() >= ItemSourceTable::ColumnCount)
        return {};
    if (const ItemSourceIndex::Source *source = sourceAt(index.row())) {
        if (role == Qt::DisplayRole)
            return ItemSourceTable::cellText(*source, index.column(), NameResolver::instance(),
                                             multiplier);
        if (role == SortRole)
            return sortValue(*source, index.column());
        return {};
    }
    const ItemSourceIndex::MonsterTotal *total = totalAt(index.row());
    if (!total)
        return {};
    if (role == Qt::DisplayRole)
        return ItemSourceTable::cellText(*total, index.column(), NameResolver::instance());
    if (role == SortRole)
        return sortValue(*total, index.column());
    if (role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

namespace {

// Kills grow as the chance falls; without a chance they sort after every count.
double killsSortValue(double kills)
{
    return kills >= 1.0 ? kills : std::numeric_limits<double>::infinity();
}

} // namespace

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
    case Kills50Column:
    case Kills90Column:
    case Kills99Column:
        return killsSortValue(
            DropOdds::killsFor(source.killRate(multiplier), ItemSourceTable::killsChance(column)));
    case ChanceColumn:
        return monster && DropRate::hasRate(source.boxValue)
                   ? DropRate::chanceInKills(source.mValue, source.boxValue, multiplier,
                                             ItemSourceIndex::chanceKills)
                   : none;
    }
    return {};
}

QVariant ItemSourceTableModel::sortValue(const ItemSourceIndex::MonsterTotal &total,
                                         int column) const
{
    using namespace ItemSourceTable;
    constexpr double none = -std::numeric_limits<double>::infinity();
    const DropOdds::ItemOdds &odds = total.odds;
    switch (column) {
    case MonsterIdColumn:
        return double(total.monsterId);
    case MonsterNameColumn:
        return ItemSourceTable::cellText(total, column, NameResolver::instance());
    case SlotColumn: // after the monster's slots
        return std::numeric_limits<double>::infinity();
    case MonsterValueColumn:
        return double(total.mValue);
    case BoxIdColumn:
        return double(total.boxIds.value(0));
    case BoxWeightColumn:
        return none;
    case RateColumn:
        return odds.hasRate() ? odds.chancePerKill() : none;
    case OneInColumn:
        return odds.chancePerKill() > 0.0 ? 1.0 / odds.chancePerKill()
                                          : std::numeric_limits<double>::infinity();
    case Kills50Column:
    case Kills90Column:
    case Kills99Column:
        return killsSortValue(odds.killsFor(ItemSourceTable::killsChance(column)));
    case ChanceColumn:
        return odds.hasRate() ? odds.chanceIn(ItemSourceIndex::chanceKills) : none;
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
    totals = ItemSourceIndex::totals(sources, value);
    multiplier = value;
    endResetModel();
}

const ItemSourceIndex::Source *ItemSourceTableModel::sourceAt(int row) const
{
    return row >= 0 && row < rows.size() ? &rows.at(row) : nullptr;
}

const ItemSourceIndex::MonsterTotal *ItemSourceTableModel::totalAt(int row) const
{
    const qsizetype at = row - rows.size();
    return at >= 0 && at < totals.size() ? &totals.at(at) : nullptr;
}
