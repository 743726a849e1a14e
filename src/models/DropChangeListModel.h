#pragma once

#include "edit/DropComparison.h"

#include <QAbstractTableModel>
#include <memory>
#include <optional>
#include <vector>

// One list of a comparison, the record changes or the rate changes: kind and line, one row each,
// optionally only the changes naming an id or a monster or item whose name holds a text. Lines
// are built for the rows shown, so millions of changes cost nothing until painted.
class DropChangeListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class List
    {
        Records,
        Rates
    };
    enum Column
    {
        KindColumn,
        TextColumn,
        ColumnCount
    };

    explicit DropChangeListModel(List list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Shown with the filter as it is.
    void setComparison(std::shared_ptr<const DropComparison> comparison);
    // A whole number matches the monster, box or item id; other text the monster and item names
    // holding it (case-insensitive). Empty shows everything.
    void setFilterText(const QString &text);

    // The changes in the list, filter aside.
    qsizetype totalCount() const;
    std::optional<DropComparison::Change> changeAt(int row) const;
    // Where a row leads: its monster and box, -1 where it names none.
    std::pair<int, int> targetAt(int row) const;
    // The lines of the shown rows, each ending in a line break.
    QString shownText() const;

private:
    DropComparison::Change change(qsizetype position) const;
    void applyFilter();

    List list;
    std::shared_ptr<const DropComparison> comparison;
    QString filterText;
    bool filtered = false;
    std::vector<qsizetype> shown; // positions in the list when filtered
    mutable std::unique_ptr<DropComparison::LineCache> lines;
};
