#include "models/MonsterFilterProxyModel.h"

#include "models/MonsterListModel.h"

#include <QDebug>
#include <atomic>

namespace {
// The per-row diagnostic is written for the first few rows of the whole run only.
constexpr int maxRowDebugLines = 5;
std::atomic<int> rowDebugLines{0};
} // namespace

MonsterFilterProxyModel::MonsterFilterProxyModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    // A new source at the address of a destroyed one must not reuse the old cast.
    connect(this, &QAbstractProxyModel::sourceModelChanged, this, [this] {
        m_castFrom = nullptr;
        m_castSource = nullptr;
    });
}

MonsterFilterProxyModel::~MonsterFilterProxyModel() = default;

MonsterListModel *MonsterFilterProxyModel::monsterSource() const
{
    const QAbstractItemModel *source = sourceModel();
    if (source != m_castFrom || !m_castFrom) {
        m_castFrom = source;
        m_castSource = qobject_cast<MonsterListModel *>(const_cast<QAbstractItemModel *>(source));
    }
    return m_castSource;
}

void MonsterFilterProxyModel::setFilterText(const QString &text)
{
    m_filterText = text.trimmed();
    invalidateFilter();
}

void MonsterFilterProxyModel::setOnlyWithDrops(bool on)
{
    qDebug() << "[MonsterFilterProxyModel] 设置只显示有掉落:" << on;
    m_onlyWithDrops = on;
    invalidateFilter();
    qDebug() << "[MonsterFilterProxyModel] 过滤后显示" << rowCount() << "个怪物";
}

MonsterDropConfig *MonsterFilterProxyModel::configAtProxyRow(int row) const
{
    MonsterListModel *source = monsterSource();
    if (!source || row < 0 || row >= rowCount())
        return nullptr;
    const QModelIndex sourceIndex = mapToSource(index(row, 0));
    if (!sourceIndex.isValid())
        return nullptr;
    return source->configAt(sourceIndex.row());
}

int MonsterFilterProxyModel::idAtProxyRow(int row) const
{
    MonsterListModel *source = monsterSource();
    if (!source || row < 0 || row >= rowCount())
        return -1;
    const QModelIndex sourceIndex = mapToSource(index(row, 0));
    if (!sourceIndex.isValid())
        return -1;
    return source->idAt(sourceIndex.row());
}

bool MonsterFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const MonsterListModel *source = monsterSource();
    if (!source)
        return false;
    const int id = source->idAt(sourceRow);

    if (m_onlyWithDrops) {
        const bool has = source->hasDrops(sourceRow);
        if (rowDebugLines.load(std::memory_order_relaxed) < maxRowDebugLines &&
            rowDebugLines.fetch_add(1, std::memory_order_relaxed) < maxRowDebugLines)
            qDebug() << "[MonsterFilterProxyModel] 行" << sourceRow << "怪物ID:" << id
                     << "有掉落:" << has;
        if (!has)
            return false;
    }

    if (m_filterText.isEmpty())
        return true;
    if (id < 1)
        return false;
    if (QString::number(id).contains(m_filterText, Qt::CaseInsensitive))
        return true;
    // The name cached at load time is the resolver's name of this row's id.
    return source->nameAt(sourceRow).contains(m_filterText, Qt::CaseInsensitive);
}
