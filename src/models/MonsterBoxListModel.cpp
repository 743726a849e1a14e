#include "models/MonsterBoxListModel.h"

#include "data/BoxSlotLookup.h"
#include "data/DropConfig.h"
#include "rates/DropRate.h"

#include <cmath>

#include <QCoreApplication>

MonsterBoxListModel::MonsterBoxListModel(QObject *parent) : QAbstractTableModel(parent) {}

MonsterBoxListModel::~MonsterBoxListModel() = default;

int MonsterBoxListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_boxes.size());
}

int MonsterBoxListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant MonsterBoxListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0 || index.column() < 0 ||
        index.row() >= m_boxes.size())
        return QVariant();
    const DropBoxConfig *box = m_boxes.at(index.row());
    switch (index.column()) {
    case 0:
        return box->boxId;
    case 1:
        return box->boxValue;
    case RateColumn:
        return DropRate::tableText(m_monsterValue, box->boxValue, m_dropMultiplier);
    case 3:
        return DropSlots::filledItemCount(*box);
    default:
        return QVariant();
    }
}

QVariant MonsterBoxListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0:
        return QCoreApplication::translate("Lootwright", "包裹ID");
    case 1:
        return QCoreApplication::translate("Lootwright", "包裹权值");
    case 2:
        return QCoreApplication::translate("Lootwright", "爆率");
    case 3:
        return QCoreApplication::translate("Lootwright", "物品数");
    default:
        return QVariant();
    }
}

void MonsterBoxListModel::setMonster(const MonsterDropConfig *monster,
                                     const DropBoxContentData *boxData)
{
    beginResetModel();
    m_boxes.clear();
    m_monsterValue = 0;
    if (monster && boxData) {
        m_monsterValue = monster->mValue;
        for (const int position : BoxSlotLookup::resolve(*boxData, monster->dropBoxIds)) {
            if (position >= 0)
                m_boxes.append(&boxData->boxes.at(position));
        }
    }
    endResetModel();
}

const DropBoxConfig *MonsterBoxListModel::boxAt(int row) const
{
    if (row < 0 || row >= m_boxes.size())
        return nullptr;
    return m_boxes.at(row);
}

void MonsterBoxListModel::setDropMultiplier(double multiplier)
{
    // A NaN or infinite multiplier would turn every rate into "nan%" or "inf%".
    if (!std::isfinite(multiplier) || multiplier == m_dropMultiplier)
        return;
    m_dropMultiplier = multiplier;
    if (!m_boxes.isEmpty())
        Q_EMIT dataChanged(index(0, RateColumn), index(int(m_boxes.size()) - 1, RateColumn), {});
}
