#include "models/DropSummaryModel.h"

#include "data/BoxSlotLookup.h"
#include "data/DropConfig.h"
#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <QColor>
#include <QCoreApplication>
#include <cmath>

namespace {
const QColor separatorBackground(240, 240, 240);
} // namespace

DropSummaryModel::DropSummaryModel(QObject *parent) : QAbstractTableModel(parent) {}

DropSummaryModel::~DropSummaryModel() = default;

int DropSummaryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DropSummaryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant DropSummaryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.column() < 0 || index.row() >= m_rows.size())
        return QVariant();
    const SummaryRow &row = m_rows.at(index.row());
    if (row.separator)
        return role == Qt::BackgroundRole ? QVariant(separatorBackground) : QVariant();
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case 0:
        return row.boxId;
    case 1:
        return row.itemId;
    case 2:
        return NameResolver::instance().itemName(row.itemId);
    case RateColumn:
        return DropRate::tableText(m_monsterValue, row.boxWeight, m_dropMultiplier);
    default:
        return QVariant();
    }
}

QVariant DropSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0:
        return QCoreApplication::translate("Lootwright", "包裹ID");
    case 1:
        return QCoreApplication::translate("Lootwright", "物品ID");
    case 2:
        return QCoreApplication::translate("Lootwright", "物品名称");
    case 3:
        return QCoreApplication::translate("Lootwright", "爆率");
    default:
        return QVariant();
    }
}

void DropSummaryModel::setMonster(const MonsterDropConfig *monster,
                                  const DropBoxContentData *boxData)
{
    beginResetModel();
    m_rows.clear();
    m_monsterValue = 0;
    if (!monster || !boxData) {
        endResetModel();
        return;
    }
    m_monsterValue = monster->mValue;
    bool firstBox = true;
    for (const int position : BoxSlotLookup::resolve(*boxData, monster->dropBoxIds)) {
        if (position < 0)
            continue;
        const DropBoxConfig *box = &boxData->boxes.at(position);
        if (!firstBox)
            m_rows.append(SummaryRow{-1, 0, -1, true});
        firstBox = false;
        for (const DropBoxItem &item : box->items) {
            if (DropSlots::isUsedId(item.itemId))
                m_rows.append(SummaryRow{item.itemId, box->boxValue, box->boxId, false});
        }
    }
    endResetModel();
}

void DropSummaryModel::setDropMultiplier(double multiplier)
{
    // A NaN or infinite multiplier would turn every rate into "nan%" or "inf%".
    if (!std::isfinite(multiplier) || multiplier == m_dropMultiplier)
        return;
    m_dropMultiplier = multiplier;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, RateColumn), index(int(m_rows.size()) - 1, RateColumn), {});
}
