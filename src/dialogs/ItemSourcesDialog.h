#pragma once

#include "data/ItemSourceIndex.h"

#include <QDialog>
#include <functional>

class ConfigDocument;
class ItemSourceTableModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// Where one item drops: a table of its boxes and the monster slots naming them, sortable by
// rate. Shows copies, taken again after the document changes.
class ItemSourcesDialog : public QDialog
{
    Q_OBJECT

public:
    // Looks items up in the document and shows them anew after it changed; the rates are
    // multiplied by what `multiplier` gives at that time.
    ItemSourcesDialog(ConfigDocument *document, std::function<double()> multiplier,
                      QWidget *parent = nullptr);

    void showItem(int itemId);

    void showSources(int itemId, const QString &itemName,
                     const QList<ItemSourceIndex::Source> &sources, double multiplier);
    int itemId() const { return shownItemId; }

    QTableView *view() const { return sourcesView; }

Q_SIGNALS:
    // The user asked for another item.
    void itemRequested(int itemId);
    // A row was double-clicked; monsterId is -1 for a box that no monster reaches.
    void sourceActivated(int monsterId, int boxId);

private:
    void onLookup();
    void onActivated(const QModelIndex &index);

    ConfigDocument *document;
    std::function<double()> multiplier;
    int shownItemId = -1;
    QLineEdit *itemIdEdit = nullptr;
    QPushButton *lookupButton = nullptr;
    QLabel *summaryLabel = nullptr;
    QTableView *sourcesView = nullptr;
    ItemSourceTableModel *sourceModel = nullptr;
    QSortFilterProxyModel *sortModel = nullptr;
};
