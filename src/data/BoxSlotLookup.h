#pragma once

#include <QList>
#include <QVarLengthArray>

struct DropBoxContentData;

namespace BoxSlotLookup {

// For each slot of a monster, the position in data.boxes of the first box with that id, or -1
// for an empty slot or an id without a box. Same answer as DropSlots::indexOfBox per slot, but
// the box list is walked once for all slots and the walk stops when every id is found.
QVarLengthArray<int, 32> resolve(const DropBoxContentData &data, const QList<int> &slots);

} // namespace BoxSlotLookup
