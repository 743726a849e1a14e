#include "dialogs/ItemLibraryDialog.h"

#include "data/ItemLibrary.h"
#include "data/NameResolver.h"
#include "dialogs/ItemLibraryViews.h"
#include "dialogs/Prompts.h"
#include "edit/Favorites.h"
#include "models/ItemLibraryFilterProxyModel.h"
#include "models/ItemLibraryListModel.h"

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QListWidgetItem *favoriteItem(int itemId)
{
    const QString name = NameResolver::instance().itemName(itemId);
    auto *item = new QListWidgetItem(
        name.isEmpty() ? QString::number(itemId) : QStringLiteral("%1  %2").arg(itemId).arg(name));
    item->setData(Qt::UserRole, itemId);
    return item;
}

} // namespace

ItemLibraryDialog::ItemLibraryDialog(Prompts *prompts, FavoritesStore *store, QWidget *parent)
    : QDialog(parent), prompts(prompts), store(store)
{
    setWindowTitle(QCoreApplication::translate("Lootwright", "物品库管理器"));
    resize(600, 500);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);

    auto *libraryPane = new QWidget(splitter);
    auto *libraryLayout = new QVBoxLayout(libraryPane);
    libraryLayout->setContentsMargins(0, 0, 0, 0);
    libraryLayout->setSpacing(8);
    auto *filterRow = new QHBoxLayout;
    filterRow->setSpacing(8);
    categoryCombo = ItemLibraryViews::createCategoryCombo(libraryPane);
    categoryCombo->setObjectName(QStringLiteral("categoryCombo"));
    searchEdit = new QLineEdit(libraryPane);
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    searchEdit->setPlaceholderText(QCoreApplication::translate("Lootwright", "输入ID或名称..."));
    filterRow->addWidget(
        new QLabel(QCoreApplication::translate("Lootwright", "分类:"), libraryPane));
    filterRow->addWidget(categoryCombo);
    filterRow->addWidget(
        new QLabel(QCoreApplication::translate("Lootwright", "搜索:"), libraryPane));
    filterRow->addWidget(searchEdit, 1);
    libraryLayout->addLayout(filterRow);
    libraryModel = new ItemLibraryListModel(this);
    libraryProxy = new ItemLibraryFilterProxyModel(this);
    libraryProxy->setSourceModel(libraryModel);
    libraryView = ItemLibraryViews::createView(libraryProxy, libraryPane);
    libraryView->setObjectName(QStringLiteral("libraryView"));
    libraryLayout->addWidget(libraryView);
    filterTimer = ItemLibraryViews::createFilterTimer(this);

    auto *favoritesPane = new QWidget(splitter);
    auto *favoritesLayout = new QVBoxLayout(favoritesPane);
    favoritesLayout->setContentsMargins(0, 0, 0, 0);
    favoritesLayout->setSpacing(8);
    favoritesLayout->addWidget(new QLabel(
        QCoreApplication::translate("Lootwright", "收藏夹（拖拽排序 / 右键管理）"), favoritesPane));
    favoritesList = new QListWidget(favoritesPane);
    favoritesList->setObjectName(QStringLiteral("favoritesList"));
    favoritesList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    favoritesList->setDragEnabled(true);
    favoritesList->setAcceptDrops(true);
    favoritesList->setDropIndicatorShown(true);
    favoritesList->setDragDropMode(QAbstractItemView::InternalMove);
    favoritesList->setContextMenuPolicy(Qt::CustomContextMenu);
    favoritesLayout->addWidget(favoritesList);

    splitter->addWidget(libraryPane);
    splitter->addWidget(favoritesPane);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({1, 1});

    connect(categoryCombo, &QComboBox::currentIndexChanged, this,
            &ItemLibraryDialog::onCategoryChanged);
    connect(searchEdit, &QLineEdit::textChanged, this, &ItemLibraryDialog::onSearchTextChanged);
    connect(filterTimer, &QTimer::timeout, this, &ItemLibraryDialog::applyItemFilter);
    connect(libraryView, &QWidget::customContextMenuRequested, this,
            &ItemLibraryDialog::showItemContextMenu);
    connect(libraryView, &QAbstractItemView::doubleClicked, this,
            &ItemLibraryDialog::onItemDoubleClicked);
    connect(favoritesList, &QWidget::customContextMenuRequested, this,
            &ItemLibraryDialog::showFavoritesContextMenu);
    connect(favoritesList, &QListWidget::itemDoubleClicked, this,
            &ItemLibraryDialog::onFavoriteDoubleClicked);
    connect(favoritesList->model(), &QAbstractItemModel::rowsMoved, this,
            &ItemLibraryDialog::onFavoritesRowsMoved);

    libraryModel->setEntries(buildItemLibraryEntries());
    loadFavorites();
    applyItemFilter();
}

