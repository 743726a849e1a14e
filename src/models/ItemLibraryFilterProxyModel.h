#pragma once

#include <QSortFilterProxyModel>
#include <QString>

// Filters the item library by category and by a search text: an all-digit search matches ids
// only, any other text matches ids or names, case ignored.
class ItemLibraryFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ItemLibraryFilterProxyModel(QObject *parent = nullptr);

    // Both are trimmed; an empty category or "全部" shows every category. Refilters only when
    // something changed.
    void setFilter(const QString &category, const QString &search);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString m_search;
    QString m_category;
    bool m_searchIsNumeric = false;
};
