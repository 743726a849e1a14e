#include "dialogs/DropBoxManagerDialog.h"

#include "data/NameResolver.h"
#include "dialogs/ItemLibraryViews.h"
#include "dialogs/Prompts.h"
#include "edit/BoxManagerEdits.h"
#include "models/ItemLibraryFilterProxyModel.h"
#include "models/ItemLibraryListModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace BM = BoxManagerEdits;

namespace {

const QString styleSheetText =
    QStringLiteral("QPushButton { min-height: 26px; max-height: 26px; padding: 2px 8px; }"
                   "QLineEdit, QComboBox { min-height: 24px; max-height: 24px; }"
                   "QCheckBox { min-height: 24px; }");

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *created = new QPushButton(text, parent);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

QLineEdit *lineEdit(const char *name, const QString &placeholder, QWidget *parent)
{
    auto *created = new QLineEdit(parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setPlaceholderText(placeholder);
    return created;
}

QTableWidget *table(const QStringList &headers, const char *name, QWidget *parent)
{
    auto *created = new QTableWidget(0, int(headers.size()), parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setHorizontalHeaderLabels(headers);
    created->setSelectionBehavior(QAbstractItemView::SelectRows);
    created->setEditTriggers(QAbstractItemView::NoEditTriggers);
    created->setAlternatingRowColors(true);
    created->setShowGrid(false);
    created->setFrameShape(QFrame::NoFrame);
    created->verticalHeader()->hide();
    created->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    created->verticalHeader()->setDefaultSectionSize(24);
    return created;
}

// The first cell of the first selected row as a number, or -1.
int firstSelectedId(const QTableWidget *view)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows(0);
    if (rows.isEmpty())
        return -1;
    const QTableWidgetItem *cell = view->item(rows.first().row(), 0);
    bool ok = false;
    const int id = cell ? cell->text().toInt(&ok) : -1;
    return ok ? id : -1;
}

} // namespace

DropBoxManagerDialog::DropBoxManagerDialog(ConfigDocument *document, Prompts *prompts,
                                           QWidget *parent)
    : QDialog(parent), document(document), prompts(prompts)
{
    if (!this->prompts) {
        ownPrompts = std::make_unique<DialogPrompts>();
        this->prompts = ownPrompts.get();
    }
    setObjectName(QStringLiteral("dropBoxManagerDialog"));
    setupUi();
    reloadTimer = new QTimer(this);
    reloadTimer->setSingleShot(true);
    reloadTimer->setInterval(180);
    connect(reloadTimer, &QTimer::timeout, this, &DropBoxManagerDialog::reloadDocuments);
    connect(document, &ConfigDocument::documentChanged, this,
            &DropBoxManagerDialog::onDocumentChanged);
    setWindowTitle(QCoreApplication::translate("Lootwright", "包裹管理器"));
    resize(1200, 760);
    refreshBoxList();
}

// The watcher goes with the dialog; a build still running ends on its own and its result is
// dropped with the future.
DropBoxManagerDialog::~DropBoxManagerDialog() = default;

void DropBoxManagerDialog::setupUi()
{
    setStyleSheet(styleSheetText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    auto *globalRow = new QHBoxLayout;
    globalRow->setSpacing(8);
    removeBoxByIdButton = button(QCoreApplication::translate("Lootwright", "删除指定包裹"),
                                 "removeBoxByIdButton", this);
    deleteItemIdButton = button(QCoreApplication::translate("Lootwright", "删除指定物品ID"),
                                "deleteItemIdButton", this);
    replaceItemIdButton = button(QCoreApplication::translate("Lootwright", "替换物品ID"),
                                 "replaceItemIdButton", this);
    saveConfigButton =
        button(QCoreApplication::translate("Lootwright", "保存包裹配置"), "saveConfigButton", this);
    globalRow->addWidget(removeBoxByIdButton);
    globalRow->addWidget(deleteItemIdButton);
    globalRow->addWidget(replaceItemIdButton);
    globalRow->addStretch();
    globalRow->addWidget(saveConfigButton);
    layout->addLayout(globalRow);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("managerSplitter"));
    splitter->setChildrenCollapsible(false);

    // Box pane: the list over the detail form.
    auto *boxPane = new QWidget(splitter);
    auto *boxPaneLayout = new QVBoxLayout(boxPane);
    boxPaneLayout->setContentsMargins(0, 0, 0, 0);
    boxPaneLayout->setSpacing(8);
    auto *boxButtons = new QHBoxLayout;
    addBoxButton =
        button(QCoreApplication::translate("Lootwright", "添加包裹"), "addBoxButton", boxPane);
    removeBoxButton =
        button(QCoreApplication::translate("Lootwright", "删除包裹"), "removeBoxButton", boxPane);
    copyBoxButton =
        button(QCoreApplication::translate("Lootwright", "复制包裹"), "copyBoxButton", boxPane);
    removeBoxButton->setEnabled(false);
    copyBoxButton->setEnabled(false);
    boxButtons->addWidget(addBoxButton);
    boxButtons->addWidget(removeBoxButton);
    boxButtons->addWidget(copyBoxButton);
    boxButtons->addStretch();
    boxPaneLayout->addLayout(boxButtons);

    auto *boxSplitter = new QSplitter(Qt::Vertical, boxPane);
    boxSplitter->setObjectName(QStringLiteral("boxSplitter"));
    boxSplitter->setChildrenCollapsible(false);
    auto *boxListGroup =
        new QGroupBox(QCoreApplication::translate("Lootwright", "包裹列表"), boxSplitter);
    auto *boxListLayout = new QVBoxLayout(boxListGroup);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(
        new QLabel(QCoreApplication::translate("Lootwright", "道具ID筛选:"), boxListGroup));
    boxFilterEdit = lineEdit(
        "boxFilterEdit",
        QCoreApplication::translate("Lootwright", "输入道具ID，筛选包含该ID的包裹（留空显示全部）"),
        boxListGroup);
    filterRow->addWidget(boxFilterEdit, 1);
    boxListLayout->addLayout(filterRow);
    boxTable = table({QCoreApplication::translate("Lootwright", "包裹ID"),
                      QCoreApplication::translate("Lootwright", "包裹权值"),
                      QCoreApplication::translate("Lootwright", "拾取绑定"),
                      QCoreApplication::translate("Lootwright", "物品数量")},
                     "boxTable", boxListGroup);
    boxTable->setSelectionMode(QAbstractItemView::SingleSelection);
    boxTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    boxListLayout->addWidget(boxTable);

    auto *detailGroup =
        new QGroupBox(QCoreApplication::translate("Lootwright", "包裹详情"), boxSplitter);
    detailGroup->setMaximumHeight(260);
    auto *detailLayout = new QGridLayout(detailGroup);
    detailLayout->setSpacing(8);
    detailLayout->setContentsMargins(10, 10, 10, 10);
    boxIdEdit = lineEdit("boxIdEdit", QString(), detailGroup);
    boxValueEdit = lineEdit("boxValueEdit", QStringLiteral("0-999999999"), detailGroup);
    forceBindCheck =
        new QCheckBox(QCoreApplication::translate("Lootwright", "强制拾取绑定"), detailGroup);
    forceBindCheck->setObjectName(QStringLiteral("forceBindCheck"));
    notifyIdEdit =
        lineEdit("notifyIdEdit", QCoreApplication::translate("Lootwright", "-1(无) 或 系统编号"),
                 detailGroup);
    const QList<QPair<QString, QWidget *>> fields = {
        {QCoreApplication::translate("Lootwright", "包裹ID:"), boxIdEdit},
        {QCoreApplication::translate("Lootwright", "包裹权值:"), boxValueEdit},
        {QCoreApplication::translate("Lootwright", "拾取绑定:"), forceBindCheck},
        {QCoreApplication::translate("Lootwright", "掉落系统编号:"), notifyIdEdit}};
    for (int row = 0; row < fields.size(); ++row) {
        detailLayout->addWidget(new QLabel(fields.at(row).first, detailGroup), row, 0);
        detailLayout->addWidget(fields.at(row).second, row, 1);
    }
    auto *saveRow = new QHBoxLayout;
    saveBoxButton = button(QCoreApplication::translate("Lootwright", "保存当前包裹"),
                           "saveBoxButton", detailGroup);
    saveBoxButton->setEnabled(false);
    saveRow->addStretch();
    saveRow->addWidget(saveBoxButton);
    detailLayout->addLayout(saveRow, 4, 0, 1, 2);
    boxSplitter->setStretchFactor(0, 5);
    boxSplitter->setStretchFactor(1, 1);
    boxPaneLayout->addWidget(boxSplitter);

    // Item pane: the slots of the shown box.
    auto *itemGroup =
        new QGroupBox(QCoreApplication::translate("Lootwright", "物品列表"), splitter);
    auto *itemLayout = new QVBoxLayout(itemGroup);
    itemTable = table({QCoreApplication::translate("Lootwright", "物品ID"),
                       QCoreApplication::translate("Lootwright", "物品名称")},
                      "itemTable", itemGroup);
    itemTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    itemTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    itemTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    itemTable->setContextMenuPolicy(Qt::CustomContextMenu);
    itemLayout->addWidget(itemTable);
    auto *itemButtons = new QHBoxLayout;
    removeItemsButton = button(QCoreApplication::translate("Lootwright", "删除选中物品"),
                               "removeItemsButton", itemGroup);
    removeItemsButton->setEnabled(false);
    itemButtons->addWidget(removeItemsButton);
    itemButtons->addStretch();
    itemLayout->addLayout(itemButtons);

    // Library pane.
    auto *libraryGroup =
        new QGroupBox(QCoreApplication::translate("Lootwright", "物品库"), splitter);
    auto *libraryLayout = new QVBoxLayout(libraryGroup);
    auto *libraryFilterRow = new QHBoxLayout;
    itemLibraryCategoryCombo = ItemLibraryViews::createCategoryCombo(libraryGroup);
    itemLibraryCategoryCombo->setObjectName(QStringLiteral("itemLibraryCategoryCombo"));
    itemLibrarySearchEdit =
        lineEdit("itemLibrarySearchEdit",
                 QCoreApplication::translate("Lootwright", "搜索物品ID或名称..."), libraryGroup);
    libraryFilterRow->addWidget(itemLibraryCategoryCombo);
    libraryFilterRow->addWidget(itemLibrarySearchEdit, 1);
    libraryLayout->addLayout(libraryFilterRow);
    itemLibraryModel = new ItemLibraryListModel(this);
    itemLibraryProxy = new ItemLibraryFilterProxyModel(this);
    itemLibraryProxy->setSourceModel(itemLibraryModel);
    itemLibraryView = ItemLibraryViews::createView(itemLibraryProxy, libraryGroup);
    itemLibraryView->setObjectName(QStringLiteral("itemLibraryView"));
    libraryLayout->addWidget(itemLibraryView);
    auto *libraryButtons = new QHBoxLayout;
    addToBoxButton = button(QCoreApplication::translate("Lootwright", "添加到当前包裹"),
                            "addToBoxButton", libraryGroup);
    addToBoxButton->setEnabled(false);
    libraryButtons->addWidget(addToBoxButton);
    libraryButtons->addStretch();
    libraryLayout->addLayout(libraryButtons);

    // References pane, also where box removal reports.
    auto *referencesGroup =
        new QGroupBox(QCoreApplication::translate("Lootwright", "关联信息"), splitter);
    auto *referencesLayout = new QVBoxLayout(referencesGroup);
    referencesEdit = new QTextEdit(referencesGroup);
    referencesEdit->setObjectName(QStringLiteral("referencesEdit"));
    referencesEdit->setReadOnly(true);
    referencesEdit->setFrameShape(QFrame::NoFrame);
    referencesLayout->addWidget(referencesEdit);

    splitter->setSizes({360, 320, 320, 240});
    const int stretch[] = {2, 2, 2, 1};
    for (int i = 0; i < 4; ++i)
        splitter->setStretchFactor(i, stretch[i]);
    layout->addWidget(splitter, 1);

    auto *buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->button(QDialogButtonBox::Ok)
        ->setText(QCoreApplication::translate("Lootwright", "保存并关闭"));
    buttonBox->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("Lootwright", "关闭"));
    layout->addWidget(buttonBox);

