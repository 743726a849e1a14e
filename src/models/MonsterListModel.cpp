#include "models/MonsterListModel.h"

#include "data/DropConfig.h"
#include "data/NameResolver.h"

#include <QColor>
#include <QDebug>
#include <algorithm>
#include <utility>
#include <vector>

namespace {
const QColor noDropsBackground(200, 200, 200);
const QString emptyName;
} // namespace

MonsterListModel::MonsterListModel(QObject *parent) : QAbstractTableModel(parent) {}

MonsterListModel::~MonsterListModel() = default;

int MonsterListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

int MonsterListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant MonsterListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.column() < 0 || index.row() >= m_ids.size())
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const int id = m_ids.at(row);
        switch (index.column()) {
        case 0:
            return id;
        case 1:
            return NameResolver::instance().monsterName(id);
        case 2:
            return NameResolver::instance().monsterLevel(id);
        default:
            return QVariant();
        }
    }
    case Qt::BackgroundRole:
        // configAt is null or has no used slot -> no drops.
        return hasDrops(row) ? QVariant() : QVariant(noDropsBackground);
    default:
        return QVariant();
    }
}

QVariant MonsterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0:
        return QStringLiteral("怪物ID");
    case 1:
        return QStringLiteral("怪物名称");
    case 2:
        return QStringLiteral("等级");
    default:
        return QVariant();
    }
}

Qt::ItemFlags MonsterListModel::flags(const QModelIndex &index) const
{
    // A stale index from before a reset gets no flags either.
    if (!index.isValid() || index.row() >= m_ids.size() || index.column() >= 3)
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

bool MonsterListModel::setData(const QModelIndex &, const QVariant &, int)
{
    return false;
}

void MonsterListModel::loadMonsters()
{
    qDebug() << "[MonsterListModel] 开始加载怪物列表";
    beginResetModel();

    const QMap<int, QString> &names = NameResolver::instance().monsterNames;
    QList<int> ids;
    QList<QString> rowNames;
    ids.reserve(names.size());
    rowNames.reserve(names.size());
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        ids.append(it.key());
        rowNames.append(it.value());
    }
    const int count = int(ids.size());
    qDebug() << "[MonsterListModel] 从NameResolver获取到" << count << "个怪物";
    if (count > 0) {
        qDebug() << "[MonsterListModel] 前10个怪物ID:";
        for (int i = 0; i < std::min(count, 10); ++i)
            qDebug() << "  " << i << ":" << ids.at(i) << "-" << rowNames.at(i);
    }
    // The map hands its keys out in ascending order, so the rows are sorted by id already.
    m_ids = std::move(ids);
    m_names = std::move(rowNames);

    rebuildIndex();
    endResetModel();
    qDebug() << "[MonsterListModel] 怪物列表加载完成，共" << count << "个怪物";
}

void MonsterListModel::setDropConfig(MonsterDropData *dropConfig)
{
    qDebug() << "[MonsterListModel] 设置掉落配置";
    beginResetModel();
    m_dropConfig = dropConfig;
    if (m_dropConfig) {
        const QList<MonsterDropConfig> &records = m_dropConfig->records;
        qDebug() << "[MonsterListModel] 掉落配置包含" << records.size() << "个怪物";
        for (qsizetype i = 0; i < std::min<qsizetype>(records.size(), 5); ++i)
            qDebug() << "  怪物ID:" << records.at(i).monsterId
                     << "有效掉包数:" << validBoxCount(&records.at(i));
    } else {
        qDebug() << "[MonsterListModel] 掉落配置为空";
    }
    rebuildIndex();
    endResetModel();
}

void MonsterListModel::rebuildIndex()
{
    // A fresh map rather than clear(): a copy someone still shares stays untouched.
    m_index = QMap<int, int>();
    m_recordPositions.fill(-1, m_ids.size());
    if (!m_dropConfig)
        return;

    const QList<MonsterDropConfig> &records = m_dropConfig->records;
    // Sort (id, position) pairs so the map can be built by appending at its end;
    // for equal ids the later position wins.
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i)
        pairs.emplace_back(records.at(i).monsterId, int(i));
    std::sort(pairs.begin(), pairs.end());
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (i + 1 < pairs.size() && pairs[i + 1].first == pairs[i].first)
            continue;
        m_index.insert(m_index.cend(), pairs[i].first, pairs[i].second);
    }

    // Both the ids and the map are ascending: one merge pass gives every row its record.
    auto it = m_index.cbegin();
    for (qsizetype row = 0; row < m_ids.size(); ++row) {
        const int id = m_ids.at(row);
        while (it != m_index.cend() && it.key() < id)
            ++it;
        if (it != m_index.cend() && it.key() == id)
            m_recordPositions[row] = it.value();
    }
}

int MonsterListModel::idAt(int row) const
{
    if (row < 0 || row >= m_ids.size())
        return -1;
    return m_ids.at(row);
}

MonsterDropConfig *MonsterListModel::configAt(int row) const
{
    if (row < 0 || row >= m_ids.size() || !m_dropConfig)
        return nullptr;
    // Same answer as configFor(idAt(row)), without the map lookup.
    const int position = m_recordPositions.at(row);
    if (position < 0 || position >= m_dropConfig->records.size())
        return nullptr;
    return &m_dropConfig->records[position];
}

MonsterDropConfig *MonsterListModel::configFor(int monsterId) const
{
    if (!m_dropConfig || m_index.isEmpty())
        return nullptr;
    const auto it = m_index.constFind(monsterId);
    if (it == m_index.cend())
        return nullptr;
    const int position = it.value();
    if (position < 0 || position >= m_dropConfig->records.size())
        return nullptr;
    return &m_dropConfig->records[position];
}

bool MonsterListModel::hasDrops(int row) const
{
    return validBoxCount(recordAt(row)) > 0;
}

const MonsterDropConfig *MonsterListModel::recordAt(int row) const
{
    if (row < 0 || row >= m_ids.size() || !m_dropConfig)
        return nullptr;
    const int position = m_recordPositions.at(row);
    if (position < 0 || position >= m_dropConfig->records.size())
        return nullptr;
    // Read-only access: no detach of a records list that is shared with a copy.
    return &m_dropConfig->records.at(position);
}

int MonsterListModel::validBoxCount(const MonsterDropConfig *config)
{
    return config ? DropSlots::validBoxCount(*config) : 0;
}

const QString &MonsterListModel::nameAt(int row) const
{
    if (row < 0 || row >= m_names.size())
        return emptyName;
    return m_names.at(row);
}
