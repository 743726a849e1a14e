#include "models/MonsterFilterProxyModel.h"

#include "models/MonsterListModel.h"

#include <QDebug>
#include <atomic>
#include <charconv>
#include <iterator>
#include <string_view>

namespace {
// The per-row diagnostic is written for the first few rows of the whole run only.
constexpr int maxRowDebugLines = 5;
std::atomic<int> rowDebugLines{0};

// The decimal text of id contains digits; the same as QString::number(id).contains(...)
// without a string per row.
bool idContainsDigits(int id, std::string_view digits)
{
    char buffer[16];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), id);
    return std::string_view(buffer, size_t(result.ptr - buffer)).find(digits) !=
           std::string_view::npos;
}

// Ids only ever show the digits 0-9, and no character folds to a digit: an id can contain
// the search text, case ignored, only when the text is all ASCII digits.
std::string digitsOnly(const QString &text)
{
    std::string digits;
    digits.reserve(size_t(text.size()));
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
        digits.push_back(char(c.unicode()));
    }
    return digits;
}
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
    m_digitText = digitsOnly(m_filterText);
    refilter();
}

void MonsterFilterProxyModel::setOnlyWithDrops(bool on)
{
    qDebug() << "[MonsterFilterProxyModel] 设置只显示有掉落:" << on;
    m_onlyWithDrops = on;
    refilter();
    qDebug() << "[MonsterFilterProxyModel] 过滤后显示" << rowCount() << "个怪物";
}

void MonsterFilterProxyModel::refilter()
{
    invalidate();
}

const MonsterDropConfig *MonsterFilterProxyModel::configAtProxyRow(int row) const
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
    if (!m_digitText.empty() && idContainsDigits(id, m_digitText))
        return true;
    // The name cached at load time is the resolver's name of this row's id.
    return source->nameAt(sourceRow).contains(m_filterText, Qt::CaseInsensitive);
}
