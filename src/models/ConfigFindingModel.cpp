#include "models/ConfigFindingModel.h"

#include <QCoreApplication>

ConfigFindingModel::ConfigFindingModel(QObject *parent) : QAbstractTableModel(parent) {}

int ConfigFindingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(findings.size());
}

int ConfigFindingModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ConfigFindingModel::data(const QModelIndex &index, int role) const
{
    const ConfigCheck::Finding *finding = index.isValid() ? findingAt(index.row()) : nullptr;
    if (!finding || role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return ConfigCheck::kindTitle(finding->kind);
    if (index.column() == 1)
        return finding->message;
    return {};
}

QVariant ConfigFindingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QCoreApplication::translate("Lootwright", "类别");
    if (section == 1)
        return QCoreApplication::translate("Lootwright", "说明");
    return {};
}

void ConfigFindingModel::setFindings(const QList<ConfigCheck::Finding> &list)
{
    beginResetModel();
    findings = list;
    endResetModel();
}

const ConfigCheck::Finding *ConfigFindingModel::findingAt(int row) const
{
    return row >= 0 && row < findings.size() ? &findings.at(row) : nullptr;
}
