#include "models/MonsterListModel.h"

#include "data/DropConfig.h"
#include "data/NameResolver.h"

#include <QColor>
#include <QCoreApplication>
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
        return QCoreApplication::translate("Lootwright", "怪物ID");
    case 1:
        return QCoreApplication::translate("Lootwright", "怪物名称");
    case 2:
        return QCoreApplication::translate("Lootwright", "等级");
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

void MonsterListModel::setDropConfig(const MonsterDropData *dropConfig)
{
    qDebug() << "[MonsterListModel] 设置掉落配置";
    beginResetModel();
    m_dropConfig = dropConfig;
    if (m_dropConfig) {
        const QList<MonsterDropConfig> &records = m_dropConfig->records;
        qDebug() << "[MonsterListModel] 掉落配置包含" << records.size() << "个怪物";
        for (qsizetype i = 0; i < std::min<qsizetype>(records.size(), 5); ++i)
            qDebug() << "  怪物ID:" << records.at(i).monsterId
                     << "有效掉包数:" << DropSlots::validBoxCount(records.at(i));
    } else {
        qDebug() << "[MonsterListModel] 掉落配置为空";
    }
    rebuildIndex();
    endResetModel();
}

void MonsterListModel::rebuildIndex()
{
    // A fresh list rather than clear(): a copy someone still shares stays untouched.
    m_index = QList<IndexEntry>();
    m_recordPositions.fill(-1, m_ids.size());
    if (!m_dropConfig)
        return;

    const QList<MonsterDropConfig> &records = m_dropConfig->records;
    QList<IndexEntry> entries;
    entries.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        entries.append(IndexEntry{records.at(i).monsterId, int(i), 1});
    // Ordered by id, then by position, so the first record of an id starts its run.
    const auto byIdThenPosition = [](const IndexEntry &a, const IndexEntry &b) {
        return a.monsterId < b.monsterId || (a.monsterId == b.monsterId && a.position < b.position);
    };
    if (!std::is_sorted(entries.cbegin(), entries.cend(), byIdThenPosition))
        std::sort(entries.begin(), entries.end(), byIdThenPosition);
    // Keep one entry per id: the first record, the one every edit changes.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (kept > 0 && entries.at(kept - 1).monsterId == entries.at(i).monsterId) {
            ++entries[kept - 1].recordCount;
            continue;
        }
        entries[kept++] = entries.at(i);
    }
    entries.resize(kept);
    m_index = std::move(entries);

    // Both the ids and the index are ascending: one merge pass gives every row its record.
    qsizetype next = 0;
    for (qsizetype row = 0; row < m_ids.size(); ++row) {
        const int id = m_ids.at(row);
        while (next < m_index.size() && m_index.at(next).monsterId < id)
            ++next;
        if (next < m_index.size() && m_index.at(next).monsterId == id)
            m_recordPositions[row] = m_index.at(next).position;
    }
}

int MonsterListModel::idAt(int row) const
{
    if (row < 0 || row >= m_ids.size())
        return -1;
    return m_ids.at(row);
}

const MonsterDropConfig *MonsterListModel::configAt(int row) const
{
    if (row < 0 || row >= m_ids.size() || !m_dropConfig)
        return nullptr;
    // Same answer as configFor(idAt(row)), without the map lookup.
    const int position = m_recordPositions.at(row);
    if (position < 0 || position >= m_dropConfig->records.size())
        return nullptr;
    return &m_dropConfig->records.at(position);
}

const MonsterDropConfig *MonsterListModel::configFor(int monsterId) const
{
    const IndexEntry *entry = indexEntryFor(monsterId);
    if (!m_dropConfig || !entry)
        return nullptr;
    const int position = entry->position;
    if (position < 0 || position >= m_dropConfig->records.size())
        return nullptr;
    return &m_dropConfig->records.at(position);
}

bool MonsterListModel::hasDrops(int row) const
{
    const MonsterDropConfig *record = recordAt(row);
    return record && DropSlots::validBoxCount(*record) > 0;
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

int MonsterListModel::recordCountFor(int monsterId) const
{
    const IndexEntry *entry = indexEntryFor(monsterId);
    return entry ? entry->recordCount : 0;
}

const MonsterListModel::IndexEntry *MonsterListModel::indexEntryFor(int monsterId) const
{
    const auto it =
        std::lower_bound(m_index.cbegin(), m_index.cend(), monsterId,
                         [](const IndexEntry &entry, int id) { return entry.monsterId < id; });
    return it == m_index.cend() || it->monsterId != monsterId ? nullptr : &*it;
}

const QString &MonsterListModel::nameAt(int row) const
{
    if (row < 0 || row >= m_names.size())
        return emptyName;
    return m_names.at(row);
}
