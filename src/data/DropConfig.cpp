#include "data/DropConfig.h"

#include <algorithm>

namespace DropSlots {

int validBoxCount(const MonsterDropConfig &config)
{
    return int(std::count_if(config.dropBoxIds.cbegin(), config.dropBoxIds.cend(), isUsedId));
}

int filledItemCount(const DropBoxConfig &box)
{
    return int(std::count_if(box.items.cbegin(), box.items.cend(),
                             [](const DropBoxItem &item) { return isUsedId(item.itemId); }));
}

int boxIdsBeyondLimit(const MonsterDropConfig &config)
{
    return config.dropBoxIds.size() <= monsterSlotLimit
               ? 0
               : int(std::count_if(config.dropBoxIds.cbegin() + monsterSlotLimit,
                                   config.dropBoxIds.cend(), isUsedId));
}

int itemsBeyondLimit(const DropBoxConfig &box)
{
    return box.items.size() <= boxSlotLimit
               ? 0
               : int(std::count_if(box.items.cbegin() + boxSlotLimit, box.items.cend(),
                                   [](const DropBoxItem &item) { return isUsedId(item.itemId); }));
}

int indexOfBox(const DropBoxContentData &data, int boxId)
{
    for (qsizetype i = 0; i < data.boxes.size(); ++i) {
        if (data.boxes.at(i).boxId == boxId)
            return int(i);
    }
    return -1;
}

const DropBoxConfig *findBox(const DropBoxContentData &data, int boxId)
{
    const int index = indexOfBox(data, boxId);
    return index < 0 ? nullptr : &data.boxes.at(index);
}

DropBoxConfig *findBox(DropBoxContentData &data, int boxId)
{
    const int index = indexOfBox(data, boxId);
    return index < 0 ? nullptr : &data.boxes[index];
}

} // namespace DropSlots
