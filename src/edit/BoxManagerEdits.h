#pragma once

#include "data/DropConfig.h"
#include "edit/EditResult.h"

#include <QList>
#include <QString>

// The box manager's edits: boxes and their items across the whole configuration. Boxes are
// named by id (the first box with an id in document order); the monster document may be null
// (not loaded). None of these write to the main window's operation log.
namespace BoxManagerEdits {

// --- box list -----------------------------------------------------------------------------------

// The item id filter of the box list: the trimmed text as a decimal int of 1 or more, else -1.
int boxFilterItemId(const QString &text);
// Indexes of the boxes to list, in document order: all, or those holding the item id.
QList<int> boxesToList(const DropBoxContentData &boxes, int filterItemId);

// --- references ---------------------------------------------------------------------------------

// The monsters whose slots name the box, or why there are none.
QString boxReferencesText(const MonsterDropData *monsters, int boxId);
// After a box's id changed from oldId: the monsters that still name the old id, which were not
// changed with it. Empty when none does.
QString renamedBoxReferencesNote(const MonsterDropData *monsters, int oldId, int newId);

// --- box detail pane ----------------------------------------------------------------------------

struct BoxEditInput
{
    QString boxIdText;
    QString weightText;
    QString notifyIdText; // empty means -1
    bool forceBind = false;
};

struct BoxEditResult : EditResult
{
    bool ok = false; // every field valid; applied says whether a value actually changed
    int oldBoxId = 0;
    int newBoxId = 0; // the current box's id afterwards
};
// Validates all fields first; a refusal (notice) changes nothing. A stored force flag other
// than 1 stays while the box stays checked.
BoxEditResult applyBoxEdits(DropBoxContentData &boxes, int currentBoxId, const BoxEditInput &input);

// --- adding and copying boxes
// ---------------------------------------------------------------------

struct NewBoxResult : EditResult
{
    int newBoxId = 0;
};
// A box of weight 100 with 10 empty slots under the smallest free id. New ids never name a
// box already there nor an id a monster slot names, so no monster starts dropping the new box.
NewBoxResult addBox(DropBoxContentData &boxes, const MonsterDropData *monsters);
// A full copy of the box under the first free id above it (from 1 when none is left above).
NewBoxResult copyBox(DropBoxContentData &boxes, const MonsterDropData *monsters, int sourceBoxId);
EditNotice copyNoSelectionNotice();

// --- items of one box -------------------------------------------------------------------------

// Empties the slots at these rows (out-of-range rows skipped) and closes the filled slots up
// at the front; the slot count stays. Nothing happens when the box is missing or no row is
// valid; no rows at all gives a notice.
EditResult removeItemSlots(DropBoxContentData &boxes, int boxId, const QList<int> &rows);

struct AddItemsResult : EditResult
{
    int addedCount = 0;
};
// Adds library items to the box. Notices: no box, no ids, and (unless quietWhenNoneAdded) none
// added. A missing box does nothing.
AddItemsResult addLibraryItems(DropBoxContentData &boxes, int boxId, const QList<int> &itemIds,
                               bool quietWhenNoneAdded);

// --- removing boxes -----------------------------------------------------------------------------

struct RemoveBoxResult : EditResult
{
    QString paneText; // replaces the references pane's text
    int affectedMonsters = 0;
    int changedSlots = 0;
};
// Removes every box with the id and empties (-1) every monster slot naming it. Not applied,
// without text, when no box has the id.
RemoveBoxResult removeBoxEverywhere(DropBoxContentData &boxes, MonsterDropData *monsters,
                                    int boxId);
// The selected box of the list, which may have gone meanwhile.
RemoveBoxResult removeSelectedBox(DropBoxContentData &boxes, MonsterDropData *monsters, int boxId);
// The answer of the "删除指定包裹" input.
RemoveBoxResult removeBoxByIdText(DropBoxContentData &boxes, MonsterDropData *monsters,
                                  const QString &answer);
// Appended to the references pane when no box row is selected.
QString removeBoxNoSelectionText();

// --- item ids across all boxes
// --------------------------------------------------------------------

struct ItemIdResult : EditResult
{
    int slots = 0;
    int boxCount = 0;
};
// Empties every slot holding the id and compacts each box touched; the answer of the input.
ItemIdResult deleteItemIdEverywhere(DropBoxContentData &boxes, const QString &answer);
// Sets every slot holding the old id to the new id, levels unchanged.
ItemIdResult replaceItemIdEverywhere(DropBoxContentData &boxes, const QString &oldIdText,
                                     const QString &newIdText);

} // namespace BoxManagerEdits
