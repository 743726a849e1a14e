#pragma once

#include "data/DropConfig.h"
#include "edit/EditResult.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// Helpers shared by the edit functions.
namespace EditSupport {

// The ids in their first-seen order, each once.
QList<int> distinctIds(const QList<int> &ids);

// For each of the given ids that has a record: the index of its first record. One pass over the
// records, one hash lookup each.
QHash<int, qsizetype> firstRecordIndexOf(const MonsterDropData &data, const QList<int> &ids);

// Removes the records whose flag is set, moving the rest up, in one pass.
void removeRecords(MonsterDropData &data, const QList<bool> &remove);

// The id for a new box: one above both the largest box id and the largest id any monster slot
// names (0 when all are negative or there are none). A slot may name an id that has no box;
// giving a new box that id would hand the box to that monster too. Empty when the largest is
// already INT_MAX, so no id is free.
std::optional<int> newBoxId(const DropBoxContentData &boxes, const MonsterDropData &monsters);

// The smallest id of at least `start` (and at least 1) that no box has and no monster slot
// names, by the same rule as newBoxId; `monsters` may be null. Empty when every id from there
// up to INT_MAX is taken.
std::optional<int> nextFreeBoxId(const DropBoxContentData &boxes, const MonsterDropData *monsters,
                                 qint64 start);

// Puts each id of 1 or more that the box does not hold yet into its first empty slot (level
// -1), or appends a slot when none is empty. Returns the ids placed, in order.
QList<int> addItemIdsToBox(DropBoxConfig &box, const QList<int> &itemIds);

// Where a new box id goes among the monster's slots: the first empty one of the 20 the file
// keeps, else a slot appended while there are fewer than 20; -1 when all 20 are used.
int freeBoxSlot(const MonsterDropConfig &record);
// The refusal when they are (warning "错误").
EditNotice monsterSlotsFullNotice(int monsterId);
// The refusal (warning "错误") when addItemIdsToBox would fill a slot beyond the 100 the file
// keeps; none when the ids fit.
EditNotice itemRoomNotice(const DropBoxConfig &box, const QList<int> &itemIds);

// The filled slots in their order, then empty slots (-1, -1) up to `slotCount`.
void compactBoxSlots(DropBoxConfig &box, qsizetype slotCount);

inline QString num(qint64 value)
{
    return QString::number(value);
}

} // namespace EditSupport