void ItemLibraryDialog::onCategoryChanged(int)
{
    filterTimer->start();
}

void ItemLibraryDialog::onSearchTextChanged(const QString &)
{
    filterTimer->start();
}

void ItemLibraryDialog::applyItemFilter()
{
    libraryProxy->setFilter(ItemLibraryViews::categoryFilter(categoryCombo), searchEdit->text());
}

QList<int> ItemLibraryDialog::selectedItemIds() const
{
    return ItemLibraryViews::selectedIds(libraryView);
}

void ItemLibraryDialog::showItemContextMenu(const QPoint &position)
{
    ItemLibraryViews::selectRowUnder(libraryView, position);
    const bool anySelected = libraryView->selectionModel()->hasSelection();
    const int itemId = ItemLibraryViews::idAt(libraryView->indexAt(position));

    QMenu menu(this);
    QAction *addToBox =
        menu.addAction(QCoreApplication::translate("Lootwright", "添加到当前选中包裹"));
    QAction *addToFavorites =
        menu.addAction(QCoreApplication::translate("Lootwright", "加入收藏夹"));
    menu.addSeparator();
    QAction *copyId = menu.addAction(QCoreApplication::translate("Lootwright", "复制ID到剪贴板"));
    for (QAction *action : {addToBox, addToFavorites, copyId})
        action->setEnabled(anySelected);
    menu.addSeparator();
    QAction *sources = menu.addAction(QCoreApplication::translate("Lootwright", "查看掉落来源"));
    sources->setEnabled(itemId >= 1);

    QAction *chosen = prompts->execMenu(menu, libraryView->viewport()->mapToGlobal(position));
    if (!chosen)
        return;
    if (chosen == sources) {
        Q_EMIT itemSourcesRequested(itemId);
        return;
    }
    const QList<int> ids = selectedItemIds();
    if (chosen == addToFavorites)
        this->addToFavorites(ids);
    else if (ids.isEmpty())
        return;
    else if (chosen == addToBox)
        Q_EMIT addItemIdsToCurrentBoxRequested(ids);
    else if (chosen == copyId)
        QGuiApplication::clipboard()->setText(QString::number(ids.first()));
}

void ItemLibraryDialog::onItemDoubleClicked(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const int id = ItemLibraryViews::idAt(index);
    const QString idText =
        id >= 1 ? QString::number(id) : index.sibling(index.row(), 0).data().toString();
    prompts->information(this, QCoreApplication::translate("Lootwright", "物品信息"),
                         QCoreApplication::translate("Lootwright", "ID: %1\n名称: %2\n分类: %3")
                             .arg(idText, index.sibling(index.row(), 1).data().toString(),
                                  index.sibling(index.row(), 2).data().toString()));
}

// --- favourites ---------------------------------------------------------------------------------

QList<int> ItemLibraryDialog::favoriteIds() const
{
    QList<int> ids;
    for (int row = 0; row < favoritesList->count(); ++row)
        ids.append(favoritesList->item(row)->data(Qt::UserRole).toInt());
    return ids;
}

