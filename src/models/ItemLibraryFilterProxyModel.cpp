#include "models/ItemLibraryFilterProxyModel.h"

#include "models/ItemLibraryListModel.h"

#include <algorithm>

#include <QCoreApplication>

ItemLibraryFilterProxyModel::ItemLibraryFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

void ItemLibraryFilterProxyModel::setFilter(const QString &category, const QString &search)
{
    QString trimmedCategory = category.trimmed();
    if (trimmedCategory == QCoreApplication::translate("Lootwright", "全部"))
        trimmedCategory.clear(); // compared here once, not for every row
    const QString trimmedSearch = search.trimmed();
    const bool numeric =
        !trimmedSearch.isEmpty() && std::all_of(trimmedSearch.cbegin(), trimmedSearch.cend(),
                                                [](QChar c) { return c.isDigit(); });
    if (trimmedCategory == m_category && trimmedSearch == m_search && numeric == m_searchIsNumeric)
        return;
    m_category = trimmedCategory;
    m_search = trimmedSearch;
    m_searchIsNumeric = numeric;
    invalidateFilter();
}

bool ItemLibraryFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *library = qobject_cast<const ItemLibraryListModel *>(sourceModel());
    if (!library)
        return true;
    const ItemLibraryEntry *entry = library->entryAt(sourceRow);
    if (!entry)
        return false;
    if (!m_category.isEmpty() && entry->category != m_category)
        return false;
    if (m_search.isEmpty())
        return true;
    if (entry->idText.contains(m_search, Qt::CaseInsensitive))
        return true;
    if (m_searchIsNumeric)
        return false;
    return entry->name.contains(m_search, Qt::CaseInsensitive);
}
