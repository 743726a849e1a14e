#include "data/BoxSlotLookup.h"

#include "data/DropConfig.h"

#include <algorithm>

namespace BoxSlotLookup {

QVarLengthArray<int, 32> resolve(const DropBoxContentData &data, const QList<int> &slots)
{
    QVarLengthArray<int, 32> wanted;
    for (const int id : slots) {
        if (DropSlots::isUsedId(id))
            wanted.append(id);
    }
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());

    QVarLengthArray<int, 32> firstPosition(wanted.size(), -1);
    if (!wanted.isEmpty()) {
        const int lowest = wanted.front();
        const int highest = wanted.back();
        qsizetype found = 0;
        const qsizetype boxCount = data.boxes.size();
        for (qsizetype i = 0; i < boxCount && found < wanted.size(); ++i) {
            const int id = data.boxes.at(i).boxId;
            if (id < lowest || id > highest)
                continue;
            const auto it = std::lower_bound(wanted.cbegin(), wanted.cend(), id);
            if (it == wanted.cend() || *it != id)
                continue;
            int &position = firstPosition[it - wanted.cbegin()];
            if (position < 0) {
                position = int(i);
                ++found;
            }
        }
    }

    QVarLengthArray<int, 32> result;
    result.reserve(slots.size());
    for (const int id : slots) {
        int position = -1;
        if (DropSlots::isUsedId(id)) {
            const auto it = std::lower_bound(wanted.cbegin(), wanted.cend(), id);
            position = firstPosition[it - wanted.cbegin()];
        }
        result.append(position);
    }
    return result;
}

} // namespace BoxSlotLookup
