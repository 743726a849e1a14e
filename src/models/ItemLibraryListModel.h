#pragma once

#include "data/ItemLibrary.h"

#include <QAbstractTableModel>
#include <QList>

// The item library as three columns: id, name, category. Holds its own copy of the entries.
class ItemLibraryListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ItemLibraryListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setEntries(QList<ItemLibraryEntry> entries);
    // Null when the row is out of range.
    const ItemLibraryEntry *entryAt(int row) const;

private:
    QList<ItemLibraryEntry> m_entries;
};
