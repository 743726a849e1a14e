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

// The id for a new box: the largest box id plus one (0 when there are no boxes or the largest
// is negative). Empty when the largest id is already INT_MAX, so no id would be free.
std::optional<int> newBoxId(const DropBoxContentData &data);

inline QString num(qint64 value)
{
    return QString::number(value);
}

} // namespace EditSupport