    boxFilterTimer = ItemLibraryViews::createFilterTimer(this);
    itemLibraryFilterTimer = ItemLibraryViews::createFilterTimer(this);

    connect(addBoxButton, &QPushButton::clicked, this, &DropBoxManagerDialog::onAddBox);
    connect(removeBoxButton, &QPushButton::clicked, this, &DropBoxManagerDialog::onRemoveBox);
    connect(copyBoxButton, &QPushButton::clicked, this, &DropBoxManagerDialog::onDuplicateBox);
    connect(removeBoxByIdButton, &QPushButton::clicked, this,
            &DropBoxManagerDialog::onRemoveBoxById);
    connect(deleteItemIdButton, &QPushButton::clicked, this,
            &DropBoxManagerDialog::onDeleteItemById);
    connect(replaceItemIdButton, &QPushButton::clicked, this,
            &DropBoxManagerDialog::onReplaceItemId);
    connect(boxTable, &QTableWidget::itemSelectionChanged, this,
            &DropBoxManagerDialog::onBoxSelectionChanged);
    connect(saveBoxButton, &QPushButton::clicked, this, &DropBoxManagerDialog::onApplyCurrentBox);
    connect(saveConfigButton, &QPushButton::clicked, this, &DropBoxManagerDialog::onSaveConfig);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &DropBoxManagerDialog::onSaveChanges);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(removeItemsButton, &QPushButton::clicked, this, &DropBoxManagerDialog::onRemoveItem);
    connect(itemTable, &QWidget::customContextMenuRequested, this,
            &DropBoxManagerDialog::showItemListContextMenu);
    connect(itemLibraryView, &QWidget::customContextMenuRequested, this,
            &DropBoxManagerDialog::showItemLibraryContextMenu);
    connect(boxFilterEdit, &QLineEdit::textChanged, this,
            &DropBoxManagerDialog::onBoxItemSearchTextChanged);
    connect(itemLibraryCategoryCombo, &QComboBox::currentIndexChanged, this,
            &DropBoxManagerDialog::onItemLibraryCategoryChanged);
    connect(itemLibrarySearchEdit, &QLineEdit::textChanged, this,
            &DropBoxManagerDialog::onItemLibrarySearchTextChanged);
    connect(itemLibraryView, &QAbstractItemView::doubleClicked, this,
            &DropBoxManagerDialog::onItemLibraryDoubleClicked);
    connect(addToBoxButton, &QPushButton::clicked, this,
            &DropBoxManagerDialog::onAddLibraryItemsToCurrentBox);
    connect(boxFilterTimer, &QTimer::timeout, this, &DropBoxManagerDialog::refreshBoxList);
    connect(itemLibraryFilterTimer, &QTimer::timeout, this,
            &DropBoxManagerDialog::applyItemLibraryFilter);

    updateItemLibraryAsync();
}

