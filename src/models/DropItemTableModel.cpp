#include "models/DropItemTableModel.h"

#include "data/DropConfig.h"
#include "data/NameResolver.h"
#include "rates/DropRate.h"

#include <climits>
#include <cmath>

#include <QCoreApplication>

namespace {

// QVariant::toInt wraps numbers outside the int range silently ("2147483648" becomes
// -2147483648); an item id must be refused instead.
bool toItemId(const QVariant &value, int &itemId)
{
    bool ok = false;
    const int type = value.metaType().id();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number) || number < double(INT_MIN) || number > double(INT_MAX))
            return false;
    } else if (type == QMetaType::ULongLong) {
        const qulonglong number = value.toULongLong(&ok);
        if (!ok || number > qulonglong(INT_MAX))
            return false;
    }
    const qlonglong wide = value.toLongLong(&ok);
    if (!ok || wide < INT_MIN || wide > INT_MAX)
        return false;
    itemId = int(wide);
    return true;
}

} // namespace

DropItemTableModel::DropItemTableModel(QObject *parent) : QAbstractTableModel(parent) {}

DropItemTableModel::~DropItemTableModel() = default;

int DropItemTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_box)
        return 0;
    return int(m_box->items.size());
}

int DropItemTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant DropItemTableModel::data(const QModelIndex &index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() || !m_box ||
        index.row() < 0 || index.column() < 0 || index.row() >= m_box->items.size())
        return QVariant();
    const int itemId = m_box->items.at(index.row()).itemId;
    if (!DropSlots::isUsedId(itemId))
        return QVariant();
    switch (index.column()) {
    case RateColumn:
        // Unlike the other tables, a box without a rate leaves the cell empty.
        if (!DropRate::hasRate(m_box->boxValue))
            return QVariant();
        return DropRate::tableText(m_monsterValue, m_box->boxValue, m_dropMultiplier);
    case ItemIdColumn:
        return itemId;
    case 2:
        return NameResolver::instance().itemName(itemId);
    default:
        return QVariant();
    }
}

QVariant DropItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0:
        return QCoreApplication::translate("Lootwright", "爆率");
    case 1:
        return QCoreApplication::translate("Lootwright", "物品ID");
    case 2:
        return QCoreApplication::translate("Lootwright", "物品名称");
    default:
        return QVariant();
    }
}

Qt::ItemFlags DropItemTableModel::flags(const QModelIndex &index) const
{
    // A stale index from before a reset gets no flags either.
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= 3)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.column() == ItemIdColumn)
        result |= Qt::ItemIsEditable;
    return result;
}

bool DropItemTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !m_box || index.row() < 0 || index.column() < 0 ||
        index.row() >= m_box->items.size() || role != Qt::EditRole ||
        index.column() != ItemIdColumn)
        return false;
    // An index of another model must not write into this box.
    if (index.model() != this)
        return false;
    int itemId = 0;
    if (!toItemId(value, itemId))
        return false;
    if (itemId != m_box->items.at(index.row()).itemId)
        Q_EMIT itemIdEditRequested(m_box->boxId, index.row(), itemId);
    return true;
}

void DropItemTableModel::setBox(const DropBoxConfig *box)
{
    beginResetModel();
    m_box = box;
    endResetModel();
}

void DropItemTableModel::setMonsterValue(int value)
{
    if (value == m_monsterValue)
        return;
    m_monsterValue = value;
    if (m_box && !m_box->items.isEmpty())
        Q_EMIT dataChanged(index(0, RateColumn), index(int(m_box->items.size()) - 1, RateColumn),
                           {});
}

void DropItemTableModel::setDropMultiplier(double multiplier)
{
    // A NaN or infinite multiplier would turn every rate into "nan%" or "inf%".
    if (!std::isfinite(multiplier) || multiplier == m_dropMultiplier)
        return;
    m_dropMultiplier = multiplier;
    if (m_box && !m_box->items.isEmpty())
        Q_EMIT dataChanged(index(0, RateColumn), index(int(m_box->items.size()) - 1, RateColumn),
                           {});
}
