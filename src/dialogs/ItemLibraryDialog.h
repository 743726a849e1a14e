#pragma once

#include <QDialog>
#include <QList>
#include <functional>

class FavoritesStore;
class ItemLibraryFilterProxyModel;
class ItemLibraryListModel;
class Prompts;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QModelIndex;
class QTableView;
class QTimer;

// Every known item, filtered by category and by id or name, beside the user's favourites.
// Changes no configuration: ids go to the owner's selected box through a request.
class ItemLibraryDialog : public QDialog
{
    Q_OBJECT

public:
    // Builds the library from the name tables at once and loads the favourites from `store`.
    ItemLibraryDialog(Prompts *prompts, FavoritesStore *store, QWidget *parent = nullptr);

    // The favourites pane.
    void loadFavorites();
    void saveFavorites();
    void addToFavorites(const QList<int> &itemIds);
    void moveFavorites(int delta);
    void moveFavoritesToTop();
    void moveFavoritesToBottom();
    void removeSelectedFavorites();
    QList<int> selectedFavoriteIds() const;

    // The library's selected rows, in selection order.
    QList<int> selectedItemIds() const;

Q_SIGNALS:
    void addItemIdsToCurrentBoxRequested(const QList<int> &itemIds);
    void favoritesChanged();
    void itemSourcesRequested(int itemId);

public Q_SLOTS:
    void onCategoryChanged(int index);
    void onSearchTextChanged(const QString &text);
    void applyItemFilter();
    void showItemContextMenu(const QPoint &position);
    void onItemDoubleClicked(const QModelIndex &index);
    void showFavoritesContextMenu(const QPoint &position);
    void onFavoriteDoubleClicked(QListWidgetItem *item);
    void onFavoritesRowsMoved();

private:
    QList<int> favoriteIds() const;
    QList<int> selectedFavoriteRows() const;
    // Shows `ids` with the given rows selected.
    void showFavorites(const QList<int> &ids, const QList<int> &selectedRows);
    // Stores the pane and tells the owner.
    void commitFavorites();
    // Moves the selected rows; the rearrangement returns where they went.
    using Rearrangement = std::function<QList<int>(QList<int> &ids, const QList<int> &rows)>;
    void rearrangeFavorites(const Rearrangement &move);

    Prompts *prompts;
    FavoritesStore *store;

    QComboBox *categoryCombo = nullptr;
    QLineEdit *searchEdit = nullptr;
    QTableView *libraryView = nullptr;
    ItemLibraryListModel *libraryModel = nullptr;
    ItemLibraryFilterProxyModel *libraryProxy = nullptr;
    QTimer *filterTimer = nullptr;
    QListWidget *favoritesList = nullptr;
};