template <typename Edit>
auto DropBoxManagerDialog::editDocuments(const QString &stepName, Edit edit)
{
    // Its own changes are shown by the slot that made them.
    ownChange = true;
    auto result =
        document->edit(QCoreApplication::translate("Lootwright", "包裹管理器：") + stepName, edit);
    ownChange = false;
    return result;
}

void DropBoxManagerDialog::onDocumentChanged(const DocumentUpdate &update)
{
    if (ownChange)
        return;
    // Typing into the main window's box form: once after the pause, not per key.
    if (!update.mergeKey.isEmpty())
        reloadTimer->start();
    else
        reloadDocuments();
}

void DropBoxManagerDialog::showNotice(const EditNotice &notice)
{
    ::showNotice(*prompts, this, notice);
}

void DropBoxManagerDialog::reloadDocuments()
{
    renamedFromBoxId = renamedToBoxId = -1;
    refreshBoxList();
}

// --- box list ---------------------------------------------------------------------------------

void DropBoxManagerDialog::refreshBoxList()
{
    const int filterId = BM::boxFilterItemId(boxFilterEdit->text());
    const QList<int> shown = BM::boxesToList(document->boxes(), filterId);
    int currentRow = -1;
    {
        const QSignalBlocker blocker(boxTable);
        boxTable->setUpdatesEnabled(false);
        // Cleared so that selecting the current box again below always refills the detail pane.
        boxTable->selectionModel()->clear();
        boxTable->clearContents();
        boxTable->setRowCount(int(shown.size()));
        const QString yes = QCoreApplication::translate("Lootwright", "是");
        const QString no = QCoreApplication::translate("Lootwright", "否");
        for (int row = 0; row < shown.size(); ++row) {
            const DropBoxConfig &box = document->boxes().boxes.at(shown.at(row));
            if (currentRow < 0 && currentBoxId > 0 && box.boxId == currentBoxId)
                currentRow = row;
            const int filled = int(
                std::count_if(box.items.cbegin(), box.items.cend(), [](const DropBoxItem &item) {
                    return DropSlots::isUsedId(item.itemId);
                }));
            boxTable->setItem(row, 0, new QTableWidgetItem(QString::number(box.boxId)));
            boxTable->setItem(row, 1, new QTableWidgetItem(QString::number(box.boxValue)));
            boxTable->setItem(row, 2, new QTableWidgetItem(box.forceOpenFlag != 0 ? yes : no));
            boxTable->setItem(row, 3, new QTableWidgetItem(QString::number(filled)));
        }
        boxTable->setUpdatesEnabled(true);
    }
    if (currentRow < 0 && filterId > 0 && !shown.isEmpty())
        currentRow = 0;
    if (currentRow >= 0)
        boxTable->selectRow(currentRow);
    else
        onBoxSelectionChanged();
}

