#pragma once

#include "data/DropConfig.h"
#include "edit/EditResult.h"

#include <QList>
#include <QStringList>

// Edits of drop boxes and their items from the box detail form, the box and item context menus
// and the item library. `currentConfig` is the selected monster record (may be null; only its
// dropBoxIds are changed, never the records list); `currentBox` is the selected box (may be
// null; only its boxId is read, at entry). The document box of the current box is the first box
// with that id.
//
// duplicateBox and deleteBox append to / remove from boxes (boxesAddedOrRemoved): every pointer
// into boxContentData.boxes is invalid afterwards.
namespace BoxEdits {

// --- box detail form ----------------------------------------------------------------------------

struct BoxDetailInput
{
    QString boxIdText;       // boxIdEdit: taken when it parses as an int
    QString boxValueText;    // boxValueSpin: taken when it parses as an int of 0 or more
    bool forceBind = false;  // forceBindCheck
    QString broadcastIdText; // broadcastIdSpin: taken when it parses as an int (-1 included)
};

struct BoxDetailResult : EditResult
{
    bool idChanged = false;
    bool weightChanged = false;
    bool forceBindChanged = false;
    bool broadcastIdChanged = false;
    int newBoxId = 0; // the box's id after the edit (a changed id updates no monster's slots)
};

// The undo step a form edit makes: named for the first field it changes (id, weight, bind flag,
// broadcast id); typing into the weight or broadcast id of one box folds into one step.
struct BoxDetailStep
{
    QString name;
    QString mergeKey;
};
BoxDetailStep boxDetailStep(const DropBoxConfig &box, const BoxDetailInput &input);

// Writes an item id into one slot of the first box with this id (the item table's own edit).
// False when there is no such box or slot.
bool setItemId(DropBoxContentData &boxes, int boxId, int row, int itemId);

// onBoxDetailChanged. One log line per changed field, in the order id, weight, bind flag,
// broadcast id. applied is false when there is no current box or it is not in the document.
BoxDetailResult applyBoxDetail(DropBoxContentData &boxes, const MonsterDropConfig *currentConfig,
                               const DropBoxConfig *currentBox, const BoxDetailInput &input);

// --- duplicate / delete a box -------------------------------------------------------------------

// Information "提示" / "请先选择要复制的包裹": no current row in the box list.
EditNotice duplicateNoSelectionNotice();

struct DuplicateBoxResult : EditResult
{
    int sourceBoxId = 0;
    int newBoxId = 0;   // select the first box list row with this id afterwards
    int slotIndex = -1; // where currentConfig now names the copy (-1 without a monster)
    bool slotAppended = false;
};
// duplicateSelectedBox. `source` is the box of the current box list row (read before the
// append). The copy gets an id above every box id and every id a monster slot names, and goes
// into currentConfig's first empty slot (currentConfig points into `monsters`, may be null), or
// is appended to its list. Refused with a warning when no id is left above the largest one.
DuplicateBoxResult duplicateBox(DropBoxContentData &boxes, const MonsterDropData &monsters,
                                MonsterDropConfig *currentConfig, const DropBoxConfig *source);

// Logged when the box list has no current row: "删除包裹：未选择包裹".
QString deleteNoSelectionLogLine();

struct DeleteBoxResult : EditResult
{
    int boxId = 0;
    int removedSlots = 0; // entries removed from currentConfig's list
};
// deleteSelectedBox (no question). Removes the first box with the id of `selected` from the
// document and every entry of that id from currentConfig's list. Afterwards clear currentBox.
DeleteBoxResult deleteBox(DropBoxContentData &boxes, MonsterDropConfig *currentConfig,
                          const DropBoxConfig *selected);

// --- items --------------------------------------------------------------------------------------

struct AddItemsResult : EditResult
{
    int addedCount = 0;
    QList<int> addedIds;
    // The caller's feedback: for 0 the information "提示" / "当前未选中包裹或物品已存在" (in
    // notice), otherwise this status bar text "已添加 %1 个物品到当前包裹" for 2000 ms.
    QString statusText;
};
// addItemsToCurrentBox. Ids below 1 and ids the box already holds are skipped; each added id
// fills the first empty slot (level -1) or is appended.
AddItemsResult addItems(DropBoxContentData &boxes, const MonsterDropConfig *currentConfig,
                        const DropBoxConfig *currentBox, const QList<int> &itemIds);

struct DeleteItemsPlan
{
    bool ok = false;
    EditNotice notice;     // the refusal when not ok
    EditQuestion question; // "确认删除" when ok
    QList<int> rows;       // the non-empty slot rows that will be deleted, in selection order
};
// deleteSelectedItems up to the question. `selectedRows` are the item table's selected rows.
DeleteItemsPlan planDeleteItems(const DropBoxContentData &boxes, const DropBoxConfig *currentBox,
                                const QList<int> &selectedRows);

struct DeleteItemsResult : EditResult
{
    QList<int> deletedIds; // in the order of the rows
};
// Empties the planned slots, then moves all non-empty slots to the front (the slot count stays).
// notice is "删除成功" / "已删除 %1 个物品".
DeleteItemsResult deleteItems(DropBoxContentData &boxes, const MonsterDropConfig *currentConfig,
                              const DropBoxConfig *currentBox, const QList<int> &selectedRows);

// --- favourites ---------------------------------------------------------------------------------

// The selected item id cells' texts -> the ids that parse as ints of 1 or more (repeats kept).
QList<int> itemIdsFromCells(const QStringList &cellTexts);

struct FavoritesMerge
{
    QStringList list; // the stored list with the new ids appended
    int newCount = 0; // write `list` back only when above 0
    int selectedCount = 0;
    QString statusText; // for 2500 ms
};
// Appends each selected id not yet in the stored list (entries that do not parse are kept).
// An empty selection gives an empty statusText: do nothing.
FavoritesMerge mergeFavorites(const QStringList &stored, const QList<int> &selectedIds);

} // namespace BoxEdits
