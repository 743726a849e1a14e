#pragma once

#include "data/DropConfig.h"
#include "data/ItemLibrary.h"
#include "document/ConfigDocument.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QList>
#include <QModelIndex>
#include <memory>

class ItemLibraryFilterProxyModel;
class ItemLibraryListModel;
class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPoint;
class QPushButton;
class QTableView;
class QTableWidget;
class QTextEdit;
class QTimer;
struct EditNotice;

// The box manager: every box of the configuration, filtered by item id, added, copied, edited,
// filled from the item library and removed with every monster reference to it. It edits the
// document through its one edit path and keeps no pointer into it, only the id of the box it
// shows; it lists the document anew after changes made elsewhere.
class DropBoxManagerDialog : public QDialog
{
    Q_OBJECT

public:
    // `prompts` may be null for the real dialogs. The document and the prompts must outlive
    // the dialog.
    DropBoxManagerDialog(ConfigDocument *document, Prompts *prompts, QWidget *parent = nullptr);
    ~DropBoxManagerDialog() override;

    int currentBox() const { return currentBoxId; }
    bool isItemLibraryLoading() const { return itemLibraryLoading; }
    // The list and the detail pane built again from the document; typed but unsaved detail
    // fields are dropped.
    void reloadDocuments();

Q_SIGNALS:
    void saveConfigRequested();
    // "查看掉落来源" in the item library's menu.
    void itemSourcesRequested(int itemId);

public Q_SLOTS:
    void onAddBox();
    void onRemoveBox();
    void onDuplicateBox();
    void onRemoveBoxById();
    void onDeleteItemById();
    void onReplaceItemId();
    void onBoxSelectionChanged();
    void onApplyCurrentBox();
    void onSaveConfig();
    void onSaveChanges();
    void onRemoveItem();
    void showItemListContextMenu(const QPoint &position);
    void showItemLibraryContextMenu(const QPoint &position);
    void onBoxItemSearchTextChanged(const QString &text);
    void onItemLibraryCategoryChanged(int index);
    void onItemLibrarySearchTextChanged(const QString &text);
    void onItemLibraryDoubleClicked(const QModelIndex &index);
    void onAddLibraryItemsToCurrentBox();
    void onItemLibraryLoadFinished();

private:
    void setupUi();
    void refreshBoxList();
    void showBoxDetails(int boxId);
    void showBoxReferences(int boxId);
    bool applyCurrentBoxEdits();
    QList<int> selectedLibraryItemIds() const;
    void selectBoxRow(int boxId);
    void updateItemLibraryAsync();
    void applyItemLibraryFilter();
    void showNotice(const EditNotice &notice);
    // The list and the detail pane after an edit of the current box's items or of all boxes.
    void refreshKeepingCurrentBox();
    // Runs one core edit as one step of the document.
    template <typename Edit> auto editDocuments(const QString &stepName, Edit edit);
    void onDocumentChanged(const DocumentUpdate &update);

    ConfigDocument *document;
    Prompts *prompts;
    QTimer *reloadTimer = nullptr;
    bool ownChange = false;
    std::unique_ptr<Prompts> ownPrompts;
    int currentBoxId = -1;
    // The last rename in the detail pane, for the note that monsters still name the old id.
    int renamedFromBoxId = -1;
    int renamedToBoxId = -1;

    bool itemLibraryLoading = false;
    QFutureWatcher<QList<ItemLibraryEntry>> *itemLibraryWatcher = nullptr;
    ItemLibraryListModel *itemLibraryModel = nullptr;
    ItemLibraryFilterProxyModel *itemLibraryProxy = nullptr;
    QTimer *boxFilterTimer = nullptr;
    QTimer *itemLibraryFilterTimer = nullptr;

    QPushButton *removeBoxByIdButton = nullptr;
    QPushButton *deleteItemIdButton = nullptr;
    QPushButton *replaceItemIdButton = nullptr;
    QPushButton *saveConfigButton = nullptr;
    QPushButton *addBoxButton = nullptr;
    QPushButton *removeBoxButton = nullptr;
    QPushButton *copyBoxButton = nullptr;
    QLineEdit *boxFilterEdit = nullptr;
    QTableWidget *boxTable = nullptr;
    QLineEdit *boxIdEdit = nullptr;
    QLineEdit *boxValueEdit = nullptr;
    QCheckBox *forceBindCheck = nullptr;
    QLineEdit *notifyIdEdit = nullptr;
    QPushButton *saveBoxButton = nullptr;
    QTableWidget *itemTable = nullptr;
    QPushButton *removeItemsButton = nullptr;
    QComboBox *itemLibraryCategoryCombo = nullptr;
    QLineEdit *itemLibrarySearchEdit = nullptr;
    QTableView *itemLibraryView = nullptr;
    QPushButton *addToBoxButton = nullptr;
    QTextEdit *referencesEdit = nullptr;
};
