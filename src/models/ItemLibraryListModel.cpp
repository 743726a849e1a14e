#include "models/ItemLibraryListModel.h"

#include <utility>

#include <QCoreApplication>

ItemLibraryListModel::ItemLibraryListModel(QObject *parent) : QAbstractTableModel(parent) {}

int ItemLibraryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int ItemLibraryListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ItemLibraryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.column() < 0 ||
        index.row() >= m_entries.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    const ItemLibraryEntry &entry = m_entries.at(index.row());
    const bool display = role == Qt::DisplayRole || role == Qt::EditRole;
    if (!display && role != Qt::UserRole)
        return {};
    switch (index.column()) {
    case 0:
        return display ? QVariant(entry.idText) : QVariant(entry.id);
    case 1:
        return entry.name;
    case 2:
        return entry.category;
    default:
        return {};
    }
}

QVariant ItemLibraryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("ID");
    case 1:
        return QCoreApplication::translate("Lootwright", "名称");
    case 2:
        return QCoreApplication::translate("Lootwright", "分类");
    default:
        return {};
    }
}

void ItemLibraryListModel::setEntries(QList<ItemLibraryEntry> entries)
{
    beginResetModel();
    // The old list is released outside the reset's bookkeeping, after the swap.
    std::swap(m_entries, entries);
    endResetModel();
}

const ItemLibraryEntry *ItemLibraryListModel::entryAt(int row) const
{
    if (row < 0 || row >= m_entries.size())
        return nullptr;
    return &m_entries.at(row);
}
