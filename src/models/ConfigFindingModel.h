#pragma once

#include "data/ConfigCheck.h"

#include <QAbstractTableModel>
#include <QList>

// The findings of the configuration check: kind and message, one row each. Holds copies.
class ConfigFindingModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ConfigFindingModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setFindings(const QList<ConfigCheck::Finding> &findings);
    const ConfigCheck::Finding *findingAt(int row) const;

private:
    QList<ConfigCheck::Finding> findings;
};
