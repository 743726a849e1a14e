#include "models/DropChangeListModel.h"

#include "data/NameResolver.h"

#include <QCoreApplication>
#include <QSet>

namespace {

// The ids whose name in the map holds the text.
QSet<int> idsNamed(const QMap<int, QString> &names, const QString &text)
{
    QSet<int> ids;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        if (it.value().contains(text, Qt::CaseInsensitive))
            ids.insert(it.key());
    }
    return ids;
}

} // namespace

DropChangeListModel::DropChangeListModel(List list, QObject *parent)
    : QAbstractTableModel(parent), list(list)
{
}

int DropChangeListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !comparison)
        return 0;
    return int(filtered ? qsizetype(shown.size()) : totalCount());
}

int DropChangeListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

qsizetype DropChangeListModel::totalCount() const
{
    if (!comparison)
        return 0;
    return list == List::Records ? comparison->recordCount() : comparison->rateCount();
}

DropComparison::Change DropChangeListModel::change(qsizetype position) const
{
    return list == List::Records ? comparison->recordChange(position)
                                 : comparison->rateChange(position);
}

std::optional<DropComparison::Change> DropChangeListModel::changeAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return std::nullopt;
    return change(filtered ? shown[std::size_t(row)] : row);
}

QVariant DropChangeListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.column() >= ColumnCount)
        return {};
    const std::optional<DropComparison::Change> found = changeAt(index.row());
    if (!found)
        return {};
    if (index.column() == KindColumn)
        return DropComparison::kindTitle(found->kind);
    if (!lines)
        lines = std::make_unique<DropComparison::LineCache>(NameResolver::instance());
    return comparison->text(*found, *lines);
}

QVariant DropChangeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == KindColumn)
        return QCoreApplication::translate("Lootwright", "类别");
    if (section == TextColumn)
        return QCoreApplication::translate("Lootwright", "说明");
    return {};
}

void DropChangeListModel::setComparison(std::shared_ptr<const DropComparison> newComparison)
{
    beginResetModel();
    comparison = std::move(newComparison);
    // Labels follow the name tables as they are now.
    lines.reset();
    applyFilter();
    endResetModel();
}

void DropChangeListModel::setFilterText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == filterText)
        return;
    beginResetModel();
    filterText = trimmed;
    applyFilter();
    endResetModel();
}

void DropChangeListModel::applyFilter()
{
    shown.clear();
    filtered = !filterText.isEmpty() && comparison;
    if (!filtered)
        return;
    bool isNumber = false;
    const int id = filterText.toInt(&isNumber);
    isNumber = isNumber && DropSlots::isUsedId(id);
    QSet<int> monsters;
    QSet<int> items;
    if (!isNumber) {
        const NameResolver &names = NameResolver::instance();
        monsters = idsNamed(names.monsterNames, filterText);
        items = idsNamed(names.commonItemNames, filterText) +
                idsNamed(names.equipNames, filterText) + idsNamed(names.gemNames, filterText);
    }
    const qsizetype total = totalCount();
    for (qsizetype position = 0; position < total; ++position) {
        const DropComparison::Change c = change(position);
        const bool slotNames =
            c.kind == DropComparison::Kind::MonsterSlot && (c.before == id || c.after == id);
        const bool match = isNumber
                               ? c.monsterId == id || c.boxId == id || c.itemId == id || slotNames
                               : monsters.contains(c.monsterId) || items.contains(c.itemId);
        if (match)
            shown.push_back(position);
    }
}

std::pair<int, int> DropChangeListModel::targetAt(int row) const
{
    const std::optional<DropComparison::Change> found = changeAt(row);
    if (!found)
        return {-1, -1};
    int boxId = found->boxId;
    if (found->kind == DropComparison::Kind::MonsterSlot) {
        // The box the slot names now, or the one it named.
        boxId = DropSlots::isUsedId(found->after)    ? found->after
                : DropSlots::isUsedId(found->before) ? found->before
                                                     : -1;
    }
    return {found->monsterId, boxId};
}

QString DropChangeListModel::shownText() const
{
    QString text;
    if (!comparison)
        return text;
    DropComparison::LineCache cache(NameResolver::instance());
    const int rows = rowCount();
    for (int row = 0; row < rows; ++row) {
        comparison->appendText(text, *changeAt(row), cache);
        text += u'\n';
    }
    return text;
}