QList<int> ItemLibraryDialog::selectedFavoriteRows() const
{
    QList<int> rows;
    for (const QListWidgetItem *item : favoritesList->selectedItems())
        rows.append(favoritesList->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> ItemLibraryDialog::selectedFavoriteIds() const
{
    QList<int> ids;
    for (const QListWidgetItem *item : favoritesList->selectedItems()) {
        const int id = item->data(Qt::UserRole).toInt();
        if (id >= 1)
            ids.append(id);
    }
    return ids;
}

void ItemLibraryDialog::showFavorites(const QList<int> &ids, const QList<int> &selectedRows)
{
    favoritesList->clear();
    for (int id : ids)
        favoritesList->addItem(favoriteItem(id));
    for (int row : selectedRows)
        favoritesList->item(row)->setSelected(true);
    if (!selectedRows.isEmpty())
        favoritesList->setCurrentRow(selectedRows.first(), QItemSelectionModel::NoUpdate);
}

void ItemLibraryDialog::loadFavorites()
{
    showFavorites(store->load(), {});
}

void ItemLibraryDialog::saveFavorites()
{
    showNotice(*prompts, this, store->write(favoriteIds()));
}

void ItemLibraryDialog::commitFavorites()
{
    saveFavorites();
    Q_EMIT favoritesChanged();
}

void ItemLibraryDialog::addToFavorites(const QList<int> &itemIds)
{
    QList<int> ids = favoriteIds();
    const qsizetype before = ids.size();
    if (Favorites::add(ids, itemIds) == 0)
        return;
    for (qsizetype i = before; i < ids.size(); ++i)
        favoritesList->addItem(favoriteItem(ids.at(i)));
    commitFavorites();
}

void ItemLibraryDialog::rearrangeFavorites(const Rearrangement &move)
{
    const QList<int> rows = selectedFavoriteRows();
    if (rows.isEmpty())
        return;
    QList<int> ids = favoriteIds();
    const QList<int> moved = move(ids, rows);
    showFavorites(ids, moved);
    commitFavorites();
}

void ItemLibraryDialog::moveFavorites(int delta)
{
    rearrangeFavorites([delta](QList<int> &ids, const QList<int> &rows) {
        return Favorites::moveBy(ids, rows, delta);
    });
}

void ItemLibraryDialog::moveFavoritesToTop()
{
    rearrangeFavorites(&Favorites::moveToTop);
}

void ItemLibraryDialog::moveFavoritesToBottom()
{
    rearrangeFavorites(&Favorites::moveToBottom);
}

void ItemLibraryDialog::removeSelectedFavorites()
{
    QList<int> ids = favoriteIds();
    Favorites::removeRows(ids, selectedFavoriteRows());
    showFavorites(ids, {});
    commitFavorites();
}

void ItemLibraryDialog::showFavoritesContextMenu(const QPoint &position)
{
    const QModelIndex index = favoritesList->indexAt(position);
    if (index.isValid() && !favoritesList->item(index.row())->isSelected())
        favoritesList->setCurrentRow(index.row(), QItemSelectionModel::ClearAndSelect);
    const bool anySelected = !favoritesList->selectedItems().isEmpty();

    QMenu menu(this);
    QAction *addToBox = menu.addAction(QCoreApplication::translate("Lootwright", "添加到当前包裹"));
    menu.addSeparator();
    QAction *up = menu.addAction(QCoreApplication::translate("Lootwright", "上移"));
    QAction *down = menu.addAction(QCoreApplication::translate("Lootwright", "下移"));
    QAction *top = menu.addAction(QCoreApplication::translate("Lootwright", "置顶"));
    QAction *bottom = menu.addAction(QCoreApplication::translate("Lootwright", "置底"));
    menu.addSeparator();
    QAction *remove = menu.addAction(QCoreApplication::translate("Lootwright", "从收藏夹移除"));
    for (QAction *action : {addToBox, up, down, top, bottom, remove})
        action->setEnabled(anySelected);

    QAction *chosen = prompts->execMenu(menu, favoritesList->viewport()->mapToGlobal(position));
    if (chosen == addToBox) {
        const QList<int> ids = selectedFavoriteIds();
        if (!ids.isEmpty())
            Q_EMIT addItemIdsToCurrentBoxRequested(ids);
    } else if (chosen == up) {
        moveFavorites(-1);
    } else if (chosen == down) {
        moveFavorites(+1);
    } else if (chosen == top) {
        moveFavoritesToTop();
    } else if (chosen == bottom) {
        moveFavoritesToBottom();
    } else if (chosen == remove) {
        removeSelectedFavorites();
    }
}

void ItemLibraryDialog::onFavoriteDoubleClicked(QListWidgetItem *item)
{
    const int id = item ? item->data(Qt::UserRole).toInt() : 0;
    if (id >= 1)
        Q_EMIT addItemIdsToCurrentBoxRequested({id});
}

void ItemLibraryDialog::onFavoritesRowsMoved()
{
    commitFavorites();
}