void DropBoxManagerDialog::selectBoxRow(int boxId)
{
    for (int row = 0; row < boxTable->rowCount(); ++row) {
        const QTableWidgetItem *cell = boxTable->item(row, 0);
        if (cell && cell->text().toInt() == boxId) {
            boxTable->selectRow(row);
            return;
        }
    }
}

void DropBoxManagerDialog::refreshKeepingCurrentBox()
{
    refreshBoxList();
    if (currentBoxId >= 1)
        selectBoxRow(currentBoxId);
}

void DropBoxManagerDialog::onBoxItemSearchTextChanged(const QString &)
{
    if (boxFilterTimer)
        boxFilterTimer->start();
    else
        refreshBoxList();
}

void DropBoxManagerDialog::onBoxSelectionChanged()
{
    const int id = firstSelectedId(boxTable);
    const bool selected = boxTable->selectionModel()->hasSelection();
    removeBoxButton->setEnabled(selected);
    copyBoxButton->setEnabled(selected);
    saveBoxButton->setEnabled(selected);
    if (selected) {
        showBoxDetails(id);
        showBoxReferences(id);
        return;
    }
    currentBoxId = -1;
    boxIdEdit->clear();
    boxValueEdit->clear();
    notifyIdEdit->clear();
    forceBindCheck->setChecked(false);
    itemTable->setRowCount(0);
    referencesEdit->clear();
    removeItemsButton->setEnabled(false);
    addToBoxButton->setEnabled(false);
}

