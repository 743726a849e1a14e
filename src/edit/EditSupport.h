#pragma once

#include "data/DropConfig.h"

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

inline QString num(qint64 value)
{
    return QString::number(value);
}

} // namespace EditSupport