// --- detail pane ------------------------------------------------------------------------------

void DropBoxManagerDialog::showBoxDetails(int boxId)
{
    currentBoxId = boxId;
    const DropBoxConfig *box = DropSlots::findBox(document->boxes(), boxId);
    if (!box)
        return;
    boxIdEdit->setText(QString::number(box->boxId));
    boxValueEdit->setText(QString::number(box->boxValue));
    forceBindCheck->setChecked(box->forceOpenFlag != 0);
    notifyIdEdit->setText(QString::number(box->notifyId));
    const NameResolver &names = NameResolver::instance();
    itemTable->setUpdatesEnabled(false);
    itemTable->clearContents();
    itemTable->setRowCount(int(box->items.size()));
    for (int row = 0; row < box->items.size(); ++row) {
        const int itemId = box->items.at(row).itemId;
        const bool used = DropSlots::isUsedId(itemId);
        itemTable->setItem(row, 0,
                           new QTableWidgetItem(used ? QString::number(itemId) : QString()));
        itemTable->setItem(row, 1, new QTableWidgetItem(used ? names.itemName(itemId) : QString()));
    }
    itemTable->setUpdatesEnabled(true);
    removeItemsButton->setEnabled(true);
    addToBoxButton->setEnabled(true);
}

void DropBoxManagerDialog::showBoxReferences(int boxId)
{
    referencesEdit->setPlainText(BM::boxReferencesText(&document->monsters(), boxId));
    // A renamed box left its monsters on the old id: say so whenever the box is shown.
    if (boxId == renamedToBoxId) {
        const QString note =
            BM::renamedBoxReferencesNote(&document->monsters(), renamedFromBoxId, boxId);
        if (!note.isEmpty())
            referencesEdit->append(QStringLiteral("\n") + note);
    }
}

bool DropBoxManagerDialog::applyCurrentBoxEdits()
{
    BM::BoxEditInput input;
    input.boxIdText = boxIdEdit->text();
    input.weightText = boxValueEdit->text();
    input.notifyIdText = notifyIdEdit->text();
    input.forceBind = forceBindCheck->isChecked();
    const BM::BoxEditResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "修改包裹"),
                      [&](MonsterDropData &, DropBoxContentData &boxes) {
                          return BM::applyBoxEdits(boxes, currentBoxId, input);
                      });
    if (!result.ok) {
        showNotice(result.notice);
        return false;
    }
    if (result.newBoxId != result.oldBoxId) {
        renamedFromBoxId = result.oldBoxId;
        renamedToBoxId = result.newBoxId;
    }
    currentBoxId = result.newBoxId;
    refreshBoxList();
    return true;
}

void DropBoxManagerDialog::onApplyCurrentBox()
{
    if (applyCurrentBoxEdits())
        showBoxReferences(currentBoxId);
}

void DropBoxManagerDialog::onSaveConfig()
{
    if (currentBoxId < 1 || applyCurrentBoxEdits())
        Q_EMIT saveConfigRequested();
}

void DropBoxManagerDialog::onSaveChanges()
{
    if (currentBoxId >= 1 && !applyCurrentBoxEdits())
        return;
    accept();
}

// --- adding and copying boxes -----------------------------------------------------------------

void DropBoxManagerDialog::onAddBox()
{
    const BM::NewBoxResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "添加包裹"),
                      [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
                          return BM::addBox(boxes, &monsters);
                      });
    if (!result.applied) {
        showNotice(result.notice);
        return;
    }
    refreshBoxList();
    selectBoxRow(result.newBoxId);
}

void DropBoxManagerDialog::onDuplicateBox()
{
    if (!boxTable->selectionModel()->hasSelection()) {
        showNotice(BM::copyNoSelectionNotice());
        return;
    }
    const int sourceId = firstSelectedId(boxTable);
    const BM::NewBoxResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "复制包裹"),
                      [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
                          return BM::copyBox(boxes, &monsters, sourceId);
                      });
    if (!result.applied) {
        showNotice(result.notice);
        return;
    }
    refreshBoxList();
    selectBoxRow(result.newBoxId);
}

// --- items of the shown box -------------------------------------------------------------------

void DropBoxManagerDialog::onRemoveItem()
{
    QList<int> rows;
    for (const QModelIndex &index : itemTable->selectionModel()->selectedRows(0))
        rows.append(index.row());
    const EditResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "删除物品"),
                      [&](MonsterDropData &, DropBoxContentData &boxes) {
                          return BM::removeItemSlots(boxes, currentBoxId, rows);
                      });
    showNotice(result.notice);
    if (result.applied)
        refreshKeepingCurrentBox();
}

void DropBoxManagerDialog::showItemListContextMenu(const QPoint &position)
{
    ItemLibraryViews::selectRowUnder(itemTable, position);
    QMenu menu(this);
    QAction *remove = menu.addAction(QCoreApplication::translate("Lootwright", "删除选中物品"));
    remove->setEnabled(itemTable->selectionModel()->hasSelection());
    if (prompts->execMenu(menu, itemTable->viewport()->mapToGlobal(position)) == remove)
        onRemoveItem();
}

// --- item library -----------------------------------------------------------------------------

QList<int> DropBoxManagerDialog::selectedLibraryItemIds() const
{
    return ItemLibraryViews::selectedIds(itemLibraryView);
}

void DropBoxManagerDialog::onAddLibraryItemsToCurrentBox()
{
    const QList<int> ids = selectedLibraryItemIds();
    const BM::AddItemsResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "添加物品"),
                      [&](MonsterDropData &, DropBoxContentData &boxes) {
                          return BM::addLibraryItems(boxes, currentBoxId, ids, false);
                      });
    showNotice(result.notice);
    if (result.applied)
        refreshKeepingCurrentBox();
}

void DropBoxManagerDialog::onItemLibraryDoubleClicked(const QModelIndex &index)
{
    const int id = ItemLibraryViews::idAt(index);
    if (id < 1)
        return;
    const BM::AddItemsResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "添加物品"),
                      [&](MonsterDropData &, DropBoxContentData &boxes) {
                          return BM::addLibraryItems(boxes, currentBoxId, {id}, true);
                      });
    showNotice(result.notice);
    if (result.applied)
        refreshKeepingCurrentBox();
}

void DropBoxManagerDialog::showItemLibraryContextMenu(const QPoint &position)
{
    ItemLibraryViews::selectRowUnder(itemLibraryView, position);
    const int selected = int(selectedLibraryItemIds().size());
    const int itemId = ItemLibraryViews::idAt(itemLibraryView->indexAt(position));
    QMenu menu(this);
    QAction *add = menu.addAction(
        QCoreApplication::translate("Lootwright", "添加到当前包裹（%1个）").arg(selected));
    add->setEnabled(selected > 0 && currentBoxId > 0);
    QAction *sources = menu.addAction(QCoreApplication::translate("Lootwright", "查看掉落来源"));
    sources->setEnabled(itemId >= 1);
    QAction *chosen = prompts->execMenu(menu, itemLibraryView->viewport()->mapToGlobal(position));
    if (chosen == add)
        onAddLibraryItemsToCurrentBox();
    else if (chosen == sources)
        Q_EMIT itemSourcesRequested(itemId);
}

void DropBoxManagerDialog::onItemLibraryCategoryChanged(int)
{
    if (itemLibraryFilterTimer)
        itemLibraryFilterTimer->start();
    else
        applyItemLibraryFilter();
}

void DropBoxManagerDialog::onItemLibrarySearchTextChanged(const QString &)
{
    if (itemLibraryFilterTimer)
        itemLibraryFilterTimer->start();
    else
        applyItemLibraryFilter();
}

void DropBoxManagerDialog::applyItemLibraryFilter()
{
    if (!itemLibraryProxy)
        return;
    itemLibraryProxy->setFilter(ItemLibraryViews::categoryFilter(itemLibraryCategoryCombo),
                                itemLibrarySearchEdit->text());
}

void DropBoxManagerDialog::updateItemLibraryAsync()
{
    if (itemLibraryLoading)
        return;
    itemLibraryLoading = true;
    if (!itemLibraryWatcher) {
        itemLibraryWatcher = new QFutureWatcher<QList<ItemLibraryEntry>>(this);
        connect(itemLibraryWatcher, &QFutureWatcherBase::finished, this,
                &DropBoxManagerDialog::onItemLibraryLoadFinished);
    }
    // Copies taken here on the GUI thread: a reload of the name tables while the build runs
    // detaches from what the worker reads instead of changing it.
    const NameResolver &names = NameResolver::instance();
    const QMap<int, QString> commonItems = names.commonItemNames;
    const QMap<int, QString> equipment = names.equipNames;
    const QMap<int, QString> gems = names.gemNames;
    itemLibraryWatcher->setFuture(QtConcurrent::run([commonItems, equipment, gems] {
        return buildItemLibraryEntries(commonItems, equipment, gems);
    }));
}

void DropBoxManagerDialog::onItemLibraryLoadFinished()
{
    if (!itemLibraryWatcher)
        return;
    // Implicitly shared with the future's copy: no entry is copied.
    QList<ItemLibraryEntry> entries = itemLibraryWatcher->result();
    if (itemLibraryModel)
        itemLibraryModel->setEntries(std::move(entries));
    itemLibraryLoading = false;
    applyItemLibraryFilter();
}

// --- removing boxes and item ids everywhere ---------------------------------------------------

void DropBoxManagerDialog::onRemoveBox()
{
    if (!boxTable->selectionModel()->hasSelection()) {
        referencesEdit->append(BM::removeBoxNoSelectionText());
        return;
    }
    const int boxId = firstSelectedId(boxTable);
    const BM::RemoveBoxResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "删除包裹"),
                      [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
                          return BM::removeSelectedBox(boxes, &monsters, boxId);
                      });
    if (currentBoxId == boxId)
        currentBoxId = -1;
    refreshBoxList();
    referencesEdit->setPlainText(result.paneText);
}

void DropBoxManagerDialog::onRemoveBoxById()
{
    const std::optional<QString> answer =
        prompts->getText(this, QCoreApplication::translate("Lootwright", "删除指定包裹"),
                         QCoreApplication::translate("Lootwright", "请输入要删除的包裹ID："),
                         QString::number(std::max(currentBoxId, 1)));
    if (!answer)
        return;
    const BM::RemoveBoxResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "删除包裹"),
                      [&](MonsterDropData &monsters, DropBoxContentData &boxes) {
                          return BM::removeBoxByIdText(boxes, &monsters, *answer);
                      });
    if (result.applied) {
        if (currentBoxId >= 1 && !DropSlots::findBox(document->boxes(), currentBoxId))
            currentBoxId = -1;
        refreshBoxList();
    }
    referencesEdit->setPlainText(result.paneText);
}

void DropBoxManagerDialog::onDeleteItemById()
{
    const std::optional<QString> answer = prompts->getText(
        this, QCoreApplication::translate("Lootwright", "删除指定物品ID"),
        QCoreApplication::translate("Lootwright", "请输入要删除的物品ID："), QStringLiteral("1"));
    if (!answer)
        return;
    const BM::ItemIdResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "删除物品ID"),
                      [&](MonsterDropData &, DropBoxContentData &boxes) {
                          return BM::deleteItemIdEverywhere(boxes, *answer);
                      });
    if (result.applied)
        refreshKeepingCurrentBox();
    showNotice(result.notice);
}

void DropBoxManagerDialog::onReplaceItemId()
{
    const int selectedId = firstSelectedId(itemTable);
    const std::optional<std::pair<QString, QString>> answer =
        prompts->getNumberPair(this, QCoreApplication::translate("Lootwright", "替换物品ID"),
                               QCoreApplication::translate("Lootwright", "被替换的物品ID："),
                               QCoreApplication::translate("Lootwright", "替换为物品ID："),
                               selectedId >= 1 ? selectedId : 1, 1, 999999999);
    if (!answer)
        return;
    const BM::ItemIdResult result =
        editDocuments(QCoreApplication::translate("Lootwright", "替换物品ID"),
                      [&](MonsterDropData &, DropBoxContentData &boxes) {
                          return BM::replaceItemIdEverywhere(boxes, answer->first, answer->second);
                      });
    if (result.applied)
        refreshKeepingCurrentBox();
    showNotice(result.notice);
}
